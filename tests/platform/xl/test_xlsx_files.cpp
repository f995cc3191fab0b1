// Files the program did not write: damaged ones, other formats, and a workbook as another
// spreadsheet program writes it (theme colours, rich text, shared formulas, prefixed XML).
#include "../../support/env.h"
#include "platform/xl/error.h"
#include "platform/xl/xlsx.h"
#include "xlsx_fixture.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xl;
using namespace Qt::StringLiterals;

namespace {

QString writeBytes(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

const Cell& at(const SheetData& s, int r, int c)
{
    static const Cell none;
    const auto it = s.cells.find({r, c});
    return it == s.cells.end() ? none : it->second;
}

}  // namespace

TEST(XlsxDamaged, EveryBrokenFileGivesAClearErrorNamingIt)
{
    QTemporaryDir dir;
    struct Case {
        QString path;
        QString expected;  // part of the description
    };
    const Case cases[] = {
        {testenv::dataPath(QStringLiteral("xl/truncated.xlsx")), QStringLiteral("ZIP")},
        {testenv::dataPath(QStringLiteral("xl/corrupt_entry.xlsx")), QStringLiteral("xl/worksheets/sheet1.xml")},
        {testenv::dataPath(QStringLiteral("xl/no_workbook.xlsx")), QStringLiteral("xl/workbook.xml")},
        {testenv::dataPath(QStringLiteral("xl/missing_sheet.xlsx")), QStringLiteral("xl/worksheets/sheet2.xml")},
        {testenv::dataPath(QStringLiteral("xl/bad_sheet_xml.xlsx")), QStringLiteral("XML")},
        {testenv::dataPath(QStringLiteral("xl/number_out_of_range.xlsx")), QStringLiteral("セル A3 の数値「-1e999」")},
        {testenv::dataPath(QStringLiteral("xl/not_a_workbook.xlsx")), QStringLiteral("ブックのファイルではありません")},
        {writeBytes(dir, QStringLiteral("notes.xlsx"), "shift notes, not a workbook\n"), QStringLiteral("ブックのファイルではありません")},
        {writeBytes(dir, QStringLiteral("empty.xlsx"), QByteArray()), QStringLiteral("ブックのファイルではありません")},
        {writeBytes(dir, QStringLiteral("old.xls"), QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0')),
         QStringLiteral(".xlsx または .xlsm")},
        {dir.filePath(QStringLiteral("absent.xlsx")), QStringLiteral("見つかりません")},
        {dir.path(), QStringLiteral("ファイルではありません")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        try {
            readWorkbookFile(c.path);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.number, 1004);
            EXPECT_TRUE(e.description.contains(QFileInfo(c.path).fileName())) << e.text().toStdString();
            EXPECT_TRUE(e.description.contains(c.expected)) << e.text().toStdString();
        }
    }
}

TEST(XlsxDamaged, ABookTheWriterWouldRefuseIsRefusedAtOpenWithTheWritersWords)
{
    QTemporaryDir dir;
    const std::pair<const char*, QString> cases[] = {{"long_sheet_name", QString(32, QChar(u'あ'))},
                                                     {"bracket_sheet_name", QStringLiteral("[勤務]")},
                                                     {"case_twin_sheets", QStringLiteral("sheet a")}};
    for (const auto& [file, sheet] : cases) {
        BookData book;
        book.sheets.resize(2);
        book.sheets[0].name = QStringLiteral("Sheet A");
        book.sheets[1].name = sheet;
        QString refused, opened;
        try {
            writeWorkbookFile(book, dir.filePath(QStringLiteral("x.xlsx")), false);
        } catch (const Error& e) {
            refused = e.description.mid(e.description.indexOf(QStringLiteral(": ")) + 2);
        }
        try {
            readWorkbookFile(testenv::dataPath(QStringLiteral("xl/%1.xlsx").arg(QLatin1String(file))));
        } catch (const Error& e) {
            opened = e.description;
        }
        EXPECT_TRUE(refused.contains(QLatin1Char('\'') + sheet + QLatin1Char('\''))) << refused.toStdString();
        EXPECT_TRUE(opened.contains(QLatin1String(file)) && opened.contains(refused)) << opened.toStdString();
    }
}

TEST(XlsxForeign, ReadsWhatOtherProgramsWrite)
{
    const BookData book = readWorkbookFile(testenv::dataPath(QStringLiteral("xl/foreign.xlsx")));

    // The chart sheet is skipped; the names and the active tab follow the worksheets.
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.sheets[0].name, QStringLiteral("Sheet A"));
    EXPECT_EQ(book.sheets[1].name, QStringLiteral("シートB"));
    EXPECT_EQ(book.activeSheet, 1);
    const std::tuple<QString, int, QString> names[] = {{u"Print_Area"_s, 0, u"'Sheet A'!$A$1:$F$6"_s},
                                                        {u"Local"_s, 1, u"シートB!$A$1"_s},
                                                        {u"Global"_s, -1, u"'Sheet A'!$B$1"_s}};
    ASSERT_EQ(book.names.size(), std::size(names));
    for (size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(std::tie(book.names[i].name, book.names[i].sheet, book.names[i].refersTo), names[i]) << i;

    const SheetData& s = book.sheets[0];
    const QDate epoch(1899, 12, 30);
    const struct { int row, column; QVariant value; } values[] = {
        {1, 1, u"plain"_s}, {1, 2, QDate(2024, 1, 1)}, {1, 3, u"inline"_s}, {1, 4, true}, {1, 5, u"#N/A"_s},
        {1, 6, u"plainx"_s}, {2, 1, 1.0}, {2, 2, 2.0},   // cells without an address follow each other
        {5, 3, 7.0}, {6, 1, u"山田 花子"_s},              // a name without its reading
        {6, 2, u"a\rb"_s}, {6, 3, QDateTime(epoch.addDays(45000), QTime(12, 0))}, {6, 5, QDate(2024, 5, 6)}};
    for (const auto& v : values)
        EXPECT_EQ(at(s, v.row, v.column).value, v.value) << v.row << "," << v.column;
    EXPECT_EQ(at(s, 1, 6).formula, QStringLiteral("=A1&\"x\""));
    EXPECT_EQ(at(s, 3, 3).formula, QStringLiteral("=A3+$B$1*B3+SUM('Sheet A'!A3)"));
    EXPECT_EQ(at(s, 4, 3).formula, QStringLiteral("=A4+$B$1*B4+SUM('Sheet A'!A4)"));
    EXPECT_EQ(at(s, 5, 3).formula, QStringLiteral("=A5+$B$1*B5+SUM('Sheet A'!A5)"));

    // Styles: the default font is "automatic", theme and indexed colours resolve to RGB.
    EXPECT_EQ(at(s, 1, 1).style, 0);
    EXPECT_TRUE(book.styles[0] == CellStyle{});
    const CellStyle& red = book.styles[size_t(at(s, 6, 2).style)];
    EXPECT_TRUE(red.bold);
    EXPECT_EQ(red.fontSize, 12.0);
    EXPECT_EQ(red.fontColor, QColor(255, 0, 0));
    EXPECT_EQ(red.fill, QColor(0xED, 0x7D, 0x31));
    EXPECT_TRUE(red.fontName.isEmpty());
    const CellStyle& boxed = book.styles[size_t(at(s, 6, 5).style)];
    EXPECT_EQ(boxed.fill, QColor(255, 255, 0));
    EXPECT_EQ(boxed.horizontalAlignment, -4108);
    EXPECT_EQ(boxed.verticalAlignment, -4108);
    EXPECT_TRUE(boxed.wrapText);
    EXPECT_FALSE(boxed.locked);
    EXPECT_TRUE(boxed.left == (BorderEdge{1, 2, Qt::black}));
    EXPECT_TRUE(boxed.right == (BorderEdge{1, -4138, QColor(255, 0, 0)}));
    EXPECT_TRUE(boxed.top == (BorderEdge{-4115, 2, Qt::black}));
    EXPECT_TRUE(boxed.bottom == (BorderEdge{-4119, 4, QColor(0, 0, 255)}));
    EXPECT_EQ(book.styles[size_t(at(s, 1, 2).style)].numberFormat, QStringLiteral("yyyy/m/d"));
    EXPECT_EQ(book.styles[size_t(at(s, 6, 3).style)].numberFormat, QStringLiteral("yyyy\"年\"m\"月\"d\"日\""));
    const CellStyle& tinted = book.styles[size_t(at(s, 6, 4).style)];
    EXPECT_EQ(tinted.fontName, QStringLiteral("Meiryo UI"));
    const QColor accent(0x44, 0x72, 0xC4);
    EXPECT_NEAR(tinted.fontColor.lightnessF(), accent.lightnessF() + 0.4 * (1 - accent.lightnessF()), 0.01);
    EXPECT_NEAR(tinted.fontColor.hslHueF(), accent.hslHueF(), 0.01);

    // Sheet layout.
    EXPECT_EQ(s.columnWidths, (std::map<int, double>{{1, 20.0}, {2, 20.0}}));
    EXPECT_EQ(s.hiddenColumns, std::vector<int>{5});
    EXPECT_DOUBLE_EQ(s.defaultColumnWidth, 10.71);
    EXPECT_DOUBLE_EQ(s.defaultRowHeight, 18.75);
    EXPECT_EQ(s.rowHeights, (std::map<int, double>{{6, 30.0}}));
    EXPECT_EQ(s.hiddenRows, std::vector<int>{6});
    EXPECT_EQ(s.frozenRows, 2);
    EXPECT_EQ(s.frozenColumns, 1);
    EXPECT_EQ(s.zoom, 75);
    EXPECT_TRUE(s.protection.protectedSheet);
    EXPECT_TRUE(s.protection.contents && s.protection.drawingObjects && s.protection.scenarios);
    EXPECT_TRUE(s.protection.allowFormattingRows);
    EXPECT_FALSE(s.protection.allowFormattingColumns);
    EXPECT_EQ(s.protection.enableSelection, 1);

    // The second sheet writes the spreadsheet namespace with a prefix.
    EXPECT_EQ(at(book.sheets[1], 1, 1).value, QVariant(QStringLiteral("plain")));
    EXPECT_FALSE(book.sheets[1].protection.protectedSheet);
}

TEST(XlsxForeign, WhatWasReadSavesAndReadsBackTheSame)
{
    BookData book = readWorkbookFile(testenv::dataPath(QStringLiteral("xl/foreign.xlsx")));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("again.xlsx"));
    writeWorkbookFile(book, path, false);
    // A date in a General cell gains a date format.
    Cell& date = book.sheets[0].cells.at({6, 5});
    CellStyle dated = book.styles[size_t(date.style)];
    dated.numberFormat = QStringLiteral("yyyy/m/d");
    date.style = xlsxtest::addStyle(book, dated);
    xlsxtest::expectSameBook(book, readWorkbookFile(path));
}

// The sample book, opened and saved again by LibreOffice Calc, which stores a plain TRUE or FALSE
// as the formula TRUE() or FALSE() and drops a cell of empty text.
TEST(XlsxForeign, ReadsOurBookAsAnotherSpreadsheetProgramSavedIt)
{
    const BookData book = readWorkbookFile(testenv::dataPath(QStringLiteral("xl/sample_saved_by_calc.xlsx")));
    const BookData sample = xlsxtest::sampleBook();
    ASSERT_EQ(book.sheets.size(), sample.sheets.size());
    for (const auto& [key, cell] : sample.sheets[0].cells) {
        const Cell& got = at(book.sheets[0], key.first, key.second);
        if (cell.value != QVariant(QString())) {
            EXPECT_TRUE(got.value == cell.value && got.formula == cell.formula) << key.first << "," << key.second;
        }
    }
    EXPECT_DOUBLE_EQ(book.sheets[0].defaultColumnWidth, 8.43);
    EXPECT_TRUE(book.sheets[1].protection == sample.sheets[1].protection);
    EXPECT_EQ(book.sheets[2].visible, 0);
    EXPECT_EQ(book.names.size(), sample.names.size());
}
