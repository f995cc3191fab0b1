#include "engine/rules.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "engine/rule_timing.h"
#include "engine/totals.h"
#include "shell/globals.h"

#include <QDate>
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace {

// The bit of shift s in every per-shift mask; a rest day has none.
inline int shiftBit(int s)
{
    return s >= 1 && s <= 30 ? 1 << (s - 1) : 0;
}

inline bool isWork(int v)
{
    return v >= 1;
}

// Days before d that share the kind (work or rest) of the run, continuing into last month's days
// when the scan reached day 0 and they take part.
template <typename Pred>
int runBefore(int m, int d, Pred inRun)
{
    int n = 0;
    int k = d - 1;
    while (k >= 1 && inRun(Time_Table(m, k))) {
        ++n;
        --k;
    }
    if (k <= 0 && Sw_初期値使用) {
        for (int j = 1; j <= 10 && inRun(Past_Table(m, j)); ++j)
            ++n;
    }
    return n;
}

template <typename Pred>
int runAfter(int m, int d, Pred inRun)
{
    int n = 0;
    for (int k = d + 1; k <= Day_Cnt && inRun(Time_Table(m, k)); ++k)
        ++n;
    return n;
}

bool isRest(int v)
{
    return v == 0;
}

// Up to 21 shifts of the required chain that starts with s: rows are visited once, in order.
struct Chain {
    int n = 0;
    int shift[22] = {};
};

Chain requiredChain(int s)
{
    Chain c;
    c.shift[1] = s;
    c.n = 1;
    int cur = s;
    for (int i = 1; i <= Hissu_Pattern_Cnt && c.n <= 20; ++i) {
        if (Hissu_Pattern(i, 1) == cur) {
            cur = Hissu_Pattern(i, 2);
            c.shift[++c.n] = cur;
        }
    }
    return c;
}

// A window value for a later day nothing has fixed yet: it matches no element of a pattern.
constexpr int kOpenDay = -2;

// Whether a pattern of n shifts (element(j), j = 1..n) matches the window w from position q.
template <class Element>
bool patternMatches(const Element& element, int n, const int* w, int q)
{
    for (int j = 1; j <= n; ++j) {
        const int e = element(j);
        const int v = w[q + j - 1];
        if (v == kOpenDay)
            return false;
        if (e != kAllShifts) {
            if (e != v)
                return false;
        } else if (v != 0) {
            return true;
        } else if (j == n) {
            return false;
        }
    }
    return true;
}

// Members 1..Member_Cnt (other than skip) holding shift t on day d; kAllShifts counts any work shift.
bool holds(int v, int t)
{
    return t == kAllShifts ? v >= 1 : v == t;
}

// The weekday (1 Monday .. 7 Sunday, 0 for no valid date) of day d of the period, from the
// calendar once per period: the weekly checks ask for it millions of times.
int periodWeekday(int d)
{
    const auto weekday = [](int day) {
        const QDate date = QDate(int(作成年), int(作成月), 1).addDays(基準開始日 - 1 + day - 1);
        return date.isValid() ? date.dayOfWeek() : 0;
    };
    static long year = 0, month = 0, start = 0;
    static std::array<int, DAY_MAX + 2> days{};
    static bool known = false;
    if (d < 0 || d > DAY_MAX + 1)
        return weekday(d);
    if (!known || year != 作成年 || month != 作成月 || start != 基準開始日) {
        year = 作成年;
        month = 作成月;
        start = 基準開始日;
        for (int x = 0; x <= DAY_MAX + 1; ++x)
            days[size_t(x)] = weekday(x);
        known = true;
    }
    return days[size_t(d)];
}

// Work days of member m in the week (first weekday w) that contains day d, up to day `through`,
// as the cells stand; the week's days before day 1 are last month's.
int weekWorkDays(int m, int d, int w, int through)
{
    const int weekday = periodWeekday(d);
    const int k = weekday != 0 ? (weekday - w + 14) % 7 : 0;
    int count = 0;
    const int first = std::max(1, d - k);
    const int last = std::min({Day_Cnt, d - k + 6, through});
    for (int i = first; i <= last; ++i)
        if (Time_Table(m, i) >= 1)
            ++count;
    for (int j = 1; j <= k + 1 - d; ++j)
        if (Past_Table(m, j) > 0)
            ++count;
    return count;
}

// Work days of the week (first weekday w) that contains day d, day d included as it stands.
int weekCount(int m, int d, int w)
{
    return weekWorkDays(m, d, w, Day_Cnt);
}

bool weeklyRuleOn()
{
    return 週間勤務日数上限 > 0 && 基点曜日 > 0;
}

// A required chain laid on member m's row from day d (days inside the period only) for as long as
// the object lives; the cells are put back when it goes.
class LaidChain {
public:
    LaidChain(const Chain& c, int m, int d) : m_(m), first_(std::max(d, 1)), last_(std::min(Day_Cnt, d + c.n - 1))
    {
        for (int x = first_; x <= last_; ++x) {
            saved_[x - first_] = Time_Table(m, x);
            Time_Table(m, x) = c.shift[x - d + 1];
        }
    }
    ~LaidChain()
    {
        for (int x = first_; x <= last_; ++x)
            Time_Table(m_, x) = saved_[x - first_];
    }
    LaidChain(const LaidChain&) = delete;
    LaidChain& operator=(const LaidChain&) = delete;
    int first() const { return first_; }
    int last() const { return last_; }

private:
    int m_, first_, last_;
    int saved_[22] = {};
};

// The work run through day d with the chain laid, each chain day counted once; chain days past
// the period's end extend a run that reaches the last day.
int laidRun(const Chain& c, int m, int d)
{
    const LaidChain laid(c, m, d);
    const int after = runAfter(m, d, isWork);
    int beyond = 0;
    if (d + after == Day_Cnt)
        for (int k = Day_Cnt - d + 2; k <= c.n && isWork(c.shift[k]); ++k)
            ++beyond;
    return after + runBefore(m, d, isWork) + 1 + beyond;
}

// With the chain laid: a chain day up to lastDay that completes a prohibited pattern, a week the
// chain touches that holds more work days than the weekly limit, a chain day that may not follow
// its day before (or be followed by its day after), a chain shift too close to the same shift or
// over its count limit, or a chain day on which a combination ban forbids its shift.
RefusalReason laidChainRefusal(const Chain& c, int m, int d, int lastDay)
{
    const LaidChain laid(c, m, d);
    const int last = std::min(laid.last(), lastDay);
    for (int x = laid.first(); x <= last; ++x)
        if (禁止パターン判定(Time_Table(m, x), m, x, lastDay))
            return RefusalReason::禁止パターン;
    if (weeklyRuleOn())
        for (int x = laid.first(); x <= laid.last(); ++x)
            if (weekCount(m, x, 基点曜日) > 週間勤務日数上限)
                return RefusalReason::週間勤務日数不可;
    for (int x = laid.first(); x <= laid.last(); ++x) {
        const int s = Time_Table(m, x);
        if (前日勤務判定(Time_Table(m, x - 1), s) || (x < Day_Cnt && 前日勤務判定(s, Time_Table(m, x + 1))))
            return RefusalReason::連続勤務条件不可;
        if (最少勤務間隔判定(s, m, x))
            return RefusalReason::最少勤務間隔;
        if (勤務回数判定(m, s, x))
            return RefusalReason::勤務回数オーバー;
    }
    for (int x = laid.first(); x <= laid.last(); ++x)
        if (組合せ禁止判定(m, Time_Table(m, x), x))
            return RefusalReason::組み合わせ禁止;
    return RefusalReason::None;
}

// A record of two members that needs both, on one shift: a pair, who work that shift together.
bool isPairRecord(const 組合せ記録& rec)
{
    return rec.人数 == 2 && rec.メンバー[0] == 2 && rec.勤務 >= 1 && rec.勤務 <= Type_Cnt;
}

// With the chain laid, a follow-up day on which member m and a pair partner split: one holds the
// pair's shift while the other holds another, or is excluded from it. A partner's open day is no
// split: the pair step places the partner there.
bool chainSplitsPair(const Chain& c, int m, int d)
{
    if (組合せ必須数 < 1)
        return false;
    const LaidChain laid(c, m, d);
    for (int r = 1; r <= 組合せ必須数; ++r) {
        const 組合せ記録& rec = Mem_Hissu(r);
        if (!isPairRecord(rec))
            continue;
        const int a = rec.memberIndex[1], b = rec.memberIndex[2];
        const int p = a == m ? b : b == m ? a : 0;
        if (p < 1 || p > Member_Cnt || rec.メンバー[1] <= 0 || rec.メンバー[2] <= 0)
            continue;
        const int u = rec.勤務;
        for (int x = std::max(laid.first(), d + 1); x <= laid.last(); ++x) {
            const int mine = Time_Table(m, x);
            const int theirs = Time_Table(p, x);
            const bool partnerAway = theirs != 0 ? theirs != u : (Member_Scdl(p, x) & shiftBit(u)) != 0;
            if ((mine == u && partnerAway) || (theirs == u && mine != u))
                return true;
        }
    }
    return false;
}

// The member's work-day and hour limits against one more shift s, each unless its switch lets it
// pass; the work days win when both fail.
RefusalReason workDaysHoursRefusal(int s, int m)
{
    if (Member_WorkDays(m) >= Member_DayOff(m) && !Sw_勤務時間調整)
        return RefusalReason::出勤日数オーバー;
    if (Member_Time(m) > 0 && !Sw_勤務日数調整 && shiftHours(s) + Member_Sum_TTIME(m) > Member_Time(m))
        return RefusalReason::出勤時間オーバー;
    return RefusalReason::None;
}

}  // namespace

