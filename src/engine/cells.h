#pragma once
// Cell values as the condition readers convert them, a checked view of a range's values, and
// the stop of a reading with its message.
#include "platform/text/vb.h"
#include "platform/xl/xl.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace cell_reading {

// Ends a reading: the message box's title and text.
struct ReadStop {
    QString title;
    QString text;
    static ReadStop input(const QString& text) { return {QStringLiteral("入力エラー"), text}; }
    static ReadStop data(const QString& text) { return {QStringLiteral("データエラー"), text}; }
};

// Where a cell lies, for messages: シート「基本設定」のセルC5 (the cell i, j of the range).
QString cellPlace(const xl::Range& range, int i = 1, int j = 1);
// v as a variable of the type takes it (Integer and Long round halves to the even neighbour); a
// value the variable cannot hold stops the reading with an input error naming the cell.
int integerAt(double v, const QString& place);
qint32 longAt(double v, const QString& place);
float singleAt(double v, const QString& place);
// The number a cell holds: empty 0, True -1, a text its leading number (Val).
double asNumber(const QVariant& v);
// Val of the cell's text.
double textVal(const QVariant& v);
bool isEmptyCell(const QVariant& v);
// Empty cells, numbers, Booleans and texts that read whole as a number.
bool isNumericCell(const QVariant& v);
// "cell = False / True" as the comparison of a cell with a Boolean: an empty cell is False;
// a text other than True/False raises error 13.
bool equalsBool(const QVariant& v, bool b);
// "cell = n": an empty cell is 0.
bool equalsNumber(const QVariant& v, double n);
// The value of a range found by GetRangeObj, or the empty text when none was found.
QVariant rangeValue(const std::optional<xl::Range>& range);

// The values of a range read in one transfer, indexed from 1 like the range's cells. A cell
// beyond the range stops the reading with a data error naming the range, instead of reading
// memory that is not there.
class Grid {
public:
    Grid(const xl::Range& range, QString sheet, QString name);
    const QVariant& operator()(int row, int column) const;
    int rows() const { return block_.rows(); }
    int columns() const { return block_.columns(); }
    // cellPlace of the cell row, column.
    QString place(int row, int column) const;

private:
    xl::Range range_;
    xl::Block block_;
    QString sheet_;
    QString name_;
};

}  // namespace cell_reading
