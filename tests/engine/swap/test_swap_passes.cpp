// The rest-day exchange passes on random legal tables of the samples: they keep every member's
// work days and shift counts, never break a rule the swap check covers, never touch the days before
// Start_Day, and the score mode keeps only exchanges that lower the rounded score.
#include "swap_fixture.h"

#include "small_model.h"

#include "engine/model.h"
#include "engine/optimiser_steps.h"
#include "engine/run_window.h"
#include "engine/rules.h"
#include "engine/swap_passes.h"
#include "platform/text/vb.h"
#include "shell/globals.h"

#include <algorithm>
#include <vector>

using swapfx::SampleTest;
using validator::Rule;

namespace {

using smallmodel::changedCells;
using smallmodel::snapshot;

// Each member's count of every shift type, and whether a day before Start_Day changed.
std::vector<int> shiftCounts()
{
    std::vector<int> counts;
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int t = 0; t <= Type_Cnt; ++t) {
            int n = 0;
            for (int d = 1; d <= Day_Cnt; ++d)
                n += Time_Table(m, d) == t;
            counts.push_back(n);
        }
    return counts;
}

bool earlyDaysEqual(const std::vector<int>& before)
{
    const std::vector<int> now = snapshot();
    for (int m = 0; m < Member_Cnt; ++m)
        for (int d = 0; d < Start_Day; ++d)
            if (now[size_t(m * (Day_Cnt + 1) + d)] != before[size_t(m * (Day_Cnt + 1) + d)])
                return false;
    return true;
}

int restRunViolations()
{
    return int(validator::only(validator::check(), {Rule::RestRun}).size());
}

class SwapPasses : public SampleTest, public ::testing::WithParamInterface<const char*> {
protected:
    // A random table whose first three days are then closed to change. longRuns: built without a
    // rest limit, which is 2 afterwards.
    bool table(int seed, bool longRuns)
    {
        if (!load(GetParam()))
            return false;
        const int limit = 連続休み上限;
        if (longRuns)
            連続休み上限 = 0;
        Randomize(std::uint64_t(seed) * 104729u);
        swapfx::fillRandomTable();
        連続休み上限 = longRuns ? 2 : limit;
        Start_Day = 4;
        return true;
    }
    // The first seed from 1 on whose table keeps every rule the check with flag covers.
    int legalTable(const QString& flag)
    {
        for (int seed = 1; seed <= 30; ++seed) {
            if (!table(seed, false))
                return 0;
            if (validator::only(validator::check(), swapfx::coveredRules(flag)).empty())
                return seed;
        }
        return 0;
    }
    void TearDown() override
    {
        optwin.unload();
        SampleTest::TearDown();
    }
};

TEST_P(SwapPasses, RestRunPassShortensRunsAndKeepsEverythingElse)
{
    int shortened = 0;
    for (int seed = 1; seed <= 4; ++seed) {
        ASSERT_TRUE(table(seed, true));
        auto covered = swapfx::coveredRules(QString());
        std::erase(covered, Rule::RestRun);
        const auto otherBefore = validator::only(validator::check(), covered);
        const int runsBefore = restRunViolations();
        const std::vector<int> before = snapshot();
        const std::vector<int> counts = shiftCounts();

        連続休み解消();

        EXPECT_EQ(shiftCounts(), counts) << "seed " << seed;
        EXPECT_TRUE(earlyDaysEqual(before)) << "seed " << seed;
        for (const auto& v : validator::only(validator::check(), covered))
            EXPECT_NE(std::find(otherBefore.begin(), otherBefore.end(), v), otherBefore.end())
                << "new: " << validator::describe({v}).toStdString();
        EXPECT_LE(restRunViolations(), runsBefore) << "seed " << seed;
        shortened += runsBefore - restRunViolations();

        // Without a limit there is nothing to break.
        const std::vector<int> now = snapshot();
        連続休み上限 = 0;
        連続休み解消();
        EXPECT_EQ(changedCells(now), 0);
    }
    EXPECT_GT(shortened, 0) << GetParam();
}

TEST_P(SwapPasses, RandomRestExchangesKeepTheRulesAndRepeatWithTheSeed)
{
    const QString flag = QStringLiteral("勤務日数判定要");
    std::vector<int> first;
    for (int round = 0; round < 2; ++round) {
        const int seed = legalTable(flag);
        ASSERT_GT(seed, 0) << GetParam();
        const std::vector<int> before = snapshot();
        std::vector<float> workDays;
        for (int m = 1; m <= Member_Cnt; ++m)
            workDays.push_back(Member_WorkDays(m));

        Randomize(99);
        EXPECT_EQ(休み交換(20, 0, 0, false, 0), 0.0f);

        EXPECT_EQ(optwin.state().message, QStringLiteral("休み交換・・"));
        EXPECT_GT(changedCells(before), 0);
        EXPECT_TRUE(earlyDaysEqual(before));
        EXPECT_EQ(validator::describe(validator::only(validator::check(), swapfx::coveredRules(flag))), QString());
        for (int m = 1; m <= Member_Cnt; ++m)
            EXPECT_EQ(Member_WorkDays(m), workDays[size_t(m - 1)]);
        if (round == 0)
            first = snapshot();
        else
            EXPECT_EQ(snapshot(), first);
    }
}

TEST_P(SwapPasses, ScoreModeKeepsOnlyWhatLowersTheRoundedScore)
{
    ASSERT_GT(legalTable(QStringLiteral("勤務日数判定要")), 0);
    int calls = 0;
    std::vector<float> scores;
    optimiserSteps.全分散計算 = [&] {
        ++calls;
        return calls <= int(scores.size()) ? scores[size_t(calls - 1)] : 10.0f;
    };
    // A member resting on a day with a partner the rules allow: the first score call finds it.
    int a = 0, d = 0;
    for (int m = 1; m <= Member_Cnt && !a; ++m)
        for (int day = Start_Day; day <= Day_Cnt && !a; ++day) {
            if (Time_Table(m, day) != 0)
                continue;
            float best = 5;
            calls = 0;
            scores = {};
            休み交換_個人(m, day, true, best);
            if (calls > 0)
                a = m, d = day;
        }
    ASSERT_GT(a, 0);
    const std::vector<int> before = snapshot();

    // 4.6 rounds to 5, not below the best; 3.2 rounds to 3 and stays; 10 afterwards stays out.
    calls = 0;
    scores = {4.6f, 3.2f};
    float best = 5;
    EXPECT_EQ(休み交換_個人(a, d, true, best), 3.0f);
    EXPECT_EQ(best, 3.0f);
    EXPECT_EQ(changedCells(before), 4);
    EXPECT_NE(Time_Table(a, d), 0);

    // A member who works on the day is left alone and costs no score.
    calls = 0;
    EXPECT_EQ(休み交換_個人(a, d, true, best), 3.0f);
    EXPECT_EQ(calls, 0);
}

INSTANTIATE_TEST_SUITE_P(Samples, SwapPasses, ::testing::Values(kGeneral, kCare, kLarge));

}  // namespace
