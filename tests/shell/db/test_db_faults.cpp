// The database under faults: damaged pages and indexes, files and folders that cannot be written,
// an empty file, a lock. The damage is made here, on files the test has just written.
#include "db_fixture.h"

#include "shell/rs_dbsub.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const QString kAdvice = QStringLiteral("データベースを開いていたら、閉じてから再開してください。");

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void overwrite(const QString& path, qint64 offset, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(offset));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// A table of 310 rows over several pages, its index (when asked) written after the rows, so that
// the file's last pages hold the index.
void writeTable(const QString& path, bool withIndex)
{
    db::Connection c;
    c.open(path);
    c.execute(QStringLiteral("CREATE TABLE T_x (no INTEGER PRIMARY KEY, 名前 TEXT)"));
    db::Transaction t(c);
    for (int i = 0; i < 310; ++i) {
        const QString name = QStringLiteral("key%1-").arg(i, 3, 10, QLatin1Char('0')) + QString(30, QLatin1Char('x'));
        c.execute(QStringLiteral("INSERT INTO T_x (名前) VALUES (?)"), {name});
    }
    t.commit();
    if (withIndex)
        c.execute(QStringLiteral("CREATE INDEX ix ON T_x (名前)"));
}

void setWritable(const QString& path, bool on)
{
    const auto write = QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
    const auto p = QFile::permissions(path);
    QFile::setPermissions(path, on ? p | QFile::WriteOwner | QFile::WriteUser : p & ~write);
}

}  // namespace

using DbFaults = WorkFolderTest;

TEST_F(DbFaults, AReadThatStopsOnADamagedPageIsAFailureNotAShortTable)
{
    writeTable(DefaultDbPath(), false);
    const QByteArray file = bytesOf(DefaultDbPath());
    const int pageSize = (static_cast<uchar>(file[16]) << 8) | static_cast<uchar>(file[17]);
    overwrite(DefaultDbPath(), file.size() - pageSize, QByteArray(4, '\0'));  // the last leaf's header
    {
        // The damage lies past the first rows: a plain read gets some, then stops on the error.
        db::Connection c;
        c.open(DefaultDbPath());
        QSqlQuery q(c.database());
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT * FROM T_x")));
        int rows = 0;
        while (q.next())
            ++rows;
        EXPECT_GT(rows, 0);
        EXPECT_TRUE(q.lastError().isValid());
    }

    db::TableArray arr(1, 1);
    arr(0, 0) = 7;
    EXPECT_EQ(TableToArray(arr, QStringLiteral("T_x")), -1);
    EXPECT_EQ(arr.UBound(1), 1);
    EXPECT_EQ(arr(0, 0).toInt(), 7);
    ASSERT_EQ(messages(), 1u);
    const QString& prompt = ui::shownMessages().front().prompt;
    EXPECT_TRUE(prompt.startsWith(QStringLiteral("テーブル／クエリのオープンに失敗しました。\nデータベースのファイルが壊れています。\n\n11  ")));
    EXPECT_TRUE(prompt.contains(QStringLiteral("database disk image is malformed")));
    EXPECT_EQ(GetTableValue(QStringLiteral("T_x"), QStringLiteral("名前")), QString());
    EXPECT_EQ(messages(), 2u);
}

TEST_F(DbFaults, CompactionChecksInFullAndLeavesADamagedFileAsItIs)
{
    writeTable(DefaultDbPath(), true);
    // One index entry no longer matches its row (the order of the keys is kept): a quick check
    // passes this, and the compacted copy would keep it.
    const QByteArray file = bytesOf(DefaultDbPath());
    const qint64 at = file.lastIndexOf("key150-");
    ASSERT_GT(at, file.indexOf("key150-"));
    overwrite(DefaultDbPath(), at + 5, "/");
    const QByteArray damaged = bytesOf(DefaultDbPath());
    {
        db::Connection c;
        c.open(DefaultDbPath());
        ASSERT_EQ(c.scalar(QStringLiteral("PRAGMA quick_check")).toString(), QStringLiteral("ok"));
    }

    const QString result = CompactDb(DefaultDbPath());
    EXPECT_TRUE(result.startsWith(QStringLiteral("11 データベースが壊れているため、圧縮せずに残しました。\n")));
    EXPECT_TRUE(result.contains(QStringLiteral("index ix")));
    EXPECT_FALSE(result.contains(QStringLiteral("コピー")));
    EXPECT_EQ(bytesOf(DefaultDbPath()), damaged);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("集計.db")});
    ASSERT_EQ(messages(), 1u);
    EXPECT_TRUE(ui::shownMessages().front().prompt.startsWith(result));
    EXPECT_EQ(ui::shownMessages().front().buttons, ui::vbOKOnly | ui::vbExclamation | ui::vbSystemModal);
}

