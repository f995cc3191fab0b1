#include "storage/query.h"

#include "platform/db/db.h"
#include "platform/ui/prompt.h"
#include "shell/msgbox.h"
#include "shell/myexcel.h"
#include "shell/myshell.h"
#include "storage/pivot.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace {

const QString k勤務表 = QStringLiteral("T_勤務表");
const QString k日付 = QStringLiteral("日付");

QString 名前(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QVariant 値(const QVariant& v)
{
    return v.isNull() ? QVariant() : v;
}

// The conditions of a WHERE clause with the values bound to them.
struct 条件句 {
    QStringList 式;
    QVariantList 値;

    void 追加(const QString& expression, const QVariant& value)
    {
        式 << expression + QStringLiteral(" ?");
        値 << value;
    }
    void 期間(const QString& column, const 抽出条件& c)
    {
        追加(column + QStringLiteral(" >="), c.開始日);
        追加(column + QStringLiteral(" <="), c.終了日);
    }
    void 人(const QString& column, const 抽出条件& c)
    {
        if (c.人)
            追加(column + QStringLiteral(" ="), *c.人);
    }
    QString 文() const { return 式.isEmpty() ? QString() : QStringLiteral(" WHERE ") + 式.join(QStringLiteral(" AND ")); }
};

// A column of a kind: its heading, the expression a filter compares and, when an edit may write
// it, the T_勤務表 column it stands for.
struct 列定義 {
    QString 見出し;
    QString 式;
    QString 列名;
};

// The selection filter compares the column the user picked, found among the kind's own columns:
// the text of a cell never becomes SQL.
void 選択(条件句& w, const std::vector<列定義>& columns, const 抽出条件& c)
{
    if (c.選択項目.isEmpty())
        return;
    for (const 列定義& col : columns)
        if (col.見出し == c.選択項目) {
            w.追加(col.式 + QStringLiteral(" IS"), c.選択値);
            return;
        }
    throw db::Error(3265, QStringLiteral("選択フィルタの項目がありません。 (") + c.選択項目 + QLatin1Char(')'));
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

// The first column of every row is the key: moved out of the rows into 鍵.
void 鍵分離(結果表& r)
{
    r.鍵.reserve(r.行.size());
    for (QVariantList& row : r.行)
        r.鍵.push_back(row.takeFirst().toLongLong());
}

// 名簿 and 勤務種別: the whole table, each column editable, keyed by rowid.
結果表 表全体(db::Connection& c, const QString& table, const 抽出条件& cond, bool byPerson)
{
    結果表 r;
    r.表名 = table;
    r.鍵名 = QStringLiteral("rowid");
    std::vector<列定義> columns;
    QStringList select;
    for (const QVariantList& info : 読込(c, QStringLiteral("SELECT name, type FROM pragma_table_info(?)"), {table})) {
        const QString name = info.value(0).toString();
        columns.push_back({name, table + QLatin1Char('.') + 名前(name), name});
        r.項目 << name;
        r.列名 << name;
        r.型 << info.value(1).toString();
        select << 名前(name);
    }
    条件句 w;
    if (byPerson)
        w.人(table + QStringLiteral(".Id"), cond);
    選択(w, columns, cond);
    r.行 = 読込(c, QStringLiteral("SELECT rowid, ") + select.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + table
                       + w.文() + QStringLiteral(" ORDER BY rowid"),
                w.値);
    鍵分離(r);
    return r;
}

const std::vector<列定義>& 勤務データ列()
{
    static const std::vector<列定義> columns = {
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

const QString k結合 = QStringLiteral(" FROM T_名簿 INNER JOIN T_勤務表 ON T_名簿.Id = T_勤務表.Id"
                                     " INNER JOIN T_勤務種別 ON T_勤務種別.勤務No = T_勤務表.勤務No");

// The saved shifts with their member's name and shift type; edits and deletes reach T_勤務表 by
// [no] only.
結果表 勤務データ(db::Connection& c, const 抽出条件& cond)
{
    結果表 r;
    r.表名 = k勤務表;
    r.鍵名 = QStringLiteral("[no]");
    QStringList select{QStringLiteral("T_勤務表.[no]")};
    for (const 列定義& col : 勤務データ列()) {
        r.項目 << col.見出し;
        r.列名 << col.列名;
        select << col.式;
    }
    QHash<QString, QString> types;
    for (const QVariantList& info : 読込(c, QStringLiteral("SELECT name, type FROM pragma_table_info(?)"), {k勤務表}))
        types.insert(info.value(0).toString(), info.value(1).toString());
    for (const QString& name : r.列名)
        r.型 << types.value(name);
    条件句 w;
    w.期間(QStringLiteral("T_勤務表.日付"), cond);
    w.人(QStringLiteral("T_勤務表.Id"), cond);
    選択(w, 勤務データ列(), cond);
    r.行 = 読込(c, QStringLiteral("SELECT ") + select.join(QStringLiteral(", ")) + k結合 + w.文()
                       + QStringLiteral(" ORDER BY T_勤務表.日付, T_勤務表.Id"),
                w.値);
    鍵分離(r);
    return r;
}

結果表 全勤務データ(db::Connection& c, const 抽出条件& cond)
{
    結果表 r;
    r.項目 = QStringList{QStringLiteral("日付"), QStringLiteral("曜日"),   QStringLiteral("休日"),   QStringLiteral("Id"),
                       QStringLiteral("氏名"), QStringLiteral("グループ"), QStringLiteral("勤務No"), QStringLiteral("勤務名"),
                       QStringLiteral("略称"), QStringLiteral("勤務時間")};
    条件句 w;
    w.期間(QStringLiteral("T_勤務表.日付"), cond);
    w.人(QStringLiteral("T_勤務表.Id"), cond);
    r.行 = 読込(c,
                QStringLiteral("SELECT T_勤務表.日付, substr('日月火水木金土', CAST(strftime('%w', T_勤務表.日付) AS INTEGER) + 1, 1), "
                               "CASE WHEN T_勤務表.休平日 > 0 THEN '休日' ELSE '' END, T_名簿.Id, T_名簿.氏名, T_名簿.グループ, "
                               "T_勤務種別.勤務No, T_勤務種別.勤務名, T_勤務種別.略称, T_勤務種別.勤務時間")
                    + k結合 + w.文() + QStringLiteral(" ORDER BY T_勤務表.日付, T_勤務表.Id"),
                w.値);
    return r;
}

// A cross-tab: a row per member, a column per value of the pivot expression, the aggregate in
// the cells (empty where the member has none) and, when named, the row's total after the name.
struct クロス定義 {
    QString 元;
    QString 表;
    QString 列;
    QString 値;
    QString 合計;
};

クロス定義 定義(db::Connection& c, 集計種別 kind)
{
    const QString numbered = QStringLiteral("T_勤務種別.勤務No || ' ' || ifnull(T_勤務種別.略称, '')");
    switch (kind) {
    case 集計種別::勤務日数集計:
        // The pivot names carry the shift number only where the database has its shift-type query.
        return {k結合, QStringLiteral("T_名簿"), c.viewExists(QStringLiteral("Q_勤務種別")) ? numbered : QStringLiteral("T_勤務種別.略称"),
                QStringLiteral("count(T_勤務種別.勤務No)"), QStringLiteral("合計日数")};
    case 集計種別::勤務時間集計:
        return {k結合, QStringLiteral("T_名簿"), numbered, QStringLiteral("sum(T_勤務種別.勤務時間)"), QStringLiteral("合計時間")};
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
std::vector<QVariantList> 集計行(db::Connection& c, const クロス定義& d, const 抽出条件& cond)
{
    const QString id = d.表 + QStringLiteral(".Id");
    const QString name = d.表 + QStringLiteral(".氏名 COLLATE NOCASE");
    条件句 w;
    w.期間(d.表 == QStringLiteral("T_名簿") ? QStringLiteral("T_勤務表.日付") : d.表 + QStringLiteral(".日付"), cond);
    w.人(id, cond);
    return 読込(c,
                QStringLiteral("SELECT ") + id + QStringLiteral(", ") + d.表 + QStringLiteral(".氏名, ") + d.列 + QStringLiteral(", ")
                    + d.値 + d.元 + w.文() + QStringLiteral(" GROUP BY ") + id + QStringLiteral(", ") + name + QStringLiteral(", (")
                    + d.列 + QStringLiteral(") COLLATE NOCASE ORDER BY ") + id + QStringLiteral(", ") + name,
                w.値);
}

// An ISO date as yyyy/mm/dd; any other text as it is.
QString 日付表示(const QString& text)
{
    const QDate d = QDate::fromString(text, Qt::ISODate);
    return d.isValid() ? d.toString(QStringLiteral("yyyy/MM/dd")) : text;
}

// A summary: the grouped rows pivoted by the shared helper, the row total after the name.
結果表 集計表(db::Connection& c, 集計種別 kind, const 抽出条件& cond)
{
    const クロス定義 d = 定義(c, kind);
    const クロス表 t = クロス集計({QStringLiteral("Id"), QStringLiteral("氏名")}, 集計行(c, d, cond));
    結果表 r;
    r.項目 = t.項目;
    r.行 = t.行;
    if (kind == 集計種別::日別シフト表)
        for (int i = 2; i < r.列数(); ++i)
            r.項目[i] = 日付表示(r.項目[i]);
    if (d.合計.isEmpty())
        return r;
    r.項目.insert(2, d.合計);
    for (QVariantList& row : r.行) {
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
void 照合(const 結果表& r, int row, QStringList& where, QVariantList& params)
{
    where << r.鍵名 + QStringLiteral(" = ?");
    params << r.鍵[size_t(row)];
    for (int i = 0; i < r.列数(); ++i)
        if (r.編集列(i)) {
            where << 名前(r.列名[i]) + QStringLiteral(" IS ?");
            params << r.行[size_t(row)][i];
        }
}

bool 日付列(const 結果表& r, int column)
{
    return r.項目.value(column) == k日付;
}

QChar 半角(QChar c, QString& mark)
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
        return 半角(voicedBase[i], mark);
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

const QStringList& 集計種別一覧()
{
    static const QStringList kinds{QStringLiteral("名簿"),         QStringLiteral("勤務種別"),     QStringLiteral("勤務データ"),
                                   QStringLiteral("勤務日数集計"), QStringLiteral("勤務時間集計"), QStringLiteral("曜日別集計"),
                                   QStringLiteral("日別シフト表"), QStringLiteral("全勤務データ")};
    return kinds;
}

bool 編集可能種別(集計種別 kind)
{
    return kind == 集計種別::名簿 || kind == 集計種別::勤務種別 || kind == 集計種別::勤務データ;
}

結果表 集計(db::Connection& c, 集計種別 kind, const 抽出条件& cond)
{
    switch (kind) {
    case 集計種別::名簿: return 表全体(c, QStringLiteral("T_名簿"), cond, true);
    case 集計種別::勤務種別: return 表全体(c, QStringLiteral("T_勤務種別"), cond, false);
    case 集計種別::勤務データ: return 勤務データ(c, cond);
    case 集計種別::全勤務データ: return 全勤務データ(c, cond);
    default: return 集計表(c, kind, cond);
    }
}

std::vector<氏名項目> 氏名一覧(db::Connection& c)
{
    std::vector<氏名項目> list;
    for (const QVariantList& row :
         読込(c, QStringLiteral("SELECT Id, ifnull(trim(氏名), '') FROM T_名簿 WHERE Id IS NOT NULL ORDER BY Id"), {})) {
        const qint64 id = row[0].toLongLong();
        list.push_back({id, StrConvNarrow(QString::number(id).rightJustified(3) + QChar(0x3000) + row[1].toString())});
    }
    return list;
}

QString 表示文字(const 結果表& r, int column, const QVariant& value)
{
    if (日付列(r, column) && value.typeId() == QMetaType::QString)
        return 日付表示(value.toString());
    return XlText(value);
}

std::optional<QVariant> 入力値(const 結果表& r, int column, const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QVariant();
    if (日付列(r, column)) {
        for (const QString& format : {QStringLiteral("yyyy/M/d"), QStringLiteral("yyyy-M-d")})
            if (const QDate d = QDate::fromString(t, format); d.isValid())
                return QVariant(d.toString(Qt::ISODate));
        return std::nullopt;
    }
    const QString type = r.型.value(column).toUpper();
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

bool 値更新(db::Connection& c, 結果表& r, int row, int column, const QVariant& value)
{
    QStringList where;
    QVariantList params{value};
    照合(r, row, where, params);
    const int n = c.execute(QStringLiteral("UPDATE ") + r.表名 + QStringLiteral(" SET ") + 名前(r.列名[column])
                                + QStringLiteral(" = ? WHERE ") + where.join(QStringLiteral(" AND ")),
                            params);
    if (n != 1)
        return false;
    r.行[size_t(row)][column] = value;
    return true;
}

void 行追加(db::Connection& c, 結果表& r, int column, const QVariant& value)
{
    db::Transaction t(c);
    c.execute(QStringLiteral("INSERT INTO ") + r.表名 + QStringLiteral(" (") + 名前(r.列名[column]) + QStringLiteral(") VALUES (?)"),
              {value});
    const qint64 key = c.scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
    QStringList select;
    for (const QString& name : r.列名)
        select << 名前(name);
    const QString sql = QStringLiteral("SELECT ") + select.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + r.表名
        + QStringLiteral(" WHERE rowid = ?");
    std::vector<QVariantList> rows = 読込(c, sql, {key});
    t.commit();
    r.鍵.push_back(key);
    r.行.push_back(rows.empty() ? QVariantList() : rows.front());
}

bool 行削除(db::Connection& c, 結果表& r, std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    db::Transaction t(c);
    for (const int row : rows) {
        QStringList where;
        QVariantList params;
        照合(r, row, where, params);
        if (c.execute(QStringLiteral("DELETE FROM ") + r.表名 + QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND ")),
                      params)
            != 1)
            return false;
    }
    t.commit();
    for (const int row : rows) {
        r.行.erase(r.行.begin() + row);
        r.鍵.erase(r.鍵.begin() + row);
    }
    return true;
}

QString 表テキスト(const 結果表& r)
{
    const auto field = [](QString s) {
        for (QChar& ch : s)
            if (ch == QLatin1Char('\t') || ch == QLatin1Char('\r') || ch == QLatin1Char('\n'))
                ch = QLatin1Char(' ');
        return s + QLatin1Char('\t');
    };
    QString text;
    for (const QString& heading : r.項目)
        text += field(heading);
    text += QStringLiteral("\r\n");
    for (const QVariantList& row : r.行) {
        for (int i = 0; i < row.size(); ++i)
            text += field(表示文字(r, i, row[i]));
        text += QStringLiteral("\r\n");
    }
    return text;
}

void DbGridToClip(const 結果表* r)
{
    if (!r)
        return;
    ClipClear();
    ClipSetText(表テキスト(*r));
    MsgBox(QStringLiteral("表示中のデータをクリップボードにコピーしました。\r\n表計算ソフトなどに貼り付けて御利用下さい。"),
           ui::vbOKOnly | ui::vbSystemModal, QStringLiteral("クリップボードにデータ転送完了"));
}

QString StrConvNarrow(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (const QChar c : s) {
        QString mark;
        out += 半角(c, mark);
        out += mark;
    }
    return out;
}
