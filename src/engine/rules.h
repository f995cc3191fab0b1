#pragma once
// The rule checks: may one shift be given to one member on one day (and why not), and may two
// members keep an exchange of their shifts on a day. They read the condition model and the current
// Time_Table directly and allocate nothing on the allowed path; only 必須パターン設定 writes.
// Booleans of the checks are true = the rule is broken unless a comment says otherwise.
#include <QString>

// Why the assignment of shift s to member m on day d is refused, as a number (the tests in their
// order); 勤務不可理由 turns it into the text.
enum class RefusalReason {
    None = 0,
    出勤時間オーバー,
    割当済,
    出勤日数オーバー,
    週間勤務日数不可,
    個人不可条件と一致,
    連続勤務条件不可,
    最少勤務間隔,
    禁止パターン,
    翌日予約と不整合,
    組み合わせ禁止,
    連続勤務日数オーバー,
    必須パターンエラー,
    勤務回数オーバー,
};
// The first failing test of the 13, RefusalReason::None when the assignment is allowed.
RefusalReason refusalCode(int m, int s, int d);
// Its text: "" when allowed; "　　" + abbreviation + "：割当済" for a filled cell; "最少勤務間隔 " + the
// abbreviation of s for the interval.
QString refusalText(RefusalReason code, int m, int s, int d);
// The first failing test's text, "" when allowed.
QString 勤務不可理由(int m, int s, int d);

// The adjustment passes' check: 0 allowed, -1 not allowed; lastDay bounds the next-day and
// pattern tests.
int 勤務可否判定(int s, int d, int m, int lastDay);

// "", "出勤時間オーバー" or "出勤日数オーバー" (the day text wins when both fail).
QString 出勤時間日数判定(int s, int m, int d);
// The member already holds the period limit of shift s (days other than excludedDay counted).
bool 勤務回数判定(int m, int s, int excludedDay);

// Run lengths through / around day d, counting the day itself (+1).
int 連続休み日数(int m, int d);
int 連続休み日数_前(int m, int d);
int 連続勤務日数(int m, int d);
int 勤務日数_後(int m, int d);
int 連続勤務日数_前(int m, int d);

// Placing s on day d completes a prohibited pattern (within the days d-4 .. d+4).
bool 禁止パターン判定(int s, int m, int d, int lastDay);
// w[first + i - 1] = table(m, from + i - 1) for i = 1..count.
template <typename Table>
void パターン窓取得(int m, const Table& table, int from, int* w, int first, int count)
{
    for (int i = 1; i <= count; ++i)
        w[first + i - 1] = table(m, from + i - 1);
}

// The same shift lies closer than Type_Span(s, 2).
bool 最少勤務間隔判定(int s, int m, int d);
// Distance to the nearest other day with shift s (last month's days included with
// Sw_初期値使用), 100 when there is none.
int 前回勤務間隔(int m, int s, int d);

// Required chain starting with s on day d: 0 no chain, -1 target/successor/hours, -2 a chain day
// reserved for another shift, -3 the work run through the laid chain (its days past the period's
// end included) over the limit; else the chain's length in days.
int 必須パターン可否(int s, int m, int d);
// The required chain of s cannot be completed from day d. In order: a refusal of 必須パターン可否;
// a follow-up day up to lastDay reserved for another shift or excluded for its shift; then, with
// the chain laid, a chain day completing a prohibited pattern, a week the chain touches over the
// weekly limit, a chain day barred after its day before or before its day after, a chain shift
// too close to the same shift or over its count limit, a chain day whose shift a combination ban
// forbids, a follow-up day on which the chain splits a pair from a partner placed already.
bool 必須パターン判定(int s, int m, int d, int lastDay);
// Whether the follower t carried over onto member m's empty day d may be laid there. In order: the
// personal exclusion; the work run with t and the rest of its own chain laid (days past the
// period's end included); then, with t laid, a prohibited pattern, the weekly limit, the
// day-before bans on both sides, the interval, the count limit and the combination bans.
RefusalReason carriedShiftRefusal(int m, int t, int d);
// Places the chain of s from day d (cells, reservations and totals); always true.
bool 必須パターン設定(int s, int m, int d);
// Member m takes shift s on day d, and a required chain s starts is laid with it: every path that
// places a chain's first shift goes through here.
void placeWithChain(int m, int s, int d);

// Member m resting on day d completes a prohibited pattern with the days before d and the later
// cells fixed already (unfilled later days match nothing).
bool restCompletesPattern(int m, int d);
// What member m's day d, as it stands, breaks with the cells around it (days nothing has filled
// yet match nothing), in order: the exclusion of its shift, the day before it may not precede
// it, the day before asks for a required follower the day does not hold, the shortest interval
// since the same shift, a prohibited pattern through the day, a combination ban of its shift, the
// work run first going over the limit on the day, the week's work days first going over the
// weekly limit on the day, more of its shift up to the day than the count limit allows. The rules
// whose refusalBit is set in excused are passed over, so that every rule the cell breaks can be
// found in turn.
RefusalReason fixedCellRefusal(int m, int d, unsigned excused = 0);
constexpr unsigned refusalBit(RefusalReason rule)
{
    return 1u << unsigned(rule);
}

// Shift s may not follow shift prev on the next day.
bool 前日勤務判定(int prev, int s);

// A combination ban forbids shift s to member m on day d.
bool 組合せ禁止判定(int m, int s, int d);
// Every required combination of day d holds (true = fine): each must has its number of members on
// its shift, and the members of a pair record work its shift together or not at all.
bool 組合せ必須判定(int d);
// Some combination ban is broken on day d (the member argument is not read).
bool 組合せ禁止判定_日(int m, int d);

// The weekly work-day limit is exceeded when member m works on day d; detail (when given)
// receives the line for the generator's log. Every refusal is also noted (without building its
// text) in weeklyWorkDaysRefusal, which the day placement writes into its trace.
bool 週間勤務日数判定(int m, int d, QString* detail = nullptr);
struct WeeklyWorkDaysRefusal {
    int m = 0;  // 0: no refusal since the placement last cleared it
    int d = 0;
};
inline WeeklyWorkDaysRefusal weeklyWorkDaysRefusal;
// The trace line of a weekly-limit refusal of member m on day d.
QString weeklyWorkDaysText(int m, int d);
// Work days of the week (starting on weekday w, 1 = Monday) that contains day d, plus 1.
int 週間勤務日数(int m, int d, int w);

// The follower a required succession asks for after shift s (the first row of s with one; "*" is
// kAllShifts), 0 for none.
int requiredFollower(int s);
// Shift t on member m's day d asks for a follower (a required succession; "*" any work shift)
// that the next day does not hold. The follower of the period's last day lies beyond it.
bool requiredFollowerMissing(int t, int m, int d);

// Whether the exchange already made in Time_Table on day d between members a and b may stay:
// 0 (reason 0) or -1 with reason = 理由コード作成 of the first failing test. flag
// "勤務日数判定要" adds the hour, work-day and weekly targets; "連続休み判定不要" drops the
// rest-run test. Last, a required succession either member's row breaks at day d is refused: a
// table read back from the sheet has no reservation that holds its chains together.
int 交換可否判定(const QString& flag, int d, int a, int b, long& reason);
// Whether 交換可否判定 would allow the exchange (return 0), for callers that need no reason: the
// same tests, the cheapest first, so that most refusals end before the pattern scans.
bool exchangeAllowed(const QString& flag, int d, int a, int b);
