#include "engine/day_placement.h"

#include "engine/convert.h"
#include "engine/rules.h"
#include "engine/rules_candidate.h"
#include "engine/totals.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "shell/mylog.h"
#include "shell/mymod.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

// What a try may change, as it stood before the try. Kept between calls so that the copies reuse
// their memory.
struct Snapshot {
    vb::TwoDimArray<int> table;
    vb::TwoDimArray<int> reserved;
    vb::TwoDimArray<float> sum;
    vb::OneDimArray<float> workDays;
    vb::OneDimArray<float> hours;
    vb::OneDimArray<float> holidayWork;
    decltype(shiftDayBits) dayBits;
};
Snapshot snapshot;

void 日別集計初期化()
{
    snapshot.table = Time_Table;
    snapshot.reserved = Rsv_Table;
    snapshot.sum = Member_Sum;
    snapshot.workDays = Member_WorkDays;
    snapshot.hours = Member_Sum_TTIME;
    snapshot.holidayWork = Member_Sum_K;
    snapshot.dayBits = shiftDayBits;
}

void 日別集計更新()
{
    Time_Table = snapshot.table;
    Rsv_Table = snapshot.reserved;
    Member_Sum = snapshot.sum;
    Member_WorkDays = snapshot.workDays;
    Member_Sum_TTIME = snapshot.hours;
    Member_Sum_K = snapshot.holidayWork;
    shiftDayBits = snapshot.dayBits;
}

QString dayText(int d)
{
    return QStringLiteral("月日=") + 日付文字列(d, QStringLiteral("mm/dd"));
}

QString memberLine(int m, const QString& reason)
{
    return QStringLiteral("→") + FmtPad(double(MemNo(m)), 3, QStringLiteral("右詰")) + QLatin1Char(':') + reason + kCrLf;
}

bool carriesOver(int d)
{
    return d >= 2 || (d == 1 && Sw_初期値使用);
}

// The follower member m's previous day carries onto day d: 0 when none (the day is reserved, or
// the previous day starts no sequence, or its follower is "*", which asks only for a work day
// and is left to the rules).
int carriedFollower(int m, int d)
{
    const int prev = Time_Table(m, d - 1);
    if (prev <= 0 || Rsv_Table(m, d) != 0)
        return 0;
    const int next = requiredFollower(prev);
    return next <= Type_Cnt ? next : 0;
}

// The rules named at member m's day d, as refusal bits.
unsigned namedRules(int m, int d)
{
    unsigned rules = 0;
    for (const FixedConflict& c : fixedConflicts)
        if (c.record == 0 && c.m == m && c.d == d)
            rules |= refusalBit(c.rule);
    return rules;
}

// A member whose previous day starts a required sequence gets its follower, reserved and counted,
// unless the day is reserved already. A follower the rules refuse there fails the try (logged); a
// follower the fixed cells alone make break a rule was laid before the days were staffed.
bool carryOverRequired(int d)
{
    if (!carriesOver(d))
        return true;
    for (int m = 1; m <= Member_Cnt; ++m) {
        const int next = carriedFollower(m, d);
        if (next == 0)
            continue;
        const RefusalReason refusal = carriedShiftRefusal(m, next, d);
        if (refusal != RefusalReason::None) {
            dayPlacementLog += kCrLf + dayText(d) + QStringLiteral(",勤務=") + QString::number(next) + QLatin1Char('(')
                + TypeName1(next) + QStringLiteral("),必須パターン引継不可") + kCrLf
                + memberLine(m, refusalText(refusal, m, next, d));
            return false;
        }
        Time_Table(m, d) = next;
        Rsv_Table(m, d) = next;
        勤務集計加算(m, next, d);
    }
    return true;
}

// A prohibited pattern through member m's day d is named: at the day or at one of the four before,
// from where the pattern was found.
bool patternNamedThrough(int m, int d)
{
    return std::any_of(fixedConflicts.begin(), fixedConflicts.end(), [m, d](const FixedConflict& c) {
        return c.record == 0 && c.m == m && c.rule == RefusalReason::禁止パターン && c.d >= d - 4 && c.d <= d;
    });
}

