#include "validator.h"

#include "engine/model.h"
#include "platform/text/vb.h"
#include "shell/globals.h"

#include <QDate>
#include <algorithm>

namespace validator {

namespace {

constexpr int kPastDays = 10;

int bit(int s)
{
    return s >= 1 && s <= 30 ? 1 << (s - 1) : 0;
}

// The member's day j as the rules read it: last month's days (when they take part) before day 1,
// rest after the period.
int cell(int m, int j)
{
    if (j > Day_Cnt)
        return 0;
    if (j >= 1)
        return Time_Table(m, j);
    if (Sw_初期値使用 && 1 - j <= kPastDays)
        return Past_Table(m, 1 - j);
    return 0;
}

int firstKnownDay()
{
    return Sw_初期値使用 ? 1 - kPastDays : 1;
}

bool holds(int v, int t)
{
    return t == kAllShifts ? v >= 1 : v == t;
}

struct Checker {
    int first = 1;
    int last = 0;
    std::vector<Violation> out;

    void add(Rule r, int member, int day, int shift) { out.push_back({r, member, day, shift}); }
    bool inRange(int from, int to) const { return to >= first && from <= last; }

    void need()
    {
        for (int d = first; d <= last; ++d)
            for (int t = 1; t <= Type_Cnt; ++t) {
                int n = 0;
                for (int m = 1; m <= Member_Cnt; ++m)
                    n += Time_Table(m, d) == t;
                if (n < Need_Table(t, d))
                    add(Rule::Understaffed, 0, d, t);
                else if (n > Need_Table(t, d))
                    add(Rule::Overstaffed, 0, d, t);
            }
    }

    void cells()
    {
        for (int m = 1; m <= Member_Cnt; ++m)
            for (int d = first; d <= last; ++d) {
                const int s = Time_Table(m, d);
                if ((Member_Scdl(m, d) & bit(s)) != 0)
                    add(Rule::MemberSchedule, m, d, s);
                const int prev = cell(m, d - 1);
                if (prev >= 1 && prev <= Type_Cnt && (DayBefore_Table(prev) & bit(s)) != 0)
                    add(Rule::NextDayBan, m, d, s);
                if (Rsv_Table(m, d) > 0 && s != Rsv_Table(m, d))
                    add(Rule::Reservation, m, d, s);
            }
    }

    // "-" (0) is a rest day; "*" (999) matches a work day at once and lets a rest day pass except
    // as the pattern's last element.
    bool patternAt(int p, int m, int start) const
    {
        const int n = Kinsi_Pattern(p, 0);
        for (int i = 1; i <= n; ++i) {
            const int e = Kinsi_Pattern(p, i);
            const int v = cell(m, start + i - 1);
            if (e == kAllShifts) {
                if (v != 0)
                    return true;
                if (i == n)
                    return false;
            } else if (e != v) {
                return false;
            }
        }
        return true;
    }

    void patterns()
    {
        for (int p = 1; p <= Kinsi_Pattern_Cnt; ++p) {
            const int n = Kinsi_Pattern(p, 0);
            if (n <= 0)
                continue;
            const int from = Sw_初期値使用 ? std::max(firstKnownDay(), 1 - (n - 1)) : 1;
            for (int m = 1; m <= Member_Cnt; ++m)
                for (int j = from; j <= Day_Cnt; ++j)
                    if (inRange(j, j + n - 1) && patternAt(p, m, j))
                        add(Rule::禁止パターン, m, j, p);
        }
    }

    void required()
    {
        for (int m = 1; m <= Member_Cnt; ++m)
            for (int d = Sw_初期値使用 ? 0 : 1; d < Day_Cnt; ++d) {
                const int s = cell(m, d);
                if (s < 1 || d + 1 < first || d + 1 > last)
                    continue;
                for (int i = 1; i <= Hissu_Pattern_Cnt; ++i) {
                    if (Hissu_Pattern(i, 1) != s || Hissu_Pattern(i, 2) <= 0)
                        continue;
                    if (Time_Table(m, d + 1) != Hissu_Pattern(i, 2))
                        add(Rule::必須パターン, m, d + 1, Hissu_Pattern(i, 2));
                    break;
                }
            }
    }

