// A kept exchange is shown on the shift sheet: both cells get the new abbreviations.
#include "swap_fixture.h"

#include "engine/model.h"
#include "engine/totals.h"
#include "shell/excel_layer.h"

using swapfx::SampleTest;

namespace {

TEST_F(SampleTest, ExchangedCellsAppearOnTheShiftSheet)
{
    ASSERT_TRUE(load(kGeneral));
    Time_Table(1, 3) = 1;
    Time_Table(2, 3) = 0;
    勤務変更(1, 2, 3);
    勤務セル表示(1, 2, 3);
    const xl::Range grid = xlBook->worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_Table"));
    EXPECT_EQ(grid.cells(2, 3).value().toString(), Type_Table(1, TYPE_略称));
    EXPECT_EQ(grid.cells(1, 3).value().toString(), Type_Table(0, TYPE_略称));
    // The data block starts at D5: member i on row i + 4, day d in column d + 3.
    EXPECT_EQ(grid.cells(2, 3).row(), 6);
    EXPECT_EQ(grid.cells(2, 3).column(), 6);
    EXPECT_EQ(xlSheet, &grid.worksheet());

    // Without a workbook or without the sheet nothing happens and nothing is thrown.
    xl::Workbook* book = xlBook;
    xlBook = nullptr;
    EXPECT_NO_THROW(勤務セル表示(1, 2, 3));
    xlBook = book;
    xlBook->worksheets(QStringLiteral("人員配置表")).setName(QStringLiteral("別名"));
    EXPECT_NO_THROW(勤務セル表示(1, 2, 3));
}

}  // namespace