// A staffed day still fails when a member left resting completes a prohibited pattern with the
// cells fixed around the day (logged), unless the fixed cells alone complete it.
bool restKeepsPatterns(int d)
{
    for (int m = 1; m <= Member_Cnt; ++m) {
        if (Time_Table(m, d) != 0 || !restCompletesPattern(m, d) || patternNamedThrough(m, d))
            continue;
        dayPlacementLog += kCrLf + dayText(d) + QStringLiteral(",休み,禁止パターン") + kCrLf
            + memberLine(m, QStringLiteral("禁止パターン"));
        return false;
    }
    return true;
}

bool holds(int v, int t)
{
    return t == kAllShifts ? v >= 1 : v == t;
}

// Records asking for 人数 members out of a longer list, on a day that needs their shift ("*": a
// day that needs anybody). Pairs are left to the candidate choice.
bool mustTakesPart(const 組合せ記録& rec, int d)
{
    const int t = rec.勤務;
    if (t <= 0 || rec.人数 >= rec.メンバー[0])
        return false;
    if (t == kAllShifts)
        return Need_Table(0, d) > 0;
    return t <= Type_Cnt && Need_Table(t, d) > 0;
}

// The record's roster members into field 1 of list; empty cells and unknown numbers are skipped.
int mustList(const 組合せ記録& rec, vb::TwoDimArray<int>& list)
{
    int n = 0;
    for (int i = 1; i <= rec.メンバー[0]; ++i) {
        const int x = rec.メンバー[size_t(i)] > 0 ? rec.memberIndex[size_t(i)] : 0;
        if (x >= 1)
            list(++n, 1) = x;
    }
    return n;
}

int listedHolding(int d, int t, const vb::TwoDimArray<int>& list, int n)
{
    int count = 0;
    for (int k = 1; k <= n; ++k)
        count += holds(Time_Table(list(k, 1), d), t);
    return count;
}

// Room left in the day's need of shift t; for "*" the room left over every shift type.
int openRoom(int t, int d)
{
    if (t != kAllShifts)
        return Need_Table(t, d) - 勤務回数(t, d);
    int room = 0;
    for (int s = 1; s <= Type_Cnt; ++s)
        room += std::max(0, Need_Table(s, d) - 勤務回数(s, d));
    return room;
}

// The best-scored allowed member of the list, -1 when none; shift receives the shift it takes.
// A "*" record tries the shift types with room left, the most room first, so that the scarce
// shifts stay open for the ranking.
int chooseMustMember(int d, int t, const vb::TwoDimArray<int>& list, int n, QString& reasons, int& shift)
{
    shift = t;
    if (t != kAllShifts)
        return 不可理由一覧(d, t, list, n, reasons);
    bool tried[TYPE_MAX + 1] = {};
    for (;;) {
        int best = 0;
        int bestRoom = 0;
        for (int s = 1; s <= std::min(Type_Cnt, TYPE_MAX); ++s) {
            const int room = Need_Table(s, d) - 勤務回数(s, d);
            if (!tried[s] && room > bestRoom) {
                best = s;
                bestRoom = room;
            }
        }
        if (best == 0)
            return -1;
        tried[best] = true;
        const int m = 不可理由一覧(d, best, list, n, reasons);
        if (m != -1) {
            shift = best;
            return m;
        }
    }
}

bool namedRecord(int r, int d)
{
    return std::any_of(fixedConflicts.begin(), fixedConflicts.end(), [r, d](const FixedConflict& c) {
        return c.record == r && c.d == d;
    });
}