TEST_F(DbFaults, StartUpSaysOnceWhatTheRunCannotWrite)
{
    const auto startIn = [&](const QString& name) {
        resetDbGlobals();
        ui::resetMessages();
        DbBusyTimeoutMs = 0;
        stDbPath = dir.filePath(name);
        QDir().mkpath(stDbPath);
    };

    // A new work folder: nothing to say, and the first connection leaves a database, not an
    // empty file that the next start would take for a damaged one.
    startIn(QStringLiteral("new"));
    EXPECT_FALSE(DbReadOnly());
    ASSERT_FALSE(DbConnect());
    DbClose();
    EXPECT_GT(QFileInfo(DefaultDbPath()).size(), 0);
    EXPECT_FALSE(DbReadOnly());
    EXPECT_EQ(messages(), 0u);

    // A read-only file, then a folder that cannot be written: said at start, then only read.
    for (const bool folder : {false, true}) {
        startIn(QStringLiteral("new"));
        const QString target = folder ? stDbPath : DefaultDbPath();
        setWritable(target, false);
        EXPECT_TRUE(DbReadOnly());
        EXPECT_TRUE(DbOpenReadOnly);
        EXPECT_EQ(AddTableField(), 1);
        EXPECT_TRUE(cn.isReadOnly());
        DbClose();
        setWritable(target, true);
        ASSERT_EQ(messages(), 1u);
        EXPECT_TRUE(ui::shownMessages().front().prompt.contains(QStringLiteral("読み取り専用で開きます。")));
    }

    // An empty file: said once, left as it is, and never made a new database.
    startIn(QStringLiteral("empty"));
    QFile(DefaultDbPath()).open(QIODevice::WriteOnly);
    EXPECT_TRUE(DbReadOnly());
    EXPECT_TRUE(DbConnect());
    EXPECT_EQ(AddTableField(), -1);
    EXPECT_EQ(GetTableValue(QStringLiteral("T_基本設定"), QStringLiteral("荷重_総勤務日数")), QString());
    EXPECT_EQ(QFileInfo(DefaultDbPath()).size(), 0);
    ASSERT_EQ(messages(), 1u);
    EXPECT_TRUE(ui::shownMessages().front().prompt.contains(QStringLiteral("空です（0 バイト）")));

    // No file, and a folder where none can be made.
    startIn(QStringLiteral("locked"));
    setWritable(stDbPath, false);
    EXPECT_TRUE(DbReadOnly());
    EXPECT_TRUE(DbConnect());
    setWritable(stDbPath, true);
    EXPECT_FALSE(QFile::exists(DefaultDbPath()));
    EXPECT_EQ(messages(), 1u);
}

TEST_F(DbFaults, MessagesSayWhatHappenedBeforeSQLitesOwnWords)
{
    // A damaged file is not "open elsewhere".
    writeTable(DefaultDbPath(), false);
    const QByteArray healthy = bytesOf(DefaultDbPath());
    overwrite(DefaultDbPath(), 0, QByteArray(16, 'z'));
    EXPECT_TRUE(DbConnect());
    ASSERT_EQ(messages(), 1u);
    QString prompt = ui::shownMessages().back().prompt;
    EXPECT_TRUE(prompt.startsWith(QStringLiteral("データベースを開けませんでした。\nデータベースのファイルが壊れています。\n26 ")));
    EXPECT_FALSE(prompt.contains(kAdvice));

    // A lock is, and only a lock gets the advice.
    overwrite(DefaultDbPath(), 0, healthy.left(16));
    resetDbGlobals();
    DbBusyTimeoutMs = 0;
    {
        db::Connection other;
        other.open(DefaultDbPath());
        other.execute(QStringLiteral("BEGIN EXCLUSIVE"));
        EXPECT_TRUE(DbConnect());
        other.execute(QStringLiteral("ROLLBACK"));
    }
    ASSERT_EQ(messages(), 2u);
    prompt = ui::shownMessages().back().prompt;
    EXPECT_TRUE(prompt.startsWith(QStringLiteral("データベースを開けませんでした。\nデータベースは他のプログラムが使用中です。\n5 ")));
    EXPECT_TRUE(prompt.contains(QStringLiteral("database is locked\n") + kAdvice));

    // A failed write names its own statement, not the read that found the row.
    resetDbGlobals();
    DbBusyTimeoutMs = 0;
    ASSERT_EQ(RsOpen(QStringLiteral("SELECT * FROM T_x WHERE no = 1")), 0);
    rs.Fields(1).setValue(QStringLiteral("新"));
    {
        db::Connection other;
        other.open(DefaultDbPath());
        other.execute(QStringLiteral("BEGIN EXCLUSIVE"));
        EXPECT_EQ(RsUpdateRetry(rs), -1);
        other.execute(QStringLiteral("ROLLBACK"));
    }
    RsClose();
    ASSERT_EQ(messages(), 3u);
    prompt = ui::shownMessages().back().prompt;
    EXPECT_TRUE(prompt.startsWith(QStringLiteral("データベースへの書き込みに失敗しました。\nデータベースは他のプログラムが使用中です。\n\n5 ")));
    EXPECT_TRUE(prompt.endsWith(QStringLiteral("SQL = UPDATE \"T_x\" SET \"名前\"=? WHERE rowid=?")));
}
