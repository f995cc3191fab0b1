// Colours, fonts, borders and layout of the spreadsheet model.
#include "model_fixture.h"

namespace {

using Styles = BookTest;

TEST(Palette, IndexesAndNearestColours)
{
    struct Case {
        int index;
        QRgb rgb;
    } cases[] = {{1, 0x000000}, {2, 0xFFFFFF}, {3, 0xFF0000}, {6, 0xFFFF00}, {15, 0xC0C0C0},
                 {36, 0xFFFF99}, {44, 0xFFCC00}, {56, 0x333333}};
    for (const Case& c : cases) {
        EXPECT_EQ(xl::colorFromIndex(c.index).rgb() & 0xFFFFFF, c.rgb) << c.index;
        EXPECT_EQ(xl::colorIndexOf(QColor(QRgb(c.rgb))), c.index) << c.index;
    }
    // Duplicated colours answer with their first index; others with the nearest.
    EXPECT_EQ(xl::colorIndexOf(QColor(0x00, 0x00, 0xFF)), 5);
    EXPECT_EQ(xl::colorIndexOf(QColor(0xFE, 0x01, 0x02)), 3);
    EXPECT_EQ(xl::colorIndexOf(QColor(0xFF, 0xFF, 0x98)), 36);
    EXPECT_FALSE(xl::colorFromIndex(0).isValid());
    EXPECT_FALSE(xl::colorFromIndex(57).isValid());
    EXPECT_FALSE(xl::colorFromIndex(xl::kColorIndexNone).isValid());
    EXPECT_EQ(xl::colorIndexOf(QColor()), xl::kColorIndexNone);
    EXPECT_EQ(xl::colorIndexOf(QColor(), xl::kColorIndexAutomatic), xl::kColorIndexAutomatic);
}

TEST_F(Styles, InteriorAndFont)
{
    const xl::Range block = at("B2:D4");
    block.setValue(QStringLiteral("日"));
    block.interior().setColorIndex(36);
    block.font().setColorIndex(3);
    at("C3").font().setBold(true);
    EXPECT_EQ(at("D4").interior().colorIndex(), 36);
    EXPECT_EQ(at("D4").interior().color(), QColor(0xFF, 0xFF, 0x99));
    EXPECT_EQ(at("B2").font().colorIndex(), 3);
    EXPECT_TRUE(at("C3").font().bold());
    EXPECT_FALSE(at("B3").font().bold());
    // The colour-refresh step: no fill, automatic font.
    block.interior().setColorIndex(xl::kColorIndexNone);
    block.font().setColorIndex(xl::kColorIndexAutomatic);
    EXPECT_EQ(at("C3").interior().colorIndex(), xl::kColorIndexNone);
    EXPECT_EQ(at("C3").font().colorIndex(), xl::kColorIndexAutomatic);
    EXPECT_TRUE(at("C3").font().bold());
    // Styles are shared, not copied per cell.
    EXPECT_LE(book.data().styles.size(), 8u);
    EXPECT_THROW(block.interior().setColorIndex(57), xl::Error);
    // Formatting empty cells of whole columns touches only stored cells.
    ws.range(QStringLiteral("B:D")).interior().setColorIndex(4);
    EXPECT_EQ(at("B3").interior().colorIndex(), 4);
    EXPECT_EQ(ws.data().cells.size(), 9u);
}

TEST_F(Styles, BordersAreSharedWithTheNeighbour)
{
    const xl::Range grid = at("C3:E5");
    grid.borders(xl::kEdgeLeft).setLineStyle(xl::kContinuous);
    grid.borders(xl::kEdgeLeft).setWeight(xl::kMedium);
    grid.borders(xl::kEdgeLeft).setColorIndex(3);
    EXPECT_EQ(ws.styleAt(4, 2).right.lineStyle, xl::kContinuous);   // B4's right edge is the same line
    EXPECT_EQ(ws.styleAt(4, 4).left.lineStyle, xl::kLineNone);      // inside untouched

    grid.borders(xl::kInsideHorizontal).setColorIndex(5);            // a colour draws a line
    EXPECT_EQ(ws.styleAt(3, 4).bottom.lineStyle, xl::kContinuous);
    EXPECT_EQ(ws.styleAt(4, 4).top.color, xl::colorFromIndex(5));
    EXPECT_EQ(ws.styleAt(5, 4).bottom.lineStyle, xl::kLineNone);

    // Theme colour 1 darkened by a quarter: the grey of the grid's inside lines.
    grid.borders(xl::kInsideVertical).setLineStyle(xl::kContinuous);
    grid.borders(xl::kInsideVertical).setThemeColor(1);
    grid.borders(xl::kInsideVertical).setTintAndShade(-0.249946592608417);
    EXPECT_EQ(ws.styleAt(3, 3).right.color.rgb() & 0xFFFFFF, 0xBFBFBFu);
    grid.borders(xl::kInsideVertical).setThemeColor(5);   // accent 1, lighter 40%: #8EA9DB
    grid.borders(xl::kInsideVertical).setTintAndShade(0.3999);
    const QColor light = ws.styleAt(3, 4).left.color;
    EXPECT_NEAR(light.red(), 0x8E, 3);
    EXPECT_NEAR(light.green(), 0xA9, 3);
    EXPECT_NEAR(light.blue(), 0xDB, 3);
    EXPECT_THROW(grid.borders(xl::kInsideVertical).setThemeColor(13), xl::Error);

    grid.borderAround(xl::kContinuous, xl::kThick, 10);
    for (int edge : {xl::kEdgeLeft, xl::kEdgeTop, xl::kEdgeBottom, xl::kEdgeRight}) {
        EXPECT_EQ(grid.borders(edge).weight(), xl::kThick) << edge;
        EXPECT_EQ(grid.borders(edge).colorIndex(), 10) << edge;
    }
    grid.borders(xl::kEdgeLeft).setLineStyle(xl::kLineNone);
    EXPECT_EQ(grid.borders(xl::kEdgeLeft).colorIndex(), xl::kColorIndexNone);
    EXPECT_EQ(ws.styleAt(4, 2).right.lineStyle, xl::kLineNone);
    // Diagonals are accepted and carry no line; indexes outside 5..12 are an error.
    grid.borders(xl::kDiagonalDown).setLineStyle(xl::kLineNone);
    EXPECT_EQ(grid.borders(xl::kDiagonalUp).lineStyle(), xl::kLineNone);
    EXPECT_THROW(grid.borders(13), xl::Error);
}

TEST_F(Styles, AlignmentFormatsAndLayout)
{
    at("A1:B1").setHorizontalAlignment(xl::kAlignCenter);
    EXPECT_EQ(at("B1").horizontalAlignment(), xl::kAlignCenter);
    EXPECT_THROW(at("A1").setHorizontalAlignment(99), xl::Error);

    ws.range(QStringLiteral("B:D")).setColumnWidth(4.5);
    EXPECT_EQ(ws.columnWidth(3), 4.5);
    EXPECT_EQ(ws.columnWidth(5), ws.data().defaultColumnWidth);
    at("A3:A4").setRowHeight(30);
    EXPECT_EQ(ws.rowHeight(4), 30.0);
    ws.range(QStringLiteral("3:4")).setHidden(true);
    ws.range(QStringLiteral("C:C")).setHidden(true);
    EXPECT_TRUE(ws.rowHidden(3));
    EXPECT_TRUE(ws.columnHidden(3));
    EXPECT_FALSE(ws.columnHidden(2));
    EXPECT_THROW(at("A1:B2").setHidden(true), xl::Error);
    ws.freezePanes(4, 3);
    EXPECT_EQ(ws.frozenRows(), 4);
    EXPECT_EQ(ws.frozenColumns(), 3);

    // AutoFit: the longest text decides; empty columns keep their width.
    at("F1").setValue(QStringLiteral("x"));
    at("F2").setValue(QStringLiteral("a much longer text"));
    ws.range(QStringLiteral("F:G")).autoFitColumns();
    EXPECT_GT(ws.columnWidth(6), 10.0);
    EXPECT_EQ(ws.columnWidth(7), ws.data().defaultColumnWidth);
}

}  // namespace
