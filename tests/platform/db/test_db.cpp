#include "platform/db/compact.h"
#include "platform/db/db.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

namespace {

class DbTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("集計.db"));
        cn.open(path);
        cn.execute(QStringLiteral("CREATE TABLE t ([no] INTEGER PRIMARY KEY AUTOINCREMENT, 名前 TEXT, n INTEGER)"));
        for (int i = 1; i <= 3; ++i)
            cn.execute(QStringLiteral("INSERT INTO t (名前, n) VALUES (?, ?)"), {QStringLiteral("名%1").arg(i), i * 10});
    }

    QStringList names(const QString& sql)
    {
        QStringList out;
        db::Recordset r;
        r.Open(sql, cn, db::adOpenKeyset, db::adLockReadOnly);
        for (; !r.EndOfFile(); r.MoveNext())
            out << r.Fields(0).Value().toString();
        return out;
    }

    QTemporaryDir dir;
    QString path;
    db::Connection cn;
};

}  // namespace

TEST_F(DbTest, RecordsetMovesLikeAKeysetCursor)
{
    db::Recordset r;
    r.Open(QStringLiteral("SELECT * FROM t ORDER BY n"), cn);
    EXPECT_EQ(r.State(), db::adStateOpen);
    EXPECT_EQ(r.RecordCount(), 3);
    EXPECT_EQ(r.FieldCount(), 3);
    EXPECT_FALSE(r.BOF());
    EXPECT_TRUE(r.Fields(0).isAutoKey());
    EXPECT_FALSE(r.Fields(QStringLiteral("N")).isAutoKey());
    EXPECT_EQ(r.Fields(1).Name(), QStringLiteral("名前"));
    r.MoveLast();
    EXPECT_EQ(r.Fields(QStringLiteral("n")).Value().toInt(), 30);
    r.MoveNext();
    EXPECT_TRUE(r.EndOfFile());
    EXPECT_THROW(r.MoveNext(), db::Error);
    EXPECT_THROW(r.Fields(QStringLiteral("n")).Value(), db::Error);
    r.MoveFirst();
    r.MovePrevious();
    EXPECT_TRUE(r.BOF());
    EXPECT_THROW(r.Fields(QStringLiteral("nope")), db::Error);

    db::Recordset empty;
    empty.Open(QStringLiteral("SELECT * FROM t WHERE 0"), cn);
    EXPECT_TRUE(empty.EndOfFile());
    EXPECT_TRUE(empty.BOF());
    EXPECT_EQ(empty.FieldCount(), 3);
}

TEST_F(DbTest, EditsReachTheTable)
{
    db::Recordset r;
    r.Open(QStringLiteral("select * from t where n >= 20;"), cn);
    r.Fields(QStringLiteral("n")).setValue(21);
    r.MoveNext();  // moving on saves the edit
    r.Delete();    // the row stays current until the next move
    EXPECT_THROW(r.Fields(0).Value(), db::Error);
    r.MoveNext();
    EXPECT_TRUE(r.EndOfFile());
    EXPECT_EQ(r.RecordCount(), 1);
    r.AddNew();
    r.Fields(QStringLiteral("名前")).setValue(QStringLiteral("新"));
    r.Fields(QStringLiteral("n")).setValue(true);
    r.Update();
    EXPECT_EQ(r.Fields(0).Value().toInt(), 4);  // the new key comes back
    r.Close();
    EXPECT_EQ(r.State(), db::adStateClosed);

    EXPECT_EQ(names(QStringLiteral("SELECT n FROM t ORDER BY [no]")),
              (QStringList{QStringLiteral("10"), QStringLiteral("21"), QStringLiteral("-1")}));
    // Dates are stored as ISO text, Null as Null.
    r.Open(QStringLiteral("SELECT * FROM t"), cn);
    r.Fields(QStringLiteral("名前")).setValue(QDate(2024, 2, 9));
    r.MoveNext();
    r.Fields(QStringLiteral("名前")).setValue(QVariant());
    r.Update();
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT 名前 FROM t WHERE [no]=1")).toString(), QStringLiteral("2024-02-09"));
    EXPECT_FALSE(cn.scalar(QStringLiteral("SELECT 名前 FROM t WHERE [no]=2")).isValid());
}