// Places the missing members of every must record, one at a time; false (logged) when a record
// cannot be met. A record the fixed cells alone keep unmet on the day is left as it is. reasons
// gathers the refusals of every choice of the call.
bool placeMusts(int d)
{
    static vb::TwoDimArray<int> list(kMaxGroupMembers + 1, 3);
    QString reasons;
    const int records = 組合せ必須数;
    for (int r = 1; r <= records; ++r) {
        const 組合せ記録& rec = Mem_Hissu(r);
        if (!mustTakesPart(rec, d) || namedRecord(r, d))
            continue;
        const int t = rec.勤務;
        const int n = mustList(rec, list);
        auto head = [d, t] {
            return QStringLiteral("日=") + QString::number(d) + QStringLiteral(" 勤務=")
                + (t == kAllShifts ? QStringLiteral("*") : TypeName1(t));
        };
        for (;;) {
            const int missing = rec.人数 - listedHolding(d, t, list, n);
            if (missing <= 0)
                break;
            if (openRoom(t, d) < missing) {
                MemLog(head() + QStringLiteral(" 組合せ必須メンバーの確保に失敗！"));
                return false;
            }
            int shift = t;
            const int m = chooseMustMember(d, t, list, n, reasons, shift);
            if (m == -1) {
                MemLog(head() + QStringLiteral(" 組合せ必須メンバー失敗！ 該当者無し") + kCrLf + reasons);
                return false;
            }
            placeWithChain(m, shift, d);
        }
    }
    return true;
}

void shuffleMembers()
{
    static std::vector<int> idx;
    ShuffleIdx(idx, Member_Cnt);
    for (int i = 1; i <= Member_Cnt; ++i)
        Member_RndIdx(i) = idx[size_t(i)];
}

// The day's trace gets the need and the staff of every shift type, and goes to the ring log.
void logNeedTable(int d)
{
    // The last weekly-limit refusal of the try heads the trace.
    if (weeklyWorkDaysRefusal.m > 0)
        dayPlacementLog.prepend(weeklyWorkDaysText(weeklyWorkDaysRefusal.m, weeklyWorkDaysRefusal.d));
    if (dayPlacementLog.isEmpty())
        return;
    const QString right = QStringLiteral("右詰");
    const QString gap = QStringLiteral("　");
    dayPlacementLog += kCrLf + QStringLiteral("勤務番号　必要人数　確保人数");
    for (int k = 1; k <= Type_Cnt; ++k)
        dayPlacementLog += kCrLf + FmtPad(k, 8, right) + gap + FmtPad(Need_Table(k, d), 8, right) + gap
            + FmtPad(勤務回数(k, d), 8, right);
    MemLog(dayPlacementLog);
}

void keepFailedColumn(int d)
{
    dayPlacementFailures.ReDim(Member_Cnt);
    for (int m = 1; m <= Member_Cnt; ++m)
        dayPlacementFailures(m) = Time_Table(m, d);
    dayPlacementFailures(0) = 1;
}

// A cell the run has yet to choose, while the fixed cells are looked at alone: no rule's test
// matches it (no work day, no rest day, no shift).
constexpr int kUnchosen = -2;

// A break found from a neighbouring cell: a pattern from the four days before, a succession
// from the day before, a ban from another member of the same day and shift.
bool namedAlready(int m, int d, int s, RefusalReason rule)
{
    return std::any_of(fixedConflicts.begin(), fixedConflicts.end(), [=](const FixedConflict& c) {
        if (c.rule != rule)
            return false;
        switch (rule) {
        case RefusalReason::禁止パターン: return c.m == m && c.d >= d - 4 && c.d < d;
        case RefusalReason::連続勤務条件不可: return c.m == m && c.d == d - 1;
        case RefusalReason::組み合わせ禁止: return c.d == d && c.shift == s;
        case RefusalReason::勤務回数オーバー: return c.m == m && c.shift == s;
        // A run named where a carried follower lies is the same break as its first day over the
        // limit: two runs over it lie further apart.
        case RefusalReason::連続勤務日数オーバー: return c.m == m && c.d >= d - 連続勤務上限 && c.d < d;
        // A carried follower is named as the earlier of two close days.
        case RefusalReason::最少勤務間隔: return c.m == m && c.shift == s && c.d > d - Type_Span(s, 2) && c.d < d;
        default: return false;
        }
    });
}

