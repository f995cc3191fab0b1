// The swap check. The table already holds the exchange, so the counting rules look at the cells
// as they stand: a work run only for a member who works on the day, the weekly and per-type counts
// without adding the day again, and the totals as they are.
#include "engine/convert.h"
#include "engine/model.h"
#include "engine/reason.h"
#include "engine/rule_timing.h"
#include "engine/rules.h"

namespace {

// The flags are compared as views of known length: a literal compared as such is measured again
// at every one of the millions of checks.
constexpr QStringView kTargetsFlag = u"勤務日数判定要";
constexpr QStringView kNoRestRunsFlag = u"連続休み判定不要";

inline int bitOf(int s)
{
    return s >= 1 && s <= 30 ? 1 << (s - 1) : 0;
}

bool workRunOver(int m, int d)
{
    return Time_Table(m, d) >= 1 && 連続勤務日数(m, d) > 連続勤務上限;
}

bool weeklyOver(int m, int d)
{
    return 週間勤務日数上限 > 0 && 基点曜日 > 0 && 週間勤務日数(m, d, 基点曜日) - 1 > 週間勤務日数上限;
}

bool countOver(int m, int s)
{
    if (s < 1 || s > Type_Cnt || Type_Count(s, 2) < 1)
        return false;
    int count = 0;
    for (int i = 1; i <= Day_Cnt; ++i)
        if (Time_Table(m, i) == s)
            ++count;
    return count > Type_Count(s, 2);
}

bool hoursOver(int m)
{
    return Member_Time(m) > 0 && Member_Time(m) - Member_Sum_TTIME(m) < 0;
}

bool daysOver(int m)
{
    return Member_DayOff(m) - Member_WorkDays(m) < 0;
}

// Member m's row breaks a required succession at day d: the day before asks for another shift on
// d, or d's shift asks for one that the next day does not hold. Last month's final day counts
// only where last month's days are used.
bool chainBroken(int m, int d)
{
    const int first = Sw_初期値使用 ? 0 : 1;
    return (d - 1 >= first && requiredFollowerMissing(Time_Table(m, d - 1), m, d - 1))
        || requiredFollowerMissing(Time_Table(m, d), m, d);
}

// The tests of the exchange check that do not name a reason, cheapest first.
bool allowedByTargets(const int* members)
{
    if (!Sw_勤務日数調整) {
        for (int i = 0; i < 2; ++i) {
            const int m = members[i];
            const bool refused = 作成状態 == 1 ? hoursOver(m) : hoursOver(m) || (!Sw_勤務時間調整 && daysOver(m));
            if (refused)
                return false;
        }
    }
    if (!(Sw_勤務日数調整 && Sw_勤務時間調整))
        for (int i = 0; i < 2; ++i)
            if (daysOver(members[i]))
                return false;
    return true;
}

bool allowedAround(const int* members, int d)
{
    for (int i = 0; i < 2; ++i) {
        const int m = members[i];
        if (前日勤務判定(Time_Table(m, d - 1), Time_Table(m, d)) || 前日勤務判定(Time_Table(m, d), Time_Table(m, d + 1)))
            return false;
    }
    if (連続勤務上限 > 0)
        for (int i = 0; i < 2; ++i)
            if (workRunOver(members[i], d))
                return false;
    for (int i = 0; i < 2; ++i)
        if (最少勤務間隔判定(Time_Table(members[i], d), members[i], d) || countOver(members[i], Time_Table(members[i], d)))
            return false;
    return true;
}

}  // namespace

int requiredFollower(int s)
{
    for (int i = 1; i <= Hissu_Pattern_Cnt; ++i)
        if (Hissu_Pattern(i, 1) == s && Hissu_Pattern(i, 2) > 0)
            return Hissu_Pattern(i, 2);
    return 0;
}

bool requiredFollowerMissing(int t, int m, int d)
{
    if (t < 1 || d >= Day_Cnt)
        return false;
    const int next = requiredFollower(t);
    if (next == 0)
        return false;
    const int have = Time_Table(m, d + 1);
    return next == kAllShifts ? have < 1 : have != next;
}

