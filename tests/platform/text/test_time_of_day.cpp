#include "platform/text/time_of_day.h"

#include <QString>
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A time as a program keeping 15 significant digits stores it.
double fifteenDigits(double fraction)
{
    return QString::number(fraction, 'g', 15).toDouble();
}

}  // namespace

// 8:00 kept to 15 digits lies a hair under 8/24, 7:00 a hair over 7/24; every second of the day
// kept so comes back as its own second and as the very double the exact time has.
TEST(TimeOfDay, FifteenDigitTimesAreTheirWholeSecond)
{
    EXPECT_EQ(text::wholeSeconds(0.333333333333333), 8 * 3600);
    EXPECT_EQ(text::wholeSeconds(0.291666666666667), 7 * 3600);
    EXPECT_TRUE(sameBits(text::onWholeSecond(0.333333333333333), 8.0 / 24));
    EXPECT_TRUE(sameBits(text::onWholeSecond(0.291666666666667), 7.0 / 24));
    for (int s = 0; s <= 86400; ++s) {
        const double exact = s / 86400.0;
        const double kept = fifteenDigits(exact);
        ASSERT_EQ(text::wholeSeconds(kept), s) << s;
        ASSERT_TRUE(text::isWholeSecond(kept)) << s;
        ASSERT_TRUE(sameBits(text::onWholeSecond(kept), exact)) << s;
        ASSERT_TRUE(text::isWholeSecond(exact + 1)) << s;   // the same time a day later
    }
}

// A time already on its second is left to the last bit, however it came: as seconds, hours,
// minutes or the milliseconds of a time read from a cell.
TEST(TimeOfDay, ExactTimesAreLeftToTheLastBit)
{
    for (int s = 0; s <= 2 * 86400; ++s) {
        const double t = s / 86400.0;
        ASSERT_TRUE(sameBits(text::onWholeSecond(t), t)) << s;
        ASSERT_TRUE(sameBits(text::onWholeSecond(s * 1000 / 86400000.0), t)) << s;
        if (s % 60 == 0) {
            ASSERT_TRUE(sameBits(text::onWholeSecond(s / 60 / 1440.0), t)) << s;
        }
        if (s % 3600 == 0) {
            ASSERT_TRUE(sameBits(text::onWholeSecond(s / 3600 / 24.0), t)) << s;
        }
    }
}

// Anything finer than a second is not a whole second; rounding still takes it to the nearest one.
TEST(TimeOfDay, FractionsOfASecondAreNotWholeSeconds)
{
    EXPECT_FALSE(text::isWholeSecond(0.3334));   // 8:00:05.76
    EXPECT_EQ(text::wholeSeconds(0.3334), 28806);
    EXPECT_FALSE(text::isWholeSecond((28800 + 0.001) / 86400));
    EXPECT_FALSE(text::isWholeSecond((28800 + 1e-6) / 86400));
    EXPECT_EQ(text::wholeSeconds(-0.5), -43200);
    EXPECT_FALSE(text::isWholeSecond(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(text::isWholeSecond(std::numeric_limits<double>::infinity()));
    EXPECT_EQ(text::wholeSeconds(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(text::wholeSeconds(1e300), std::numeric_limits<qint64>::max());
    EXPECT_TRUE(std::isinf(text::onWholeSecond(-std::numeric_limits<double>::infinity())));
}