// ---- sub-checks ----

QString 出勤時間日数判定(int s, int m, int d)
{
    return refusalText(workDaysHoursRefusal(s, m), m, s, d);
}

bool 勤務回数判定(int m, int s, int excludedDay)
{
    if (s < 1 || s > Type_Cnt || Type_Count(s, 2) < 1)
        return false;
    int count = 0;
    for (int i = 1; i <= Day_Cnt; ++i)
        if (i != excludedDay && Time_Table(m, i) == s)
            ++count;
    return count >= Type_Count(s, 2);
}

int 連続休み日数(int m, int d)
{
    return runAfter(m, d, isRest) + runBefore(m, d, isRest) + 1;
}

int 連続休み日数_前(int m, int d)
{
    return runBefore(m, d, isRest) + 1;
}

int 連続勤務日数(int m, int d)
{
    return runAfter(m, d, isWork) + runBefore(m, d, isWork) + 1;
}

int 勤務日数_後(int m, int d)
{
    int n = 0;
    for (int k = d + 1; k <= Day_Cnt + 1 && Time_Table(m, k) != 0; ++k)
        ++n;
    return n + 1;
}

int 連続勤務日数_前(int m, int d)
{
    return runBefore(m, d, isWork) + 1;
}

namespace {

// Days from..from+count-1 of member m's row (days lie side by side in a row) into out, the
// bounds checked at the first and the last day.
void copyDays(int m, int from, int* out, int count)
{
    if (count < 1)
        return;
    const int* first = &Time_Table(m, from);
    const int* last = &Time_Table(m, from + count - 1);
    std::copy(first, last + 1, out);
}

// Days d-4..d+4 of member m into w(1..9), w(5) = day d; days past lastDay are rest days.
void fillPatternWindow(int m, int d, int lastDay, int* w)
{
    const int tableEnd = Time_Table.UBound(2);
    if (d <= 4) {
        if (Sw_初期値使用)
            for (int k = 1; k <= 5 - d; ++k)
                w[k] = Past_Table(m, 6 - d - k);
        const int count = std::min(d + 4, tableEnd);
        copyDays(m, 1, w + 6 - d, count);
    } else {
        int count = 9;
        if (d > lastDay - 4)
            count = lastDay - d + 5;
        count = std::min(count, tableEnd - (d - 4) + 1);
        copyDays(m, d - 4, w + 1, count);
    }
}

// Whether a prohibited pattern starts at a position of w up to day d; with throughDay only the
// starts whose pattern reaches day d count.
bool windowMatches(int d, const int* w, bool throughDay)
{
    const int q0 = d < 5 && !Sw_初期値使用 ? 6 - d : 1;
    // Bit q of at[v]: the window holds shift v at start position q. A pattern whose first element
    // is a shift can only start where the window holds that shift.
    constexpr int kShifts = 16;
    std::uint32_t at[kShifts] = {};
    for (int q = 1; q <= 5; ++q)
        if (w[q] >= 0 && w[q] < kShifts)
            at[w[q]] |= std::uint32_t(1) << q;
    for (int p = 1; p <= Kinsi_Pattern_Cnt; ++p) {
        const int n = Kinsi_Pattern(p, 0);
        if (n <= 0)
            continue;
        const int first = throughDay ? std::max(q0, 6 - n) : q0;
        // A row that fits the table is read in place, its bounds checked once.
        if (n <= Kinsi_Pattern.UBound(2)) {
            const int* row = &Kinsi_Pattern(p, n) - n;
            const auto element = [row](int j) { return row[j]; };
            std::uint32_t starts = first <= 5 ? (std::uint32_t(0x3F) >> first) << first : 0;
            if (row[1] != kAllShifts && row[1] >= 0 && row[1] < kShifts)
                starts &= at[row[1]];
            for (; starts != 0; starts &= starts - 1)
                if (patternMatches(element, n, w, std::countr_zero(starts)))
                    return true;
            continue;
        }
        const auto element = [p](int j) { return Kinsi_Pattern(p, j); };
        for (int q = first; q <= 5; ++q)
            if (patternMatches(element, n, w, q))
                return true;
    }
    return false;
}

}  // namespace

