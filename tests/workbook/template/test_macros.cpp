// The workbook's macros on a small grid, and the shift sheet's events.
#include "template_fixture.h"
#include "workbook/layout.h"
#include "workbook/macros.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kShift = u"人員配置表"_s;

struct GridBook : testwb::Book {
    xl::Range grid() { return sheet(kShift).range(u"Time_Table"_s); }
    QColor fillAt(int i, int d) { return sheet(kShift).styleAt(4 + i, 3 + d).fill; }
    GridBook()
    {
        set(u"基本設定"_s, u"Color_Yasumi"_s, 35.0);
        xl::Range g = grid();
        g.cells(1, 1).setValue(u"日"_s);
        g.cells(1, 2).setValue(u"休"_s);
        g.cells(2, 1).setValue(u"深"_s);
        g.cells(2, 3).setValue(u"謎"_s);   // no such shift
    }
};

TEST(TemplateMacros, EveryMacroRunsByPlainAndModuleQualifiedName)
{
    GridBook b;
    const char16_t* names[] = {u"勤務Clear", u"勤務色置換", u"休み色置換", u"MacroFixShift",
                               u"人員配置表_シート見出し_Click", u"条件読込", u"条件保存"};
    for (const char16_t* n : names) {
        const QString name = QString::fromUtf16(n);
        EXPECT_NO_THROW(b.book->runMacro(workbook::kMacroModule + u'.' + name)) << name.toStdString();
    }
    for (const char16_t* n : names)
        EXPECT_NO_THROW(b.app->run(b.book->name() + u'!' + QString::fromUtf16(n)));
}

TEST(TemplateMacros, ColourMacrosPaintWorkAndRestCellsOnly)
{
    GridBook b;
    b.app->run(u"勤務色置換"_s);
    EXPECT_EQ(b.fillAt(1, 1), xl::colorFromIndex(34));
    EXPECT_EQ(b.fillAt(2, 1), xl::colorFromIndex(38));
    EXPECT_NE(b.fillAt(1, 2), xl::colorFromIndex(35));
    b.app->run(u"休み色置換"_s);
    EXPECT_EQ(b.fillAt(1, 2), xl::colorFromIndex(35));
    EXPECT_EQ(b.fillAt(1, 1), xl::colorFromIndex(34));
    EXPECT_FALSE(b.fillAt(2, 3).isValid());   // unknown text: left alone (1 April is a Wednesday)
    EXPECT_EQ(b.sheet(kShift).styleAt(6, 6).fontColor, QColor(0xC0, 0, 0));   // but shown in red
    EXPECT_FALSE(b.sheet(kShift).styleAt(5, 4).fontColor.isValid());
    // Without a rest colour the rest cells show the day's shading again.
    b.set(u"基本設定"_s, u"Color_Yasumi"_s, 0.0);
    b.app->run(u"休み色置換"_s);
    EXPECT_FALSE(b.fillAt(1, 2).isValid());
}

TEST(TemplateMacros, ClearEmptiesTheWholeGridAndItsColoursAndFrames)
{
    GridBook b;
    b.app->run(u"勤務色置換"_s);
    b.grid().cells(1, 1).borderAround(xl::kContinuous, xl::kThick, 3);
    b.grid().cells(50, 31).setValue(u"日"_s);
    b.app->run(u"MyMainから起動.勤務Clear"_s);
    const xl::Block cleared = b.grid().block();
    for (int i = 1; i <= cleared.rows(); ++i)
        for (int d = 1; d <= cleared.columns(); ++d)
            ASSERT_FALSE(cleared(i, d).isValid()) << i << "," << d;
    EXPECT_FALSE(b.fillAt(1, 1).isValid());
    EXPECT_EQ(b.fillAt(1, 4), workbook::layout::kSaturday);
    EXPECT_EQ(b.sheet(kShift).styleAt(5, 4).left.weight, xl::kThin);
    EXPECT_EQ(b.number(kShift, u"shift_データ数"_s), 0.0);
    EXPECT_FALSE(b.sheet(kShift).isUserEditable(4, 4));
    EXPECT_TRUE(b.sheet(kShift).isUserEditable(5, 4));
}

