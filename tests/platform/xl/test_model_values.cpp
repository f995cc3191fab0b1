// Values, blocks and displayed text of the spreadsheet model.
#include "model_fixture.h"

#include <QDate>

namespace {

using Values = BookTest;

TEST(Text, NumberAndDateFormats)
{
    const QDate d(2024, 4, 7);   // a Sunday
    struct Case {
        QVariant value;
        const char* format;
        const char* text;
    } cases[] = {
        {QVariant(), "General", ""},
        {12.0, "General", "12"},
        {-0.5, "General", "-0.5"},
        {1.0 / 3, "General", "0.333333333"},
        {123456789012.0, "General", "1.23457E+11"},
        {true, "General", "TRUE"},
        {QStringLiteral("休"), "0.0", "休"},
        {2.5, "0", "3"},
        {-2.5, "0", "-3"},
        {7.25, "0.0", "7.3"},
        {0.125, "0%", "13%"},
        {1234567.0, "#,##0", "1,234,567"},
        {QVariant(d), "General", "2024/4/7"},
        {QVariant(d), "m/d", "4/7"},
        {QVariant(d), "yyyy/m/d", "2024/4/7"},
        {QVariant(d), "aaa", "日"},
        {QVariant(d), "aaaa", "日曜日"},
        {QVariant(d), "mm/dd(aaa)", "04/07(日)"},
        {45389.0, "m/d", "4/7"},                  // the serial number of the same day
        {QVariant(d), "\"Day \"d", "Day 7"},
        {QVariant(d), "[$-411]m\"月\"d\"日\"", "4月7日"},
        {QVariant(QDateTime(d, QTime(9, 5))), "General", "2024/4/7 9:05"},
        {QVariant(QDateTime(d, QTime(9, 5, 7))), "yyyy/m/d hh:mm:ss", "2024/4/7 09:05:07"},
        {45389.75, "h:mm", "18:00"},
        {0.35416666, "h:mm", "8:30"},                                   // rounds to the second first
        {QVariant(QDateTime(QDate(1899, 12, 30), QTime(8, 30))), "h:mm", "8:30"},  // a time read from a file
        {0.99999999, "h:mm", "0:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(xl::formatValue(c.value, QString::fromUtf8(c.format)), QString::fromUtf8(c.text)) << c.format;
    EXPECT_EQ(xl::dateToSerial(d), 45389.0);
    EXPECT_EQ(xl::dateToSerial(QDate(1900, 1, 1)), 1.0);
    EXPECT_EQ(xl::serialToDate(1.0), QDate(1900, 1, 1));
    EXPECT_EQ(xl::serialToDate(61.0), QDate(1900, 3, 1));
    EXPECT_EQ(xl::dateToSerial(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(xl::serialToDate(0.0), QDate(1899, 12, 30));
}

// The program's own conversion, unlike the displayed text: True/False, dates yyyy/mm/dd, text
// untouched.
TEST(Text, CellValueAsTheProgramsText)
{
    EXPECT_EQ(XlText(QVariant(3.0)), QStringLiteral("3"));
    EXPECT_EQ(XlText(QVariant(0.25)), QStringLiteral("0.25"));
    EXPECT_EQ(XlText(QVariant(123456789012.0)), QStringLiteral("123456789012"));
    EXPECT_EQ(XlText(QVariant(true)), QStringLiteral("True"));
    EXPECT_EQ(XlText(QVariant(false)), QStringLiteral("False"));
    EXPECT_EQ(XlText(QVariant()), QString());
    EXPECT_EQ(XlText(QVariant(QDate(2024, 2, 5))), QStringLiteral("2024/02/05"));
    EXPECT_EQ(XlText(QVariant(QDateTime(QDate(2024, 2, 5), QTime(9, 5, 7)))), QStringLiteral("2024/02/05 09:05:07"));
    EXPECT_EQ(XlText(QVariant(QStringLiteral(" 日 "))), QStringLiteral(" 日 "));
}

TEST(Text, TypedEntriesBecomeValues)
{
    struct Case {
        QVariant in;
        QVariant out;
    } cases[] = {
        {QStringLiteral("12"), 12.0},
        {QStringLiteral(" -3.5 "), -3.5},
        {QStringLiteral("true"), true},
        {QStringLiteral("FALSE"), false},
        {QStringLiteral("2024/4/7"), QDate(2024, 4, 7)},
        {QStringLiteral("2024/2/30"), QStringLiteral("2024/2/30")},
        {QStringLiteral("'007"), QStringLiteral("007")},
        {QStringLiteral("日勤"), QStringLiteral("日勤")},
        {QStringLiteral("1-2"), QStringLiteral("1-2")},
        {QStringLiteral(""), QVariant()},
        {5, 5.0},
        {qint64(7), 7.0},
    };
    for (const Case& c : cases) {
        const QVariant v = xl::cellValue(c.in);
        EXPECT_EQ(v, c.out) << c.in.toString().toStdString();
        EXPECT_EQ(v.typeId(), c.out.typeId()) << c.in.toString().toStdString();
    }
    EXPECT_EQ(xl::cellValue(QStringLiteral("12"), true), QVariant(QStringLiteral("12")));
    EXPECT_EQ(errorNumber([] { xl::cellValue(QVariant::fromValue(QSize(1, 1))); }), 13);
}

TEST_F(Values, ScalarsAndTextThroughTheCellFormat)
{
    at("B2").setValue(0.75);
    at("B2").setNumberFormat(QStringLiteral("0%"));
    EXPECT_EQ(at("B2").value(), QVariant(0.75));
    EXPECT_EQ(at("B2").text(), QStringLiteral("75%"));
    at("C3").setNumberFormat(QStringLiteral("@"));
    at("C3").setValue(QStringLiteral("0012"));
    EXPECT_EQ(at("C3").value(), QVariant(QStringLiteral("0012")));
    at("C4").setValue(QStringLiteral("0012"));
    EXPECT_EQ(at("C4").value(), QVariant(12.0));
    at("C4").setValue(QStringLiteral(""));
    EXPECT_FALSE(at("C4").value().isValid());
    // A date takes a date format in a General cell and keeps an explicit one.
    at("D1").setValue(QDate(2024, 4, 7));
    EXPECT_EQ(at("D1").numberFormat(), QStringLiteral("yyyy/m/d"));
    at("D2").setNumberFormat(QStringLiteral("m/d"));
    at("D2").setValue(QStringLiteral("2024/4/7"));
    EXPECT_EQ(at("D2").value(), QVariant(QDate(2024, 4, 7)));
    EXPECT_EQ(at("D2").text(), QStringLiteral("4/7"));
    // A scalar fills every cell of a block.
    at("E1:F2").setValue(QStringLiteral("x"));
    EXPECT_EQ(at("F2").value(), QVariant(QStringLiteral("x")));
}

TEST_F(Values, BlocksAreReadAndWrittenInOneCall)
{
    xl::Block b(3, 2);
    b(1, 1) = QStringLiteral("日");
    b(2, 2) = 8;
    b(3, 1) = true;
    at("D5:E7").setValue(QVariant::fromValue(b));
    const QVariant back = at("D5:E7").value();
    ASSERT_EQ(back.typeId(), qMetaTypeId<xl::Block>());
    const xl::Block got = back.value<xl::Block>();
    EXPECT_EQ(got.rows(), 3);
    EXPECT_EQ(got(1, 1), QVariant(QStringLiteral("日")));
    EXPECT_EQ(got(2, 2), QVariant(8.0));
    EXPECT_EQ(got(3, 1), QVariant(true));
    EXPECT_FALSE(got(1, 2).isValid());
    EXPECT_EQ(ws.data().cells.size(), 3u);   // empty cells are not stored

    // A one-column block repeats across a wider range; cells beyond a smaller block get #N/A.
    xl::Block column(2, 1);
    column(1, 1) = 1;
    column(2, 1) = 2;
    at("H1:I3").setBlock(column);
    EXPECT_EQ(at("I2").value(), QVariant(2.0));
    EXPECT_EQ(at("H3").value(), QVariant(QStringLiteral("#N/A")));
    // A list is one row.
    at("A10:C10").setValue(QVariantList{1, QStringLiteral("a"), QVariant()});
    EXPECT_EQ(at("B10").value(), QVariant(QStringLiteral("a")));

    // A value no cell can hold changes nothing.
    xl::Block bad(1, 2);
    bad(1, 1) = QStringLiteral("kept?");
    bad(1, 2) = QVariant::fromValue(QSize(1, 1));
    EXPECT_THROW(at("A20:B20").setBlock(bad), xl::Error);
    EXPECT_FALSE(at("A20").value().isValid());

    // Whole columns are no value block, but an empty value clears them.
    EXPECT_THROW(ws.range(QStringLiteral("B:C")).value(), xl::Error);
    EXPECT_THROW(ws.range(QStringLiteral("B:C")).setValue(1), xl::Error);
    ws.range(QStringLiteral("A:E")).setValue(QVariant());
    EXPECT_FALSE(at("B10").value().isValid());
}

TEST_F(Values, ClearCopyPasteReplace)
{
    at("B2").setValue(QStringLiteral("休"));
    at("C2").setValue(QStringLiteral("休出"));
    at("D2").setValue(QStringLiteral("日"));
    at("B2:D2").interior().setColorIndex(6);
    EXPECT_TRUE(at("B2:D2").replace(QStringLiteral("休"), QString()));
    EXPECT_FALSE(at("B2").value().isValid());
    EXPECT_EQ(at("C2").value(), QVariant(QStringLiteral("休出")));   // whole-cell match only
    EXPECT_EQ(at("B2").interior().colorIndex(), 6);
    // An empty search text fills the empty cells only.
    EXPECT_TRUE(at("B2:D2").replace(QString(), QStringLiteral("休")));
    EXPECT_EQ(at("B2").value(), QVariant(QStringLiteral("休")));
    EXPECT_EQ(at("D2").value(), QVariant(QStringLiteral("日")));

    at("B2").setValue(3);
    at("B2:D2").copy();
    EXPECT_EQ(app.cutCopyMode(), 1);
    EXPECT_EQ(app.copiedText(), QStringLiteral("3\t休出\t日\r\n"));
    at("F5").pasteSpecial(xl::kPasteAll);
    EXPECT_EQ(at("H5").value(), QVariant(QStringLiteral("日")));
    EXPECT_EQ(at("G5").interior().colorIndex(), 6);
    app.setCutCopyMode(0);
    EXPECT_THROW(at("F6").pasteSpecial(), xl::Error);

    at("A8").pasteText(QStringLiteral("1\t日\r\n2\t\r\n"));
    EXPECT_EQ(at("A8").value(), QVariant(1.0));
    EXPECT_EQ(at("B8").value(), QVariant(QStringLiteral("日")));
    EXPECT_EQ(at("A9").value(), QVariant(2.0));

    at("B2:H9").clearContents();
    EXPECT_FALSE(at("G5").value().isValid());
    EXPECT_EQ(at("G5").interior().colorIndex(), 6);   // formats stay
    // Whole columns are cleared without visiting every row.
    at("Z100000").setValue(1);
    ws.range(QStringLiteral("Y:AA")).clearContents();
    EXPECT_FALSE(at("Z100000").value().isValid());
}

// Some cells of a range in one call: each as setValue writes it, the others left alone, nothing
// written when one lies outside the range or holds what no cell can.
TEST_F(Values, ScatteredCellsAreWrittenAsSingleValues)
{
    at("B2:D4").setValue(QStringLiteral("o"));
    at("C3").setNumberFormat(QStringLiteral("@"));
    at("B2:D4").setCells({{1, 1, QStringLiteral("12")}, {2, 2, QStringLiteral("12")}, {3, 3, QVariant()}});
    EXPECT_EQ(at("B2").value(), QVariant(12.0));
    EXPECT_EQ(at("C3").value(), QVariant(QStringLiteral("12")));   // a text cell keeps the text
    EXPECT_FALSE(at("D4").value().isValid());
    EXPECT_EQ(at("C2").value(), QVariant(QStringLiteral("o")));
    EXPECT_FALSE(book.saved());
    for (const xl::CellValue& bad : {xl::CellValue{4, 1, 1}, xl::CellValue{1, 1, QVariant::fromValue(QSize(1, 1))}}) {
        EXPECT_THROW(at("B2:D4").setCells({{1, 2, QStringLiteral("new")}, bad}), xl::Error);
        EXPECT_EQ(at("C2").value(), QVariant(QStringLiteral("o")));
    }
}

TEST_F(Values, UsedRangeAndTextBlock)
{
    at("C3").setValue(1);
    at("E6").setValue(QStringLiteral("a"));
    EXPECT_EQ(ws.usedRange().address(), QStringLiteral("$C$3:$E$6"));
    EXPECT_EQ(at("C3:D4").textBlock(), QStringLiteral("1\t\r\n\t\r\n"));
}

}  // namespace