bool 禁止パターン判定(int s, int m, int d, int lastDay)
{
    int w[10] = {};
    fillPatternWindow(m, d, lastDay, w);
    w[5] = s;
    return windowMatches(d, w, false);
}

namespace {

// A prohibited pattern runs through member m's day d holding v; later days count only where a
// cell is fixed already (a reservation, a carried shift).
bool patternThrough(int m, int d, int v)
{
    if (Kinsi_Pattern_Cnt < 1)
        return false;
    int w[10] = {};
    fillPatternWindow(m, d, Day_Cnt, w);
    w[5] = v;
    for (int k = 6; k <= 9; ++k)
        if (d + k - 5 > Day_Cnt || Time_Table(m, d + k - 5) == 0)
            w[k] = kOpenDay;
    return windowMatches(d, w, true);
}

}  // namespace

bool restCompletesPattern(int m, int d)
{
    return patternThrough(m, d, 0);
}

namespace {

// Shift s on day d comes sooner after member m's last s than its shortest interval allows. Only
// the earlier side is looked at, so two close cells make one break.
bool closerThanIntervalSinceLast(int s, int m, int d)
{
    if (s < 1 || s > Type_Cnt || Type_Span(s, 2) < 1)
        return false;
    for (int k = d - 1; k >= std::max(0, d - Type_Span(s, 2) + 1); --k)
        if (Time_Table(m, k) == s)
            return true;
    return false;
}

// Day d (fixed already, s its cell) does not hold the follower a required sequence asks for after
// the day before: a reserved day after the sequence's first shift.
bool breaksRequiredFollower(int s, int m, int d)
{
    if (d < 2 && !Sw_初期値使用)
        return false;
    const int prev = Time_Table(m, d - 1);
    const int next = prev >= 1 ? requiredFollower(prev) : 0;
    if (next == kAllShifts)
        return s == 0;
    return next >= 1 && next <= Type_Cnt && s != next;
}

// Member m holds shift s on more days up to day d than its count limit allows.
bool overCountThrough(int s, int m, int d)
{
    if (s < 1 || s > Type_Cnt || Type_Count(s, 2) < 1)
        return false;
    int count = 0;
    for (int i = 1; i <= d; ++i)
        count += Time_Table(m, i) == s;
    return count > Type_Count(s, 2);
}

}  // namespace

