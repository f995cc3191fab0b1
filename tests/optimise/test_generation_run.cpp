// Whole generation runs with the optimiser, as the program makes them.
#include "common.h"
#include "manual_clock.h"
#include "engine/convert.h"
#include "engine/generation.h"
#include "engine/generation_driver.h"
#include "engine/optimiser_steps.h"
#include "optimise/best_shift.h"
#include "optimise/months/whole_run_fixture.h"
#include "platform/text/vb.h"
#include "validator/validator.h"
#include "workbook/recalc.h"

#include <gtest/gtest.h>

namespace {

class GenerationRunTest : public WholeRunTest<> {
protected:
    void SetUp() override
    {
        WholeRunTest::SetUp();
        LimitTime = 1;
    }
    void open(const char* sample) { ASSERT_TRUE(openSampleBook(sourceFile(sample)).ok); }
    xl::Range grid() const { return xlBook->worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_Table")); }
    QString gridText() const
    {
        QString text;
        const xl::Block b = grid().block();
        for (int m = 1; m <= Member_Cnt; ++m)
            for (int d = 1; d <= Day_Cnt; ++d)
                text += XlText(b(m, d)) + QLatin1Char(',');
        return text;
    }
};

class GenerationRun : public GenerationRunTest, public ::testing::WithParamInterface<const char*> {};

}  // namespace

// A run accepts a table that keeps every rule (the work-day adjustment may staff a shift beyond
// its need), shows exactly that table on the sheet in the shifts' colours, and a run with the
// same seed makes the same table.
TEST_P(GenerationRun, AcceptsAColouredTableRepeatably)
{
    open(GetParam());
    ui::setNextAnswer(0);
    ui::setNextAnswer(ui::Answer{0, QStringLiteral("OK")});
    cmd開始_Click({2027});
    ASSERT_EQ(作成状態, 1);
    ASSERT_TRUE(確保完了);
    EXPECT_EQ(shownTitles(), (QStringList{QStringLiteral("frm分析結果"), QStringLiteral("作成完了")}));
    auto broken = validator::check();
    std::erase_if(broken, [](const auto& v) { return v.rule == validator::Rule::Overstaffed; });
    EXPECT_TRUE(broken.empty()) << validator::describe(broken).toStdString();

    const workbook::ShiftTypes types = workbook::readShiftTypes(*xlBook);
    const xl::Range g = grid();
    const xl::Block b = g.block();
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = 1; d <= Day_Cnt; ++d) {
            const int t = Time_Table(m, d);
            ASSERT_EQ(XlText(b(m, d)), t > 0 ? Type_Table(t, TYPE_略称) : Yasumi_Kigou) << m << "/" << d;
            if (t > 0 && types.colors[size_t(t - 1)].isValid()) {
                ASSERT_EQ(g.worksheet().styleAt(g.row() + m - 1, g.column() + d - 1).fill, types.colors[size_t(t - 1)]);
            }
        }
    EXPECT_TRUE(g.worksheet().protectContents());

    const QString first = gridText();
    ui::setNextAnswer(0);
    ui::setNextAnswer(ui::Answer{0, QStringLiteral("OK")});
    cmd開始_Click({2027});
    EXPECT_EQ(gridText(), first);
}

INSTANTIATE_TEST_SUITE_P(Samples, GenerationRun,
                         ::testing::Values(kGeneral, kCare, kLarge));

// Best-shift mode goes on until the time limit, keeping every accepted table, and puts the best of
// them back on the sheet when asked.
TEST_F(GenerationRunTest, BestShiftModeKeepsTablesAndRestoresTheBest)
{
    open(kCare);
    xlBook->worksheets(QStringLiteral("Main")).range(QStringLiteral("バックグラウンド動作")).setValue(true);
    xlBook->worksheets(QStringLiteral("Main")).range(QStringLiteral("ベストシフト作成")).setValue(true);
    LimitTime = 0.008f;  // 480 ms
    // Every kept table takes 200 ms of the program's clock: the limit comes after the third,
    // however fast or loaded the machine is.
    ManualClock clock;
    const auto keep = optimiserSteps.ベストシフト追加;
    optimiserSteps.ベストシフト追加 = [&] {
        keep();
        clock.advance(200);
    };
    ui::setNextAnswer(ui::vbOK);
    ui::setNextAnswer(ui::vbYes);
    cmd開始_Click({5});
    EXPECT_EQ(shownTitles(), (QStringList{QStringLiteral("制限時間オーバー"), QStringLiteral("最優秀シフト表")}));
    ASSERT_EQ(BestShift_Cnt, 3);
    EXPECT_EQ(作成状態, 1);
    const vb::TwoDimArray<int>& best = BestShift_Time[size_t(ベストシフト最良番号())];
    const xl::Block b = grid().block();
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = 1; d <= Day_Cnt; ++d)
            ASSERT_EQ(TypeIdx(XlText(b(m, d))), best(m, d)) << m << "/" << d;
}
