#include "optimise/adjust.h"

#include "engine/candidate_choice.h"
#include "engine/convert.h"
#include "engine/model.h"
#include "engine/run_window.h"
#include "engine/rules.h"
#include "engine/totals.h"
#include "optimise/shift_block.h"
#include "platform/text/vb.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompt.h"
#include "shell/do_events.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/mymod.h"
#include "shell/status.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>
#include <vector>

namespace {

// The shift numbers of 指定勤務 that name a shift type, in list order.
std::vector<int> adjustableShifts()
{
    std::vector<int> shifts;
    for (int i = 1; i < 指定勤務.size(); ++i) {
        // A part beyond every shift number names none (and fits no int).
        const double t = std::nearbyint(Val(指定勤務[i]));
        if (t >= 1 && t <= Type_Cnt)
            shifts.push_back(int(t));
    }
    return shifts;
}

bool isHoliday(int d)
{
    return Holiday_Chk(d) != 0;
}

// Whether shift t may go to member m's rest day d: the assignment check, and the hard rules the
// generation adds to it. One member of a pair alone would split it.
bool mayAssign(int t, int d, int m, bool strict)
{
    if (勤務可否判定(t, d, m, Day_Cnt) != 0 || 最少勤務間隔判定(t, m, d) || requiredFollowerMissing(t, m, d))
        return false;
    if (const int partner = Pair_Check(m, t); partner > 0 && Time_Table(partner, d) != t)
        return false;
    return !(strict && 規則違反判定(m, d));
}

void assign(ShiftBlock& block, int m, int t, int d)
{
    Time_Table(m, d) = t;
    勤務集計加算(m, t, d);
    block.show(m, d);
}

int surplus(int d)
{
    int working = 0;
    for (int i = 1; i <= Member_Cnt; ++i)
        if (Time_Table(i, d) != 0)
            ++working;
    return working - Need_Table(0, d);
}

// A day the work-day sweep passes over without asking the rules.
bool skippedDay(int m, int d, bool firstSweep)
{
    if (Time_Table(m, d) != 0 || 週間勤務日数判定(m, d))
        return true;
    if (isHoliday(d) && (Sw_休日対象外 || (firstSweep && Sw_平日勤務集中)))
        return true;
    return false;
}

// Fills member m's rest days with shift t while m is below target, shortest-staffed days first.
void fillWorkDays(ShiftBlock& block, int m, int t, bool strict, bool firstSweep)
{
    vb::TwoDimArray<int> order;
    const int n = 調整日選択_時間(order);
    int k = 1;
    while (勤務日数差(m) > 0) {
        const int d = 調整日選択(order, n, k);
        if (d < 0)
            return;
        const bool accepted = !skippedDay(m, d, firstSweep) && mayAssign(t, d, m, strict)
            && !(firstSweep && 連続休み上限 != 0 && 連続休み日数(m, d) <= 連続休み上限);
        if (!accepted) {
            ++k;
            continue;
        }
        // The same position is tried again: the filled day moved behind it.
        assign(block, m, t, d);
        reorderAdjustDays(order, n);
    }
}

// One sweep over the members; false when Sw_中止 ended it.
bool workDaySweep(ShiftBlock& block, const std::vector<int>& shifts, bool strict, bool firstSweep)
{
    for (int m = 1; m <= Member_Cnt; ++m) {
        if (!Sw_バックグラウンド動作)
            optwin.setValue(m);
        for (int t : shifts) {
            fillWorkDays(block, m, t, strict, firstSweep);
            DoEvents();
            if (Sw_中止)
                return false;
        }
    }
    return true;
}

// Every acceptable rest day of member m gets shift t, shortest-staffed days first.
void fillHours(ShiftBlock& block, int m, int t, bool strict)
{
    vb::TwoDimArray<int> order;
    const int n = 調整日選択_時間(order);
    for (int j = 1; j <= n; ++j) {
        const int d = order(j, 1);
        if (Time_Table(m, d) != 0 || (isHoliday(d) && Sw_休日対象外))
            continue;
        if (mayAssign(t, d, m, strict))
            assign(block, m, t, d);
    }
}

void showStage(const QString& message)
{
    if (Sw_バックグラウンド動作)
        return;
    optwin.setMessage(message);
    optwin.setRange(0, std::max(Member_Cnt, 1));
    optwin.show();
}

int standing()
{
    QString text;
    return int(std::nearbyint(出勤日数過不足一覧(text)));
}

int workDayAdjustment(bool strict)
{
    showStage(QStringLiteral("勤務日数調整中・・"));
    DoEvents();
    const std::vector<int> shifts = adjustableShifts();
    if (shifts.empty())
        return 0;
    ShiftBlock block;
    if (workDaySweep(block, shifts, strict, true))
        workDaySweep(block, shifts, strict, false);
    block.write();
    xlSheet->calculate();
    DoEvents();
    optwin.hide();
    xlSheet->calculate();
    return standing();
}

}  // namespace

