#include "platform/text/cp932.h"

#include <gtest/gtest.h>

TEST(LenA, CountsShiftJisBytes)
{
    EXPECT_EQ(LenA(QString()), 0);
    EXPECT_EQ(LenA(QStringLiteral("abc")), 3);
    EXPECT_EQ(LenA(QStringLiteral("日勤")), 4);
    EXPECT_EQ(LenA(QStringLiteral("ｱｲ")), 2);          // half-width katakana
    EXPECT_EQ(LenA(QStringLiteral("山田 花子")), 9);
    EXPECT_EQ(LenA(QStringLiteral("①")), 2);           // NEC special character, in CP932
    EXPECT_EQ(LenA(QString::fromUtf8("\xF0\x9F\x98\x80")), 1);  // not in CP932: counts 1
}

TEST(LenA, PadsByByteWidthAndNeverCuts)
{
    EXPECT_EQ(RSetA(QStringLiteral("日勤"), 6), QStringLiteral("  日勤"));
    EXPECT_EQ(LSetA(QStringLiteral("日勤"), 6), QStringLiteral("日勤  "));
    EXPECT_EQ(LSetA(QStringLiteral("日勤"), 3), QStringLiteral("日勤"));
    EXPECT_EQ(RSetA(QStringLiteral("a"), -1), QString());
}

TEST(Cp932, RoundTripsAndRejectsBadBytes)
{
    const QString s = QStringLiteral("勤務表～①ｱ");
    const QByteArray bytes = text::toCp932(s);
    ASSERT_TRUE(text::fromCp932(bytes).has_value());
    EXPECT_EQ(*text::fromCp932(bytes), s);
    EXPECT_EQ(text::toCp932(QString::fromUtf8("a\xF0\x9F\x98\x80" "b")), QByteArray("a?b"));
    EXPECT_FALSE(text::fromCp932(QByteArray("\x81", 1)).has_value());
    EXPECT_FALSE(text::fromUtf8Strict(QByteArray("\x93\xfa", 2)).has_value());
    EXPECT_EQ(*text::fromUtf8Strict(QByteArray("\xEF\xBB\xBF" "abc")), QStringLiteral("abc"));
}
