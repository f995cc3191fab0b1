#include "engine/cells.h"

#include "platform/text/vb.h"
#include "shell/excel_layer.h"

#include <cmath>

namespace cell_reading {

QString cellPlace(const xl::Range& range, int i, int j)
{
    return QStringLiteral("シート「%1」のセル%2%3")
        .arg(range.worksheet().name(), xl::columnLetters(range.column() + j - 1))
        .arg(range.row() + i - 1);
}

namespace {

void requireFit(NumberType type, double v, const QString& place)
{
    if (!fitsIn(type, v))
        throw ReadStop::input(QStringLiteral("%1の値(%2)が扱える範囲（%3）を超えています！")
                                  .arg(place, QString::number(v, 'g', 15), typeRange(type)));
}

}  // namespace

int integerAt(double v, const QString& place)
{
    requireFit(NumberType::Integer, v, place);
    return toInteger(v);
}

qint32 longAt(double v, const QString& place)
{
    requireFit(NumberType::Long, v, place);
    return toLong(v);
}

float singleAt(double v, const QString& place)
{
    requireFit(NumberType::Single, v, place);
    return toSingle(v);
}

double asNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType: return 0;
    case QMetaType::Bool: return v.toBool() ? -1 : 0;
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong: return v.toDouble();
    default: return Val(XlText(v));
    }
}

double textVal(const QVariant& v)
{
    return Val(XlText(v));
}

bool isEmptyCell(const QVariant& v)
{
    return !v.isValid() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

bool isNumericCell(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Bool:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong: return true;
    case QMetaType::QString: {
        bool ok = false;
        v.toString().trimmed().toDouble(&ok);
        return ok;
    }
    default: return false;
    }
}

bool equalsBool(const QVariant& v, bool b)
{
    if (!v.isValid())
        return !b;
    return cellAsBool(v) == b;
}

bool equalsNumber(const QVariant& v, double n)
{
    return asNumber(v) == n;
}

QVariant rangeValue(const std::optional<xl::Range>& range)
{
    return range ? range->value() : QVariant(QString());
}

Grid::Grid(const xl::Range& range, QString sheet, QString name)
    : range_(range), block_(range.block()), sheet_(std::move(sheet)), name_(std::move(name))
{
}

const QVariant& Grid::operator()(int row, int column) const
{
    if (row < 1 || column < 1 || row > block_.rows() || column > block_.columns()) {
        const QString where = sheet_.isEmpty() ? QStringLiteral("名前「%1」").arg(name_)
                                               : QStringLiteral("シート「%1」の範囲「%2」").arg(sheet_, name_);
        throw ReadStop::data(where + QStringLiteral("に%1行%2列目のセルがありません！（%3行×%4列）")
                                 .arg(row)
                                 .arg(column)
                                 .arg(block_.rows())
                                 .arg(block_.columns()));
    }
    return block_(row, column);
}

QString Grid::place(int row, int column) const
{
    return cellPlace(range_, row, column);
}

}  // namespace cell_reading