bool everyShiftExcluded(int m, int d)
{
    const int all = (1 << std::min(Type_Cnt, TYPE_MAX)) - 1;
    return (Member_Scdl(m, d) & all) == all;
}

bool excludedFrom(int m, int d, int s)
{
    return s >= 1 && s <= std::min(Type_Cnt, TYPE_MAX) && (Member_Scdl(m, d) & (1 << (s - 1))) != 0;
}

// Member x, open on day d, cannot take shift t there for the fixed cells around it: t may not
// follow the fixed day before or precede the fixed day after, completes a prohibited pattern with
// them, or starts a chain whose follower day is fixed for something else, a forced rest, or
// excluded from the follower.
bool barredByFixedCells(int x, int d, int t)
{
    if (前日勤務判定(Time_Table(x, d - 1), t) || (d < Day_Cnt && 前日勤務判定(t, Time_Table(x, d + 1)))
        || 禁止パターン判定(t, x, d, Day_Cnt))
        return true;
    int cur = t;
    for (int day = d + 1; day <= Day_Cnt && day <= d + 20; ++day) {
        const int next = requiredFollower(cur);
        if (next == 0)
            return false;
        const int v = Time_Table(x, day);
        if (next == kAllShifts)
            return v == 0;
        if ((v != kUnchosen && v != next) || excludedFrom(x, day, next))
            return true;
        cur = next;
    }
    return false;
}

// The roster index of the record's i-th member, 0 for an empty cell or an unknown number.
int recordMember(const 組合せ記録& rec, int i)
{
    const int x = rec.メンバー[size_t(i)] > 0 ? rec.memberIndex[size_t(i)] : 0;
    return x >= 1 && x <= Member_Cnt ? x : 0;
}

// A pair's shift held by one member in the fixed cells while another's fixed cell holds something
// else or excludes the shift.
bool pairSplitByFixedCells(const 組合せ記録& rec, int d)
{
    const int t = rec.勤務;
    bool held = false;
    bool away = false;
    for (int i = 1; i <= rec.メンバー[0]; ++i) {
        const int x = recordMember(rec, i);
        if (x == 0)
            continue;
        const int v = Time_Table(x, d);
        if (v == t)
            held = true;
        else if (v != kUnchosen || excludedFrom(x, d, t) || barredByFixedCells(x, d, t))
            away = true;
    }
    return held && away;
}

// Staff of each shift type on each day in the fixed cells, counted once per search.
class FixedHolders {
public:
    FixedHolders() : counts_(size_t(Day_Cnt + 1) * (TYPE_MAX + 1), 0)
    {
        for (int m = 1; m <= Member_Cnt; ++m)
            for (int d = 1; d <= Day_Cnt; ++d) {
                const int v = Time_Table(m, d);
                if (v >= 1 && v <= TYPE_MAX)
                    ++counts_[index(v, d)];
            }
    }
    int operator()(int s, int d) const { return counts_[index(s, d)]; }

private:
    static size_t index(int s, int d) { return size_t(d) * (TYPE_MAX + 1) + size_t(s); }
    std::vector<int> counts_;
};