float 勤務日数差(int m)
{
    if (Member_DayOff(m) == Day_Cnt)
        return 0;
    return Member_DayOff(m) - Member_WorkDays(m);
}

int 調整日選択_時間(vb::TwoDimArray<int>& table)
{
    const int first = std::max(1, Start_Day);
    const int n = std::max(0, Day_Cnt - first + 1);
    table.ReDim(n, 2);
    for (int j = 1; j <= n; ++j)
        table(j, 1) = first + j - 1;
    for (int i = 1; i <= 3 * n; ++i) {
        const int a = int(Int(n * double(MyRnd(1)))) + 1;
        const int b = int(Int(n * double(MyRnd(1)))) + 1;
        std::swap(table(a, 1), table(b, 1));
    }
    reorderAdjustDays(table, n);
    return n;
}

void reorderAdjustDays(vb::TwoDimArray<int>& table, int n)
{
    for (int j = 1; j <= n; ++j)
        table(j, 2) = surplus(table(j, 1));
    SortCols(table, 2, 2, 1, n, true);
}

int 調整日選択(const vb::TwoDimArray<int>& table, int n, int k)
{
    return k >= 1 && k <= n ? table(k, 1) : -1;
}

bool 規則違反判定(int m, int d)
{
    // Single days count on days first..Day_Cnt - 1; day 1 only when last month's final day (day 0)
    // takes part.
    const int first = Sw_初期値使用 ? 1 : 2;
    auto counted = [&](int x) { return x >= first && x <= Day_Cnt - 1; };
    auto rest = [&](int x) { return Time_Table(m, x) == 0; };
    if (counted(d) && rest(d - 1) && rest(d + 1))
        return true;
    if (counted(d - 1) && rest(d - 1) && !rest(d - 2))
        return true;
    return counted(d + 1) && rest(d + 1) && !rest(d + 2);
}

int 勤務日数調整処理(bool strict)
{
    if (!Sw_勤務日数調整 || Sw_中止)
        return 0;
    try {
        return workDayAdjustment(strict);
    } catch (const std::exception&) {
        MsgBox(ui::errorText(std::current_exception()), ui::vbOKOnly, QStringLiteral("勤務日数調整"));
    }
    return 0;
}

int 勤務時間調整処理(bool strict)
{
    if (!Sw_勤務時間調整 || Sw_中止)
        return 0;
    showStage(QStringLiteral("勤務時間調整中・・"));
    const std::vector<int> shifts = adjustableShifts();
    if (shifts.empty())
        return 0;
    DspSplash(QStringLiteral("勤務時間調整中"));
    struct CloseSplash {
        ~CloseSplash() { DspSplash(QString()); }
    } closeSplash;
    xlAppSetting(true, true, false);
    ShiftBlock block;
    for (int m = 1; m <= Member_Cnt && !Sw_中止; ++m) {
        if (Member_Time(m) <= 0)
            continue;
        if (!Sw_バックグラウンド動作)
            optwin.setValue(m);
        for (int t : shifts) {
            fillHours(block, m, t, strict);
            DoEvents();
            if (Sw_中止)
                break;
        }
    }
    block.write();
    xlSheet->calculate();
    optwin.hide();
    xlAppSetting(true, true, false);
    return standing();
}
