#include "work_folder.h"

#include "../../support/manual_clock.h"
#include "shell/mylog.h"
#include "shell/rs_dbsub.h"
#include "shell/state.h"

#include <QDir>
#include <QFile>
#include <QSqlQueryModel>
#include <QSqlRecord>

namespace {

void execute(const QString& sql)
{
    ASSERT_EQ(RsOpen(sql), 0) << sql.toStdString();
    RsClose();
}

}  // namespace

using DbAccess = WorkFolderTest<resetShellState>;

TEST_F(DbAccess, DbConnectFillsTheDefaultPathAndFailsWithOneMessage)
{
    QString path;
    EXPECT_FALSE(DbConnect(path));
    EXPECT_EQ(path, dir.filePath(QStringLiteral("集計.db")));
    EXPECT_TRUE(cn.isOpen());
    DbClose();

    QString bad = dir.filePath(QStringLiteral("no/such/集計.db"));
    EXPECT_TRUE(DbConnect(bad));
    ASSERT_EQ(messages(), 1u);
    const auto& m = ui::shownMessages().front();
    EXPECT_EQ(m.buttons, ui::vbOKOnly | ui::vbSystemModal);
    EXPECT_EQ(m.title, stAppTitle);
    EXPECT_TRUE(m.prompt.startsWith(QStringLiteral("データベースを開けませんでした。")));
    EXPECT_TRUE(m.prompt.endsWith(QStringLiteral("cn.ConnectionString = driver={SQLite3};DBQ=") + bad));
    EXPECT_TRUE(DbConnect(bad));
    EXPECT_EQ(RsOpen(QStringLiteral("SELECT 1"), false, bad), -1);
    EXPECT_EQ(messages(), 1u);
}

