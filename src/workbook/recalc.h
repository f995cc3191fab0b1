#pragma once
// The workbook's formulas: everything derived from the inputs, recomputed in one pass.
#include "platform/text/vb.h"
#include "platform/xl/xl.h"

#include <QColor>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace workbook {

// Runs every derived value of the template: the period and day headings, the holiday rows,
// the counts, the shift-type copies, the masks, the grid totals, the weekend shading.
void recalculate(xl::Workbook& book);
// Forgets what the last whole recalculation found.
void forgetGridInputs();

// What the formulas and the macros read from the sheets.
struct ShiftTypes {
    int count = 0;                 // Type_Cnt: the last row with a name or an abbreviation
    QStringList names;             // index t - 1, kMaxTypes entries
    QStringList abbreviations;
    std::vector<double> hours;
    std::vector<QColor> colors;    // invalid: no colour
    // 1..count for an abbreviation, 0 for anything else.
    int indexOf(const QString& abbreviation) const;
};
ShiftTypes readShiftTypes(xl::Workbook& book);

// The period from sheet Main: first day .. last day; invalid dates when 年, 月 or 基準開始日
// cannot make one. dayCount() is at most 31.
struct Period {
    QDate first;
    QDate last;
    int dayCount() const;
    QDate day(int d) const { return first.addDays(d - 1); }
};
Period readPeriod(xl::Workbook& book);
// The period of year/month beginning on startDay; month 0 is December of the year before.
Period periodOf(int year, int month, int startDay);

// The fill of day column d of the day grids: Saturday, Sunday or holiday, unused, or none.
QColor dayShade(const Period& period, int d);

// Number of a cell as the sheets' readers take it (Val of its text, Booleans -1/0, dates and
// times their serial).
double cellNumber(const QVariant& v);

// The type of the variable the reading takes a number of the named range's column (from 1) into;
// nothing for a column that holds no number a person types.
std::optional<NumberType> numberCellType(const QString& sheet, const QString& name, int column);

// The heading fills of 人員配置表 and the highlight of the selected grid cell's row and column
// headings (a mark of the window, following 行番号, 列番号 and 行列ハイライト).
void paintSelection(xl::Workbook& book);

}  // namespace workbook