RefusalReason fixedCellRefusal(int m, int d, unsigned excused)
{
    using R = RefusalReason;
    const int s = Time_Table(m, d);
    const auto tested = [excused](R rule) { return (excused & refusalBit(rule)) == 0; };
    if (tested(R::個人不可条件と一致) && s >= 1 && (Member_Scdl(m, d) & shiftBit(s) & 0xFFFF) != 0)
        return R::個人不可条件と一致;
    if (tested(R::連続勤務条件不可) && s >= 1 && 前日勤務判定(Time_Table(m, d - 1), s))
        return R::連続勤務条件不可;
    if (tested(R::必須パターンエラー) && breaksRequiredFollower(s, m, d))
        return R::必須パターンエラー;
    if (tested(R::最少勤務間隔) && closerThanIntervalSinceLast(s, m, d))
        return R::最少勤務間隔;
    if (tested(R::禁止パターン) && patternThrough(m, d, s))
        return R::禁止パターン;
    if (tested(R::組み合わせ禁止) && s >= 1 && 組合せ禁止判定(m, s, d))
        return R::組み合わせ禁止;
    if (tested(R::連続勤務日数オーバー) && s >= 1 && 連続勤務上限 >= 1 && 連続勤務日数_前(m, d) == 連続勤務上限 + 1)
        return R::連続勤務日数オーバー;
    if (tested(R::週間勤務日数不可) && s >= 1 && weeklyRuleOn() && weekWorkDays(m, d, 基点曜日, d) == 週間勤務日数上限 + 1)
        return R::週間勤務日数不可;
    if (tested(R::勤務回数オーバー) && overCountThrough(s, m, d))
        return R::勤務回数オーバー;
    return R::None;
}

