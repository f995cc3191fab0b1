#include "generation_fixture.h"

#include "engine/day_placement.h"
#include "engine/generation.h"
#include "engine/model.h"
#include "engine/optimiser_steps.h"
#include "engine/time_limit.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/mylog.h"
#include "validator/validator.h"

#include "manual_clock.h"
#include "text.h"

using namespace genfx;
using validator::Rule;

namespace {

// The rules a finished attempt must keep: overstaffing by a required pair and over-long rest runs
// are left to the optimiser and the post-processing.
std::vector<validator::Violation> brokenRules(int firstDay)
{
    auto broken = validator::check({firstDay, Day_Cnt});
    std::erase_if(broken, [](const auto& v) { return v.rule == Rule::Overstaffed || v.rule == Rule::RestRun; });
    return broken;
}

// Member totals against a recount of the whole table.
::testing::AssertionResult totalsMatchTable()
{
    for (int m = 1; m <= Member_Cnt; ++m) {
        float work = 0;
        for (int d = 1; d <= Day_Cnt; ++d)
            work += Time_Table(m, d) > 0;
        if (Member_Sum(m, 11) != work || Member_WorkDays(m) != work)
            return ::testing::AssertionFailure() << "member " << m << ": " << Member_Sum(m, 11) << " counted, " << work
                                                 << " in the table";
    }
    return ::testing::AssertionSuccess();
}

struct Shakes {
    std::vector<std::pair<int, int>> exchanges;  // (lastDay, firstDay)
    int equalisations = 0;
    void install()
    {
        optimiserSteps.ランダム交換 = [this](int last, int first) { exchanges.emplace_back(last, first); };
        optimiserSteps.休み数均等化 = [this](bool, int) {
            ++equalisations;
            return false;
        };
    }
};

}  // namespace

class SampleAttempt : public GenerationTest, public ::testing::WithParamInterface<const char*> {};

// Every day staffed within the rules, the sheet showing the table, the totals in step with it; the
// same seed gives the same table.
TEST_P(SampleAttempt, StaffsTheMonthRepeatably)
{
    open(GetParam());
    Randomize(2027);
    ASSERT_EQ(シフト作成(false), AttemptResult::Ran);
    ASSERT_TRUE(確保完了);
    EXPECT_TRUE(shownTitles().isEmpty()) << shownTitles().join(u(", ")).toStdString();
    const auto broken = brokenRules(1);
    EXPECT_TRUE(broken.empty()) << validator::describe(broken).toStdString();
    EXPECT_TRUE(totalsMatchTable());
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = 1; d <= Day_Cnt; ++d)
            ASSERT_EQ(cell(m, d), Time_Table(m, d) > 0 ? Type_Table(Time_Table(m, d), TYPE_略称) : QString()) << m << "/" << d;
    const QString first = gridText();
    Randomize(2027);
    ASSERT_EQ(シフト作成(false), AttemptResult::Ran);
    EXPECT_EQ(gridText(), first);
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleAttempt, ::testing::Values(kGeneral, kCare, kLarge));

// From a start day in mid-month the earlier days stay on the sheet as they were, and the new days
// keep the rules across the boundary because the earlier days were read into the attempt.
TEST_F(GenerationTest, EarlierDaysStayAndCount)
{
    open(kGeneral);
    Randomize(11);
    ASSERT_EQ(シフト作成(false), AttemptResult::Ran);
    QStringList before;
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = 1; d <= 14; ++d)
            before << cell(m, d);
    作成開始日 = 基準開始日 + 14;
    Randomize(12);
    ASSERT_EQ(シフト作成(false), AttemptResult::Ran);
    ASSERT_EQ(Start_Day, 15);
    ASSERT_TRUE(確保完了);
    QStringList after;
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = 1; d <= 14; ++d)
            after << cell(m, d);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(totalsMatchTable());
    const auto broken = brokenRules(1);
    EXPECT_TRUE(broken.empty()) << validator::describe(broken).toStdString();
}

