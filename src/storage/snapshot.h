#pragma once
// What a saved month writes into the database, gathered from the workbook and the condition
// model before anything in the database changes: the condition tables and the month's shifts.
// Each gatherer reads the model as the full condition reading left it, so that reading runs
// first. A gatherer stops with an exception (a missing range, a range too small, a cell the
// spreadsheet cannot read).
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <vector>

struct 期間;

// The rows one table holds after a save.
struct SavedTable {
    QString tableName;
    QStringList fields;
    std::vector<QVariantList> rows;
    // The table's single row is updated in place (it carries columns the save does not own),
    // instead of emptied and refilled.
    bool updateInPlace = false;
};

// Appends the tables of one step of the save to tables.
using TableCollector = void (*)(std::vector<SavedTable>& tables);
// The steps in the order the save writes their tables.
const std::vector<TableCollector>& conditionTableCollectors();

// T_勤務表's rows of the period: one per member and day holding a shift.
SavedTable shiftTableRows(const 期間& period);
