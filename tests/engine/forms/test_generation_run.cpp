// Whole generation runs with the optimiser, as the program makes them.
#include "engine/conditions.h"
#include "engine/convert.h"
#include "engine/generation.h"
#include "engine/generation_driver.h"
#include "engine/model.h"
#include "engine/optimiser_steps.h"
#include "optimise/install.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "sample_book.h"
#include "shell/globals.h"
#include "shell/myexcel.h"
#include "shell/myfunc_main.h"
#include "shell/rs_db.h"
#include "shell/rs_dbsub.h"
#include "validator/validator.h"
#include "workbook/recalc.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class GenerationRun : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        resetShellGlobals();
        resetXlGlobals();
        resetConditionModel();
        resetDbGlobals();
        ui::resetMessages();
        AppPath = stWorkPath = stDbPath = dir.path();
        ASSERT_EQ(AddTableField(), 0);
        ASSERT_TRUE(openSampleBook(sourceFile(GetParam())).ok);
        installConditionModelSteps();
        installOptimiserSteps();
        表示待ちなし = true;
        LimitTime = 1;
    }
    void TearDown() override
    {
        resetWeights();
        resetDbGlobals();
        resetXlGlobals();
        resetConditionModel();
        ui::resetMessages();
        最適化手順 = {};
    }
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

    QTemporaryDir dir;
};

}  // namespace

// A run accepts a table that keeps every rule (the work-day adjustment may staff a shift beyond
// its need), shows exactly that table on the sheet in the shifts' colours, and a run with the
// same seed makes the same table.
TEST_P(GenerationRun, AcceptsAColouredTableRepeatably)
{
    cmd開始_Click({2027});
    ASSERT_EQ(作成状態, 1);
    ASSERT_TRUE(確保完了);
    auto broken = validator::check();
    std::erase_if(broken, [](const auto& v) { return v.rule == validator::Rule::必要人数超過; });
    EXPECT_TRUE(broken.empty()) << validator::describe(broken).toStdString();

    const workbook::ShiftTypes types = workbook::readShiftTypes(*xlBook);
    const xl::Range g = grid();
    const xl::Block b = g.block();
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = 1; d <= Day_Cnt; ++d) {
            const int t = Time_Table(m, d);
            ASSERT_EQ(TypeIdx(XlText(b(m, d))), t) << m << "/" << d;
            if (t > 0 && types.colors[size_t(t - 1)].isValid()) {
                ASSERT_EQ(g.worksheet().styleAt(g.row() + m - 1, g.column() + d - 1).fill, types.colors[size_t(t - 1)]);
            }
        }
    EXPECT_TRUE(g.worksheet().protectContents());

    const QString first = gridText();
    cmd開始_Click({2027});
    EXPECT_EQ(gridText(), first);
}

INSTANTIATE_TEST_SUITE_P(Samples, GenerationRun,
                         ::testing::Values("examples/シフト表作成/条件.csv", "examples/作成例1/条件.csv",
                                           "examples/作成例2/条件.csv"));
