#include "engine/cells.h"

#include "platform/text/vb.h"
#include "shell/myexcel.h"

#include <cmath>
#include <limits>

namespace engine_cells {

int cint(double v)
{
    if (std::isnan(v))
        return 0;
    const double r = std::nearbyint(v);
    if (r >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(r);
}

double num(const QVariant& v)
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

double valOf(const QVariant& v)
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
    return num(v) == n;
}

QVariant rangeValue(const std::optional<xl::Range>& range)
{
    return range ? range->value() : QVariant(QString());
}

Grid::Grid(const xl::Range& range, QString sheet, QString name)
    : block_(range.block()), sheet_(std::move(sheet)), name_(std::move(name))
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

}  // namespace engine_cells