bool 最少勤務間隔判定(int s, int m, int d)
{
    if (s < 1 || s > Type_Cnt || Type_Span(s, 2) < 1)
        return false;
    return 前回勤務間隔(m, s, d) < Type_Span(s, 2);
}

int 前回勤務間隔(int m, int s, int d)
{
    int before = 100;
    for (int k = d - 1; k >= 0; --k) {
        if (Time_Table(m, k) == s) {
            before = d - k;
            break;
        }
    }
    // Last month's days continue the search without a gap: column k lies d - 1 + k days back.
    if (before == 100 && Sw_初期値使用) {
        for (int k = 1; k <= 10; ++k) {
            if (Past_Table(m, k) == s) {
                before = d - 1 + k;
                break;
            }
        }
    }
    int after = 100;
    for (int k = d + 1; k <= Day_Cnt; ++k) {
        if (Time_Table(m, k) == s) {
            after = k - d;
            break;
        }
    }
    return std::min(before, after);
}

int 必須パターン可否(int s, int m, int d)
{
    const Chain c = requiredChain(s);
    if (c.n <= 1)
        return 0;
    const int n = c.n;
    // A chain day that already holds its shift (a reserved follow-up) is in the totals already.
    int newDays = 0;
    float hours = Member_Sum_TTIME(m);
    for (int k = 1; k <= n; ++k) {
        const int day = d + k - 1;
        const bool inside = day >= 1 && day <= Day_Cnt;
        if (inside && Time_Table(m, day) == c.shift[k])
            continue;
        newDays += inside ? 1 : 0;
        hours += shiftHours(c.shift[k]);
    }
    if (Member_WorkDays(m) + newDays > Member_DayOff(m))
        return -1;
    // The successor of the chain's last day is checked on the period's last day too.
    if (d + n <= Day_Cnt && 前日勤務判定(c.shift[n], Time_Table(m, d + n)))
        return -1;
    for (int k = 1; k <= n; ++k) {
        const int day = d + k - 1;
        if (day >= 1 && day <= Day_Cnt && Rsv_Table(m, day) != 0 && Rsv_Table(m, day) != c.shift[k])
            return -2;
    }
    if (連続勤務上限 >= 1 && laidRun(c, m, d) > 連続勤務上限)
        return -3;
    if (Member_Time(m) > 0 && !Sw_勤務日数調整 && hours > Member_Time(m))
        return -1;
    return n;
}

