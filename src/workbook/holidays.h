#pragma once
// Japanese national holidays from the calendar: the fixed and Monday holidays, the equinoxes,
// substitute holidays and citizens' holidays, as the holiday law has them from 2000 on (with the
// moved holidays of 2019 to 2021).
#include <QDate>
#include <QString>

namespace workbook {

// The holiday's name, "振替休日", "国民の休日", or an empty text for any other day.
QString holidayName(const QDate& date);

}  // namespace workbook