TEST_F(DbTest, CancelledEditsAndReadOnlyRowsLeaveTheTableAlone)
{
    db::Recordset r;
    r.Open(QStringLiteral("SELECT * FROM t"), cn);
    r.Fields(QStringLiteral("n")).setValue(99);
    r.CancelUpdate();
    EXPECT_EQ(r.Fields(QStringLiteral("n")).Value().toInt(), 10);
    r.AddNew();
    r.CancelUpdate();
    EXPECT_EQ(r.RecordCount(), 3);
    r.MoveLast();  // nothing pending: nothing written

    cn.execute(QStringLiteral("CREATE TABLE w (n INTEGER PRIMARY KEY) WITHOUT ROWID"));
    cn.execute(QStringLiteral("INSERT INTO w SELECT n FROM t"));
    const QString readOnlySources[] = {
        QStringLiteral("SELECT * FROM w"),
        QStringLiteral("SELECT DISTINCT n FROM t"),
        QStringLiteral("SELECT n, count(*) FROM t GROUP BY n"),
        QStringLiteral("SELECT a.n FROM t a JOIN t b ON a.[no] = b.[no]"),
    };
    for (const QString& sql : readOnlySources) {
        db::Recordset ro;
        ro.Open(sql, cn);
        EXPECT_EQ(ro.RecordCount(), 3) << sql.toStdString();
        EXPECT_THROW(ro.Fields(0).setValue(1), db::Error) << sql.toStdString();
        EXPECT_THROW(ro.AddNew(), db::Error) << sql.toStdString();
    }
    db::Recordset locked;
    locked.Open(QStringLiteral("SELECT * FROM t"), cn, db::adOpenForwardOnly, db::adLockReadOnly);
    EXPECT_THROW(locked.Delete(), db::Error);
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT sum(n) FROM t")).toInt(), 60);
}

TEST_F(DbTest, FilterAndSortKeepRowsEditable)
{
    db::Recordset r;
    r.Open(QStringLiteral("SELECT * FROM t"), cn);
    r.setSort(QStringLiteral("n DESC"));
    EXPECT_EQ(r.Fields(QStringLiteral("n")).Value().toInt(), 30);
    r.setFilter(QStringLiteral("n < 25"));
    EXPECT_EQ(r.RecordCount(), 2);
    EXPECT_EQ(r.Fields(QStringLiteral("n")).Value().toInt(), 20);
    r.Fields(QStringLiteral("n")).setValue(22);
    r.Update();
    r.setFilter({});
    EXPECT_EQ(r.RecordCount(), 3);
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT n FROM t WHERE [no]=2")).toInt(), 22);
}

TEST_F(DbTest, ColumnNumbersInOrderByCountTheCallersColumns)
{
    // Keys ascend while n descends: ordering by the wrong column shows.
    cn.execute(QStringLiteral("UPDATE t SET n = 100 - n"));
    db::Recordset r;
    r.Open(QStringLiteral("SELECT n, 名前 FROM t ORDER BY 1"), cn);
    EXPECT_EQ(r.Fields(0).Value().toInt(), 70);
    r.Fields(QStringLiteral("名前")).setValue(QStringLiteral("先頭"));
    r.Update();
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT 名前 FROM t WHERE n = 70")).toString(), QStringLiteral("先頭"));
    r.setSort(QStringLiteral("2 DESC"));
    EXPECT_EQ(r.Fields(0).Value().toInt(), 80);  // 名2 sorts after 先頭 and 名1
    EXPECT_EQ(r.FieldCount(), 2);
}

