// The best-shift store: its rows and tables, the choice of the best row, the problem notes, and
// the restore onto the sheet with the totals of the restored table alone.
#include "optimise_fixture.h"

#include "engine/model.h"
#include "engine/time_limit.h"
#include "engine/totals.h"
#include "optimise/best_shift.h"
#include "optimise/score.h"
#include "optimise/state.h"
#include "optimise/window_steps.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "workbook/template.h"

namespace {

// Every member total, the day bits included.
std::vector<double> totals()
{
    std::vector<double> v;
    for (int m = 1; m <= Member_Cnt; ++m) {
        for (int c = 1; c <= 13; ++c)
            v.push_back(Member_Sum(m, c));
        v.insert(v.end(), {Member_WorkDays(m), Member_Sum_K(m), Member_Sum_TTIME(m)});
        for (int t = 1; t <= Type_Cnt; ++t)
            v.push_back(shiftDayBits[size_t(m)][size_t(t)]);
    }
    return v;
}

class BestShiftTest : public optfx::ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        resetBestShifts();
        makeModel(3, 6);
        Sw_ベストシフト作成 = true;
    }
    void TearDown() override
    {
        resetBestShifts();
        ModelTest::TearDown();
    }
    // Member 1 gives three single work days; with the others four single rest days in all.
    void table(const char* second, const char* third)
    {
        集計クリア();
        row(1, QStringLiteral("日休日休日休"));
        row(2, QString::fromUtf8(second));
        row(3, QString::fromUtf8(third));
    }
};

TEST_F(BestShiftTest, ThreeAdditionsKeepTheirRowsAndTables)
{
    int enabled = 0;
    optimiserWindowSteps.enableRestoreMenu = [&] { ++enabled; };
    std::vector<vb::TwoDimArray<int>> kept;
    const struct {
        int priority;
        const char* second;
        QVariant sortValue;
    } additions[] = {
        {2, "夜夜休夜夜休", 7.0},  // both counts, as a number
        {0, "日日休夜夜夜", QStringLiteral("3")},
        {1, "夜夜休日日日", QStringLiteral("4")},
    };
    for (const auto& a : additions) {
        table(a.second, "日日休日日日");
        Sw_確保優先 = a.priority;
        kept.push_back(Time_Table);
        ベストシフト追加();
    }
    ASSERT_EQ(BestShift_Cnt, 3);
    EXPECT_EQ(BestShift_OkCnt, 3);
    EXPECT_EQ(enabled, 3);
    ASSERT_EQ(BestShift_Time.size(), 4u);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(BestShift_Table(n, 0), additions[n - 1].sortValue) << n;
        EXPECT_EQ(BestShift_Table(n, 1), QStringLiteral("3"));
        EXPECT_EQ(BestShift_Table(n, 2), QStringLiteral("4"));
        EXPECT_EQ(BestShift_Table(n, 10), Format(double(全分散計算()), QStringLiteral("0.0")));
        EXPECT_FALSE(BestShift_Table(n, 11).isValid());
        for (int m = 1; m <= 3; ++m)
            for (int d = 0; d <= 6; ++d)
                EXPECT_EQ(BestShift_Time[size_t(n)](m, d), kept[size_t(n - 1)](m, d)) << n << ":" << m << "/" << d;
    }
    // Outside best-shift mode the store is left alone.
    Sw_ベストシフト作成 = false;
    ベストシフト追加();
    EXPECT_EQ(BestShift_Time.size(), 4u);
}

TEST_F(BestShiftTest, BestIsTheLowestSortValueWithoutProblemsThenTheLowestRow)
{
    EXPECT_EQ(ベストシフト最良番号(), 1);  // empty store
    BestShift_Cnt = 4;
    BestShift_Table.ReDim(4, 20);
    const QVariant values[] = {5.0, QStringLiteral("7"), 7.0, QStringLiteral("9")};
    for (int n = 1; n <= 4; ++n)
        BestShift_Table(n, 0) = values[n - 1];
    BestShift_Table(1, 11) = QStringLiteral("?");
    EXPECT_EQ(ベストシフト最良番号(), 2);
    for (int n = 2; n <= 4; ++n)
        BestShift_Table(n, 11) = QStringLiteral("?");
    BestShift_Table(3, 0) = QStringLiteral("5");
    EXPECT_EQ(ベストシフト最良番号(), 1);  // every row has a problem: the lowest of all
    for (int n = 1; n <= 4; ++n)
        BestShift_Table(n, 0) = 999999.0;
    EXPECT_EQ(ベストシフト最良番号(), 1);
}

