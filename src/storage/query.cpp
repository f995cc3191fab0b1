#include "storage/query.h"

#include "platform/db/db.h"
#include "platform/text/text_constants.h"
#include "platform/ui/prompt.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/desktop.h"
#include "storage/pivot.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace {

const QString kShiftTable = QStringLiteral("T_勤務表");
const QString kDateColumn = QStringLiteral("日付");

QString 名前(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QVariant 値(const QVariant& v)
{
    return v.isNull() ? QVariant() : v;
}

// The conditions of a WHERE clause with the values bound to them.
struct WhereClause {
    QStringList expr;
    QVariantList 値;

    void add(const QString& expression, const QVariant& value)
    {
        expr << expression + QStringLiteral(" ?");
        値 << value;
    }
    void 期間(const QString& column, const QueryFilter& c)
    {
        add(column + QStringLiteral(" >="), c.開始日);
        add(column + QStringLiteral(" <="), c.終了日);
    }
    void person(const QString& column, const QueryFilter& c)
    {
        if (c.person)
            add(column + QStringLiteral(" ="), *c.person);
    }
    QString whereClause() const { return expr.isEmpty() ? QString() : QStringLiteral(" WHERE ") + expr.join(QStringLiteral(" AND ")); }
};

// A column of a kind: its heading, the expression a filter compares and, when an edit may write
// it, the T_勤務表 column it stands for.
struct ColumnDefinition {
    QString heading;
    QString expr;
    QString tableColumn;
};

// The selection filter compares the column the user picked, found among the kind's own columns:
// the text of a cell never becomes SQL.
void addSelectionFilter(WhereClause& w, const std::vector<ColumnDefinition>& columns, const QueryFilter& c)
{
    if (c.selectionColumn.isEmpty())
        return;
    for (const ColumnDefinition& col : columns)
        if (col.heading == c.selectionColumn) {
            w.add(col.expr + QStringLiteral(" IS"), c.selectionValue);
            return;
        }
    throw db::Error(3265, QStringLiteral("選択フィルタの項目がありません。 (") + c.selectionColumn + QLatin1Char(')'));
}

std::vector<QVariantList> 読込(db::Connection& c, const QString& sql, const QVariantList& params)
{
    QSqlQuery q = c.run(sql, params);
    std::vector<QVariantList> rows;
    const int n = q.record().count();
    while (c.next(q, sql)) {
        QVariantList row;
        row.reserve(n);
        for (int i = 0; i < n; ++i)
            row << 値(q.value(i));
        rows.push_back(std::move(row));
    }
    return rows;
}

// The first column of every row is the key: moved out of the rows into keys.
void splitKeys(ResultTable& r)
{
    r.keys.reserve(r.rows.size());
    for (QVariantList& row : r.rows)
        r.keys.push_back(row.takeFirst().toLongLong());
}

// 名簿 and 勤務種別: the whole table, each column editable, keyed by rowid.
ResultTable wholeTable(db::Connection& c, const QString& table, const QueryFilter& cond, bool byPerson)
{
    ResultTable r;
    r.tableName = table;
    r.keyName = QStringLiteral("rowid");
    std::vector<ColumnDefinition> columns;
    QStringList select;
    for (const QVariantList& info : 読込(c, QStringLiteral("SELECT name, type FROM pragma_table_info(?)"), {table})) {
        const QString name = info.value(0).toString();
        columns.push_back({name, table + QLatin1Char('.') + 名前(name), name});
        r.fields << name;
        r.tableColumn << name;
        r.types << info.value(1).toString();
        select << 名前(name);
    }
    WhereClause w;
    if (byPerson)
        w.person(table + QStringLiteral(".Id"), cond);
    addSelectionFilter(w, columns, cond);
    r.rows = 読込(c, QStringLiteral("SELECT rowid, ") + select.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + table
                       + w.whereClause() + QStringLiteral(" ORDER BY rowid"),
                w.値);
    splitKeys(r);
    return r;
}

const std::vector<ColumnDefinition>& shiftDataColumns()
{
    static const std::vector<ColumnDefinition> columns = {
        {QStringLiteral("日付"), QStringLiteral("T_勤務表.日付"), QStringLiteral("日付")},
        {QStringLiteral("Id"), QStringLiteral("T_勤務表.Id"), QStringLiteral("Id")},
        {QStringLiteral("氏名"), QStringLiteral("T_名簿.氏名"), {}},
        // Shown from the shift types; an edit changes the saved row's shift.
        {QStringLiteral("勤務No"), QStringLiteral("T_勤務種別.勤務No"), QStringLiteral("勤務No")},
        {QStringLiteral("勤務名"), QStringLiteral("T_勤務種別.勤務名"), {}},
        {QStringLiteral("略称"), QStringLiteral("T_勤務種別.略称"), {}},
        {QStringLiteral("休平日"), QStringLiteral("T_勤務表.休平日"), QStringLiteral("休平日")},
    };
    return columns;
}

const QString kJoin = QStringLiteral(" FROM T_名簿 INNER JOIN T_勤務表 ON T_名簿.Id = T_勤務表.Id"
                                     " INNER JOIN T_勤務種別 ON T_勤務種別.勤務No = T_勤務表.勤務No");

// The saved shifts with their member's name and shift type; edits and deletes reach T_勤務表 by
// [no] only.
ResultTable 勤務データ(db::Connection& c, const QueryFilter& cond)
{
    ResultTable r;
    r.tableName = kShiftTable;
    r.keyName = QStringLiteral("[no]");
    QStringList select{QStringLiteral("T_勤務表.[no]")};
    for (const ColumnDefinition& col : shiftDataColumns()) {
        r.fields << col.heading;
        r.tableColumn << col.tableColumn;
        select << col.expr;
    }
    QHash<QString, QString> types;
    for (const QVariantList& info : 読込(c, QStringLiteral("SELECT name, type FROM pragma_table_info(?)"), {kShiftTable}))
        types.insert(info.value(0).toString(), info.value(1).toString());
    for (const QString& name : r.tableColumn)
        r.types << types.value(name);
    WhereClause w;
    w.期間(QStringLiteral("T_勤務表.日付"), cond);
    w.person(QStringLiteral("T_勤務表.Id"), cond);
    addSelectionFilter(w, shiftDataColumns(), cond);
    r.rows = 読込(c, QStringLiteral("SELECT ") + select.join(QStringLiteral(", ")) + kJoin + w.whereClause()
                       + QStringLiteral(" ORDER BY T_勤務表.日付, T_勤務表.Id"),
                w.値);
    splitKeys(r);
    return r;
}

ResultTable 全勤務データ(db::Connection& c, const QueryFilter& cond)
{
    ResultTable r;
    r.fields = QStringList{QStringLiteral("日付"), QStringLiteral("曜日"),   QStringLiteral("休日"),   QStringLiteral("Id"),
                       QStringLiteral("氏名"), QStringLiteral("グループ"), QStringLiteral("勤務No"), QStringLiteral("勤務名"),
                       QStringLiteral("略称"), QStringLiteral("勤務時間")};
    WhereClause w;
    w.期間(QStringLiteral("T_勤務表.日付"), cond);
    w.person(QStringLiteral("T_勤務表.Id"), cond);
    r.rows = 読込(c,
                QStringLiteral("SELECT T_勤務表.日付, substr('日月火水木金土', CAST(strftime('%w', T_勤務表.日付) AS INTEGER) + 1, 1), "
                               "CASE WHEN T_勤務表.休平日 > 0 THEN '休日' ELSE '' END, T_名簿.Id, T_名簿.氏名, T_名簿.グループ, "
                               "T_勤務種別.勤務No, T_勤務種別.勤務名, T_勤務種別.略称, T_勤務種別.勤務時間")
                    + kJoin + w.whereClause() + QStringLiteral(" ORDER BY T_勤務表.日付, T_勤務表.Id"),
                w.値);
    return r;
}

// A cross-tab: a row per member, a column per value of the pivot expression, the aggregate in
// the cells (empty where the member has none) and, when named, the row's total after the name.
struct CrossTabDefinition {
    QString source;
    QString table;
    QString column;
    QString 値;
    QString total;
};

CrossTabDefinition crossTabDefinition(db::Connection& c, 集計種別 kind)
{
    const QString numbered = QStringLiteral("T_勤務種別.勤務No || ' ' || ifnull(T_勤務種別.略称, '')");
    switch (kind) {
    case 集計種別::勤務日数集計:
        // The pivot names carry the shift number only where the database has its shift-type query.
        return {kJoin, QStringLiteral("T_名簿"), c.viewExists(QStringLiteral("Q_勤務種別")) ? numbered : QStringLiteral("T_勤務種別.略称"),
                QStringLiteral("count(T_勤務種別.勤務No)"), QStringLiteral("合計日数")};
    case 集計種別::勤務時間集計:
        return {kJoin, QStringLiteral("T_名簿"), numbered, QStringLiteral("sum(T_勤務種別.勤務時間)"), QStringLiteral("合計時間")};
    case 集計種別::曜日別集計:
        return {QStringLiteral(" FROM Q_勤務表"), QStringLiteral("Q_勤務表"), QStringLiteral("Q_勤務表.曜日"),
                QStringLiteral("count(Q_勤務表.曜日)"), QStringLiteral("合計日数")};
    default:
        return {QStringLiteral(" FROM Q_勤務表"), QStringLiteral("Q_勤務表"), QStringLiteral("Q_勤務表.日付"),
                QStringLiteral("min(Q_勤務表.略称)"), {}};
    }
}

// The grouped query of a cross-tab: member number, name, pivot value and aggregate per row,
// by member. Text is grouped regardless of case, as the summaries always have been.
std::vector<QVariantList> crossTabRows(db::Connection& c, const CrossTabDefinition& d, const QueryFilter& cond)
{
    const QString id = d.table + QStringLiteral(".Id");
    const QString name = d.table + QStringLiteral(".氏名 COLLATE NOCASE");
    WhereClause w;
    w.期間(d.table == QStringLiteral("T_名簿") ? QStringLiteral("T_勤務表.日付") : d.table + QStringLiteral(".日付"), cond);
    w.person(id, cond);
    return 読込(c,
                QStringLiteral("SELECT ") + id + QStringLiteral(", ") + d.table + QStringLiteral(".氏名, ") + d.column + QStringLiteral(", ")
                    + d.値 + d.source + w.whereClause() + QStringLiteral(" GROUP BY ") + id + QStringLiteral(", ") + name + QStringLiteral(", (")
                    + d.column + QStringLiteral(") COLLATE NOCASE ORDER BY ") + id + QStringLiteral(", ") + name,
                w.値);
}

// An ISO date as yyyy/mm/dd; any other text as it is.
QString dateDisplay(const QString& text)
{
    const QDate d = QDate::fromString(text, Qt::ISODate);
    return d.isValid() ? d.toString(QStringLiteral("yyyy/MM/dd")) : text;
}

// A summary: the grouped rows pivoted by the shared helper, the row total after the name.
ResultTable crossTabTable(db::Connection& c, 集計種別 kind, const QueryFilter& cond)
{
    const CrossTabDefinition d = crossTabDefinition(c, kind);
    const CrossTab t = クロス集計({QStringLiteral("Id"), QStringLiteral("氏名")}, crossTabRows(c, d, cond));
    ResultTable r;
    r.fields = t.fields;
    r.rows = t.rows;
    if (kind == 集計種別::日別シフト表)
        for (int i = 2; i < r.columnCount(); ++i)
            r.fields[i] = dateDisplay(r.fields[i]);
    if (d.total.isEmpty())
        return r;
    r.fields.insert(2, d.total);
    for (QVariantList& row : r.rows) {
        QVariant total;
        for (int i = 2; i < row.size(); ++i)
            if (row[i].isValid())
                total = total.isValid() ? QVariant(total.toDouble() + row[i].toDouble()) : row[i];
        row.insert(2, total);
    }
    return r;
}

// What keeps a row from being changed by the wrong hands: its key and the values the result
// shows of the table's columns.
void matchRow(const ResultTable& r, int row, QStringList& where, QVariantList& params)
{
    where << r.keyName + QStringLiteral(" = ?");
    params << r.keys[size_t(row)];
    for (int i = 0; i < r.columnCount(); ++i)
        if (r.isEditableColumn(i)) {
            where << 名前(r.tableColumn[i]) + QStringLiteral(" IS ?");
            params << r.rows[size_t(row)][i];
        }
}

bool isDateColumn(const ResultTable& r, int column)
{
    return r.fields.value(column) == kDateColumn;
}

QChar halfWidth(QChar c, QString& mark)
{
    // Full-width katakana in the order of the half-width block U+FF61..U+FF9F.
    static const QString full = QStringLiteral("。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノ"
                                               "ハヒフヘホマミムメモヤユヨラリルレロワン゛゜");
    static const QString voiced = QStringLiteral("ガギグゲゴザジズゼゾダヂヅデドバビブベボ");
    static const QString voicedBase = QStringLiteral("カキクケコサシスセソタチツテトハヒフヘホ");
    static const QString semi = QStringLiteral("パピプペポ");
    const char16_t u = c.unicode();
    if (u >= 0xFF01 && u <= 0xFF5E)
        return QChar(u - 0xFEE0);
    if (u == 0x3000)
        return QLatin1Char(' ');
    if (const int i = voiced.indexOf(c); i >= 0) {
        mark = QChar(0xFF9E);
        return halfWidth(voicedBase[i], mark);
    }
    if (const int i = semi.indexOf(c); i >= 0) {
        mark = QChar(0xFF9F);
        return QChar(0xFF8A + i);
    }
    if (u == 0x30F4) {  // ヴ
        mark = QChar(0xFF9E);
        return QChar(0xFF73);
    }
    if (const int i = full.indexOf(c); i >= 0)
        return QChar(0xFF61 + i);
    return c;
}

}  // namespace

