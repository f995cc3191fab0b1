#include "swap_fixture.h"

#include "engine/rules.h"
#include "engine/state.h"
#include "engine/totals.h"
#include "platform/text/vb.h"

#include <QDir>
#include <algorithm>

namespace swapfx {

using validator::Rule;

void SampleTest::SetUp()
{
    resetEngineState();
    AppPath = QDir::homePath();
}

namespace {

bool tryPlace(int m, int s, int d)
{
    if (!勤務不可理由(m, s, d).isEmpty() || 必須パターン可否(s, m, d) < 0)
        return false;
    if (必須パターン可否(s, m, d) > 0) {
        必須パターン設定(s, m, d);
    } else {
        Time_Table(m, d) = s;
        勤務集計加算(m, s, d);
    }
    return true;
}

// Staffs the must records of the day first, as generation does.
void placeMusts(int d)
{
    for (int r = 1; r <= 組合せ必須数; ++r) {
        const 組合せ記録& rec = Mem_Hissu(r);
        const int t = rec.勤務;
        if (t < 1 || t > Type_Cnt || Need_Table(t, d) <= 0 || rec.人数 < 1 || rec.人数 >= rec.メンバー[0])
            continue;
        int list[kMaxGroupMembers + 1];
        int n = 0;
        for (int i = 1; i <= rec.メンバー[0] && rec.メンバー[size_t(i)] > 0; ++i)
            list[++n] = rec.memberIndex[size_t(i)];
        for (int i = n; i > 1; --i)
            std::swap(list[i], list[1 + int(Int(Rnd() * i))]);
        int have = 0;
        for (int i = 1; i <= n; ++i)
            have += list[i] >= 1 && Time_Table(list[i], d) == t;
        for (int i = 1; i <= n && have < rec.人数; ++i)
            if (list[i] >= 1 && Time_Table(list[i], d) == 0 && tryPlace(list[i], t, d))
                ++have;
    }
}

}  // namespace

void fillRandomTable()
{
    int order[MEM_MAX + 2];
    for (int d = std::max(1, Start_Day); d <= Day_Cnt; ++d) {
        placeMusts(d);
        for (int i = 1; i <= Member_Cnt; ++i)
            order[i] = i;
        for (int i = Member_Cnt; i > 1; --i)
            std::swap(order[i], order[1 + int(Int(Rnd() * i))]);
        for (int i = 1; i <= Member_Cnt; ++i) {
            const int m = order[i];
            if (Time_Table(m, d) != 0)
                continue;
            // Rest first with the probability of the member's rest share, when it keeps the rules.
            const double restShare = 1.0 - Member_DayOff(m) / std::max(1, Day_Cnt);
            const bool restAllowed = (連続休み上限 < 1 || 連続休み日数_前(m, d) <= 連続休み上限)
                && !禁止パターン判定(0, m, d, Day_Cnt);
            if (restAllowed && Rnd() < restShare)
                continue;
            int shifts[TYPE_MAX + 1];
            for (int t = 1; t <= Type_Cnt; ++t)
                shifts[t] = t;
            for (int t = Type_Cnt; t > 1; --t)
                std::swap(shifts[t], shifts[1 + int(Int(Rnd() * t))]);
            for (int k = 1; k <= Type_Cnt; ++k)
                if (tryPlace(m, shifts[k], d))
                    break;
        }
    }
}

std::vector<Rule> coveredRules(const QString& flag)
{
    std::vector<Rule> rules = {Rule::MemberSchedule, Rule::NextDayBan, Rule::禁止パターン, Rule::WorkRun,
                               Rule::週間勤務日数, Rule::勤務回数, Rule::ShiftSpacing, Rule::組合せ禁止,
                               Rule::組合せ必須, Rule::Reservation};
    if (flag != QStringLiteral("連続休み判定不要"))
        rules.push_back(Rule::RestRun);
    if (flag == QStringLiteral("勤務日数判定要")) {
        if (!(Sw_勤務日数調整 && Sw_勤務時間調整))
            rules.push_back(Rule::WorkDays);
        if (!Sw_勤務日数調整)
            rules.push_back(Rule::勤務時間);
    }
    return rules;
}

}  // namespace swapfx