TEST_F(BestShiftTest, ProblemsAreNotedInOrderAndRunsOnlyOverSetLimits)
{
    集計クリア();
    Member_DayOff(1) = 3;  // works 4 days: too few rest days
    row(1, QStringLiteral("日日日日休休"));
    row(2, QStringLiteral("日休日休日日"));
    row(3, QStringLiteral("休日日休日日"));
    for (int d = 1; d <= 4; ++d)
        Rsv_Table(1, d) = 1;  // member 1's long work run was asked for
    連続勤務上限 = 3;
    連続休み上限 = 1;  // member 1's rest run reaches the last day
    ベストシフト追加();
    EXPECT_EQ(BestShift_Table(1, 11), QStringLiteral("?"));
    EXPECT_EQ(BestShift_Table(1, 12).toString().toStdString(), "休み数不足 / 連続休み上限");
    EXPECT_EQ(BestShift_NgCnt, 1);

    std::vector<RunRecord> runs;
    Rsv_Table(1, 2) = 0;
    ASSERT_EQ(連続勤務上限違反(runs), 1);
    EXPECT_EQ(std::tie(runs[0].member, runs[0].length, runs[0].firstDay), std::make_tuple(1, 4, 1));
    ASSERT_EQ(連続休み上限違反(runs), 1);
    EXPECT_EQ(runs[0].firstDay, 5);

    // An unset limit is no limit, and without the work-day adjustment no rest-day note is made.
    連続勤務上限 = 0;
    連続休み上限 = 0;
    EXPECT_EQ(連続勤務上限違反(runs) + 連続休み上限違反(runs), 0);
    Sw_勤務日数調整 = false;
    ベストシフト追加();
    EXPECT_FALSE(BestShift_Table(2, 11).isValid());
}

TEST_F(BestShiftTest, RestoresWriteTheTableWithItsOwnTotalsAndNeverClearForNothing)
{
    xlBook = &workbook::createTemplate(XlApp());
    stBookName = xlBook->name();
    const xl::Range sheet = xlBook->worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_Table"));
    bool listShown = false;
    optimiserWindowSteps.showBestShiftList = [&] { listShown = true; };

    sheet.cells(5, 1).setValue(QStringLiteral("夜"));
    ベストシフト復元();
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(ui::shownMessages()[0].prompt, QStringLiteral("データがありません！"));
    EXPECT_EQ(sheet.cells(5, 1).value(), QStringLiteral("夜"));
    EXPECT_EQ(シフト表復元(1), 1);

    // Last month's totals stay under the restored table's.
    Sw_過去累計使用 = true;
    lastMonthTotals.ReDim(Member_Cnt + 1, 13);
    lastMonthTotals(1, 1) = 4;
    table("夜夜休夜夜休", "日日休日日日");
    ベストシフト追加();
    table("日日休日日日", "夜夜休夜夜休");
    Member_Sum(1, 1) += 4;
    const std::vector<double> second = totals();
    const vb::TwoDimArray<int> secondTable = Time_Table;
    ベストシフト追加();
    ASSERT_EQ(シフト表復元(1), 0);
    ASSERT_EQ(シフト表復元(2), 0);
    EXPECT_EQ(totals(), second);
    for (int m = 1; m <= 3; ++m)
        for (int d = 1; d <= 6; ++d) {
            const int t = secondTable(m, d);
            EXPECT_EQ(Time_Table(m, d), t);
            EXPECT_EQ(sheet.cells(m, d).value().toString(), t == 0 ? QString() : Type_Table(t, TYPE_略称));
        }

    // The menu's restore clears the sheet, puts the best row back and opens the list.
    ベストシフト復元();
    EXPECT_TRUE(listShown);
    EXPECT_FALSE(sheet.cells(5, 1).value().isValid());
    EXPECT_EQ(ui::shownMessages().size(), 1u);
}

// The optimiser's reset empties the store and takes the window steps out, and resets the engine.
TEST(OptimiseState, ResetClearsTheStoreTheStepsAndTheLayersBelow)
{
    BestShift_Table.ReDim(2, 2);
    BestShift_Time.emplace_back();
    optimiserWindowSteps.raiseMainWindow = [] {};
    timeLimitExceeded = true;

    resetOptimiseState();
    EXPECT_TRUE(BestShift_Table.isEmpty());
    EXPECT_TRUE(BestShift_Time.empty());
    EXPECT_FALSE(optimiserWindowSteps.raiseMainWindow);
    EXPECT_FALSE(timeLimitExceeded);
}

}  // namespace