    void runs(bool work, int limit, Rule rule)
    {
        if (limit < 1)
            return;
        for (int m = 1; m <= Member_Cnt; ++m) {
            int length = 0;
            for (int j = firstKnownDay(); j <= Day_Cnt; ++j) {
                const bool in = work ? cell(m, j) >= 1 : cell(m, j) == 0;
                length = in ? length + 1 : 0;
                const bool ends = !in || j == Day_Cnt || (work ? cell(m, j + 1) < 1 : cell(m, j + 1) != 0);
                if (in && ends && length > limit && j >= 1 && inRange(j - length + 1, j))
                    add(rule, m, j, 0);
            }
        }
    }

    void weekly()
    {
        if (週間勤務日数上限 <= 0 || 基点曜日 <= 0)
            return;
        const QDate day1 = QDate(int(作成年), int(作成月), 1).addDays(基準開始日 - 1);
        const int back = day1.isValid() ? (day1.dayOfWeek() - 基点曜日 + 14) % 7 : 0;
        for (int m = 1; m <= Member_Cnt; ++m)
            for (int start = 1 - back; start <= Day_Cnt; start += 7) {
                int n = 0;
                for (int j = start; j < start + 7 && j <= Day_Cnt; ++j)
                    n += j >= 1 ? Time_Table(m, j) >= 1 : (1 - j <= kPastDays && Past_Table(m, 1 - j) > 0);
                if (n > 週間勤務日数上限 && inRange(start, start + 6))
                    add(Rule::週間勤務日数, m, std::max(1, start), 0);
            }
    }

    void perShift()
    {
        for (int m = 1; m <= Member_Cnt; ++m)
            for (int t = 1; t <= Type_Cnt; ++t) {
                if (Type_Count(t, 2) >= 1) {
                    int n = 0;
                    for (int d = 1; d <= Day_Cnt; ++d)
                        n += Time_Table(m, d) == t;
                    if (n > Type_Count(t, 2))
                        add(Rule::勤務回数, m, 0, t);
                }
                const int span = Type_Span(t, 2);
                if (span >= 1) {
                    int previous = -1000;
                    for (int j = firstKnownDay(); j <= Day_Cnt; ++j) {
                        if (cell(m, j) != t)
                            continue;
                        if (j - previous < span && j >= 1 && inRange(j, j))
                            add(Rule::ShiftSpacing, m, j, t);
                        previous = j;
                    }
                }
            }
    }

    // A ban allows at most 人数 - 1 of its members (everybody without a list) on its shift ("*":
    // any work shift; without a list every shift type is capped on its own).
    void bans()
    {
        for (int r = 1; r <= 組合せ禁止数; ++r) {
            const 組合せ記録& rec = Mem_Kinsi(r);
            if (((rec.勤務 < 1 || rec.勤務 > Type_Cnt) && rec.勤務 != kAllShifts) || rec.人数 <= 0)
                continue;
            for (int d = first; d <= last; ++d) {
                if (rec.メンバー[0] > 0) {
                    int n = 0;
                    for (int i = 1; i <= rec.メンバー[0]; ++i) {
                        const int x = rec.memberIndex[i];
                        n += x >= 1 && x <= Member_Cnt && holds(Time_Table(x, d), rec.勤務);
                    }
                    if (n >= rec.人数)
                        add(Rule::組合せ禁止, r, d, rec.勤務);
                    continue;
                }
                for (int t = 1; t <= Type_Cnt; ++t) {
                    if (rec.勤務 != kAllShifts && rec.勤務 != t)
                        continue;
                    int n = 0;
                    for (int x = 1; x <= Member_Cnt; ++x)
                        n += Time_Table(x, d) == t;
                    if (n >= rec.人数)
                        add(Rule::組合せ禁止, r, d, t);
                }
            }
        }
    }

