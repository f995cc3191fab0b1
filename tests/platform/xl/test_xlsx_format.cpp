#include "platform/xl/xlsx_format.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace xl;
using namespace xl::xlsx;

TEST(XlsxFormat, WhichNumberFormatsShowDates)
{
    struct Case {
        const char* code;
        bool date;
    };
    const Case cases[] = {
        {"General", false},     {"0", false},          {"0.0", false},        {"0%", false},
        {"#,##0;[Red]-#,##0", false},                  {"0.00E+00", false},   {"@", false},
        {"0\"日\"", false},     {"0\\h", false},       {"_(0_)", false},      {"[$¥-411]#,##0", false},
        {"m/d", true},          {"yyyy/m/d", true},    {"aaa", true},         {"h:mm", true},
        {"[h]:mm", true},       {"[$-411]ggge\"年\"m\"月\"d\"日\"", true},    {"yyyy\"年\"m\"月\"", true},
        {"[Red]m/d", true},     {"0;m/d", false},      {"\"day \"d", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isDateFormat(QString::fromUtf8(c.code)), c.date) << c.code;
    // A time of day alone: its "m" is minutes; with a day, a month or a weekday it is a date.
    const Case times[] = {
        {"h:mm", true},   {"[h]:mm", true},  {"mm:ss", true},     {"h:mm AM/PM", true}, {"[$-411]h\"時\"mm\"分\"", true},
        {"m/d", false},   {"yyyy/m/d h:mm", false},  {"d h:mm", false}, {"aaa h:mm", false}, {"General", false},
        {"0.00E+00", false},
    };
    for (const Case& c : times)
        EXPECT_EQ(isTimeFormat(QString::fromUtf8(c.code)), c.date) << c.code;
}

TEST(XlsxFormat, SerialsAndDates)
{
    EXPECT_EQ(dateToSerial(QDate(1900, 3, 1)), 61.0);
    EXPECT_EQ(dateToSerial(QDate(2024, 1, 1)), 45292.0);
    EXPECT_EQ(dateToSerial(QDateTime(QDate(2024, 1, 1), QTime(18, 0))), 45292.75);
    EXPECT_EQ(serialToDate(45292), QVariant(QDate(2024, 1, 1)));
    EXPECT_EQ(serialToDate(45292.75), QVariant(QDateTime(QDate(2024, 1, 1), QTime(18, 0))));
    // A time a hair before midnight, as stored by other programs, rounds to the next day.
    EXPECT_EQ(serialToDate(45292.9999999999), QVariant(QDate(2024, 1, 2)));
    EXPECT_FALSE(serialToDate(-1).isValid());
    EXPECT_FALSE(serialToDate(1e9).isValid());
}

// The file counts a 29 February 1900 (serial 60) that the calendar has not: January and February
// 1900 are one day lower than a plain day count, and the cells count the same way.
TEST(XlsxFormat, SerialsAroundTheFileFebruary1900)
{
    EXPECT_EQ(dateToSerial(QDate(1900, 1, 1)), 1.0);
    EXPECT_EQ(dateToSerial(QDate(1900, 2, 28)), 59.0);
    EXPECT_EQ(dateToSerial(QDate(1900, 3, 1)), 61.0);
    EXPECT_EQ(dateToSerial(QDateTime(QDate(1900, 1, 1), QTime(12, 0))), 1.5);
    EXPECT_EQ(serialToDate(1), QVariant(QDate(1900, 1, 1)));
    EXPECT_EQ(serialToDate(59), QVariant(QDate(1900, 2, 28)));
    EXPECT_EQ(serialToDate(60), QVariant(QDate(1900, 3, 1)));   // the day that never was
    EXPECT_EQ(serialToDate(61), QVariant(QDate(1900, 3, 1)));
    EXPECT_EQ(serialToDate(1.5), QVariant(QDateTime(QDate(1900, 1, 1), QTime(12, 0))));
    EXPECT_EQ(serialToDate(0.25), QVariant(QDateTime(QDate(1899, 12, 30), QTime(6, 0))));
    double before = 0;
    for (QDate d(1900, 1, 1); d <= QDate(1900, 3, 31); d = d.addDays(1)) {
        const double serial = dateToSerial(d);
        EXPECT_EQ(serial - before, d == QDate(1900, 3, 1) ? 2.0 : 1.0) << d.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(serialToDate(serial), QVariant(d)) << d.toString(Qt::ISODate).toStdString();
        before = serial;
    }
}

TEST(XlsxFormat, ColumnWidthsSurviveTheFileUnit)
{
    EXPECT_EQ(columnWidthToFile(8.43), 9.140625);
    EXPECT_EQ(columnWidthFromFile(9.140625), 8.43);
    EXPECT_EQ(columnWidthToFile(0), 0.0);
    EXPECT_EQ(columnWidthFromFile(0), 0.0);
    for (int hundredths = 1; hundredths <= 25500; hundredths += 7) {
        const double w = hundredths / 100.0;
        ASSERT_EQ(columnWidthFromFile(columnWidthToFile(w)), w) << w;
    }
}

TEST(XlsxFormat, TextEscapesRoundTrip)
{
    const QString cases[] = {
        QStringLiteral("plain"),
        QStringLiteral("<&>\"'"),
        QStringLiteral("_x0041_"),
        QStringLiteral("a\x01" "b\x1f" "c"),
        QStringLiteral("勤務表"),
        QString(QChar(0xFFFE)) + QChar(0xFFFF),
    };
    for (const QString& s : cases) {
        const std::string e = escapeText(s);
        // What the XML parser hands back: entities and character references resolved.
        QString parsed = QString::fromStdString(e);
        parsed.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
            .replace(QStringLiteral("&#13;"), QStringLiteral("\r"))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        for (QChar ch : parsed)
            EXPECT_TRUE(ch >= QChar(0x20) || ch == QLatin1Char('\t') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r'));
        EXPECT_EQ(unescapeText(parsed.toUtf8().constData()), s) << e;
    }
}
