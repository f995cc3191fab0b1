#pragma once
// The roster workbook: a new workbook with every sheet and named range the program reads and
// writes, laid out for a ward manager who fills in the conditions by hand.
#include "platform/xl/xl.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace workbook {

// Limits the layout is sized for.
inline constexpr int kMaxTypes = 10;
inline constexpr int kMaxMembers = 50;
inline constexpr int kMaxDays = 31;
inline constexpr int kPatternRows = 11;
inline constexpr int kCombinationRows = 15;      // 組合せ禁止 / 組合せ必須 and their _grp tables
inline constexpr int kCombinationColumns = 199;  // members in columns 4, 9, .. 199
inline constexpr int kBanRecordLimit = 16;       // sheet bans plus group bans the reader holds
inline constexpr int kAllShiftsMask = 1023;

// How a name is reached: 'S' a sheet-level name of its sheet, 'A' a workbook-level name,
// 'B' a sheet-level name used through the workbook's sheet.
enum class NameKind {
    Input,     // typed by a person; saved with the conditions
    Derived,   // kept by the recalculation; never saved
    State,     // written by the program or a macro
    View,      // index cell of a view sheet
};

struct NameEntry {
    QString name;
    QString sheet;
    char way;
    QString address;   // "D5:AH54" on its sheet
    NameKind kind;
};

// Every named range of the template (the same list as template_names.tsv).
const std::vector<NameEntry>& templateNames();
// The sheets in workbook order.
QStringList templateSheets();

// Refuses a workbook whose sheets or named ranges are not the template's: a sheet or name missing,
// a name pointing to another sheet, or to another place or size (another spreadsheet program, or a
// person editing names in one, can leave them so). The formulas, macros and readers take every
// named block at its template size, so Error 1004 names what is wrong before any of them runs.
void checkNames(xl::Workbook& book);

// The cells only the program reads (selection state, Dirty, TimeSum, last month's days, running
// totals, masks and type lists) and the debug sheet: hidden for the ward manager, shown for
// debugging.
void showWorkingCells(xl::Workbook& book, bool shown);

// Adds a new workbook to app with the whole layout, the recalculation, the macros and the event
// handlers attached (attach() of macros.h), calculated once. period sets 年 and 月 of sheet Main
// (default: the month after today). The book is left marked as saved.
xl::Workbook& createTemplate(xl::Application& app, QDate period = {});

}  // namespace workbook
