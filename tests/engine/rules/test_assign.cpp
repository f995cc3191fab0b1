// The assignment check: the order of its tests, and the sub-checks' edges.
#include "rules_fixture.h"

#include "engine/model.h"
#include "engine/rules.h"
#include "engine/totals.h"

#include <functional>

using namespace rulesfx;

namespace {

// Member 1, shift 日 on day 8 (a Friday), with every one of the 13 tests made to fail by one
// condition each; healing them one by one must reveal the texts in the tests' order.
TEST(AssignmentOrder, EveryTestFailsInTurn)
{
    makeModel(3, 14);
    Sw_勤務日数調整 = false;
    Sw_勤務時間調整 = true;
    const int m = 1, s = 1, d = 8;
    row(m, QStringLiteral("日明"), 6);   // day 6 日 (interval, count), day 7 明 (successor)
    place(m, 9, 2);                       // day 9 夜: weekly count, run, pattern, reservation
    Rsv_Table(m, 9) = 2;

    struct Step {
        QString text;
        std::function<void()> heal;
    };
    Member_Time(m) = 8;
    Member_Sum_TTIME(m) = 8;
    Time_Table(m, d) = 2;
    Member_DayOff(m) = Member_WorkDays(m);
    基点曜日 = 5;
    週間勤務日数上限 = 1;
    Member_Scdl(m, d) = 1;
    DayBefore_Table(3) = 1;
    Type_Span(1, 2) = 3;
    addPattern(QStringLiteral("日夜"));
    DayBefore_Table(1) = 2;  // 夜 may not follow 日: clashes with day 9's reservation
    addBan(1, 1, {1});
    連続勤務上限 = 1;
    addRequired(1, 3);  // 日 requires 明, but day 9 is reserved for 夜
    Type_Count(1, 2) = 1;

    const std::vector<Step> steps = {
        {QStringLiteral("出勤時間オーバー"), [] { Member_Time(1) = 0; }},
        {QStringLiteral("　　夜：割当済"), [] { Time_Table(1, 8) = 0; }},
        {QStringLiteral("出勤日数オーバー"), [] { Member_DayOff(1) = 30; }},
        {QStringLiteral("週間勤務日数不可"), [] { 週間勤務日数上限 = 0; }},
        {QStringLiteral("個人不可条件と一致"), [] { Member_Scdl(1, 8) = 0; }},
        {QStringLiteral("連続勤務条件不可"), [] { DayBefore_Table(3) = 0; }},
        {QStringLiteral("最少勤務間隔 日"), [] { Type_Span(1, 2) = 0; }},
        {QStringLiteral("禁止パターン"), [] { Kinsi_Pattern_Cnt = 0; }},
        {QStringLiteral("翌日予約と不整合"), [] { DayBefore_Table(1) = 0; }},
        {QStringLiteral("組み合わせ禁止"), [] { 組合せ禁止数 = 0; }},
        {QStringLiteral("連続勤務日数オーバー"), [] { 連続勤務上限 = 0; }},
        {QStringLiteral("必須パターンエラー"), [] { Hissu_Pattern_Cnt = 0; }},
        {QStringLiteral("勤務回数オーバー"), [] { Type_Count(1, 2) = 0; }},
    };
    for (const Step& step : steps) {
        EXPECT_EQ(勤務不可理由(m, s, d), step.text);
        step.heal();
    }
    EXPECT_EQ(勤務不可理由(m, s, d), QString());
}

TEST(AssignmentOrder, WorkDayTargetAndHours)
{
    struct Case {
        const char* name;
        bool dayAdjust, hourAdjust;
        float time, target;
        QString expected;
    };
    // Member at 2 work days (16 hours); 日 adds 8 hours.
    const Case cases[] = {
        {"days over, hour switch on: test 3 still refuses", true, true, 0, 2, QStringLiteral("出勤日数オーバー")},
        {"days and hours over, both switches off", false, false, 20, 2, QStringLiteral("出勤日数オーバー")},
        {"hours over only", false, false, 20, 10, QStringLiteral("出勤時間オーバー")},
        {"hours over, but the day switch is on", true, false, 20, 10, QString()},
        {"hour limit exactly reached", false, false, 24, 10, QString()},
    };
    for (const Case& c : cases) {
        makeModel(2, 10);
        row(1, QStringLiteral("日日"));
        Sw_勤務日数調整 = c.dayAdjust;
        Sw_勤務時間調整 = c.hourAdjust;
        Member_Time(1) = c.time;
        Member_DayOff(1) = c.target;
        EXPECT_EQ(勤務不可理由(1, 1, 5), c.expected) << c.name;
        // The limit test alone obeys the hour switch on the work days too.
        EXPECT_EQ(出勤時間日数判定(1, 1, 5), c.hourAdjust ? QString() : c.expected) << c.name;
    }
    // The adjustment check follows the switch: at the target with the hour switch on it passes.
    makeModel(2, 10);
    row(1, QStringLiteral("日日"));
    Member_DayOff(1) = 2;
    Sw_勤務時間調整 = true;
    EXPECT_EQ(勤務可否判定(1, 5, 1, Day_Cnt), 0);
    Sw_勤務時間調整 = false;
    EXPECT_EQ(勤務可否判定(1, 5, 1, Day_Cnt), -1);
}

TEST(AssignmentCheck, AdjustmentCheckTestsTheNextAssignedShift)
{
    makeModel(2, 10);
    DayBefore_Table(1) = 2;  // 夜 may not follow 日
    Rsv_Table(1, 6) = 2;     // reserved but not yet in the table
    EXPECT_EQ(勤務可否判定(1, 5, 1, Day_Cnt), 0);
    EXPECT_EQ(勤務不可理由(1, 1, 5), QStringLiteral("翌日予約と不整合"));
    place(1, 6, 2);
    EXPECT_EQ(勤務可否判定(1, 5, 1, Day_Cnt), -1);
    // The last-day argument bounds the next-day test.
    EXPECT_EQ(勤務可否判定(1, 5, 1, 5), 0);
}

// Prohibited patterns: window of days d-4 .. d+4, "-" rest, "*" any work day.
TEST(ProhibitedPattern, Cases)
{
    struct Case {
        const char* name;
        QString pattern;
        QString pastLastFirst;  // empty: last month not used
        QString days;           // from day 1
        int shift, day;
        bool expected;
    };
    const Case cases[] = {
        {"night then night", QStringLiteral("夜夜"), {}, QStringLiteral("----夜"), 2, 6, true},
        {"not adjacent", QStringLiteral("夜夜"), {}, QStringLiteral("----夜-"), 2, 7, false},
        {"day 1 without last month: no start before day 1", QStringLiteral("-夜"), {}, {}, 2, 1, false},
        {"day 1 with last month rest", QStringLiteral("-夜"), QStringLiteral("-"), {}, 2, 1, true},
        {"day 1 with last month work", QStringLiteral("-夜"), QStringLiteral("日"), {}, 2, 1, false},
        {"last month's two days", QStringLiteral("夜夜日"), QStringLiteral("夜夜"), {}, 1, 1, true},
        {"trailing *: next day works", QStringLiteral("夜*"), {}, QStringLiteral("-----日"), 2, 5, true},
        {"trailing *: next day rests", QStringLiteral("夜*"), {}, QStringLiteral("------"), 2, 5, false},
        {"* in the middle lets rest through", QStringLiteral("夜*夜"), {}, QStringLiteral("------夜"), 2, 5, true},
        {"unfilled later day reads as rest", QStringLiteral("夜-"), {}, {}, 2, 5, true},
        {"on the last day the day after is rest", QStringLiteral("夜-"), {}, QStringLiteral("日日日日日日日日日"), 2, 10, true},
        {"pattern already in the four days before", QStringLiteral("日日"), {}, QStringLiteral("-日日"), 3, 6, true},
        {"pattern five days before is outside the window", QStringLiteral("日日"), {}, QStringLiteral("日日"), 3, 7, false},
    };
    for (const Case& c : cases) {
        makeModel(2, 10);
        addPattern(c.pattern);
        if (!c.pastLastFirst.isEmpty())
            past(1, c.pastLastFirst);
        row(1, c.days);
        Time_Table(1, c.day) = 0;
        EXPECT_EQ(禁止パターン判定(c.shift, 1, c.day, Day_Cnt), c.expected) << c.name;
    }
}

TEST(Interval, SpanAndLastMonth)
{
    struct Case {
        const char* name;
        QString pastLastFirst;
        QString days;
        int day;
        int distance;
    };
    const Case cases[] = {
        {"none anywhere", {}, {}, 5, 100},
        {"two before", {}, QStringLiteral("--夜"), 5, 2},
        {"three after", {}, QStringLiteral("-------夜"), 5, 3},
        {"nearer side wins", {}, QStringLiteral("夜------夜"), 5, 3},
        {"day 0", QStringLiteral("夜"), {}, 1, 1},
        {"last month, day 4: column 3", QStringLiteral("--夜"), {}, 4, 6},
        {"last month, day 12: column 2", QStringLiteral("-夜"), {}, 12, 13},
        {"last month not used", {}, {}, 4, 100},
    };
    for (const Case& c : cases) {
        makeModel(2, 14);
        if (!c.pastLastFirst.isEmpty())
            past(1, c.pastLastFirst);
        row(1, c.days);
        Time_Table(1, c.day) = 0;
        EXPECT_EQ(前回勤務間隔(1, 2, c.day), c.distance) << c.name;
    }
    makeModel(2, 14);
    Type_Span(2, 2) = 3;
    row(1, QStringLiteral("夜"));
    EXPECT_TRUE(最少勤務間隔判定(2, 1, 3));   // two away
    EXPECT_FALSE(最少勤務間隔判定(2, 1, 4));  // three away
    EXPECT_FALSE(最少勤務間隔判定(1, 1, 2));  // another shift
    Type_Span(2, 2) = 0;
    EXPECT_FALSE(最少勤務間隔判定(2, 1, 2));
}

TEST(RunLengths, WithAndWithoutLastMonth)
{
    makeModel(2, 10);
    row(1, QStringLiteral("日日-日"));
    EXPECT_EQ(連続勤務日数(1, 3), 4);     // 1, 2, (3), 4
    EXPECT_EQ(連続勤務日数_前(1, 3), 3);
    EXPECT_EQ(勤務日数_後(1, 3), 2);
    EXPECT_EQ(連続休み日数(1, 5), 6);     // days 5..10
    EXPECT_EQ(連続休み日数_前(1, 3), 1);
    past(1, QStringLiteral("日日-"));
    EXPECT_EQ(連続勤務日数(1, 3), 6);
    past(2, QStringLiteral("--日"));
    EXPECT_EQ(連続休み日数(2, 1), 12);    // the whole period and two days of last month
    // The run limit: 0 means none.
    連続勤務上限 = 0;
    EXPECT_EQ(勤務不可理由(1, 1, 3), QString());
    連続勤務上限 = 5;
    EXPECT_EQ(勤務不可理由(1, 1, 3), QStringLiteral("連続勤務日数オーバー"));
}

TEST(Weekly, WeekStartingLastMonth)
{
    // Day 1 = Friday 1 January 2027; weeks start on Monday (1): the first week began on
    // 28 December, i.e. last month's columns 4..1.
    makeModel(2, 14);
    基点曜日 = 1;
    週間勤務日数上限 = 3;
    past(1, QStringLiteral("日日-日"));  // Dec 31, 30, (29 rest), 28
    EXPECT_EQ(週間勤務日数(1, 2, 1), 4);  // three last month + day 2 itself
    EXPECT_TRUE(週間勤務日数判定(1, 2));
    QString detail;
    EXPECT_TRUE(週間勤務日数判定(1, 2, &detail));
    EXPECT_EQ(detail, QStringLiteral("週間勤務日数不可 基点=月 上限日数=3 日=2 Mem_No=1"));
    EXPECT_EQ(週間勤務日数(1, 4, 1), 1);  // Monday 4 January starts a new week
    // The week of day 8 runs 4..10.
    row(2, QStringLiteral("日日日"), 4);
    EXPECT_TRUE(週間勤務日数判定(2, 10));
    EXPECT_FALSE(週間勤務日数判定(2, 11));
    週間勤務日数上限 = 0;
    EXPECT_FALSE(週間勤務日数判定(2, 10));
    週間勤務日数上限 = 3;
    基点曜日 = 0;
    EXPECT_FALSE(週間勤務日数判定(2, 10));
}

TEST(RequiredChain, CodesAndPlacement)
{
    makeModel(2, 10);
    addRequired(2, 3);  // 夜 -> 明
    addRequired(3, 1);  // 明 -> 日: a chain of three days
    EXPECT_EQ(必須パターン可否(1, 1, 2), 0);
    EXPECT_EQ(必須パターン可否(2, 1, 2), 3);
    // Reserved chain day for another shift.
    Rsv_Table(1, 3) = 1;
    EXPECT_EQ(必須パターン可否(2, 1, 2), -2);
    Rsv_Table(1, 3) = 0;
    // The chain's successor: also on the last day (decision: d + n <= Day_Cnt).
    DayBefore_Table(1) = 2;  // 夜 may not follow 日
    place(1, 10, 2);
    EXPECT_EQ(必須パターン可否(2, 1, 7), -1);
    EXPECT_EQ(必須パターン可否(2, 1, 6), 3);
    // Work-day target counts only the chain days inside the period.
    Member_DayOff(2) = 2;
    EXPECT_EQ(必須パターン可否(2, 2, 9), 3);  // two days inside, the length is still 3
    EXPECT_EQ(必須パターン可否(2, 2, 8), -1);
    // Run limit 0: no refusal; a limit the chain would pass: -3.
    EXPECT_EQ(必須パターン可否(2, 1, 1), 3);
    連続勤務上限 = 2;
    EXPECT_EQ(必須パターン可否(2, 1, 1), -3);
    連続勤務上限 = 0;
    // A personal condition on a follow-up day makes the chain impossible.
    Member_Scdl(1, 3) = 4;
    EXPECT_TRUE(必須パターン判定(2, 1, 2, Day_Cnt));
    Member_Scdl(1, 3) = 0;
    EXPECT_FALSE(必須パターン判定(2, 1, 2, Day_Cnt));

    // Placement: cells, reservations and totals; a chain past the last day is clipped.
    makeModel(2, 10);
    addRequired(2, 3);
    addRequired(3, 1);
    EXPECT_TRUE(必須パターン設定(2, 1, 9));
    EXPECT_EQ(Time_Table(1, 9), 2);
    EXPECT_EQ(Time_Table(1, 10), 3);
    EXPECT_EQ(Time_Table(1, 11), 0);
    EXPECT_EQ(Rsv_Table(1, 9), 2);
    EXPECT_EQ(Rsv_Table(1, 10), 3);
    EXPECT_EQ(Member_WorkDays(1), 2);
    EXPECT_TRUE(totalsMatchRecount());
    EXPECT_TRUE(必須パターン設定(1, 2, 1));  // no chain: nothing changes
    EXPECT_EQ(Member_WorkDays(2), 0);

    // A follow-up day already holding (and counted for) the chain's shift is not counted twice:
    // neither against the work-day target and the hour limit nor in the totals.
    makeModel(2, 10);
    addRequired(2, 3);
    place(1, 6, 3);
    Rsv_Table(1, 6) = 3;
    Member_DayOff(1) = 2;
    Member_Time(1) = 16;
    Sw_勤務日数調整 = false;
    EXPECT_EQ(必須パターン可否(2, 1, 5), 2);
    Member_DayOff(1) = 1;
    EXPECT_EQ(必須パターン可否(2, 1, 5), -1);
    Member_DayOff(1) = 2;
    Member_Time(1) = 15;
    EXPECT_EQ(必須パターン可否(2, 1, 5), -1);
    Member_Time(1) = 0;
    EXPECT_FALSE(必須パターン判定(2, 1, 5, Day_Cnt));
    EXPECT_TRUE(必須パターン設定(2, 1, 5));
    EXPECT_EQ(Time_Table(1, 5), 2);
    EXPECT_EQ(Rsv_Table(1, 5), 2);
    EXPECT_EQ(Member_WorkDays(1), 2);
    EXPECT_TRUE(totalsMatchRecount());
    // The chain's first day as the placement leaves it (on the table, not yet counted) is
    // counted once and becomes reserved.
    Time_Table(2, 5) = 2;
    EXPECT_TRUE(必須パターン設定(2, 2, 5));
    EXPECT_EQ(Rsv_Table(2, 5), 2);
    EXPECT_EQ(Rsv_Table(2, 6), 3);
    EXPECT_EQ(Member_WorkDays(2), 2);
    EXPECT_TRUE(totalsMatchRecount());
}

TEST(Combination, BanMeaningIsTheSameForGenerationAndDay)
{
    struct Case {
        const char* name;
        int shift, count;
        std::vector<int> list;  // empty: no list
        QString day1;           // members 1.. on day 1 ("-" rest)
        int member, placed;     // generation asks: may member take `placed` on day 1?
        bool banned;
    };
    const Case cases[] = {
        {"two of the list on 夜 at most one", 2, 2, {1, 2, 3}, QStringLiteral("-夜-"), 1, 2, true},
        {"member outside the list", 2, 2, {1, 2, 3}, QStringLiteral("-夜--"), 4, 2, false},
        {"count 1 forbids the shift outright", 2, 1, {1}, QStringLiteral("----"), 1, 2, true},
        {"* record: any work shift counts", kAllShifts, 2, {1, 2}, QStringLiteral("-日--"), 1, 2, true},
        {"no list: everybody", 2, 2, {}, QStringLiteral("-夜--"), 4, 2, true},
        {"no list: another shift does not count", 2, 2, {}, QStringLiteral("-日--"), 4, 2, false},
        {"count 0 binds nothing", 2, 0, {1, 2}, QStringLiteral("-夜--"), 1, 2, false},
        {"empty record binds nothing", 0, 1, {}, QStringLiteral("----"), 1, 2, false},
    };
    for (const Case& c : cases) {
        makeModel(4, 7);
        組合せ記録& rec = Mem_Kinsi(++組合せ禁止数);
        rec.勤務 = c.shift;
        rec.人数 = c.count;
        rec.メンバー[0] = int(c.list.size());
        for (size_t i = 0; i < c.list.size(); ++i) {
            rec.メンバー[i + 1] = 100 + c.list[i];
            rec.memberIndex[i + 1] = c.list[i];
        }
        for (int m = 1; m <= 4 && m - 1 < c.day1.size(); ++m)
            row(m, QString(c.day1.at(m - 1)));
        EXPECT_EQ(組合せ禁止判定(c.member, c.placed, 1), c.banned) << c.name;
        EXPECT_FALSE(組合せ禁止判定_日(1, 1)) << c.name << " (before placing)";
        place(c.member, 1, c.placed);
        EXPECT_EQ(組合せ禁止判定_日(1, 1), c.banned) << c.name << " (after placing)";
    }
}

TEST(Combination, MustFollowsTheGenerationsMeaning)
{
    makeModel(4, 7);
    addMust(2, 1, {1, 2, 3});  // one of three on 夜
    EXPECT_TRUE(組合せ必須判定(1));  // 夜 not needed on day 1: nothing asked
    Need_Table(2, 1) = 1;
    EXPECT_FALSE(組合せ必須判定(1));
    place(4, 1, 2);
    EXPECT_FALSE(組合せ必須判定(1));
    place(3, 1, 2);
    EXPECT_TRUE(組合せ必須判定(1));

    makeModel(4, 7);
    addMust(kAllShifts, 2, {1, 2, 0, 4});  // "*": any work shift; the empty cell is skipped
    Need_Table(0, 2) = 2;
    place(1, 2, 1);
    place(3, 2, 2);  // not listed
    EXPECT_FALSE(組合せ必須判定(2));
    place(4, 2, 3);
    EXPECT_TRUE(組合せ必須判定(2));
    EXPECT_TRUE(組合せ必須判定(3));  // nobody needed on day 3

    makeModel(4, 7);
    addMust(2, 2, {1, 2});  // a pair: honoured while placing, not here
    Need_Table(2, 1) = 2;
    EXPECT_TRUE(組合せ必須判定(1));
}

TEST(Count, LimitOfShiftType)
{
    makeModel(2, 10);
    row(1, QStringLiteral("夜--夜"));
    EXPECT_FALSE(勤務回数判定(1, 2, -1));  // no limit
    Type_Count(2, 2) = 3;
    EXPECT_FALSE(勤務回数判定(1, 2, -1));
    Type_Count(2, 2) = 2;
    EXPECT_TRUE(勤務回数判定(1, 2, -1));
    EXPECT_FALSE(勤務回数判定(1, 2, 4));  // that day excluded
}

}  // namespace