const QStringList& kindCaptions()
{
    static const QStringList kinds{QStringLiteral("名簿"),         QStringLiteral("勤務種別"),     QStringLiteral("勤務データ"),
                                   QStringLiteral("勤務日数集計"), QStringLiteral("勤務時間集計"), QStringLiteral("曜日別集計"),
                                   QStringLiteral("日別シフト表"), QStringLiteral("全勤務データ")};
    return kinds;
}

bool isEditableKind(集計種別 kind)
{
    return kind == 集計種別::名簿 || kind == 集計種別::勤務種別 || kind == 集計種別::勤務データ;
}

ResultTable 集計(db::Connection& c, 集計種別 kind, const QueryFilter& cond)
{
    switch (kind) {
    case 集計種別::名簿: return wholeTable(c, QStringLiteral("T_名簿"), cond, true);
    case 集計種別::勤務種別: return wholeTable(c, QStringLiteral("T_勤務種別"), cond, false);
    case 集計種別::勤務データ: return 勤務データ(c, cond);
    case 集計種別::全勤務データ: return 全勤務データ(c, cond);
    default: return crossTabTable(c, kind, cond);
    }
}

std::vector<PersonItem> personList(db::Connection& c)
{
    std::vector<PersonItem> list;
    for (const QVariantList& row :
         読込(c, QStringLiteral("SELECT Id, ifnull(trim(氏名), '') FROM T_名簿 WHERE Id IS NOT NULL ORDER BY Id"), {})) {
        const qint64 id = row[0].toLongLong();
        list.push_back({id, halfWidthText(QString::number(id).rightJustified(3) + QChar(0x3000) + row[1].toString())});
    }
    return list;
}