bool 必須パターン判定(int s, int m, int d, int lastDay)
{
    const int code = 必須パターン可否(s, m, d);
    if (code == 0)
        return false;
    if (code < 0)
        return true;
    const Chain c = requiredChain(s);
    for (int k = 1; k <= c.n - 1 && d + k <= lastDay; ++k) {
        const int next = c.shift[k + 1];
        const int rsv = Rsv_Table(m, d + k);
        if (rsv != 0 && rsv != next)
            return true;
        const int mask = Member_Scdl(m, d + k);
        if (mask != 0 && (mask & shiftBit(next)) != 0)
            return true;
    }
    // The run through the laid chain was measured by 必須パターン可否 already.
    return laidChainRefusal(c, m, d, lastDay) != RefusalReason::None || chainSplitsPair(c, m, d);
}

RefusalReason carriedShiftRefusal(int m, int t, int d)
{
    if ((Member_Scdl(m, d) & shiftBit(t) & 0xFFFF) != 0)
        return RefusalReason::個人不可条件と一致;
    // The rest of the chain t itself starts follows day by day: its days count in the run.
    if (連続勤務上限 >= 1 && laidRun(requiredChain(t), m, d) > 連続勤務上限)
        return RefusalReason::連続勤務日数オーバー;
    Chain c;
    c.n = 1;
    c.shift[1] = t;
    return laidChainRefusal(c, m, d, Day_Cnt);
}

bool 必須パターン設定(int s, int m, int d)
{
    const Chain c = requiredChain(s);
    if (c.n <= 1)
        return true;
    for (int k = 1; k <= c.n; ++k) {
        const int day = d + k - 1;
        if (day < 1 || day > Day_Cnt)
            continue;
        // A day reserved for this very shift was counted when it was reserved; any other day,
        // the chain's first day placed a moment ago included, is counted now.
        if (Rsv_Table(m, day) == c.shift[k] && Time_Table(m, day) == c.shift[k])
            continue;
        Time_Table(m, day) = c.shift[k];
        Rsv_Table(m, day) = c.shift[k];
        勤務集計加算(m, c.shift[k], day);
    }
    return true;
}

void placeWithChain(int m, int s, int d)
{
    Time_Table(m, d) = s;
    必須パターン設定(s, m, d);
}

bool 前日勤務判定(int prev, int s)
{
    if (prev < 0 || prev > DayBefore_Table.UBound())
        return false;
    return (DayBefore_Table(prev) & shiftBit(s)) != 0;
}

// A ban record binds when its shift is a shift type or "*" and its number is at least 1: at most
// 人数 - 1 of its members (everybody when it has no list) may hold the shift ("*": any work shift).
bool 組合せ禁止判定(int m, int s, int d)
{
    for (int r = 1; r <= 組合せ禁止数; ++r) {
        const 組合せ記録& rec = Mem_Kinsi(r);
        if ((rec.勤務 != s && rec.勤務 != kAllShifts) || rec.人数 <= 0)
            continue;
        const int n = rec.メンバー[0];
        int others = 0;
        if (n > 0) {
            bool listed = false;
            for (int i = 1; i <= n; ++i)
                if (rec.memberIndex[i] == m)
                    listed = true;
            if (!listed)
                continue;
            for (int i = 1; i <= n; ++i) {
                const int x = rec.memberIndex[i];
                if (x >= 1 && x != m && holds(Time_Table(x, d), rec.勤務 == kAllShifts ? kAllShifts : s))
                    ++others;
            }
        } else {
            for (int x = 1; x <= Member_Cnt; ++x)
                if (x != m && Time_Table(x, d) == s)
                    ++others;
        }
        if (others >= rec.人数 - 1)
            return true;
    }
    return false;
}

