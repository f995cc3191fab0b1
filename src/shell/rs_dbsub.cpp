#include "shell/rs_dbsub.h"

#include "platform/db/compact.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/mylog.h"
#include "shell/rs_db.h"

#include <QDir>
#include <QStringList>
#include <vector>

namespace {

// Column types: int → INTEGER, single → REAL, date/time → TEXT (ISO), YesNo → BOOLEAN (-1/0),
// text(n) → TEXT(n), LONGTEXT → TEXT.
struct Column {
    const char* definition;
    QVariant init;  // written into the first record when the column is new (invalid: none)
};

struct Table {
    const char* name;
    std::vector<Column> columns;  // the first one creates the table
};

const std::vector<Table>& layout()
{
    static const std::vector<Table> tables = {
        // The tables the rosters are kept in.
        {"T_勤務表", {{"[no] INTEGER PRIMARY KEY AUTOINCREMENT", {}}, {"Id INTEGER", {}}, {"日付 TEXT", {}},
                   {"勤務No INTEGER", {}}, {"休平日 INTEGER", {}}}},
        {"T_勤務種別", {{"勤務No INTEGER", {}}, {"勤務名 TEXT", {}}, {"略称 TEXT", {}}, {"勤務時間 REAL", {}},
                     {"開始時刻 TEXT", {}}, {"終了時刻 TEXT", {}}, {"間隔 INTEGER", {}}, {"色 INTEGER", {}},
                     {"回数上限 INTEGER", {}}, {"休憩開始1 TEXT", {}}, {"休憩終了1 TEXT", {}}, {"休憩開始2 TEXT", {}},
                     {"休憩終了2 TEXT", {}}, {"休憩開始3 TEXT", {}}, {"休憩終了3 TEXT", {}}}},
        {"T_名簿", {{"Id INTEGER", {}}, {"氏名 TEXT", {}}, {"グループ TEXT(50)", {}}}},
        // Condition snapshots written with every saved month.
        {"T_DayBefore_Table", {{"No INTEGER", {}}, {"値 INTEGER", {}}}},
        {"T_Work_予定休み数", {{"Id INTEGER", {}}, {"予定休み数 INTEGER", {}}}},
        {"T_グループ", {{"グループNo INTEGER", {}}, {"グループ名 TEXT(50)", {}}, {"色 INTEGER", {}}}},
        {"T_KinsiPattern", {{"No INTEGER", {}}, {"Cnt INTEGER", {}}, {"d1 INTEGER", {}}, {"d2 INTEGER", {}},
                            {"d3 INTEGER", {}}, {"d4 INTEGER", {}}, {"d5 INTEGER", {}}}},
        {"T_HissuPattern", {{"No INTEGER", {}}, {"d1 INTEGER", {}}, {"d2 INTEGER", {}}}},
        {"T_休平日要人数", {{"勤務種別 INTEGER", {}}, {"平日人数 INTEGER", {}}, {"休日人数 INTEGER", {}}}},
        {"T_基本設定",
         {{"平日勤務集中 BOOLEAN", {}}, {"固定休 TEXT(50)", {}}, {"連続勤務日数上限 INTEGER", {}},
          {"連続休み日数上限 INTEGER", {}}, {"勤務日数調整 BOOLEAN", {}}, {"勤務時間調整 BOOLEAN", {}},
          {"割当勤務 BOOLEAN", {}}, {"勤務リスト TEXT(50)", {}}, {"休み記号 TEXT(50)", {}}, {"休み色 INTEGER", {}},
          {"基点曜日 INTEGER", {}}, {"週間勤務日数上限 INTEGER", {}}, {"Excel_Highlight BOOLEAN", {}},
          {"初期値使用 BOOLEAN", {}}, {"過去累計使用 BOOLEAN", {}}, {"予約罫線色 INTEGER", {}},
          // The optimiser's settings, with their initial values.
          {"荷重_総勤務日数_今期 INTEGER", 20}, {"荷重_総勤務日数 INTEGER", 20}, {"荷重_各勤務日数_今期 INTEGER", 10},
          {"荷重_各勤務日数 INTEGER", 10}, {"荷重_休日出勤_今期 INTEGER", 10}, {"荷重_休日出勤 INTEGER", 10},
          {"荷重_休日勤務_今期 INTEGER", 10}, {"荷重_休日勤務 INTEGER", 10}, {"荷重_優先勤務 INTEGER", 0},
          {"荷重_優先勤務倍率_今期 INTEGER", 10}, {"荷重_優先勤務倍率 INTEGER", 10}, {"荷重_休み曜日_今期 INTEGER", 10},
          {"荷重_単勤単休_今期 INTEGER", 10}, {"荷重_単勤総数_今期 INTEGER", 1}, {"荷重_単休総数_今期 INTEGER", 1},
          {"荷重_単勤分散_今期 INTEGER", 1}, {"荷重_単休分散_今期 INTEGER", 1}, {"荷重_設定展開 BOOLEAN", false},
          {"均等化試行回数 INTEGER", 20}, {"最適化回数 INTEGER", 3}, {"最適化休み回数 INTEGER", 0},
          {"最適化試行回数 TEXT(20)", QStringLiteral("5,1,10,")}, {"試行_設定展開 BOOLEAN", false}}},
        {"T_設定値", {{"自動最大化 BOOLEAN", {}}, {"自動再挑戦 BOOLEAN", {}}, {"過去参照スパン INTEGER", {}},
                   {"経過表示 INTEGER", {}}, {"進行状況表示 INTEGER", {}}}},
        {"T_PrimeData", {{"作成年 INTEGER", {}}, {"作成月 INTEGER", {}}, {"基準開始日 INTEGER", {}},
                         {"作成開始日 INTEGER", {}}, {"概要 TEXT(50)", {}}, {"説明 TEXT", {}}}},
        {"T_Work_組み合せ条件", {{"No INTEGER", {}}, {"勤務 INTEGER", {}}, {"人数 INTEGER", {}}}},
        {"T_Work_組み合せ条件_Sub", {{"No INTEGER", {}}, {"Id INTEGER", {}}}},
        {"T_Work_組み合せ条件_Group", {{"No INTEGER", {}}, {"勤務 INTEGER", {}}, {"人数 INTEGER", {}},
                                    {"グループ INTEGER", {}}, {"努力 INTEGER", {}}}},
        {"T_Work_要員", {{"No INTEGER", {}}, {"日 INTEGER", {}}, {"人数 INTEGER", {}}}},
        {"T_Work_不可", {{"ID INTEGER", {}}, {"日付 INTEGER", {}}, {"勤務 INTEGER", {}}}},
        {"T_Work_予約", {{"ID INTEGER", {}}, {"日付 INTEGER", {}}, {"勤務 INTEGER", {}}}},
    };
    return tables;
}

struct NamedSql {
    const char* name;
    const char* sql;
};

// 曜日 is "1日" … "7土", so that columns by weekday sort Sunday to Saturday.
const NamedSql views[] = {
    {"Q_勤務表",
     "CREATE VIEW Q_勤務表 AS SELECT h.Id AS Id, m.氏名 AS 氏名, h.日付 AS 日付, h.勤務No AS 勤務No, "
     "s.略称 AS 略称, h.休平日 AS 休平日, "
     "(CAST(strftime('%w', h.日付) AS INTEGER) + 1) || "
     "substr('日月火水木金土', CAST(strftime('%w', h.日付) AS INTEGER) + 1, 1) AS 曜日 "
     "FROM T_勤務表 h LEFT JOIN T_名簿 m ON m.Id = h.Id LEFT JOIN T_勤務種別 s ON s.勤務No = h.勤務No"},
    {"Q_勤務種別", "CREATE VIEW Q_勤務種別 AS SELECT 勤務No, 勤務名, 略称, 勤務時間 FROM T_勤務種別"},
};

const NamedSql indexes[] = {
    {"IX_勤務表_日付", "CREATE INDEX IF NOT EXISTS IX_勤務表_日付 ON T_勤務表 (日付)"},
    {"IX_勤務表_Id日付", "CREATE INDEX IF NOT EXISTS IX_勤務表_Id日付 ON T_勤務表 (Id, 日付)"},
};

QString columnName(const QString& definition)
{
    QString name = definition.section(QLatin1Char(' '), 0, 0);
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.mid(1, name.size() - 2);
    return name;
}

void logStep(const QString& text)
{
    MemLog(QStringLiteral("AddTableField: ") + text);
}

// Every missing piece of the layout; false when a step failed (the others still run).
bool upgradeSteps()
{
    bool ok = true;
    for (const Table& t : layout()) {
        const QString table = QString::fromUtf8(t.name);
        const int created = CreateTable(table, QString::fromUtf8(t.columns.front().definition));
        if (created < 0) {
            ok = false;
            continue;
        }
        // A table that was there already may lack any of its columns, the first one included.
        for (size_t i = created == 0 ? 1 : 0; i < t.columns.size(); ++i) {
            const Column& c = t.columns[i];
            const QString definition = QString::fromUtf8(c.definition);
            if (AddField(table, definition, c.init.isValid() ? columnName(definition) : QString(), c.init) < 0)
                ok = false;
        }
    }
    for (const auto& v : views) {
        try {
            if (!cn.viewExists(QString::fromUtf8(v.name)))
                cn.execute(QString::fromUtf8(v.sql));
        } catch (const db::Error& e) {
            logStep(e.text());
            ok = false;
        }
    }
    for (const auto& ix : indexes) {
        try {
            cn.execute(QString::fromUtf8(ix.sql));
        } catch (const db::Error& e) {
            logStep(e.text());
            ok = false;
        }
    }
    return ok;
}

}  // namespace

