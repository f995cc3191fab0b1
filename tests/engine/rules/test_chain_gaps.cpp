// Required chains tested as they would lie, carried-over followers tested before they are laid,
// and members left resting tested against the cells fixed around the day: small months that let
// a broken pattern or weekly limit through before.
#include "rules_fixture.h"

#include "engine/day_placement.h"
#include "engine/rules.h"
#include "engine/rules_candidate.h"
#include "engine/totals.h"

using namespace rulesfx;

namespace {

std::vector<int> tableOf(int m)
{
    std::vector<int> v;
    for (int d = 0; d <= Day_Cnt + 1; ++d)
        v.push_back(Time_Table(m, d));
    return v;
}

}  // namespace

// January 2027: day 4 is a Monday. Each case: the set-up, the day 夜 is tried on, the expected text.
TEST(ChainAsLaid, RefusesWhatTheFollowUpDayCompletes)
{
    struct Case {
        const char* label;
        std::function<void()> setUp;
        int day;
        const char* reason;
    };
    const Case cases[] = {
        {"明 makes a third work day in a week of two", [] { 週間勤務日数上限 = 2; 基点曜日 = 1; place(1, 4, 1); }, 5,
         "必須パターンエラー"},
        {"a chain over the week's end counts in both weeks", [] { 週間勤務日数上限 = 2; 基点曜日 = 1; place(1, 4, 1); }, 10,
         ""},
        {"a chain inside a full week's last two days", [] { 週間勤務日数上限 = 2; 基点曜日 = 1; place(1, 4, 1); }, 9,
         "必須パターンエラー"},
        {"明 then a reserved work day", [] { addPattern(QStringLiteral("明*")); reserve(1, 7, 1); }, 5,
         "必須パターンエラー"},
        {"明 then a rest day then nothing fixed", [] { addPattern(QStringLiteral("明*")); }, 5, ""},
        {"夜 明 - 夜 with a reserved 夜", [] { addPattern(QStringLiteral("夜明-夜")); reserve(1, 8, 2); }, 5,
         "必須パターンエラー"},
        // A reserved 明 on the next day is counted once: the run is exactly at the limit.
        {"the run at the limit with the follow-up filled", [] { 連続勤務上限 = 3; place(1, 4, 1); reserve(1, 6, 3); }, 5, ""},
        {"明 one over the run limit", [] { 連続勤務上限 = 3; place(1, 3, 1); place(1, 4, 1); }, 5, "必須パターンエラー"},
        {"明 over its count limit", [] { Type_Count(3, 2) = 1; place(1, 2, 3); }, 5, "必須パターンエラー"},
        {"明 too close to another 明", [] { Type_Span(3, 2) = 3; place(1, 8, 3); }, 5, "必須パターンエラー"},
        {"明 barred after 夜 itself", [] { DayBefore_Table(2) = 4; }, 5, "必須パターンエラー"},
    };
    for (const Case& c : cases) {
        nightModel(2, 14);
        c.setUp();
        const std::vector<int> before = tableOf(1);
        EXPECT_EQ(勤務不可理由(1, 2, c.day), QString::fromUtf8(c.reason)) << c.label;
        EXPECT_EQ(tableOf(1), before) << c.label << ": the trial cells are put back";
    }
    // The code of the run test: the filled follow-up day is not counted twice.
    nightModel(2, 14);
    連続勤務上限 = 3;
    place(1, 4, 1);
    reserve(1, 6, 3);
    EXPECT_EQ(必須パターン可否(2, 1, 5), 2);
    連続勤務上限 = 2;
    EXPECT_EQ(必須パターン可否(2, 1, 5), -3);
}

