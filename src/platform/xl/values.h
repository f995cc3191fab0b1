#pragma once
// Cell values as text and back: the displayed text through a number format, date serial numbers,
// and the conversion of typed text into a typed value.
#include <QDate>
#include <QString>
#include <QVariant>

namespace xl {

// Date serial numbers as the spreadsheet counts them (1900-03-01 = 61; day 0 = 1899-12-30).
double dateToSerial(const QDate& date);
QDate serialToDate(double serial);

// The text a cell shows for value under numberFormat. Understood: "General", "@", number formats
// built from 0 # , . and a trailing % ("0", "0.0", "#,##0", "0%"), and date formats built from
// yyyy yy m mm d dd aaa aaaa h hh s ss with literal separators ("m/d", "yyyy/m/d", "aaa",
// "yyyy/m/d h:mm"; an "m" after an hour is minutes).
// Anything else shows as General.
QString formatValue(const QVariant& value, const QString& numberFormat);

// A value as a cell stores it: numbers become double, empty text and null become empty, dates stay
// dates; text that reads as a number or TRUE/FALSE becomes that value unless `keepText`
// (a cell formatted "@" keeps what was typed). Throws Error 13 for values a cell cannot hold.
QVariant cellValue(const QVariant& value, bool keepText = false);

}  // namespace xl

// A cell value as the program's text, the way its code converts a cell to a string: empty for an
// empty cell, numbers without a trailing ".0" (15 digits), True/False, dates yyyy/mm/dd (with
// hh:mm:ss when timed), text as it stands (not trimmed). The sheet window shows cells through
// formatValue instead.
QString XlText(const QVariant& value);
