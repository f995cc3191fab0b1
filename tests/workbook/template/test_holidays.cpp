// Japanese national holidays from the calendar.
#include "workbook/holidays.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(Holidays, KnownDaysOfSeveralYears)
{
    struct Case { int y, m, d; const char16_t* name; };
    const Case cases[] = {
        {2025, 1, 1, u"元日"},
        {2025, 1, 13, u"成人の日"},
        {2025, 2, 24, u"振替休日"},          // 天皇誕生日 on a Sunday
        {2025, 3, 20, u"春分の日"},
        {2025, 5, 6, u"振替休日"},           // こどもの日 on... みどりの日 on a Sunday
        {2025, 7, 21, u"海の日"},
        {2025, 9, 15, u"敬老の日"},
        {2025, 9, 23, u"秋分の日"},
        {2025, 10, 13, u"スポーツの日"},
        {2025, 11, 24, u"振替休日"},
        {2026, 9, 21, u"敬老の日"},
        {2026, 9, 22, u"国民の休日"},
        {2026, 9, 23, u"秋分の日"},
        {2026, 5, 6, u"振替休日"},           // 憲法記念日 on a Sunday, 4th and 5th holidays
        {2020, 7, 24, u"スポーツの日"},      // moved for the games
        {2021, 8, 9, u"振替休日"},           // 山の日 moved to Sunday 8 August
        {2019, 5, 1, u"即位の日"},
        {2019, 4, 30, u"国民の休日"},
        {2018, 12, 24, u"振替休日"},         // 天皇誕生日 of the old date on a Sunday
        {2024, 2, 23, u"天皇誕生日"},
        {2016, 8, 11, u"山の日"},
        {2015, 8, 11, u""},
        {2025, 9, 16, u""},
        {2025, 11, 25, u""},
        {2026, 9, 24, u""},
        {2025, 12, 23, u""},
    };
    for (const Case& c : cases) {
        const QDate d(c.y, c.m, c.d);
        EXPECT_EQ(workbook::holidayName(d), QString::fromUtf16(c.name)) << d.toString(Qt::ISODate).toStdString();
    }
}

TEST(Holidays, EveryYearHasItsSixteenNamedHolidaysAndNoSundayHoliday)
{
    for (int y = 2022; y <= 2035; ++y) {
        int named = 0;
        for (QDate d(y, 1, 1); d.year() == y; d = d.addDays(1)) {
            const QString n = workbook::holidayName(d);
            if (!n.isEmpty() && n != u"振替休日"_s && n != u"国民の休日"_s)
                ++named;
            if (n == u"振替休日"_s) {
                EXPECT_NE(d.dayOfWeek(), 7) << d.toString(Qt::ISODate).toStdString();
            }
        }
        EXPECT_EQ(named, 16) << y;
    }
}

}  // namespace
