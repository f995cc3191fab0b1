#include "optimise/rest_days.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "engine/rules.h"
#include "engine/totals.h"
#include "platform/text/vb.h"
#include "shell/do_events.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kRepetitions = 10;

// B's shift goes to A and A's rest day to B; kept only when the rules allow it.
bool moveWork(int a, int b, int d)
{
    static const QString flag = QStringLiteral("勤務日数判定要");
    勤務変更(a, b, d);
    if (!exchangeAllowed(flag, d, a, b)) {
        勤務変更(b, a, d);
        return false;
    }
    勤務セル表示(a, b, d);
    return true;
}

struct Equalising {
    int first = 1;
    int last = 0;
    vb::TwoDimArray<int> table;
    int n = 0;
    bool kept = false;

    // One repetition: for p = 1 .. n - 1 the member p - 1 places above the bottom gives to the
    // top one, day by day, with the ranking taken again after every kept move.
    void repetition()
    {
        for (int p = 1; p <= n - 1; ++p)
            for (int d = first; d <= last; ++d) {
                DoEvents();
                if (Sw_中止)
                    return;
                const int giver = n - p + 1;
                if (std::abs(table(1, 2) - table(n, 2)) < 2)
                    break;
                if (table(1, 2) - table(giver, 2) < 1)
                    return;
                const int a = table(1, 1);
                const int b = table(giver, 1);
                if (Time_Table(b, d) != 0 && Time_Table(a, d) == 0 && moveWork(a, b, d)) {
                    kept = true;
                    n = 休み過不足表(table);
                }
            }
    }
};

}  // namespace

int 休み過不足表(vb::TwoDimArray<int>& table)
{
    table.ReDim(Member_Cnt, 2);
    int n = 0;
    for (int i = 1; i <= Member_Cnt; ++i) {
        // A target equal to the day count means "no target": such a member would always rank
        // first and keep receiving shifts.
        if (Member_DayOff(i) == Day_Cnt)
            continue;
        ++n;
        table(n, 1) = i;
        table(n, 2) = toInteger(Member_DayOff(i) - Member_WorkDays(i));
    }
    SortCols(table, 2, 2, 1, n, false);
    return n;
}

bool 休み数均等化(bool refresh, int day)
{
    XlSwitchesGuard switches;
    Equalising run;
    // Days before Start_Day are settled; only the days generation may change are used.
    run.first = std::max({day >= 1 ? day : 1, Start_Day, 1});
    run.last = day >= 1 ? std::min(day, Day_Cnt) : Day_Cnt;
    run.n = 休み過不足表(run.table);
    for (int r = 1; r <= kRepetitions && !Sw_中止; ++r) {
        xlAppSetting(false, false, false);
        run.repetition();
        if (refresh)
            xlAppSetting(true, true, false);
    }
    return run.kept;
}

long 単勤単休数(const QString& kind, int length, int lastDay)
{
    if (lastDay == 0)
        lastDay = Day_Cnt;
    long total = 0;
    for (int m = 1; m <= Member_Cnt; ++m)
        total += 単勤単休数_個人(m, kind, length, lastDay, 31);
    return total;
}

int 単勤単休数_個人(int m, const QString& kind, int length, int lastDay, int longRun)
{
    const bool countRest = kind == u"休み";
    int count = 0;
    int run = 0;
    for (int d = Sw_初期値使用 ? 0 : 1; d <= lastDay; ++d) {
        const bool work = Time_Table(m, d) != 0;
        ++run;
        const bool ends = d < lastDay && (Time_Table(m, d + 1) != 0) != work;
        // A run still open at the last day may go on after it: counted only from two days on.
        const bool open = d == lastDay && run >= 2;
        if ((ends || open) && work != countRest && (run == length || run >= longRun))
            ++count;
        if (ends)
            run = 0;
    }
    return count;
}
