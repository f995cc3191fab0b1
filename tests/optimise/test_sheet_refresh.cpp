// The shift sheet finished after a block write: rest symbols into the empty cells of the members'
// days, and thick frames around exactly the reserved and the impossible member-days.
#include "optimise_fixture.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "engine/sheet_refresh.h"
#include "platform/xl/palette.h"
#include "shell/excel_layer.h"
#include "shell/mylog.h"
#include "workbook/template.h"

namespace {

class SheetRefreshTest : public optfx::ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        xlBook = &workbook::createTemplate(XlApp());
        makeModel(3, 6);
        MemLog(QString(), true);
    }
    xl::Worksheet& sheet() { return xlBook->worksheets(QStringLiteral("人員配置表")); }
    xl::Range cell(int m, int d) { return sheet().range(QStringLiteral("Time_Table")).cells(m, d); }
    // The framed cells of the block and one beyond it, as "member/day".
    QStringList framed(int colour)
    {
        const xl::BorderEdge thick{xl::kContinuous, xl::kThick, xl::colorFromIndex(colour)};
        QStringList cells;
        for (int m = 1; m <= 4; ++m)
            for (int d = 1; d <= 7; ++d) {
                const xl::CellStyle s = cell(m, d).style();
                if (s.left == thick && s.top == thick && s.bottom == thick && s.right == thick)
                    cells << QStringLiteral("%1/%2").arg(m).arg(d);
            }
        return cells;
    }
    // The memory log's texts since the set-up, newest first.
    QStringList logged()
    {
        QStringList entries = MemLogEntries();
        entries.removeLast();
        for (QString& e : entries)
            e = e.section(QLatin1Char(','), 2);
        return entries;
    }
};

TEST_F(SheetRefreshTest, EmptyCellsOfTheBlockGetTheRestSymbolUnderTheSameProtection)
{
    cell(1, 1).setValue(QStringLiteral("日"));
    sheet().protect(true, true, true, false, true, false);
    sheet().setEnableSelection(xl::kSelectUnlocked);
    const xl::SheetProtection before = sheet().protection();

    人員配置表更新();
    EXPECT_EQ(cell(1, 1).value(), QStringLiteral("日"));
    for (int m = 1; m <= 3; ++m)
        for (int d = 1 + (m == 1); d <= 6; ++d)
            EXPECT_EQ(cell(m, d).value(), QStringLiteral("休")) << m << "/" << d;
    EXPECT_FALSE(cell(4, 1).value().isValid());  // outside the roster
    EXPECT_FALSE(cell(1, 7).value().isValid());  // outside the period
    EXPECT_EQ(sheet().protection(), before);
    EXPECT_EQ(XlApp().calculation(), xl::kCalculationManual);

    Member_Cnt = 50;
    Day_Cnt = 31;
    EXPECT_EQ(人員配置表範囲(), QStringLiteral("D5:AH54"));
}

TEST_F(SheetRefreshTest, FramesGoAroundExactlyTheReservedAndTheImpossibleDays)
{
    xlSheet = &sheet();
    Rsv_Table_Copy.ReDim(4, 7);
    Rsv_Table_Copy(1, 2) = 1;
    Rsv_Table_Copy(3, 5) = 2;
    Member_Scdl(2, 3) = int(AllTypeMask());
    Member_Scdl(2, 4) = 1;  // one shift type still allowed

    予約強調表示(0);
    全勤務不可強調表示(0);
    EXPECT_TRUE(framed(3).isEmpty() && logged().isEmpty());
    予約強調表示(3);
    全勤務不可強調表示(5);
    EXPECT_EQ(framed(3), (QStringList{QStringLiteral("1/2"), QStringLiteral("3/5")}));
    EXPECT_EQ(framed(5), QStringList{QStringLiteral("2/3")});
    EXPECT_EQ(logged(), (QStringList{QStringLiteral("0 \r\n\r\n全勤務不可強調表示"), QStringLiteral("0 \r\n\r\n予約強調表示")}));
    EXPECT_TRUE(XlApp().screenUpdating() && XlApp().enableEvents());

    // An error ends the framing in the log, with the switches on again.
    xlSheet = nullptr;
    予約強調表示(3);
    EXPECT_TRUE(logged().first().startsWith(QStringLiteral("91 ")));
    EXPECT_EQ(XlApp().calculation(), xl::kCalculationAutomatic);
}

}  // namespace