// A day that cannot be staffed shows its last try on the sheet, leaves the later days empty and
// logs why; between its tries the days before it are shaken, except after the last try. The
// first day of the period has nothing to shake.
TEST_F(GenerationTest, AFailedDayEndsTheAttempt)
{
    open(kGeneral);
    Shakes shakes;
    shakes.install();
    set(u("要員設定"), u("Need_Table"), 50, 1, 3);
    Randomize(3);
    ASSERT_EQ(シフト作成(false), AttemptResult::Ran);
    EXPECT_FALSE(確保完了);
    EXPECT_EQ(generationTiming.tries, 2 + 50);
    const std::vector<std::pair<int, int>> expected(49, {2, 1});  // days up to 2, never before Start_Day
    EXPECT_EQ(shakes.exchanges, expected);
    EXPECT_EQ(shakes.equalisations, 49);
    int shown = 0;
    for (int m = 1; m <= Member_Cnt; ++m) {
        EXPECT_EQ(cell(m, 3), dayPlacementFailures(m) > 0 ? Type_Table(dayPlacementFailures(m), TYPE_略称) : QString());
        shown += !cell(m, 3).isEmpty();
        for (int d = 4; d <= Day_Cnt; ++d)
            ASSERT_TRUE(Rsv_Table(m, d) != 0 || cell(m, d).isEmpty()) << m << "/" << d;
    }
    EXPECT_GT(shown, 0);
    EXPECT_TRUE(MemLogEntries().join(QString()).contains(u("適合無し")));

    shakes = {};
    set(u("要員設定"), u("Need_Table"), 0, 1, 3);
    set(u("要員設定"), u("Need_Table"), 50, 1, 1);
    ASSERT_EQ(シフト作成(false), AttemptResult::Ran);
    EXPECT_EQ(generationTiming.tries, 52 + 50);
    EXPECT_TRUE(shakes.exchanges.empty());
    EXPECT_EQ(shakes.equalisations, 0);
}

// A stop raised while a shake lets events run (the cancel button) or the time limit passing ends
// the attempt before its next try; the stop stays raised for the driver.
TEST_F(GenerationTest, AStopEndsTheAttemptBeforeTheNextTry)
{
    open(kGeneral);
    set(u("要員設定"), u("Need_Table"), 50, 1, 3);
    optimiserSteps.ランダム交換 = [](int, int) { Sw_中止 = true; };
    ASSERT_EQ(シフト作成(false), AttemptResult::Ran);
    EXPECT_FALSE(確保完了);
    EXPECT_TRUE(Sw_中止);
    EXPECT_EQ(generationTiming.tries, 3);
    EXPECT_TRUE(cell(1, 3).isEmpty());

    Sw_中止 = false;
    ManualClock clock;
    LimitTime = 0.0005f;  // 30 ms
    作成開始時刻 = 0;
    generationTiming = {};
    optimiserSteps.ランダム交換 = [&clock](int, int) { clock.advance(40); };
    ASSERT_EQ(シフト作成(false), AttemptResult::Ran);
    EXPECT_TRUE(Sw_中止);
    EXPECT_TRUE(timeLimitExceeded);
    EXPECT_EQ(generationTiming.tries, 3);
}

// An attempt that cannot start says why once and leaves 作成状態 0: a condition that cannot be
// read, fewer than two members; the analysis answered with stop raises the stop.
TEST_F(GenerationTest, AttemptsThatDoNotRun)
{
    open(kGeneral);
    set(u("要員設定"), u("Need_Table"), u("abc"), 1, 3);
    作成状態 = -1;
    EXPECT_EQ(シフト作成(false), AttemptResult::CannotStart);
    EXPECT_EQ(作成状態, 0);
    EXPECT_EQ(shownTitles(), QStringList{u("入力エラー")});

    set(u("要員設定"), u("Need_Table"), 1, 1, 3);
    ui::resetMessages();
    ui::setNextAnswer(1);
    EXPECT_EQ(シフト作成(true), AttemptResult::中止);
    EXPECT_TRUE(Sw_中止);
    EXPECT_EQ(shownTitles(), QStringList{u("frm分析結果")});

    for (int r = 2; r <= 50; ++r)
        for (int c = 1; c <= 2; ++c)
            set(u("スケジュール"), u("Member_List"), QVariant(), r, c);
    ui::resetMessages();
    作成状態 = -1;
    EXPECT_EQ(シフト作成(true), AttemptResult::CannotStart);
    EXPECT_EQ(作成状態, 0);
    EXPECT_EQ(shownTitles(), QStringList{u("条件データ不足")});
}