QString displayText(const ResultTable& r, int column, const QVariant& value)
{
    if (isDateColumn(r, column) && value.typeId() == QMetaType::QString)
        return dateDisplay(value.toString());
    return XlText(value);
}

std::optional<QVariant> inputValue(const ResultTable& r, int column, const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QVariant();
    if (isDateColumn(r, column)) {
        for (const QString& format : {QStringLiteral("yyyy/M/d"), QStringLiteral("yyyy-M-d")})
            if (const QDate d = QDate::fromString(t, format); d.isValid())
                return QVariant(d.toString(Qt::ISODate));
        return std::nullopt;
    }
    const QString type = r.types.value(column).toUpper();
    bool ok = false;
    if (type.contains(QLatin1String("INT"))) {
        const qlonglong n = t.toLongLong(&ok);
        return ok ? std::optional<QVariant>(n) : std::nullopt;
    }
    if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA")) || type.contains(QLatin1String("DOUB"))
        || type.contains(QLatin1String("BOOL")) || type.contains(QLatin1String("NUM"))) {
        const double d = t.toDouble(&ok);
        return ok ? std::optional<QVariant>(d) : std::nullopt;
    }
    return QVariant(text);
}

bool updateValue(db::Connection& c, ResultTable& r, int row, int column, const QVariant& value)
{
    QStringList where;
    QVariantList params{value};
    matchRow(r, row, where, params);
    const int n = c.execute(QStringLiteral("UPDATE ") + r.tableName + QStringLiteral(" SET ") + 名前(r.tableColumn[column])
                                + QStringLiteral(" = ? WHERE ") + where.join(QStringLiteral(" AND ")),
                            params);
    if (n != 1)
        return false;
    r.rows[size_t(row)][column] = value;
    return true;
}

