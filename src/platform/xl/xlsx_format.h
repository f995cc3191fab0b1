#pragma once
// Translations shared by the workbook file reader and writer: number formats, dates, borders,
// alignment, colours, column widths and the escaping of characters XML cannot carry.
#include "book_data.h"

#include <QColor>
#include <QString>
#include <QVariant>
#include <string>
#include <string_view>

namespace xl::xlsx {

// Column letters <-> number ("A" = 1, "XFD" = 16384).
std::string columnLetters(int column);
// Parses "B12" (optionally with $) into row and column; false when it is not a cell reference.
bool parseCellRef(std::string_view ref, int& row, int& column);

// The format code of a built-in number format id, or a null QString for an unknown id.
QString builtinNumberFormat(int id);
// The built-in id for a format code whose meaning does not depend on the locale, else -1.
int builtinNumberFormatId(const QString& code);
// Whether a value under this format is a date or time.
bool isDateFormat(const QString& code);
// Whether this format shows a time of day and no calendar date ("h:mm", "[h]:mm", "mm:ss").
bool isTimeFormat(const QString& code);
// The format that shows a truth value as TRUE or FALSE in every spreadsheet program (some show
// a truth value in a formatted General cell as 1 or 0). Written for truth values in General
// cells; read back as General.
inline const QString kBooleanFormat = QStringLiteral("\"TRUE\";\"TRUE\";\"FALSE\"");

// Date serial numbers as the file keeps them: the days as xl::dateToSerial counts them (serial
// 60 is the 29 February 1900 the format counts), the fraction the time of day.
double dateToSerial(const QVariant& value);
// A date (whole days) or date-time; an invalid QVariant when the serial is out of the date range.
QVariant serialToDate(double serial);

// Border edges: the file's style name for an edge, nullptr for none; and back.
const char* borderStyleName(const BorderEdge& edge);
BorderEdge borderFromStyleName(std::string_view name);

// Alignments: the file's names <-> the spreadsheet's constants (nullptr for the default).
const char* horizontalName(int alignment);
int horizontalFromName(std::string_view name);
const char* verticalName(int alignment);
int verticalFromName(std::string_view name);

// "FFRRGGBB" <-> QColor (alpha ignored on reading).
std::string argbHex(const QColor& color);
QColor colorFromArgb(std::string_view hex);
// The file's legacy indexed colours (0..63); invalid for the system colours 64 and 65.
QColor indexedColor(int index);
// A theme colour lightened or darkened by tint (-1..1), as spreadsheet programs apply it.
QColor applyTint(const QColor& color, double tint);

// Column width: the sheet's ColumnWidth (characters of the default font) <-> the file's width,
// which adds the cell padding. Values with two decimals survive the round trip.
double columnWidthToFile(double characters);
double columnWidthFromFile(double fileWidth);

// Text: characters XML cannot carry are written as _xHHHH_; a literal "_xHHHH_" is protected.
// Also escapes & < > " (and, in an attribute, tab and line ends so they survive).
std::string escapeText(const QString& text, bool attribute = false);
QString unescapeText(const char* utf8);

// The spreadsheet's own names (Print_Area, Print_Titles, ...) carry the prefix "_xlnm." in the
// file and none in the workbook.
QString nameFromFile(const QString& fileName);
QString nameToFile(const QString& name);

// Why the format cannot hold the book (a sheet name it refuses, a repeated sheet or defined name,
// a missing cell format), naming the sheet or name; empty when it can.
QString bookProblem(const BookData& book);

// Shortest decimal form of a double that reads back to the same value.
void appendNumber(std::string& out, double value);
void appendInt(std::string& out, long long value);

}  // namespace xl::xlsx
