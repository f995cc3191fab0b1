#include "xlsx_fixture.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace xlsxtest {

using namespace xl;

int addStyle(BookData& book, const CellStyle& style)
{
    book.styles.push_back(style);
    return int(book.styles.size()) - 1;
}

BookData sampleBook()
{
    BookData book;

    CellStyle header;
    header.fill = QColor(255, 255, 0);
    header.fontColor = QColor(192, 0, 0);
    header.bold = true;
    header.fontSize = 14;
    header.fontName = QStringLiteral("ＭＳ Ｐゴシック");
    header.horizontalAlignment = -4108;
    header.verticalAlignment = -4160;
    header.wrapText = true;
    header.left = {1, 2, QColor(0, 0, 255)};
    header.right = {1, -4138, Qt::black};
    header.top = {-4119, 4, Qt::black};
    header.bottom = {-4115, 2, QColor(0, 128, 0)};
    const int sHeader = addStyle(book, header);

    CellStyle date;
    date.numberFormat = QStringLiteral("yyyy/m/d");
    const int sDate = addStyle(book, date);
    CellStyle monthDay;
    monthDay.numberFormat = QStringLiteral("m/d");
    monthDay.horizontalAlignment = -4152;
    const int sMonthDay = addStyle(book, monthDay);
    CellStyle weekday;
    weekday.numberFormat = QStringLiteral("aaa");
    const int sWeekday = addStyle(book, weekday);
    CellStyle dateTime;
    dateTime.numberFormat = QStringLiteral("yyyy/m/d h:mm");
    const int sDateTime = addStyle(book, dateTime);
    CellStyle percent;
    percent.numberFormat = QStringLiteral("0%");
    percent.locked = false;
    const int sPercent = addStyle(book, percent);
    CellStyle oneDecimal;
    oneDecimal.numberFormat = QStringLiteral("0.0");
    oneDecimal.fill = QColor(204, 255, 204);
    const int sOneDecimal = addStyle(book, oneDecimal);

    SheetData s1;
    s1.name = QStringLiteral("基本設定");
    auto put = [](SheetData& s, int r, int c, QVariant v, int style = 0, QString formula = {}) {
        s.cells[{r, c}] = Cell{std::move(v), style, std::move(formula)};
    };
    put(s1, 1, 1, QStringLiteral("勤務表"), sHeader);
    put(s1, 1, 2, 1.0);
    put(s1, 1, 3, -2.5, sOneDecimal);
    put(s1, 1, 4, 1e-7);
    put(s1, 1, 5, 123456789.125);
    put(s1, 2, 1, true);
    put(s1, 2, 2, false);
    put(s1, 2, 3, QString());
    put(s1, 3, 1, QDate(2024, 2, 29), sDate);
    put(s1, 3, 2, QDate(2024, 3, 1), sMonthDay);
    put(s1, 3, 3, QDate(2024, 3, 2), sWeekday);
    put(s1, 3, 4, QDateTime(QDate(2024, 3, 2), QTime(8, 30)), sDateTime);
    put(s1, 4, 1, 0.25, sPercent);
    put(s1, 4, 2, 3.0, 0, QStringLiteral("=B1+2"));
    put(s1, 4, 3, QStringLiteral("日勤"), 0, QStringLiteral("=IF(B1=1,\"日勤\",\"夜勤\")"));
    put(s1, 5, 1, QVariant(), sHeader);  // formatted, empty
    put(s1, 60, 40, QStringLiteral("end"));
    // Every line style with the weights it takes, one cell each.
    const std::pair<int, int> borders[] = {{1, 1},     {1, 2},     {1, -4138}, {1, 4},  {-4115, 2}, {-4115, -4138}, {-4118, 2},
                                           {-4119, 4}, {4, 2},     {4, -4138}, {5, 2},  {5, -4138}, {13, -4138},    {-4142, 2}};
    int column = 1;
    for (const auto& [lineStyle, weight] : borders) {
        CellStyle s;
        if (lineStyle != -4142)
            s.left = s.right = s.top = s.bottom = BorderEdge{lineStyle, weight, QColor(10, 20, 30)};
        put(s1, 7, column++, 1.0, addStyle(book, s));
    }
    s1.columnWidths = {{1, 12.5}, {2, 2.63}, {3, 2.63}, {4, 0.5}, {10, 30}};
    s1.rowHeights = {{1, 27.75}, {70, 6}};
    s1.hiddenRows = {8, 9, 70};
    s1.hiddenColumns = {3, 20};
    s1.frozenRows = 2;
    s1.frozenColumns = 1;
    s1.zoom = 85;
    s1.protection.protectedSheet = true;
    s1.protection.allowFormattingColumns = true;
    s1.protection.enableSelection = 1;
    s1.pageSetup = {2, 0, 1, 0, 9};   // landscape A4, one page wide
    book.sheets.push_back(std::move(s1));

    SheetData s2;
    s2.name = QStringLiteral("My Sheet");
    put(s2, 1, 1, QStringLiteral("  leading and trailing  "));
    put(s2, 1, 2, QStringLiteral("two\nlines\r\nand a tab\t."));
    put(s2, 1, 3, QStringLiteral("_x0041_ stays literal"));
    put(s2, 1, 4, QStringLiteral("control \x01 char <&> \"quoted\" 'single'"));
    put(s2, 2, 1, QStringLiteral("勤務表"));  // shared with sheet 1
    s2.frozenRows = 3;
    s2.defaultColumnWidth = 10.5;
    s2.defaultRowHeight = 13.5;
    s2.protection.protectedSheet = true;
    s2.protection.drawingObjects = false;
    s2.protection.scenarios = false;
    s2.protection.allowFormattingRows = true;
    s2.protection.enableSelection = -4142;
    s2.pageSetup.zoom = 85;
    book.sheets.push_back(std::move(s2));

    SheetData s3;
    s3.name = QStringLiteral("It's");
    s3.frozenColumns = 2;
    s3.visible = 0;
    book.sheets.push_back(std::move(s3));

    book.names = {
        {QStringLiteral("Time_Table"), -1, QStringLiteral("基本設定!$B$3:$K$12")},
        {QStringLiteral("Title"), -1, QStringLiteral("'My Sheet'!$A$1")},
        {QStringLiteral("Local"), 0, QStringLiteral("基本設定!$A$1")},
        {QStringLiteral("Local"), 1, QStringLiteral("'My Sheet'!$B$2")},
        {QStringLiteral("Quote"), 2, QStringLiteral("'It''s'!$A$1:$A$5")},
        {QStringLiteral("Print_Area"), 0, QStringLiteral("基本設定!$A$1:$K$12")},
        {QStringLiteral("Print_Titles"), 0, QStringLiteral("基本設定!$1:$2")},
    };
    book.activeSheet = 1;
    return book;
}