void addRow(db::Connection& c, ResultTable& r, int column, const QVariant& value)
{
    db::Transaction t(c);
    c.execute(QStringLiteral("INSERT INTO ") + r.tableName + QStringLiteral(" (") + 名前(r.tableColumn[column]) + QStringLiteral(") VALUES (?)"),
              {value});
    const qint64 key = c.scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
    QStringList select;
    for (const QString& name : r.tableColumn)
        select << 名前(name);
    const QString sql = QStringLiteral("SELECT ") + select.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + r.tableName
        + QStringLiteral(" WHERE rowid = ?");
    std::vector<QVariantList> rows = 読込(c, sql, {key});
    t.commit();
    r.keys.push_back(key);
    r.rows.push_back(rows.empty() ? QVariantList() : rows.front());
}

bool deleteRows(db::Connection& c, ResultTable& r, std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    db::Transaction t(c);
    for (const int row : rows) {
        QStringList where;
        QVariantList params;
        matchRow(r, row, where, params);
        if (c.execute(QStringLiteral("DELETE FROM ") + r.tableName + QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND ")),
                      params)
            != 1)
            return false;
    }
    t.commit();
    for (const int row : rows) {
        r.rows.erase(r.rows.begin() + row);
        r.keys.erase(r.keys.begin() + row);
    }
    return true;
}

QString tableText(const ResultTable& r)
{
    const auto field = [](QString s) {
        for (QChar& ch : s)
            if (ch == QLatin1Char('\t') || ch == QLatin1Char('\r') || ch == QLatin1Char('\n'))
                ch = QLatin1Char(' ');
        return s + QLatin1Char('\t');
    };
    QString text;
    for (const QString& heading : r.fields)
        text += field(heading);
    text += kCrLf;
    for (const QVariantList& row : r.rows) {
        for (int i = 0; i < row.size(); ++i)
            text += field(displayText(r, i, row[i]));
        text += kCrLf;
    }
    return text;
}

void DbGridToClip(const ResultTable* r)
{
    if (!r)
        return;
    ClipClear();
    ClipSetText(tableText(*r));
    MsgBox(QStringLiteral("表示中のデータをクリップボードにコピーしました。\r\n表計算ソフトなどに貼り付けて御利用下さい。"),
           ui::vbOKOnly | ui::vbSystemModal, QStringLiteral("クリップボードにデータ転送完了"));
}

QString halfWidthText(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (const QChar c : s) {
        QString mark;
        out += halfWidth(c, mark);
        out += mark;
    }
    return out;
}
