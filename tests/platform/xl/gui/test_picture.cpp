// CopyPicture: a range drawn as displayed, checked pixel by pixel.
#include "../model_fixture.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

struct Picture : BookTest {
    void SetUp() override
    {
        ws.range(QStringLiteral("A:C")).setColumnWidth(10);   // 75 pixels each
        ws.range(QStringLiteral("1:3")).setRowHeight(21);     // 28 pixels each
    }
};

int countPixels(const QImage& image, const QRect& area, const std::function<bool(QColor)>& match)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += match(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

TEST_F(Picture, FillsBordersGridlinesAndText)
{
    at("B2").interior().setColorIndex(6);
    at("B2").borders(xl::kEdgeLeft).setColorIndex(3);
    at("B2").borders(xl::kEdgeLeft).setWeight(xl::kMedium);
    at("C3").setValue(QStringLiteral("日勤"));
    at("C3").font().setColorIndex(5);
    at("A3:C3").borders(xl::kEdgeBottom).setLineStyle(xl::kContinuous);

    QGuiApplication::clipboard()->setText(QStringLiteral("the user's text"));
    const QImage image = at("A1:C3").copyPicture();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("the user's text"));
    ASSERT_EQ(image.size(), QSize(225, 84));

    struct Case {
        const char* what;
        QPoint at;
        QRgb rgb;
    } cases[] = {
        {"white empty cell", {30, 10}, 0xFFFFFF},
        {"fill", {112, 42}, 0xFFFF00},
        {"fill covers its own gridline", {149, 42}, 0xFFFF00},
        {"gridline", {74, 10}, 0xD4D4D4},
        {"medium border, left of the fill", {74, 42}, 0xFF0000},
        {"medium border, second pixel", {73, 42}, 0xFF0000},
        {"bottom border", {30, 83}, 0x000000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(image.pixel(c.at) & 0xFFFFFF, c.rgb) << c.what;

    const int blue = countPixels(image, QRect(150, 56, 75, 27),
                                 [](QColor c) { return c.blue() > 150 && c.red() < 120 && c.green() < 120; });
    EXPECT_GT(blue, 15) << "text in its font colour";
    const int ink = countPixels(image, QRect(0, 0, 150, 56), [](QColor c) { return c.lightness() < 100; });
    EXPECT_EQ(ink, 0) << "no text where there is none";
}

TEST_F(Picture, HiddenColumnsAndAlignment)
{
    ws.setColumnHidden(2, true);
    at("A1").setValue(5);   // numbers sit at the right in General alignment
    const QImage image = at("A1:C3").copyPicture();
    EXPECT_EQ(image.width(), 150);
    const auto dark = [](QColor c) { return c.lightness() < 128; };
    EXPECT_EQ(countPixels(image, QRect(0, 0, 37, 27), dark), 0);
    EXPECT_GT(countPixels(image, QRect(37, 0, 37, 27), dark), 5);
    at("A1").setHorizontalAlignment(xl::kAlignLeft);
    const QImage left = at("A1:C3").copyPicture();
    EXPECT_GT(countPixels(left, QRect(0, 0, 37, 27), dark), 5);
}

TEST_F(Picture, LongTextRunsOnOverEmptyNeighboursOnly)
{
    const QString title = QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWW");
    at("A1").setValue(title);
    at("A2").setValue(title);
    at("B2").setValue(QStringLiteral(" "));   // a neighbour holding something stops it
    const QImage image = at("A1:C3").copyPicture();
    const auto dark = [](QColor c) { return c.lightness() < 128; };
    EXPECT_GT(countPixels(image, QRect(80, 0, 140, 27), dark), 20);
    EXPECT_EQ(countPixels(image, QRect(80, 28, 140, 27), dark), 0);
}

}  // namespace