void expectSameBook(const BookData& expected, const BookData& actual)
{
    ASSERT_EQ(actual.sheets.size(), expected.sheets.size());
    EXPECT_EQ(actual.activeSheet, expected.activeSheet);
    for (size_t i = 0; i < expected.sheets.size(); ++i) {
        const SheetData& e = expected.sheets[i];
        const SheetData& a = actual.sheets[i];
        SCOPED_TRACE(e.name.toStdString());
        EXPECT_EQ(a.name, e.name);
        ASSERT_EQ(a.cells.size(), e.cells.size());
        for (const auto& [key, cell] : e.cells) {
            const auto it = a.cells.find(key);
            ASSERT_NE(it, a.cells.end()) << key.first << "," << key.second;
            SCOPED_TRACE(testing::Message() << "cell " << key.first << "," << key.second);
            EXPECT_EQ(it->second.value, cell.value) << it->second.value.toString().toStdString();
            EXPECT_EQ(it->second.value.typeId(), cell.value.typeId());
            EXPECT_EQ(it->second.formula, cell.formula);
            EXPECT_TRUE(actual.styles[size_t(it->second.style)] == expected.styles[size_t(cell.style)]);
        }
        EXPECT_EQ(a.columnWidths, e.columnWidths);
        EXPECT_EQ(a.rowHeights, e.rowHeights);
        EXPECT_EQ(a.hiddenRows, e.hiddenRows);
        EXPECT_EQ(a.hiddenColumns, e.hiddenColumns);
        EXPECT_EQ(a.frozenRows, e.frozenRows);
        EXPECT_EQ(a.frozenColumns, e.frozenColumns);
        EXPECT_TRUE(a.protection == e.protection);
        EXPECT_DOUBLE_EQ(a.defaultColumnWidth, e.defaultColumnWidth);
        EXPECT_DOUBLE_EQ(a.defaultRowHeight, e.defaultRowHeight);
        EXPECT_EQ(a.zoom, e.zoom);
        EXPECT_EQ(a.visible, e.visible);
        EXPECT_TRUE(a.pageSetup == e.pageSetup);
    }
    ASSERT_EQ(actual.names.size(), expected.names.size());
    for (size_t i = 0; i < expected.names.size(); ++i) {
        EXPECT_EQ(actual.names[i].name, expected.names[i].name);
        EXPECT_EQ(actual.names[i].sheet, expected.names[i].sheet);
        EXPECT_EQ(actual.names[i].refersTo, expected.names[i].refersTo);
    }
}

}  // namespace xlsxtest
