#include "engine/rules_candidate.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "engine/rules.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "shell/globals.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Members with the most (most = true) or the fewest holiday work days; with nobody on a holiday
// every member has the most.
void holidayExtremes(bool (&listed)[MEM_MAX + 2], bool most)
{
    int counts[MEM_MAX + 2] = {};
    int best = most ? 0 : 99;
    for (int i = 1; i <= Member_Cnt && i <= MEM_MAX; ++i) {
        int n = 0;
        for (int d = 1; d <= Day_Cnt; ++d)
            if (Holiday_Chk(d) != 0 && Time_Table(i, d) != 0)
                ++n;
        counts[i] = n;
        if (most ? n > best : n < best)
            best = n;
    }
    for (int i = 0; i <= MEM_MAX + 1; ++i)
        listed[i] = i >= 1 && i <= Member_Cnt && counts[i] == best;
}

}  // namespace

void 候補評価(vb::TwoDimArray<int>& table, int n, int d, int s)
{
    float total = 0;
    float ofType = 0;
    for (int i = 1; i <= n; ++i) {
        total += Member_Sum(i, 11);
        ofType += Member_Sum(i, s);
    }
    const float avgTotal = n > 0 ? total / n : 0;
    const float avgType = n > 0 ? ofType / n : 0;
    // Limits below 1 mean no rest-run limit: then no candidate earns the "limit reached" bonus.
    const bool restLimit = 連続休み上限 >= 1;

    const bool holiday = Holiday_Chk(d) != 0;
    bool most[MEM_MAX + 2] = {};
    bool least[MEM_MAX + 2] = {};
    if (holiday) {
        holidayExtremes(most, true);
        holidayExtremes(least, false);
    }

    for (int k = 1; k <= n; ++k) {
        const int m = table(k, 1);
        const int workBefore = 連続勤務日数_前(m, d) - 1;
        const int restBefore = 連続休み日数_前(m, d) - 1;
        table(k, 2) = workBefore;
        table(k, 3) = restBefore;
        const bool atRestLimit = restLimit && restBefore >= 連続休み上限;
        const double balance = 2.0 * (std::min(Member_Sum(m, 11), 8.0f) - avgTotal)
            + (std::min(Member_Sum(m, s), 8.0f) - avgType);
        // Last month's totals are Singles: a balance beyond any roster's still ranks, within an int.
        int key4 = int(std::clamp(std::nearbyint(-500.0 * balance), -1e9, 1e9));
        if (atRestLimit)
            key4 += 20000;
        table(k, 4) = key4;
        if (Type_Span(s, 2) > 0 && 前回勤務間隔(m, s, d) < Type_Span(s, 2))
            table(k, 6) = -20000;

        int key5 = 0;
        if (workBefore == 1)
            key5 += 1000;
        if (atRestLimit)
            key5 += 1000;
        else if (restBefore == 1)
            key5 -= 1000;
        for (int j = d + 1; j <= d + 4 && j <= Day_Cnt && Member_Scdl(m, j) == 1023; ++j)
            key5 += 100;
        key5 += table(k, 4) + table(k, 6);
        if (holiday && m >= 0 && m <= MEM_MAX + 1) {
            if (most[m])
                key5 -= 1000;
            else if (least[m])
                key5 += 1000;
        }
        table(k, 5) = key5;
    }
}

int 勤務回数(int s, int d)
{
    int n = 0;
    for (int m = 1; m <= Member_Cnt; ++m)
        if (Time_Table(m, d) == s)
            ++n;
    return n;
}

int 割当人数(int d, int s, const vb::TwoDimArray<int>& table, int n)
{
    int count = 0;
    for (int k = 1; k <= n; ++k)
        if (Time_Table(table(k, 1), d) == s)
            ++count;
    return count;
}

QString 日付文字列(int d, const QString& f)
{
    return Format(DateSerial(int(作成年), int(作成月), int(基準開始日) + d - 1), f);
}

int 不可理由一覧(int d, int s, const vb::TwoDimArray<int>& table, int n, QString& text)
{
    const QString right = QStringLiteral("右詰");
    int chosen = -1;
    // Starts below every score, so a passing candidate is never lost to a negative score.
    long best = LONG_MIN;
    for (int k = 1; k <= n; ++k) {
        const int m = table(k, 1);
        const QString r = 勤務不可理由(m, s, d);
        if (!r.isEmpty()) {
            text += FmtPad(m, 3, right) + QLatin1Char(':') + FmtPad(double(MemNo(m)), 3, right)
                + QStringLiteral("→") + r + kCrLf;
            continue;
        }
        const long mask = Member_Scdl(m, d);
        const long score = 100L * BitCount(mask, Type_Cnt)
            + 10L * (Member_Cnt - SumUnmasked(mask, Type_Cnt, d, Need_Table)) + 前回勤務間隔(m, s, d)
            + 100L * BitCount(DayBefore_Table(Time_Table(m, d - 1)), Type_Cnt);
        if (score >= best) {
            best = score;
            chosen = m;
        }
    }
    return chosen;
}
