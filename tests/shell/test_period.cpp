#include "shell/period.h"

#include <gtest/gtest.h>

namespace {

struct PeriodCase {
    int year, month, startDay;
    QDate first, last;
    int days;
};

// Each period ends the day before the next one begins, also where a start day past the end of a
// short month rolls into the month after and where December rolls into the next year.
TEST(Period, FollowsTheStartDayThroughShortMonthsAndTheYearEnd)
{
    const PeriodCase cases[] = {
        {2024, 2, 1, {2024, 2, 1}, {2024, 2, 29}, 29},
        {2023, 2, 1, {2023, 2, 1}, {2023, 2, 28}, 28},
        {2024, 3, 21, {2024, 3, 21}, {2024, 4, 20}, 31},
        {2024, 1, 29, {2024, 1, 29}, {2024, 2, 28}, 31},
        {2023, 2, 29, {2023, 3, 1}, {2023, 3, 28}, 28},
        {2024, 2, 31, {2024, 3, 2}, {2024, 3, 30}, 29},
        {2024, 3, 31, {2024, 3, 31}, {2024, 4, 30}, 31},
        {2024, 12, 1, {2024, 12, 1}, {2024, 12, 31}, 31},
        {2024, 12, 21, {2024, 12, 21}, {2025, 1, 20}, 31},
    };
    for (const PeriodCase& c : cases) {
        const 期間 p = periodFor(c.year, c.month, c.startDay);
        const 期間 next = periodFor(c.year, c.month + 1, c.startDay);
        SCOPED_TRACE(QStringLiteral("%1/%2 from %3").arg(c.year).arg(c.month).arg(c.startDay).toStdString());
        EXPECT_EQ(p.開始日, c.first);
        EXPECT_EQ(p.終了日, c.last);
        EXPECT_EQ(p.dayCount(), c.days);
        EXPECT_EQ(p.日付(p.dayCount()), p.終了日);
        EXPECT_EQ(next.開始日, p.終了日.addDays(1));
    }
}

}  // namespace
