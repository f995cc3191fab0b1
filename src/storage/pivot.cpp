#include "storage/pivot.h"

#include "shell/rs_db.h"

#include <algorithm>

namespace {

bool isNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool before(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && !b.isNull();
    if (isNumber(a) && isNumber(b))
        return a.toDouble() < b.toDouble();
    if (isNumber(a) != isNumber(b))
        return isNumber(a);
    return a.toString().compare(b.toString(), Qt::CaseInsensitive) < 0;
}

QVariantList rowKey(const QVariantList& grouped, int n)
{
    return grouped.mid(0, n);
}

}  // namespace

CrossTab クロス集計(const QStringList& rowFields, const std::vector<QVariantList>& grouped)
{
    const int n = int(rowFields.size());
    std::vector<QVariant> columns;
    for (const QVariantList& g : grouped)
        if (std::find(columns.begin(), columns.end(), g.value(n)) == columns.end())
            columns.push_back(g.value(n));
    std::stable_sort(columns.begin(), columns.end(), before);

    CrossTab out;
    out.fields = rowFields;
    for (const QVariant& c : columns)
        out.fields << c.toString();
    for (const QVariantList& g : grouped) {
        if (out.rows.empty() || rowKey(out.rows.back(), n) != rowKey(g, n)) {
            QVariantList row = rowKey(g, n);
            for (size_t i = 0; i < columns.size(); ++i)
                row << QVariant();
            out.rows.push_back(row);
        }
        const auto at = std::find(columns.begin(), columns.end(), g.value(n)) - columns.begin();
        out.rows.back()[n + int(at)] = g.value(n + 1);
    }
    return out;
}

bool readAllRows(const QString& sql, std::vector<QVariantList>& rows, QStringList* names)
{
    rows.clear();
    if (RsOpen(sql, false, {}, true, true) != 0)
        return false;
    if (names) {
        names->clear();
        for (int i = 0; i < rs.FieldCount(); ++i)
            *names << rs.Fields(i).Name();
    }
    for (; !rs.EndOfFile(); rs.MoveNext()) {
        QVariantList row;
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const QVariant v = rs.Fields(i).Value();
            row << (v.isNull() ? QVariant() : v);
        }
        rows.push_back(row);
    }
    RsClose();
    return true;
}