TEST_F(DbAccess, AWorkFolderWithASemicolonInItsNameIsNotCutShort)
{
    for (const char* folder : {"a;b}c", "{x}"}) {
        ASSERT_TRUE(QDir(dir.path()).mkpath(QString::fromUtf8(folder)));
        QString path = dir.filePath(QString::fromUtf8(folder) + QStringLiteral("/集計.db"));
        ASSERT_FALSE(DbConnect(path)) << folder;
        EXPECT_EQ(cn.path(), path);
        DbClose();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a"))));
    EXPECT_EQ(messages(), 0u);
}

TEST_F(DbAccess, OnlyAShownFailureSilencesTheRestOfTheRun)
{
    execute(QStringLiteral("CREATE TABLE t (x INTEGER)"));
    // A silent failure (the kind the schema upgrade used to rely on) tells nobody and silences nothing.
    EXPECT_EQ(RsOpen(QStringLiteral("CREATE TABLE t (x INTEGER)"), true), -1);
    EXPECT_EQ(messages(), 0u);
    EXPECT_FALSE(DbErrShown);

    EXPECT_EQ(RsOpen(QStringLiteral("SELECT * FROM missing")), -1);
    ASSERT_EQ(messages(), 1u);
    const auto& m = ui::shownMessages().front();
    EXPECT_EQ(m.title, QStringLiteral("テーブル／クエリオープンエラー"));
    EXPECT_EQ(m.buttons, ui::vbOKOnly | ui::vbSystemModal);
    EXPECT_TRUE(m.prompt.startsWith(QStringLiteral("テーブル／クエリのオープンに失敗しました。\n\n1  no such table: missing")));
    EXPECT_TRUE(m.prompt.endsWith(QStringLiteral("\n\nSQL = SELECT * FROM missing")));
    EXPECT_TRUE(DbErrShown);

    EXPECT_EQ(RsOpen(QStringLiteral("SELECT * FROM missing2")), -1);
    EXPECT_EQ(messages(), 1u);
    // RsOpenEx answers to its own silent flag only.
    db::Recordset r;
    EXPECT_EQ(RsOpenEx(r, QStringLiteral("SELECT * FROM missing3")), -1);
    EXPECT_EQ(messages(), 2u);
    EXPECT_EQ(RsOpenEx(r, QStringLiteral("SELECT * FROM missing3"), false, {}, false, true), -1);
    EXPECT_EQ(messages(), 2u);
}

TEST_F(DbAccess, SettingsValuesLiveInTheFirstRecord)
{
    execute(QStringLiteral("CREATE TABLE s (a INTEGER, b TEXT)"));
    EXPECT_EQ(GetTableValue(QStringLiteral("s"), QStringLiteral("a")), QString());
    EXPECT_EQ(SetTableValue(QStringLiteral("s"), QStringLiteral("a"), 7), 0);
    EXPECT_EQ(SetTableValue(QStringLiteral("s"), QStringLiteral("a"), 8), 0);
    EXPECT_EQ(SetTableValue(QStringLiteral("s"), QStringLiteral("b"), true), 0);
    EXPECT_EQ(query(QStringLiteral("SELECT count(*) FROM s")).toInt(), 1);
    EXPECT_EQ(GetTableValue(QStringLiteral("s"), QStringLiteral("A")), QStringLiteral("8"));
    EXPECT_EQ(GetTableValue(QStringLiteral("s"), QStringLiteral("b")), QStringLiteral("-1"));
    EXPECT_EQ(GetTableValues(QStringLiteral("s"), {QStringLiteral("b"), QStringLiteral("zz"), QStringLiteral("a")}),
              QStringList({QStringLiteral("-1"), QString(), QStringLiteral("8")}));
    // A missing field reads as empty, quiet or not; a missing table is reported.
    EXPECT_EQ(GetTableValue(QStringLiteral("s"), QStringLiteral("zz"), false), QString());
    EXPECT_EQ(messages(), 0u);
    EXPECT_EQ(GetTableValue(QStringLiteral("nope"), QStringLiteral("a"), true), QString());
    EXPECT_EQ(messages(), 1u);
    // Writing a field the table does not have is reported, not ignored.
    EXPECT_EQ(SetTableValue(QStringLiteral("s"), QStringLiteral("zz"), 1), -1);
    EXPECT_EQ(messages(), 2u);
}

TEST_F(DbAccess, TablesRoundTripThroughArrays)
{
    ASSERT_EQ(AddTableField(), 0);
    db::TableArray arr;
    EXPECT_EQ(TableToArray(arr, QStringLiteral("T_勤務表")), 0);
    EXPECT_EQ(arr.UBound(1), 0);
    EXPECT_EQ(arr.UBound(2), 5);
    EXPECT_EQ(arr(0, 0).toInt(), 0);

    db::TableArray in(3, 5);
    const char* dates[] = {"2024-04-03", "2024-04-01", ""};
    for (int i = 1; i <= 3; ++i) {
        in(i, 0) = 100 + i;  // a key of another table: left to this one
        in(i, 1) = i;
        in(i, 2) = QString::fromLatin1(dates[i - 1]);
        in(i, 3) = i == 2 ? QVariant() : QVariant(i * 2);
        in(i, 4) = 0;
    }
    EXPECT_EQ(ArrayToTable(in, QStringLiteral("T_勤務表")), 0);
    EXPECT_EQ(ArrayToTable(in, QStringLiteral("T_勤務表")), 0);
    EXPECT_EQ(query(QStringLiteral("SELECT count(*) FROM T_勤務表 WHERE 日付 IS NULL")).toInt(), 2);
    EXPECT_EQ(query(QStringLiteral("SELECT max([no]) FROM T_勤務表")).toInt(), 6);

    EXPECT_EQ(TableToArray(arr, QStringLiteral("T_勤務表")), 6);
    EXPECT_EQ(arr(0, 0).toInt(), 6);
    EXPECT_EQ(arr.UBound(1), 6);
    EXPECT_EQ(arr(1, 0).toInt(), 1);
    EXPECT_EQ(arr(2, 2).toString(), QStringLiteral("2024-04-01"));
    EXPECT_FALSE(arr(2, 3).isValid());
    EXPECT_FALSE(arr(6, 5).isValid());

    EXPECT_EQ(TableToArray(arr, QStringLiteral("SeLeCt Id, 日付 FROM T_勤務表 WHERE 日付 IS NOT NULL ORDER BY 日付 DESC")), 4);
    EXPECT_EQ(arr(1, 1).toString(), QStringLiteral("2024-04-03"));

    // A plain number in the first column is data, not a key.
    db::TableArray plan(1, 2);
    plan(1, 0) = 5;
    plan(1, 1) = 9;
    EXPECT_EQ(ArrayToTable(plan, QStringLiteral("T_Work_予定休み数")), 0);
    EXPECT_EQ(query(QStringLiteral("SELECT Id || ',' || 予定休み数 FROM T_Work_予定休み数")).toString(), QStringLiteral("5,9"));

    // Failures leave the array as it was and add nothing.
    EXPECT_EQ(TableToArray(arr, QStringLiteral("missing")), -1);
    EXPECT_EQ(arr(0, 0).toInt(), 4);
    EXPECT_EQ(ArrayToTable(in, QStringLiteral("missing")), -1);
}

TEST_F(DbAccess, UpdateRetryGivesUpOnALockedDatabaseAndSaysSo)
{
    execute(QStringLiteral("CREATE TABLE s (a INTEGER)"));
    execute(QStringLiteral("INSERT INTO s VALUES (1)"));
    db::Connection other;
    other.open(DefaultDbPath());
    other.begin();
    other.execute(QStringLiteral("UPDATE s SET a = 2"));

    ASSERT_EQ(RsOpen(QStringLiteral("SELECT * FROM s")), 0);
    rs.Fields(0).setValue(3);
    MemLog(QString(), true);
    ManualClock clock;
    EXPECT_EQ(RsUpdateRetry(rs), -1);
    // Five tries with a doubling pause after each.
    EXPECT_EQ(clock.sleeps, (std::vector<qint64>{10, 20, 40, 80, 160}));
    ASSERT_EQ(messages(), 1u);
    EXPECT_EQ(ui::shownMessages().front().title, QStringLiteral("データベース更新エラー"));
    EXPECT_TRUE(MemLogEntries().join(QLatin1Char('\n')).contains(QStringLiteral("RsUpdateRetry")));
    EXPECT_FALSE(rs.editPending());
    RsClose();

    other.commit();
    EXPECT_EQ(query(QStringLiteral("SELECT a FROM s")).toInt(), 2);
    // Once the lock is gone the same write goes through.
    ASSERT_EQ(RsOpen(QStringLiteral("SELECT * FROM s")), 0);
    rs.Fields(0).setValue(3);
    EXPECT_EQ(RsUpdateRetry(rs), 0);
    RsClose();
    EXPECT_EQ(query(QStringLiteral("SELECT a FROM s")).toInt(), 3);
}

TEST_F(DbAccess, CompactDbClosesTheConnectionAndKeepsTheRows)
{
    ASSERT_EQ(AddTableField(), 0);
    execute(QStringLiteral("INSERT INTO T_名簿 (Id, 氏名) VALUES (1, '山田')"));
    ASSERT_EQ(RsOpen(QStringLiteral("SELECT * FROM T_名簿")), 0);
    EXPECT_EQ(CompactDb(DefaultDbPath()), QString());
    EXPECT_FALSE(cn.isOpen());
    EXPECT_EQ(rs.State(), db::adStateClosed);
    EXPECT_EQ(query(QStringLiteral("SELECT 氏名 FROM T_名簿")).toString(), QStringLiteral("山田"));
    EXPECT_TRUE(CompactDb(dir.filePath(QStringLiteral("none.db"))).startsWith(QStringLiteral("53 ")));
}

TEST_F(DbAccess, GridModelsReadThroughTheConnection)
{
    ASSERT_EQ(AddTableField(), 0);
    QSqlQueryModel model;
    db::Connection closed;
    EXPECT_EQ(RsOpenForGrid(closed, model, QStringLiteral("SELECT * FROM T_基本設定")), -1);
    ASSERT_FALSE(DbConnect());
    EXPECT_EQ(RsOpenForGrid(cn, model, QStringLiteral("SELECT rowid, * FROM T_基本設定 ORDER BY rowid LIMIT 1")), 0);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.record().fieldName(17), QStringLiteral("荷重_総勤務日数_今期"));
    EXPECT_EQ(RsOpenForGrid(cn, model, QStringLiteral("SELECT * FROM nowhere")), -1);
    EXPECT_EQ(messages(), 0u);
    model.clear();
}