bool exchangeAllowed(const QString& flag, int d, int a, int b)
{
    const RuleTimer timing;
    const int members[2] = {a, b};
    for (int i = 0; i < 2; ++i)
        if ((Member_Scdl(members[i], d) & bitOf(Time_Table(members[i], d))) != 0)
            return false;
    if (Rsv_Table(a, d) > 0 || Rsv_Table(b, d) > 0)
        return false;
    if (QStringView(flag) == kTargetsFlag && !allowedByTargets(members))
        return false;
    if (!allowedAround(members, d))
        return false;
    if (QStringView(flag) != kNoRestRunsFlag && 連続休み上限 > 0)
        for (int i = 0; i < 2; ++i)
            if (Time_Table(members[i], d) == 0 && 連続休み日数(members[i], d) > 連続休み上限)
                return false;
    if (組合せ禁止判定_日(a, d) || !組合せ必須判定(d))
        return false;
    // The weekly test stands in the full check twice, with the targets and on its own: once here.
    for (int i = 0; i < 2; ++i)
        if (weeklyOver(members[i], d))
            return false;
    for (int i = 0; i < 2; ++i) {
        const int m = members[i];
        if (禁止パターン判定(Time_Table(m, d - 1), m, d - 1, Day_Cnt) || 禁止パターン判定(Time_Table(m, d), m, d, Day_Cnt))
            return false;
    }
    return !chainBroken(a, d) && !chainBroken(b, d);
}

int 交換可否判定(const QString& flag, int d, int a, int b, long& reason)
{
    const RuleTimer timing;
    const bool targets = QStringView(flag) == kTargetsFlag;
    const bool restRuns = QStringView(flag) != kNoRestRunsFlag;
    const int members[2] = {a, b};
    // Reason code naming the failing member: a in the second place, b in the third.
    auto fail = [&](int no, int i) {
        reason = i == 0 ? 理由コード作成(no, a, 0) : 理由コード作成(no, 0, b);
        return -1;
    };

    for (int i = 0; i < 2; ++i) {
        const int m = members[i];
        if ((Member_Scdl(m, d) & bitOf(Time_Table(m, d))) != 0)
            return fail(reasons::不可勤務, i);
    }
    for (int i = 0; i < 2; ++i) {
        const int m = members[i];
        if (前日勤務判定(Time_Table(m, d - 1), Time_Table(m, d)))
            return fail(reasons::NoRunDayBefore, i);
        if (前日勤務判定(Time_Table(m, d), Time_Table(m, d + 1)))
            return fail(reasons::NoRunDayAfter, i);
    }
    for (int i = 0; i < 2; ++i) {
        const int m = members[i];
        if (禁止パターン判定(Time_Table(m, d - 1), m, d - 1, Day_Cnt))
            return fail(reasons::BannedPatternSameDay, i);
        if (禁止パターン判定(Time_Table(m, d), m, d, Day_Cnt))
            return fail(reasons::BannedPatternDayBefore, i);
    }
    if (連続勤務上限 > 0)
        for (int i = 0; i < 2; ++i)
            if (workRunOver(members[i], d))
                return fail(reasons::連続勤務日数, i);
    if (targets) {
        if (!Sw_勤務日数調整) {
            for (int i = 0; i < 2; ++i) {
                const int m = members[i];
                if (作成状態 == 1) {
                    if (hoursOver(m))
                        return fail(reasons::WorkHoursExceeded, i);
                } else if (hoursOver(m) || (!Sw_勤務時間調整 && daysOver(m))) {
                    return fail(reasons::HoursPerDayExceeded, i);
                }
            }
        }
        if (!(Sw_勤務日数調整 && Sw_勤務時間調整))
            for (int i = 0; i < 2; ++i)
                if (daysOver(members[i]))
                    return fail(reasons::勤務日数超過, i);
        for (int i = 0; i < 2; ++i)
            if (weeklyOver(members[i], d))
                return fail(reasons::WeeklyWorkDaysAdjust, i);
    }
    if (Rsv_Table(a, d) > 0 || Rsv_Table(b, d) > 0)
        return fail(reasons::予約済み, 0);
    if (組合せ禁止判定_日(a, d))
        return fail(reasons::メンバー組合せ, 0);
    if (!組合せ必須判定(d)) {
        reason = 理由コード作成(reasons::必須メンバー, a, b);
        return -1;
    }
    if (restRuns && 連続休み上限 > 0) {
        const bool overA = Time_Table(a, d) == 0 && 連続休み日数(a, d) > 連続休み上限;
        const bool overB = Time_Table(b, d) == 0 && 連続休み日数(b, d) > 連続休み上限;
        if (overA || overB) {
            reason = 理由コード作成(reasons::連続休み数, a, b);
            return -1;
        }
    }
    for (int i = 0; i < 2; ++i)
        if (最少勤務間隔判定(Time_Table(members[i], d), members[i], d))
            return fail(reasons::勤務最少間隔, i);
    for (int i = 0; i < 2; ++i)
        if (countOver(members[i], Time_Table(members[i], d)))
            return fail(reasons::ShiftCountLimit, i);
    for (int i = 0; i < 2; ++i)
        if (weeklyOver(members[i], d))
            return fail(reasons::週間勤務日数, i);
    for (int i = 0; i < 2; ++i)
        if (chainBroken(members[i], d))
            return fail(reasons::必須パターン, i);
    reason = 0;
    return 0;
}