bool 組合せ禁止判定_日(int /*m*/, int d)
{
    for (int r = 1; r <= 組合せ禁止数; ++r) {
        const 組合せ記録& rec = Mem_Kinsi(r);
        if ((rec.勤務 < 1 || rec.勤務 > Type_Cnt) && rec.勤務 != kAllShifts)
            continue;
        if (rec.人数 <= 0)
            continue;
        const int n = rec.メンバー[0];
        if (n > 0) {
            int count = 0;
            for (int i = 1; i <= n; ++i) {
                const int x = rec.memberIndex[i];
                if (x >= 1 && holds(Time_Table(x, d), rec.勤務))
                    ++count;
            }
            if (count >= rec.人数)
                return true;
        } else {
            // Without a list the generation counts holders of the shift being placed, so "*"
            // caps every shift type on its own.
            const int first = rec.勤務 == kAllShifts ? 1 : rec.勤務;
            const int last = rec.勤務 == kAllShifts ? Type_Cnt : rec.勤務;
            for (int t = first; t <= last; ++t) {
                int count = 0;
                for (int x = 1; x <= Member_Cnt; ++x)
                    if (Time_Table(x, d) == t)
                        ++count;
                if (count >= rec.人数)
                    return true;
            }
        }
    }
    return false;
}

// A must record asks for 人数 members of its list (empty cells skipped) on its shift on days
// that need the shift ("*": any work shift on days that need anybody). Records whose number
// is not below their list length are pairs, honoured while shifts are placed.
namespace {

// All of the record's members hold its shift on day d, or none does.
bool pairTogether(const 組合せ記録& rec, int d)
{
    int have = 0;
    for (int i = 1; i <= rec.メンバー[0]; ++i) {
        const int x = rec.メンバー[i] > 0 ? rec.memberIndex[i] : 0;
        if (x >= 1 && x <= Member_Cnt && Time_Table(x, d) == rec.勤務)
            ++have;
    }
    return have == 0 || have == rec.メンバー[0];
}

}  // namespace

bool 組合せ必須判定(int d)
{
    for (int r = 1; r <= 組合せ必須数; ++r) {
        const 組合せ記録& rec = Mem_Hissu(r);
        const int t = rec.勤務;
        if (isPairRecord(rec)) {
            if (!pairTogether(rec, d))
                return false;
            continue;
        }
        if (t == kAllShifts) {
            if (Need_Table(0, d) <= 0)
                continue;
        } else if (t < 1 || t > Type_Cnt || Need_Table(t, d) <= 0) {
            continue;
        }
        if (rec.人数 >= rec.メンバー[0] || rec.人数 <= 0)
            continue;
        int have = 0;
        for (int i = 1; i <= rec.メンバー[0]; ++i) {
            const int x = rec.メンバー[i] > 0 ? rec.memberIndex[i] : 0;
            if (x >= 1 && holds(Time_Table(x, d), t))
                ++have;
        }
        if (have < rec.人数)
            return false;
    }
    return true;
}

int 週間勤務日数(int m, int d, int w)
{
    return weekCount(m, d, w) + 1;
}

bool 週間勤務日数判定(int m, int d, QString* detail)
{
    if (!weeklyRuleOn() || 週間勤務日数(m, d, 基点曜日) <= 週間勤務日数上限)
        return false;
    weeklyWorkDaysRefusal = {m, d};
    if (detail)
        *detail = weeklyWorkDaysText(m, d);
    return true;
}

QString weeklyWorkDaysText(int m, int d)
{
    static const char16_t names[] = u"月火水木金土日";
    const QChar weekday = 基点曜日 >= 1 && 基点曜日 <= 7 ? QChar(names[基点曜日 - 1]) : QChar(u'?');
    return QStringLiteral("週間勤務日数不可 基点=") + weekday + QStringLiteral(" 上限日数=")
        + QString::number(週間勤務日数上限) + QStringLiteral(" 日=") + QString::number(d)
        + QStringLiteral(" Mem_No=") + QString::number(m);
}

// ---- the two front doors ----

