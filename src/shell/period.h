#pragma once
// The roster's period: from 基準開始日 of a month to the day before 基準開始日 of the next month.
// Months and days roll over as DateSerial does: month 13 is January of the next year, and a start
// day past the end of a short month (29..31) begins the period in the month after.
#include <QDate>

struct 期間 {
    QDate 開始日;
    QDate 終了日;
    // Days from 開始日 to 終了日, both included; 0 for a period that cannot be made.
    int dayCount() const;
    // Day d of the period (1 = 開始日).
    QDate 日付(int d) const { return 開始日.addDays(d - 1); }
};

// The period of year/month that begins on startDay.
期間 periodFor(long year, long month, long startDay);
// The period of 作成年, 作成月 and 基準開始日.
期間 currentPeriod();
