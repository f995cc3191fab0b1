#pragma once
// Cross-tabs: a grouped query gives one row per (row, column) pair that holds something, and the
// pivot turns those rows into a table with one column per column value. Reading a query's rows
// through the shared recordset lives here too, as every reader of saved months needs it.
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <vector>

struct CrossTab {
    // The names of the row fields, then each column value as text.
    QStringList fields;
    // Per row: the row fields' values, then one value per column (invalid where the grouped
    // query holds nothing for that pair).
    std::vector<QVariantList> rows;
};

// Each grouped row holds rowFields.size() values that name the result row, then the column value,
// then the cell value. Result rows keep the query's order, consecutive grouped rows with the same
// row values making one row (so the query orders by the row fields). Columns are the distinct
// column values in ascending order, as the database orders a cross-tab's headings: Null first,
// numbers by value, texts ignoring case.
CrossTab クロス集計(const QStringList& rowFields, const std::vector<QVariantList>& grouped);

// Every row of the query, read through rs and closed again; names, when given, gets the field
// names. False after RsOpen's message when the query failed (rows then hold nothing).
bool readAllRows(const QString& sql, std::vector<QVariantList>& rows, QStringList* names = nullptr);