RefusalReason refusalCode(int m, int s, int d)
{
    const RuleTimer timing;
    using R = RefusalReason;
    // Test 1, without building its text.
    if (const R limits = workDaysHoursRefusal(s, m); limits != R::None)
        return limits;
    if (Time_Table(m, d) != 0)
        return R::割当済;
    if (Member_WorkDays(m) >= Member_DayOff(m))
        return R::出勤日数オーバー;
    if (週間勤務日数判定(m, d))
        return R::週間勤務日数不可;
    const int bit = shiftBit(s);
    if ((Member_Scdl(m, d) & bit & 0xFFFF) != 0)
        return R::個人不可条件と一致;
    if ((DayBefore_Table(Time_Table(m, d - 1)) & bit & 0xFFFF) != 0)
        return R::連続勤務条件不可;
    if (最少勤務間隔判定(s, m, d))
        return R::最少勤務間隔;
    if (禁止パターン判定(s, m, d, Day_Cnt))
        return R::禁止パターン;
    if (d < Day_Cnt) {
        const int r = Rsv_Table(m, d + 1);
        if (r > 0 && (DayBefore_Table(s) & shiftBit(r) & 0xFFFF) != 0)
            return R::翌日予約と不整合;
    }
    if (組合せ禁止判定(m, s, d))
        return R::組み合わせ禁止;
    if (連続勤務上限 >= 1 && 連続勤務日数(m, d) > 連続勤務上限)
        return R::連続勤務日数オーバー;
    if (必須パターン判定(s, m, d, Day_Cnt))
        return R::必須パターンエラー;
    if (勤務回数判定(m, s, -1))
        return R::勤務回数オーバー;
    return R::None;
}

QString refusalText(RefusalReason code, int m, int s, int d)
{
    using R = RefusalReason;
    switch (code) {
    case R::None: return {};
    case R::出勤時間オーバー: return QStringLiteral("出勤時間オーバー");
    case R::割当済: return QStringLiteral("　　") + TypeText2(Time_Table(m, d)) + QStringLiteral("：割当済");
    case R::出勤日数オーバー: return QStringLiteral("出勤日数オーバー");
    case R::週間勤務日数不可: return QStringLiteral("週間勤務日数不可");
    case R::個人不可条件と一致: return QStringLiteral("個人不可条件と一致");
    case R::連続勤務条件不可: return QStringLiteral("連続勤務条件不可");
    case R::最少勤務間隔: return QStringLiteral("最少勤務間隔 ") + TypeText2(s);
    case R::禁止パターン: return QStringLiteral("禁止パターン");
    case R::翌日予約と不整合: return QStringLiteral("翌日予約と不整合");
    case R::組み合わせ禁止: return QStringLiteral("組み合わせ禁止");
    case R::連続勤務日数オーバー: return QStringLiteral("連続勤務日数オーバー");
    case R::必須パターンエラー: return QStringLiteral("必須パターンエラー");
    case R::勤務回数オーバー: return QStringLiteral("勤務回数オーバー");
    }
    return {};
}

QString 勤務不可理由(int m, int s, int d)
{
    return refusalText(refusalCode(m, s, d), m, s, d);
}

int 勤務可否判定(int s, int d, int m, int lastDay)
{
    const int bit = shiftBit(s);
    if ((Member_Scdl(m, d) & bit) != 0)
        return -1;
    if (workDaysHoursRefusal(s, m) != RefusalReason::None)
        return -1;
    if (前日勤務判定(Time_Table(m, d - 1), s))
        return -1;
    if (d < lastDay && 前日勤務判定(s, Time_Table(m, d + 1)))
        return -1;
    if (禁止パターン判定(s, m, d, lastDay))
        return -1;
    if (週間勤務日数判定(m, d))
        return -1;
    if (連続勤務上限 >= 1 && 連続勤務日数(m, d) > 連続勤務上限)
        return -1;
    if (組合せ禁止判定(m, s, d))
        return -1;
    if (勤務回数判定(m, s, -1))
        return -1;
    return 0;
}