    // A must asks for 人数 of its list (empty cells skipped) on its shift on days that need
    // it; a record as long as its number is a pair: its members work the shift together.
    void musts()
    {
        for (int r = 1; r <= 組合せ必須数; ++r) {
            const 組合せ記録& rec = Mem_Hissu(r);
            const int t = rec.勤務;
            if ((t < 1 || t > Type_Cnt) && t != kAllShifts)
                continue;
            const int length = rec.メンバー[0];
            for (int d = first; d <= last; ++d) {
                const int need = t == kAllShifts ? Need_Table(0, d) : Need_Table(t, d);
                if (rec.人数 >= 1 && rec.人数 < length && need > 0) {
                    int have = 0;
                    for (int i = 1; i <= length; ++i) {
                        const int x = rec.メンバー[i] > 0 ? rec.memberIndex[i] : 0;
                        have += x >= 1 && x <= Member_Cnt && holds(Time_Table(x, d), t);
                    }
                    if (have < rec.人数)
                        add(Rule::組合せ必須, r, d, t);
                } else if (rec.人数 == 2 && length == 2 && t != kAllShifts) {
                    const int x = rec.memberIndex[1];
                    const int y = rec.memberIndex[2];
                    if (x >= 1 && y >= 1 && x <= Member_Cnt && y <= Member_Cnt
                        && (Time_Table(x, d) == t) != (Time_Table(y, d) == t))
                        add(Rule::PairRecord, r, d, t);
                }
            }
        }
    }

    void targets()
    {
        for (int m = 1; m <= Member_Cnt; ++m) {
            int days = 0;
            double hours = 0;
            for (int d = 1; d <= Day_Cnt; ++d) {
                const int s = Time_Table(m, d);
                if (s >= 1) {
                    ++days;
                    hours += Val(Type_Table(s, 3));
                }
            }
            if (days > Member_DayOff(m))
                add(Rule::WorkDays, m, 0, days);
            // The hour limit applies only while the work-day adjustment is off.
            if (!Sw_勤務日数調整 && Member_Time(m) > 0 && hours > Member_Time(m) + 1e-4)
                add(Rule::勤務時間, m, 0, 0);
        }
    }
};

}  // namespace

std::vector<Violation> check(const Options& options)
{
    Checker c;
    c.first = options.firstDay > 0 ? options.firstDay : std::max(1, Start_Day);
    c.last = options.lastDay > 0 ? std::min(options.lastDay, Day_Cnt) : Day_Cnt;
    c.need();
    c.cells();
    c.patterns();
    c.required();
    c.runs(true, 連続勤務上限, Rule::WorkRun);
    c.runs(false, 連続休み上限, Rule::RestRun);
    c.weekly();
    c.perShift();
    c.bans();
    c.musts();
    c.targets();
    return c.out;
}

std::vector<Violation> only(const std::vector<Violation>& all, const std::vector<Rule>& rules)
{
    std::vector<Violation> kept;
    for (const Violation& v : all)
        if (std::find(rules.begin(), rules.end(), v.rule) != rules.end())
            kept.push_back(v);
    return kept;
}

QString ruleName(Rule rule)
{
    switch (rule) {
    case Rule::Understaffed: return QStringLiteral("必要人数不足");
    case Rule::Overstaffed: return QStringLiteral("必要人数超過");
    case Rule::MemberSchedule: return QStringLiteral("個人不可");
    case Rule::NextDayBan: return QStringLiteral("翌日禁止");
    case Rule::禁止パターン: return QStringLiteral("禁止パターン");
    case Rule::必須パターン: return QStringLiteral("必須パターン");
    case Rule::WorkRun: return QStringLiteral("連続勤務");
    case Rule::RestRun: return QStringLiteral("連続休み");
    case Rule::週間勤務日数: return QStringLiteral("週間勤務日数");
    case Rule::勤務回数: return QStringLiteral("勤務回数");
    case Rule::ShiftSpacing: return QStringLiteral("最少間隔");
    case Rule::組合せ禁止: return QStringLiteral("組合せ禁止");
    case Rule::組合せ必須: return QStringLiteral("組合せ必須");
    case Rule::PairRecord: return QStringLiteral("組合せペア");
    case Rule::Reservation: return QStringLiteral("予約");
    case Rule::WorkDays: return QStringLiteral("勤務日数");
    case Rule::勤務時間: return QStringLiteral("勤務時間");
    }
    return {};
}

QString describe(const std::vector<Violation>& violations)
{
    QString text;
    for (const Violation& v : violations)
        text += QStringLiteral("%1 member/record=%2 day=%3 shift=%4\n")
                    .arg(ruleName(v.rule))
                    .arg(v.member)
                    .arg(v.day)
                    .arg(v.shift);
    return text;
}

}  // namespace validator
