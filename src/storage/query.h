#pragma once
// What the query window shows of 集計.db: the roster, the shift types, the saved shifts and five
// cross-tab summaries, for a period and optionally one member. Every value the user chose (the
// dates, the member, the value of a selection filter) reaches the database as a bound parameter.
// The first three kinds can be edited: each row carries its key in the one table it belongs to
// (T_名簿 and T_勤務種別 by rowid, T_勤務表 by [no]), and an edit or delete reaches that table only;
// columns joined in from other tables are read-only. Database failures throw db::Error.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <vector>

namespace db {
class Connection;
}

enum class 集計種別 : int { 名簿, 勤務種別, 勤務データ, 勤務日数集計, 勤務時間集計, 曜日別集計, 日別シフト表, 全勤務データ };

// The kinds' captions in the order the window lists them.
const QStringList& kindCaptions();
// The roster, the shift types and the saved shifts can be edited, deleted and filtered.
bool isEditableKind(集計種別 kind);

struct QueryFilter {
    QDate 開始日;
    QDate 終了日;
    std::optional<qint64> person;  // the member's Id; none: everybody
    // The selection filter: the heading of the column the user picked and the value it must hold
    // ("" no filter; a Null value matches Null).
    QString selectionColumn;
    QVariant selectionValue;
};

struct ResultTable {
    QStringList fields;
    std::vector<QVariantList> rows;
    // Editing: the table the rows belong to and each row's key there ("" and none: read-only).
    QString tableName;
    QString keyName;
    std::vector<qint64> keys;
    // Per column: the table's column it shows ("" read-only) and that column's declared type.
    QStringList tableColumn;
    QStringList types;

    int columnCount() const { return int(fields.size()); }
    int 件数() const { return int(rows.size()); }
    bool isEditableColumn(int column) const { return !tableName.isEmpty() && !tableColumn.value(column).isEmpty(); }
    // A new row can be added where every column is the table's own.
    bool canAddRow() const { return !tableName.isEmpty() && !tableColumn.contains(QString()); }
};

ResultTable 集計(db::Connection& c, 集計種別 kind, const QueryFilter& cond);

// The person list: the member number right-aligned in three places, an ideographic blank and
// the name, made half-width; by number.
struct PersonItem {
    qint64 Id = 0;
    QString label;
};
std::vector<PersonItem> personList(db::Connection& c);

// A cell's value as the grid shows it and the copy writes it: dates yyyy/mm/dd, numbers without
// a trailing ".0", Null empty.
QString displayText(const ResultTable& r, int column, const QVariant& value);
// The text typed into a cell as the column stores it: empty is Null, a date column takes
// yyyy/mm/dd or yyyy-mm-dd, INTEGER and REAL columns a number; nothing when the text does not fit.
std::optional<QVariant> inputValue(const ResultTable& r, int column, const QString& text);

// The edits. Each checks that the row still holds what the result shows (the month save rewrites
// the tables meanwhile); false, with nothing changed, when it does not.
bool updateValue(db::Connection& c, ResultTable& r, int row, int column, const QVariant& value);
// A new row of the table with one value set; appended to the result.
void addRow(db::Connection& c, ResultTable& r, int column, const QVariant& value);
// The rows (indexes into the result) in one transaction: all of them or none.
bool deleteRows(db::Connection& c, ResultTable& r, std::vector<int> rows);

// The records as tab-separated text with a header line; every line ends with a tab and CR LF, and
// a tab or line break inside a value becomes a blank, so that a paste keeps the rows.
QString tableText(const ResultTable& r);

// Puts tableText of the shown records on the clipboard and says so; without a result (no query
// open) nothing happens at all.
void DbGridToClip(const ResultTable* r);

// Full-width ASCII and the ideographic blank to ASCII, full-width katakana to half-width.
QString halfWidthText(const QString& s);