TEST(TemplateMacros, FixShiftFillsRestSymbolsOnlyInAMonthWithShifts)
{
    testwb::Book empty;
    empty.app->run(u"MacroFixShift"_s);
    EXPECT_FALSE(empty.sheet(kShift).range(u"D5"_s).value().isValid());

    GridBook b;
    b.app->run(u"MacroFixShift"_s);
    const xl::Range g = b.grid();
    EXPECT_EQ(g.cells(1, 3).value(), QVariant(u"休"_s));
    EXPECT_EQ(g.cells(4, 30).value(), QVariant(u"休"_s));
    EXPECT_FALSE(g.cells(4, 31).value().isValid());   // beyond the 30 days of April
    EXPECT_FALSE(g.cells(5, 1).value().isValid());    // beyond the roster
    EXPECT_EQ(g.cells(2, 3).value(), QVariant(u"謎"_s));
    EXPECT_EQ(b.fillAt(1, 1), xl::colorFromIndex(34));
    EXPECT_EQ(b.fillAt(1, 3), xl::colorFromIndex(35));
}

TEST(TemplateMacros, SelectionKeepsTheGridPositionAndHighlightsItsHeadings)
{
    GridBook b;
    xl::Worksheet& ws = b.sheet(kShift);
    b.book->calculate();
    b.book->setSaved(true);
    ws.userSelect(ws.range(u"F7"_s));
    EXPECT_TRUE(b.book->saved());
    EXPECT_EQ(b.number(kShift, u"行番号"_s), 3.0);
    EXPECT_EQ(b.number(kShift, u"列番号"_s), 3.0);
    EXPECT_EQ(b.number(kShift, u"SelRow"_s), 7.0);
    EXPECT_TRUE(b.book->saved());   // also after the recalculation the reads ran
    // The highlight is the window's: the cells keep their own fills.
    EXPECT_EQ(ws.viewMarkAt(7, 2), workbook::layout::kHighlight);
    EXPECT_EQ(ws.viewMarkAt(3, 6), workbook::layout::kHighlight);
    EXPECT_EQ(ws.viewMarkAt(4, 6), workbook::layout::kHighlight);
    EXPECT_EQ(ws.styleAt(7, 2).fill, workbook::layout::kDerived);
    EXPECT_EQ(ws.styleAt(3, 6).fill, workbook::layout::kHeading);
    ws.userSelect(ws.range(u"H6"_s));
    EXPECT_FALSE(ws.viewMarkAt(7, 2).isValid());
    EXPECT_FALSE(ws.viewMarkAt(3, 6).isValid());
    EXPECT_EQ(ws.viewMarkAt(6, 1), workbook::layout::kHighlight);
    EXPECT_EQ(ws.viewMarkAt(3, 8), workbook::layout::kHighlight);
    // Outside the grid the last grid position stays for the manual tools.
    ws.userSelect(ws.range(u"A1"_s));
    EXPECT_EQ(b.number(kShift, u"行番号"_s), 2.0);
    // Highlight off: the position is still kept, nothing is marked.
    b.set(u"基本設定"_s, u"行列ハイライト"_s, false);
    ws.userSelect(ws.range(u"E5"_s));
    EXPECT_EQ(b.number(kShift, u"列番号"_s), 2.0);
    EXPECT_TRUE(ws.viewMarks().empty());
}

// A book saved with the highlight painted into its cells (as earlier versions did) loses it at
// the first recalculation.
TEST(TemplateMacros, HighlightFillsOfAnOlderBookAreWashedOut)
{
    GridBook b;
    xl::Worksheet& ws = b.sheet(kShift);
    ws.cells(7, 2).interior().setColor(workbook::layout::kHighlight);
    ws.cells(3, 6).interior().setColor(workbook::layout::kHighlight);
    b.book->calculate();
    EXPECT_EQ(ws.styleAt(7, 2).fill, workbook::layout::kDerived);
    EXPECT_EQ(ws.styleAt(3, 6).fill, workbook::layout::kHeading);
}

TEST(TemplateMacros, UserEditOfTheShiftSheetSetsDirtyButProgramWritesDoNot)
{
    GridBook b;
    xl::Worksheet& ws = b.sheet(kShift);
    EXPECT_FALSE(b.value(kShift, u"Dirty"_s).isValid());
    ws.range(u"E6"_s).setValue(u"日"_s);
    EXPECT_FALSE(b.value(kShift, u"Dirty"_s).isValid());
    b.sheet(u"予約表"_s).userEdit(b.sheet(u"予約表"_s).range(u"C5"_s), u"日"_s);
    EXPECT_FALSE(b.value(kShift, u"Dirty"_s).isValid());
    ws.userEdit(ws.range(u"E6"_s), u"準"_s);
    EXPECT_EQ(b.value(kShift, u"Dirty"_s), QVariant(true));
    // A derived cell refuses the user.
    EXPECT_THROW(ws.userEdit(ws.range(u"AI5"_s), 3.0), xl::Error);
}

}  // namespace
