#pragma once
// How the program reaches a named range of the workbook. Each range has one fixed way:
//   activeBookRange: a sheet taken by name from the application's worksheets (the active workbook), then the
//      sheet's range of that name; the name must resolve on that sheet;
//   bookLevelRange: the application's own range by name: a workbook-level name of the active workbook;
//   shiftBookRange: a sheet of xlBook by name (the shift grid, and TimeSum for writing).
#include "platform/xl/xl.h"

#include <QString>
#include <functional>

// A named range that does not resolve the way the program reaches it; the description names
// the range and its sheet.
struct MissingRangeError : xl::Error {
    MissingRangeError(QString sheet_, QString name_);
    QString sheet;  // empty for a workbook-level name
    QString name;
};

xl::Range activeBookRange(const QString& sheetName, const QString& rangeName);
xl::Range bookLevelRange(const QString& rangeName);
xl::Range shiftBookRange(const QString& sheetName, const QString& rangeName);

// Whether the sheet's range of that name resolves and carries a defined name.
bool RangeExist(xl::Worksheet& sheet, const QString& rangeName);
// The named range of the named sheet of xlBook as a Boolean; false on any error.
bool GetRangeBool(const QString& sheetName, const QString& rangeName);
// Runs the workbook's last-month macro when 人員配置表 says to use last month's totals; a missing
// or failing macro is passed over (the month then starts from empty counts). True when it was due.
bool runLastMonthMacro(xl::Application& app, const std::function<void()>& announce);
// Writes the Boolean into the named range of the named sheet of xlBook; errors are ignored.
void SetRangeValue(const QString& sheetName, const QString& rangeName, bool value);