int CreateTable(const QString& table, const QString& firstColumn)
{
    if (DbConnect())
        return -1;
    try {
        if (cn.tableExists(table))
            return 1;
        cn.execute(QStringLiteral("CREATE TABLE ") + table + QStringLiteral(" (") + firstColumn + QLatin1Char(')'));
        return 0;
    } catch (const db::Error& e) {
        logStep(table + QStringLiteral(": ") + e.text());
        return -1;
    }
}

int AddField(const QString& table, const QString& definition, const QString& field, const QVariant& init)
{
    if (DbConnect())
        return -1;
    try {
        if (cn.columns(table).contains(columnName(definition), Qt::CaseInsensitive))
            return 1;
        RsClose();
        cn.execute(QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" ADD COLUMN ") + definition);
    } catch (const db::Error& e) {
        logStep(table + QLatin1Char('.') + definition + QStringLiteral(": ") + e.text());
        return -1;
    }
    if (!field.isEmpty() && SetTableValue(table, field, init) != 0)
        return -1;
    return 0;
}

int AddTableField()
{
    if (DbConnect())
        return -1;
    try {
        const int version = cn.scalar(QStringLiteral("PRAGMA user_version")).toInt();
        if (version > kSchemaVersion || cn.isReadOnly()) {
            if (!cn.isReadOnly()) {
                const QString path = cn.path();
                DbClose();
                DbOpenReadOnly = true;
                if (DbConnect())
                    return -1;
                MsgBox(QStringLiteral("このデータベースは新しいバージョンのプログラムで更新されています。")
                           + QStringLiteral("\n読み取り専用で開きます。\n\n") + path,
                       ui::vbOKOnly | ui::vbExclamation | ui::vbSystemModal, stAppTitle);
            }
            return 1;
        }
        db::Transaction t(cn);
        if (upgradeSteps() && version < kSchemaVersion)
            cn.execute(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
        t.commit();
        return 0;
    } catch (const db::Error& e) {
        logStep(e.text());
        return -1;
    }
}

QString CompactDb(const QString& path)
{
    RsClose();
    RsCloseEx(rsTableValue);
    DbClose();
    if (DbOpenReadOnly)
        return {};   // a file only read this run is never rewritten
    const db::CompactResult result = db::compactFile(path);
    // Shut-down does not look at the result, and a damaged file is the one failure the user must
    // hear of.
    if (result.sourceDamaged)
        MsgBox(result.error + QStringLiteral("\n\n") + QDir::toNativeSeparators(path),
               ui::vbOKOnly | ui::vbExclamation | ui::vbSystemModal, stAppTitle);
    return result.error;
}