// The last weekly-limit refusal of a try heads the day's trace.
TEST(WeeklyLimit, TracedInTheDaysLog)
{
    nightModel(2, 14);
    週間勤務日数上限 = 1;
    基点曜日 = 1;
    place(1, 4, 1);
    Need_Table(1, 5) = 1;
    Member_Scdl(2, 5) = 1;
    EXPECT_EQ(日別配置(5, 1), 0.0f);
    EXPECT_TRUE(dayPlacementLog.startsWith(QStringLiteral("週間勤務日数不可 基点=月 上限日数=1 日=5 Mem_No=1\r\n月日=01/05,勤務=1(")))
        << dayPlacementLog.toStdString();
}

// A reserved 夜 carries its 明 onto the next day only where the rules allow it there; otherwise
// the try fails with a line that says why, and leaves nothing behind.
TEST(ChainAsLaid, CarryOverIsTestedBeforeItIsLaid)
{
    struct Case {
        const char* label;
        std::function<void()> setUp;
        const char* line;  // empty: the day is staffed and 明 laid
    };
    const Case cases[] = {
        {"nothing in the way", [] {}, ""},
        {"明 then a reserved work day", [] { addPattern(QStringLiteral("明*")); reserve(1, 6, 1); }, "禁止パターン"},
        {"a second work day in a week of one", [] { 週間勤務日数上限 = 1; 基点曜日 = 1; }, "週間勤務日数不可"},
        {"a run over the limit", [] { 連続勤務上限 = 2; place(1, 3, 1); }, "連続勤務日数オーバー"},
        {"明 excluded for the member", [] { Member_Scdl(1, 5) = 4; }, "個人不可条件と一致"},
    };
    for (const Case& c : cases) {
        nightModel(2, 10);
        reserve(1, 4, 2);
        c.setUp();
        const int day = 5;
        const float r = 日別配置(day, 1);
        if (*c.line == 0) {
            EXPECT_EQ(r, 1.0f) << c.label;
            EXPECT_EQ(Time_Table(1, day), 3) << c.label;
            continue;
        }
        EXPECT_EQ(r, 0.0f) << c.label;
        EXPECT_EQ(Time_Table(1, day), 0) << c.label;
        EXPECT_TRUE(dayPlacementLog.contains(QStringLiteral(",必須パターン引継不可\r\n→101:") + QString::fromUtf8(c.line)))
            << c.label << "\n" << dayPlacementLog.toStdString();
        EXPECT_TRUE(totalsMatchRecount()) << c.label;
    }
}

// A member resting on the day before a reserved 明 completes "- 明": the try fails; staffed with
// that member working, the day passes. Unfilled later days are no rest days for this test.
TEST(RestingMember, FailsTheTryOnlyWithFixedCells)
{
    nightModel(2, 10);
    addPattern(QStringLiteral("-明"));
    reserve(1, 6, 3);
    EXPECT_TRUE(restCompletesPattern(1, 5));
    EXPECT_FALSE(restCompletesPattern(2, 5));
    EXPECT_EQ(日別配置(5, 1), 0.0f);
    EXPECT_TRUE(dayPlacementLog.startsWith(QStringLiteral("\r\n月日=01/05,休み,禁止パターン\r\n→101:禁止パターン\r\n")))
        << dayPlacementLog.toStdString();
    // With 夜 needed on the day and member 1 the one who may take it, the day is staffed.
    Need_Table(2, 5) = 1;
    Member_Scdl(2, 5) = 2;
    EXPECT_EQ(日別配置(5, 1), 1.0f);
    EXPECT_EQ(Time_Table(1, 5), 2);

    // "- - -": two rest days before complete it; one rest day and open later days do not, nor
    // does a pattern lying wholly before the day.
    nightModel(2, 10);
    addPattern(QStringLiteral("---"));
    place(1, 1, 1);
    EXPECT_FALSE(restCompletesPattern(1, 3));
    EXPECT_TRUE(restCompletesPattern(1, 4));
    place(1, 4, 1);
    EXPECT_FALSE(restCompletesPattern(1, 5));
    addPattern(QStringLiteral("日日"));
    place(2, 2, 1);
    place(2, 3, 1);
    EXPECT_FALSE(restCompletesPattern(2, 4)) << "日日 lies on days 2 and 3, before the day";
}
