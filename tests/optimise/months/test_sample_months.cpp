// The shipped sample months as a new user first generates them: the pre-run analysis raises no
// failure, and the accepted month staffs every day to its need and hardly beyond it.
#include "whole_run_fixture.h"

#include "engine/analysis.h"
#include "engine/generation.h"
#include "engine/generation_driver.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Staffing {
    int short_ = 0;        // staff missing on a day's shift, over the month
    int over = 0;          // staff beyond a day's shift need, over the month
};

Staffing staffing()
{
    Staffing s;
    for (int d = 1; d <= Day_Cnt; ++d)
        for (int t = 1; t <= Type_Cnt; ++t) {
            int staffed = 0;
            for (int m = 1; m <= Member_Cnt; ++m)
                staffed += Time_Table(m, d) == t;
            const int need = Need_Table(t, d);
            s.short_ += std::max(0, need - staffed);
            s.over += std::max(0, staffed - need);
        }
    return s;
}

using SampleMonths = WholeRunTest<::testing::TestWithParam<const char*>>;

}  // namespace

TEST_P(SampleMonths, StaffEveryDayCloseToItsNeeds)
{
    ASSERT_TRUE(openSampleBook(sourceFile(GetParam())).ok);
    ASSERT_GE(全条件読込(-1), 0);
    const AnalysisFigures figures = computeAnalysisFigures();
    EXPECT_LE(figures.要求率, 1.0);
    if (figures.週間動員可能人日 >= 0) {
        EXPECT_LE(figures.要求人員総数 / figures.週間動員可能人日, 1.0);
    }

    cmd開始_Click({2027});
    ASSERT_EQ(作成状態, 1) << shownTitles().join(QStringLiteral(", ")).toStdString();
    const Staffing s = staffing();
    EXPECT_EQ(s.short_, 0);
    // The work-day adjustment spends what the targets give beyond the needs: only a few cells.
    EXPECT_LE(s.over, 5) << "need " << figures.要求人員総数;
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleMonths, ::testing::Values(kGeneral, kCare, kLarge));
