// The re-adjustment's search on small hand-made months: a chain with two exchanges on one day, a
// chain over the next day, a chain that would leave a rule broken, and the budget.
#include "optimise_fixture.h"

#include "engine/model.h"
#include "engine/totals.h"
#include "optimise/readjust.h"

namespace {

class ReadjustSearch : public optfx::ModelTest {
protected:
    // Member 1 works 日 on day 1 and is to rest there; member 2 may not take 日 on day 1.
    void SetUp() override
    {
        ModelTest::SetUp();
        makeModel(3, 4);
        Member_Scdl(2, 1) = 1;
    }
    std::vector<float> totals() const
    {
        std::vector<float> all;
        for (int m = 1; m <= Member_Cnt; ++m)
            all.insert(all.end(), {Member_Sum(m, 1), Member_Sum(m, 2), Member_WorkDays(m), Member_Sum_TTIME(m)});
        return all;
    }
};

TEST_F(ReadjustSearch, TwoExchangesOnOneDayAreFoundAndUndoneInReverseOrder)
{
    row(1, QStringLiteral("日休休休"));
    row(2, QStringLiteral("休休休休"));
    row(3, QStringLiteral("夜休休休"));
    const std::vector<int> table = optfx::snapshot();
    const std::vector<float> before = totals();

    ReadjustChainSearch search;
    EXPECT_EQ(search.run(1, 1), 3);
    // 2 takes 3's 夜, and 3, resting now, takes 1's 日: member 3 is in both.
    const std::vector<ExchangeRecord> chain{{1, 2, 3}, {1, 1, 3}};
    EXPECT_EQ(search.records(), chain);
    EXPECT_EQ(optfx::changedCells(table), 0);
    EXPECT_EQ(totals(), before);

    for (const ExchangeRecord& r : chain)
        勤務変更(r.x, r.y, r.day);
    EXPECT_EQ(Time_Table(1, 1) * 100 + Time_Table(2, 1) * 10 + Time_Table(3, 1), 21);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        勤務変更(it->x, it->y, it->day);
    EXPECT_EQ(optfx::changedCells(table), 0);
}

TEST_F(ReadjustSearch, TheNextDayStepMovesTheColleaguesRestAndTheChainIsCheckedWhole)
{
    // Member 2 would work three days in a row with day 1; member 3 may not take 日 on day 1.
    連続勤務上限 = 2;
    Member_Scdl(2, 1) = 0;
    Member_Scdl(3, 1) = 1;
    row(1, QStringLiteral("日休休休"));
    row(2, QStringLiteral("休日日休"));
    row(3, QStringLiteral("休休休休"));
    const std::vector<int> table = optfx::snapshot();

    ReadjustChainSearch search;
    EXPECT_EQ(search.run(1, 1), 1);
    EXPECT_EQ(search.records(), (std::vector<ExchangeRecord>{{1, 1, 2}, {2, 2, 1}}));
    EXPECT_EQ(optfx::changedCells(table), 0);

    // When the later days cannot mend the rule that refused the colleague (a personal condition),
    // no chain is proposed; a colleague who rests on the next day already has nothing to give.
    Member_Scdl(2, 1) = 1;
    EXPECT_EQ(search.run(1, 1), 0);
    EXPECT_TRUE(search.records().empty());
    EXPECT_FALSE(search.gaveUp());
    EXPECT_EQ(optfx::changedCells(table), 0);

    // The last day has no next day.
    row(1, QStringLiteral("日休休日"));
    EXPECT_EQ(ReadjustChainSearch().run(4, 1), 0);
}

TEST_F(ReadjustSearch, ASpentBudgetGivesUpAndLeavesTheTable)
{
    row(1, QStringLiteral("日休休休"));
    row(3, QStringLiteral("夜休休休"));
    const std::vector<int> table = optfx::snapshot();
    ReadjustChainSearch search(2);
    EXPECT_EQ(search.run(1, 1), 0);
    EXPECT_TRUE(search.gaveUp());
    EXPECT_TRUE(search.records().empty());
    EXPECT_EQ(optfx::changedCells(table), 0);
}

}  // namespace