// A must record that its listed members cannot meet on day d from the fixed cells alone: those
// holding its shift, and those the run may still give it (neither fixed nor excluded, and only
// as many as the need leaves room for), are fewer than its number.
bool mustUnmetByFixedCells(const 組合せ記録& rec, int d, const FixedHolders& holders)
{
    const int t = rec.勤務;
    const int types = std::min(Type_Cnt, TYPE_MAX);
    const auto open = [&](int s) { return Need_Table(s, d) - holders(s, d); };
    int have = 0;
    int free = 0;
    for (int i = 1; i <= rec.メンバー[0]; ++i) {
        const int x = recordMember(rec, i);
        if (x == 0)
            continue;
        const int v = Time_Table(x, d);
        if (v != kUnchosen) {
            have += holds(v, t);
            continue;
        }
        bool can = false;
        for (int s = 1; s <= types && !can; ++s)
            can = (t == kAllShifts ? open(s) > 0 : s == t) && !excludedFrom(x, d, s) && !barredByFixedCells(x, d, s);
        free += can;
    }
    if (have >= rec.人数)
        return false;
    int room = 0;
    for (int s = 1; s <= types; ++s)
        if (t == kAllShifts || s == t)
            room += std::max(0, open(s));
    return have + std::min(free, room) < rec.人数;
}

// Every must record against the fixed cells of each day it binds.
void findRecordConflicts(int first)
{
    if (組合せ必須数 < 1)
        return;
    const FixedHolders holders;
    for (int r = 1; r <= 組合せ必須数; ++r) {
        const 組合せ記録& rec = Mem_Hissu(r);
        const bool pair = rec.人数 == rec.メンバー[0] && rec.人数 >= 2 && rec.勤務 >= 1 && rec.勤務 <= Type_Cnt;
        for (int d = first; d <= Day_Cnt; ++d) {
            const bool broken =
                pair ? pairSplitByFixedCells(rec, d) : mustTakesPart(rec, d) && mustUnmetByFixedCells(rec, d, holders);
            if (broken)
                fixedConflicts.push_back({0, d, rec.勤務, RefusalReason::None, r});
        }
    }
}

bool isPair(const 組合せ記録& rec)
{
    return rec.人数 == rec.メンバー[0];
}

QString recordMembersText(const 組合せ記録& rec)
{
    QString text;
    for (int i = 1; i <= rec.メンバー[0]; ++i) {
        const int x = recordMember(rec, i);
        if (x != 0)
            text += (text.isEmpty() ? QString() : QStringLiteral("・")) + QString::number(MemNo(x)) + QLatin1Char(' ')
                + Member_List(x, 2);
    }
    return text;
}

}  // namespace

void findFixedConflicts()
{
    fixedConflicts.clear();
    const vb::TwoDimArray<int> table = Time_Table;
    const vb::TwoDimArray<int> reserved = Rsv_Table;
    const int first = std::max(Start_Day, 1);
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = first; d <= Day_Cnt; ++d)
            if (Rsv_Table(m, d) == 0)
                Time_Table(m, d) = everyShiftExcluded(m, d) ? 0 : kUnchosen;
    for (int d = first; d <= Day_Cnt; ++d) {
        if (!carriesOver(d))
            continue;
        for (int m = 1; m <= Member_Cnt; ++m) {
            const int next = carriedFollower(m, d);
            if (next == 0)
                continue;
            const RefusalReason refusal = carriedShiftRefusal(m, next, d);
            if (refusal != RefusalReason::None)
                fixedConflicts.push_back({m, d, next, refusal});
            Time_Table(m, d) = next;
            Rsv_Table(m, d) = next;
        }
    }
    // Every fixed cell, forced rests included, against the fixed cells around it, each rule it
    // breaks once; a break already named from a neighbouring cell is not named again.
    for (int d = first; d <= Day_Cnt; ++d)
        for (int m = 1; m <= Member_Cnt; ++m) {
            if (Time_Table(m, d) < 0)
                continue;
            unsigned named = namedRules(m, d);
            for (RefusalReason rule; (rule = fixedCellRefusal(m, d, named)) != RefusalReason::None;) {
                named |= refusalBit(rule);
                if (!namedAlready(m, d, Time_Table(m, d), rule))
                    fixedConflicts.push_back({m, d, Time_Table(m, d), rule});
            }
        }
    findRecordConflicts(first);
    userFixedCells = Rsv_Table;
    Time_Table = table;
    Rsv_Table = reserved;
    // A named follower is laid now, so that the run's own choices around it are held to every
    // other rule with the follower in place.
    for (const FixedConflict& c : fixedConflicts) {
        const int next = c.record == 0 ? userFixedCells(c.m, c.d) : 0;
        if (next < 1 || next > Type_Cnt || Rsv_Table(c.m, c.d) != 0)
            continue;
        Time_Table(c.m, c.d) = next;
        Rsv_Table(c.m, c.d) = next;
        勤務集計加算(c.m, next, c.d);
    }
}

