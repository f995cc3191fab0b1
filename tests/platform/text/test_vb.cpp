#include "platform/os/vb_error.h"
#include "platform/text/vb.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <set>

TEST(Val, ReadsTheLeadingNumberAsVbDoes)
{
    const struct { const char* in; double out; } cases[] = {
        {"", 0}, {"abc", 0}, {"12abc", 12}, {" 1 2 3", 123}, {"-3.5", -3.5}, {".5", 0.5},
        {"1.2.3", 1.2}, {"2e3", 2000}, {"1.5D2", 150}, {"4e", 4}, {"&HFF", 255}, {"&hFFFF", -1},
        {"&O17", 15}, {"+7", 7}, {"-", 0}, {"8時間", 8}, {"0", 0}, {"007", 7}, {"123456789012345", 123456789012345.0},
        {"1234567890123456", 1234567890123456.0}, {"12 ", 12}, {"١٢", 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(Val(QString::fromUtf8(c.in)), c.out) << c.in;
}

// Plain decimals take a shorter way; a trailing space sends the same number the general way, and
// both must give the same double to the last bit.
TEST(Val, PlainDecimalsReadAsTheGeneralWayReadsThem)
{
    std::mt19937_64 random(11);
    for (int n = 0; n < 20000; ++n) {
        const int digits = int(random() % 15) + 1;
        QString s = random() % 2 ? QStringLiteral("-") : QString();
        const int dot = int(random() % (digits + 1));
        for (int i = 0; i < digits; ++i) {
            if (i == dot)
                s += QLatin1Char('.');
            s += QChar(u'0' + int(random() % 10));
        }
        const double fast = Val(s), general = Val(s + QLatin1Char(' '));
        EXPECT_EQ(std::memcmp(&fast, &general, sizeof fast), 0) << qPrintable(s);
    }
}

TEST(Int, FloorsTowardsMinusInfinity)
{
    EXPECT_EQ(Int(1.5), 1);
    EXPECT_EQ(Int(-1.5), -2);
    EXPECT_EQ(Int(-2.0), -2);
}

// An assignment to a typed variable: halves to the even neighbour, and error 6 exactly where the
// rounded value leaves the type's range (a Single's being the largest finite float).
TEST(NumberTypes, AssignmentsRoundAndOverflowAtTheTypesEdge)
{
    const double singleMax = double(std::numeric_limits<float>::max());
    struct Case {
        NumberType type;
        double value;
        bool fits;
    } cases[] = {
        {NumberType::Integer, 32767.0, true},      {NumberType::Integer, 32767.5, false},
        {NumberType::Integer, 32767.4, true},      {NumberType::Integer, -32768.5, true},
        {NumberType::Integer, -32768.6, false},    {NumberType::Integer, 1e39, false},
        {NumberType::Long, 2147483647.0, true},    {NumberType::Long, 2147483647.5, false},
        {NumberType::Long, -2147483648.5, true},   {NumberType::Long, -2147483649.0, false},
        {NumberType::Single, singleMax, true},     {NumberType::Single, -singleMax, true},
        {NumberType::Single, 3.4028e38, true},     {NumberType::Single, 3.40283e38, false},
        {NumberType::Single, -1e308, false},       {NumberType::Integer, std::nan(""), false},
        {NumberType::Single, std::nan(""), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << typeName(c.type).toStdString() << ' ' << c.value);
        EXPECT_EQ(fitsIn(c.type, c.value), c.fits);
        const auto assign = [&c] {
            switch (c.type) {
            case NumberType::Integer: return double(toInteger(c.value));
            case NumberType::Long: return double(toLong(c.value));
            case NumberType::Single: break;
            }
            return double(toSingle(c.value));
        };
        if (c.fits) {
            EXPECT_NO_THROW(assign());
        } else {
            try {
                assign();
                ADD_FAILURE() << "no overflow";
            } catch (const VbError& e) {
                EXPECT_EQ(e.number, 6);
            }
        }
    }
    EXPECT_EQ(toInteger(2.5), 2);
    EXPECT_EQ(toInteger(3.5), 4);
    EXPECT_EQ(toLong(-2.5), -2);
}

TEST(DateSerial, RollsMonthsAndDaysOver)
{
    EXPECT_EQ(DateSerial(2024, 13, 1), QDate(2025, 1, 1));
    EXPECT_EQ(DateSerial(2024, 3, 0), QDate(2024, 2, 29));
    EXPECT_EQ(DateSerial(2023, 3, 0), QDate(2023, 2, 28));
    EXPECT_EQ(DateSerial(2024, 0, 15), QDate(2023, 12, 15));
    EXPECT_EQ(DateSerial(2024, -11, 1), QDate(2023, 1, 1));
    EXPECT_EQ(DateSerial(2024, 1, 32), QDate(2024, 2, 1));
    EXPECT_EQ(DateSerial(2024, 12 + 1, 21 - 1), QDate(2025, 1, 20));
}

TEST(Format, DatesAndTimes)
{
    const QDateTime t(QDate(2026, 3, 7), QTime(9, 5, 4));
    EXPECT_EQ(Format(t, QStringLiteral("yyyy/mm/dd hh:nn:ss")), QStringLiteral("2026/03/07 09:05:04"));
    EXPECT_EQ(Format(t, QStringLiteral("hh:mm:ss")), QStringLiteral("09:05:04"));
    EXPECT_EQ(Format(t, QStringLiteral("nn:ss")), QStringLiteral("05:04"));
    EXPECT_EQ(Format(t.date(), QStringLiteral("m/d")), QStringLiteral("3/7"));
    EXPECT_EQ(Format(t.date(), QStringLiteral("m月d日")), QStringLiteral("3月7日"));
    EXPECT_EQ(Format(t.date(), QStringLiteral("aaa")), QStringLiteral("土"));
    EXPECT_EQ(Format(QDate(2026, 3, 8), QStringLiteral("aaaa")), QStringLiteral("日曜日"));
}

TEST(Format, NumbersAndTexts)
{
    EXPECT_EQ(Format(2.5, QStringLiteral("0")), QStringLiteral("3"));
    EXPECT_EQ(Format(-2.5, QStringLiteral("0")), QStringLiteral("-3"));
    EXPECT_EQ(Format(12.34, QStringLiteral("0.0")), QStringLiteral("12.3"));
    EXPECT_EQ(Format(1.2345, QStringLiteral("0.000")), QStringLiteral("1.235"));
    EXPECT_EQ(Format(2.0, QStringLiteral("0.0###")), QStringLiteral("2.0"));
    EXPECT_EQ(Format(2.12346, QStringLiteral("0.0###")), QStringLiteral("2.1235"));
    EXPECT_EQ(Format(2.1200, QStringLiteral("0.0###")), QStringLiteral("2.12"));
    EXPECT_EQ(Format(0.975, QStringLiteral("0%")), QStringLiteral("98%"));
    EXPECT_EQ(Format(1.0, QStringLiteral("0%")), QStringLiteral("100%"));
    EXPECT_EQ(Format(0.4, QStringLiteral("#")), QString());
    EXPECT_EQ(Format(1234567.0, QStringLiteral("#,##0")), QStringLiteral("1,234,567"));
    EXPECT_EQ(Format(999.0, QStringLiteral("#,##0")), QStringLiteral("999"));
    EXPECT_EQ(Format(QStringLiteral("12"), QStringLiteral("@@@@@")), QStringLiteral("   12"));
    EXPECT_EQ(Format(QStringLiteral("123456"), QStringLiteral("@@@@@")), QStringLiteral("123456"));
}

TEST(Rnd, SeededSequencesRepeatAndRandomizeDoesNotReset)
{
    Randomize(42);
    const double a = Rnd(), b = Rnd();
    Randomize(42);
    EXPECT_EQ(Rnd(), a);
    EXPECT_EQ(Rnd(), b);
    // Randomize in a tight loop must still give different numbers each time.
    std::set<double> seen;
    for (int i = 0; i < 100; ++i) {
        Randomize();
        const double r = Rnd();
        EXPECT_GE(r, 0.0);
        EXPECT_LT(r, 1.0);
        seen.insert(r);
    }
    EXPECT_EQ(seen.size(), 100u);
}