TEST_F(DbTest, StatementsWithoutRowsRunAndFailuresCarryTheirText)
{
    db::Recordset r;
    r.Open(QStringLiteral("DELETE FROM t WHERE n = 10"), cn);
    EXPECT_EQ(r.State(), db::adStateClosed);
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 2);
    try {
        r.Open(QStringLiteral("SELECT * FROM missing"), cn);
        FAIL();
    } catch (const db::Error& e) {
        EXPECT_NE(e.number, 0);
        EXPECT_TRUE(e.description.contains(QStringLiteral("missing")));
    }
    EXPECT_TRUE(cn.tableExists(QStringLiteral("t")));
    EXPECT_EQ(cn.columns(QStringLiteral("t")), (QStringList{QStringLiteral("no"), QStringLiteral("名前"), QStringLiteral("n")}));
    EXPECT_EQ(cn.autoKeyColumn(QStringLiteral("t")), QStringLiteral("no"));
}

TEST_F(DbTest, TransactionRollsBackUnlessCommitted)
{
    try {
        db::Transaction t(cn);
        cn.execute(QStringLiteral("DELETE FROM t"));
        cn.execute(QStringLiteral("INSERT INTO nowhere VALUES (1)"));
        t.commit();
    } catch (const db::Error&) {
    }
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 3);
    EXPECT_FALSE(cn.inTransaction());
}

TEST_F(DbTest, OpenRefusesWhatIsNotADatabase)
{
    const QString junk = dir.filePath(QStringLiteral("junk.db"));
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    db::Connection other;
    EXPECT_THROW(other.open(junk), db::Error);
    EXPECT_FALSE(other.isOpen());
    EXPECT_THROW(other.open(dir.filePath(QStringLiteral("no/such/folder.db"))), db::Error);
}

TEST_F(DbTest, CompactionKeepsEveryRow)
{
    cn.execute(QStringLiteral("CREATE TABLE big (x TEXT)"));
    for (int i = 0; i < 200; ++i)
        cn.execute(QStringLiteral("INSERT INTO big VALUES (?)"), {QString(500, QLatin1Char('a' + i % 26))});
    cn.execute(QStringLiteral("DELETE FROM big WHERE rowid > 20"));
    cn.close();
    const qint64 before = QFileInfo(path).size();
    EXPECT_EQ(db::compactFile(path).error, QString());
    EXPECT_LT(QFileInfo(path).size(), before);
    cn.open(path);
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT count(*) FROM big")).toInt(), 20);
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT group_concat(名前) FROM t")).toString(), QStringLiteral("名1,名2,名3"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("集計.db")});
}

TEST_F(DbTest, FailedCompactionLeavesTheOriginalUntouched)
{
    cn.close();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray original = f.readAll();
    f.close();

    const QString err = db::compactFile(path, [](const QString&, const QString&) { return EXDEV; }).error;
    EXPECT_FALSE(err.isEmpty());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), original);
    f.close();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("集計.db")});

    // Another connection in the middle of a write: the file is not replaced under it.
    cn.open(path);
    cn.begin();
    cn.execute(QStringLiteral("INSERT INTO t (名前, n) VALUES ('x', 1)"));
    EXPECT_FALSE(db::compactFile(path).error.isEmpty());
    cn.commit();
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT count(*) FROM t")).toInt(), 4);
    cn.close();

    EXPECT_TRUE(db::compactFile(dir.filePath(QStringLiteral("missing.db"))).error.startsWith(QStringLiteral("53 ")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing.db"))));
}

TEST_F(DbTest, AFileReplacedUnderAnOpenConnectionIsSaidSoNotReadOnly)
{
    // Another program's compaction puts a new file in place while this connection stays open.
    ASSERT_EQ(db::compactFile(path).error, QString());
    try {
        cn.execute(QStringLiteral("INSERT INTO t (名前, n) VALUES ('x', 1)"));
        FAIL() << "the write went to the replaced file";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.number, db::sqliteReadOnlyDbMoved);
        EXPECT_TRUE(e.summary().startsWith(QStringLiteral("データベースのファイルが、開いている間に他のプログラム")));
    }
}