bool fixedByUser(int m, int d)
{
    return userFixedCells.isEmpty() ? Rsv_Table(m, d) != 0 : userFixedCells(m, d) != 0;
}

QString fixedConflictLines()
{
    QString text;
    for (const FixedConflict& c : fixedConflicts) {
        const QString day = 日付文字列(c.d, QStringLiteral("mm/dd")) + QLatin1Char(' ');
        if (c.record > 0) {
            const 組合せ記録& rec = Mem_Hissu(c.record);
            text += recordMembersText(rec) + QLatin1Char(' ') + day
                + (c.shift == kAllShifts ? QStringLiteral("*") : TypeText2(c.shift)) + QStringLiteral("：")
                + (isPair(rec) ? QStringLiteral("メンバー組合せ必須エラー") : QStringLiteral("組合せ必須メンバー該当者無し"))
                + kCrLf;
            continue;
        }
        text += QString::number(MemNo(c.m)) + QLatin1Char(' ') + Member_List(c.m, 2) + QLatin1Char(' ') + day
            + (c.shift > 0 ? TypeText2(c.shift) : Yasumi_Kigou) + QStringLiteral("：") + refusalText(c.rule, c.m, c.shift, c.d)
            + kCrLf;
    }
    return text;
}

bool inFixedPairSplit(int m, int d, int t)
{
    for (const FixedConflict& c : fixedConflicts) {
        if (c.record <= 0 || c.d != d || c.shift != t || !isPair(Mem_Hissu(c.record)))
            continue;
        const 組合せ記録& rec = Mem_Hissu(c.record);
        for (int i = 1; i <= rec.メンバー[0]; ++i)
            if (recordMember(rec, i) == m)
                return true;
    }
    return false;
}

constexpr int kSpanKeyBound = std::numeric_limits<int>::max() - TYPE_MAX;

勤務リスト dayShiftOrder(int tryNo)
{
    static vb::TwoDimArray<int> keys(TYPE_MAX, 2);
    勤務リスト list;
    list.n = std::min(Type_Cnt, TYPE_MAX);
    for (int k = 1; k <= list.n; ++k) {
        // Spans at the edge of a Long order alike: the bound keeps span + k and its negation in an int.
        const int span = std::clamp(Type_Span(k, 2), -kSpanKeyBound, kSpanKeyBound);
        int key;
        if (tryNo <= 6)
            key = span + k;
        else if (tryNo <= 9)
            key = k - span;
        else if (tryNo <= 12)
            key = span - k;
        else if (tryNo <= 15)
            key = -(span + k);
        else
            key = int(Int(double(MyRnd(1)) * 10));
        keys(k, 1) = k;
        keys(k, 2) = key;
    }
    SortCols(keys, 2, 2, 1, list.n, false);
    for (int k = 1; k <= list.n; ++k)
        list.type[k] = keys(k, 1);
    return list;
}

float 日別配置(int d, int tryNo)
{
    // Each try traces itself: the text of earlier tries was logged when they failed.
    dayPlacementLog.clear();
    weeklyWorkDaysRefusal = {};
    日別集計初期化();
    bool secured = carryOverRequired(d) && placeMusts(d);
    if (secured) {
        shuffleMembers();
        secured = 勤務別候補選定(d, dayShiftOrder(tryNo)) && restKeepsPatterns(d);
    }
    logNeedTable(d);
    if (secured)
        return 1.0f;
    keepFailedColumn(d);
    日別集計更新();
    return 0.0f;
}
