#include "platform/xl/palette.h"
#include "shell/borders.h"
#include "shell/excel_layer.h"
#include "shell/state.h"

#include <gtest/gtest.h>

// Theme grey inside, a black hairline around; the palette grey of the older routine on every edge.
// Both leave the sheet protected.
TEST(Borders, GridLines)
{
    resetShellState();
    xl::Worksheet& ws = XlApp().workbooks().add().worksheets(QStringLiteral("Sheet1"));
    const xl::Range grid = ws.range(QStringLiteral("B2:D4"));
    ws.protect();
    EXPECT_EQ(罫線設定(grid), 0);
    EXPECT_TRUE(ws.protectContents());
    const xl::CellStyle middle = ws.styleAt(3, 3);
    EXPECT_EQ(middle.left.color.rgb(), qRgb(191, 191, 191));
    EXPECT_EQ(middle.left.weight, xl::kThin);
    EXPECT_EQ(middle.bottom.color.rgb(), qRgb(191, 191, 191));
    const xl::CellStyle corner = ws.styleAt(2, 2);
    EXPECT_EQ(corner.left, (xl::BorderEdge{xl::kContinuous, xl::kHairline, QColor(Qt::black)}));
    EXPECT_EQ(corner.top.weight, xl::kHairline);

    EXPECT_EQ(罫線設定_旧(grid), 0);
    EXPECT_TRUE(ws.protectContents());
    for (const xl::CellStyle& s : {ws.styleAt(2, 2), ws.styleAt(3, 3), ws.styleAt(4, 4)})
        for (const xl::BorderEdge& e : {s.left, s.top, s.bottom, s.right})
            EXPECT_EQ(e, (xl::BorderEdge{xl::kContinuous, xl::kThin, xl::colorFromIndex(15)}));
    resetShellState();
}
