// The database under faults, the damage made here on files the test has just written.
#include "work_folder.h"

#include "shell/rs_dbsub.h"
#include "shell/state.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

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
    ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(offset));
    f.write(bytes);
}

// 310 rows over several pages; the index, written after them, fills the last pages.
void writeTable(bool withIndex)
{
    db::Connection c;
    c.open(DefaultDbPath());
    c.execute(QStringLiteral("CREATE TABLE T_x (no INTEGER PRIMARY KEY, 名前 TEXT)"));
    c.execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 309) "
                             "INSERT INTO T_x (名前) SELECT printf('key%03d-%.30c', i, 'x') FROM n"));
    if (withIndex)
        c.execute(QStringLiteral("CREATE INDEX ix ON T_x (名前)"));
}

void setWritable(const QString& path, bool on)
{
    const auto write = QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
    QFile::setPermissions(path, on ? QFile::permissions(path) | write : QFile::permissions(path) & ~write);
}

QString lastPrompt()
{
    return ui::shownMessages().empty() ? QString() : ui::shownMessages().back().prompt;
}

// A month save killed before its commit leaves its journal beside 集計.db, and the file itself
// half written.
class InterruptedSave : public WorkFolderTest<resetShellState> {
protected:
    void SetUp() override
    {
        WorkFolderTest::SetUp();
        AppPath = dir.filePath(QStringLiteral("prog"));
        QDir().mkpath(AppPath);
        // A saved month: 30 members over 31 days.
        openDatabase();
        cn.execute(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 929) "
            "INSERT INTO T_勤務表 (Id, 日付, 勤務No, 休平日) "
            "SELECT i / 31 + 1, date('2024-05-01', '+' || (i % 31) || ' days'), i % 4, i % 7 = 0 FROM n"));
        DbClose();
        before = bytesOf(DefaultDbPath());
    }

    // The month saved again by a child process that is killed before it commits. Its cache holds
    // a few pages only, so the save has already written into the file itself.
    void killMidSave()
    {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                db::Connection c;
                c.open(DefaultDbPath());
                c.execute(QStringLiteral("PRAGMA cache_size = 10"));
                c.begin();
                c.execute(QStringLiteral("DELETE FROM T_勤務表"));
                c.execute(QStringLiteral(
                    "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 19999) "
                    "INSERT INTO T_勤務表 (Id, 日付, 勤務No, 休平日) SELECT i % 50, '2024-06-01', 9, 0 FROM n"));
                raise(SIGKILL);
            } catch (...) {
            }
            _exit(1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        ASSERT_GT(QFileInfo(journal()).size(), 0);
        ASSERT_NE(bytesOf(DefaultDbPath()), before);
    }

    QString journal() const { return db::journalPath(DefaultDbPath()); }

    // The file as the saved month left it: a rollback puts back every page it had.
    QByteArray before;
};

}  // namespace

using DbFaults = WorkFolderTest<resetShellState>;

TEST_F(DbFaults, AReadThatStopsOnADamagedPageIsAFailureNotAShortTable)
{
    writeTable(false);
    const QByteArray file = bytesOf(DefaultDbPath());
    const int pageSize = (static_cast<uchar>(file[16]) << 8) | static_cast<uchar>(file[17]);
    overwrite(DefaultDbPath(), file.size() - pageSize, QByteArray(4, '\0'));  // the last leaf's header

    db::TableArray arr(1, 1);
    arr(0, 0) = 7;
    EXPECT_EQ(TableToArray(arr, QStringLiteral("T_x")), -1);
    EXPECT_EQ(arr(0, 0).toInt(), 7);
    EXPECT_TRUE(lastPrompt().startsWith(QStringLiteral("テーブル／クエリのオープンに失敗しました。\nデータベースのファイルが壊れています。\n\n11  database disk image is malformed")));
    EXPECT_EQ(GetTableValue(QStringLiteral("T_x"), QStringLiteral("名前")), QString());
    EXPECT_EQ(messages(), 2u);
}

TEST_F(DbFaults, CompactionChecksInFullAndLeavesADamagedFileAsItIs)
{
    // One index entry no longer matches its row, in key order still: a quick check passes it.
    writeTable(true);
    overwrite(DefaultDbPath(), bytesOf(DefaultDbPath()).lastIndexOf("key150-") + 5, "/");
    const QByteArray damaged = bytesOf(DefaultDbPath());

    const QString result = CompactDb(DefaultDbPath());
    EXPECT_TRUE(result.startsWith(QStringLiteral("11 データベースが壊れているため、圧縮せずに残しました。\n")));
    EXPECT_TRUE(result.contains(QStringLiteral("index ix")));
    EXPECT_EQ(bytesOf(DefaultDbPath()), damaged);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("集計.db")});
    ASSERT_EQ(messages(), 1u);
    EXPECT_TRUE(lastPrompt().startsWith(result));
}

TEST_F(DbFaults, StartUpRemovesOnlyTheCopiesAnInterruptedCompactionLeft)
{
    ASSERT_FALSE(DbConnect());
    DbClose();
    const QString db = DefaultDbPath();
    const QString ours = db + QStringLiteral(".compacting-Ab3xY9");
    // Everything else beside it stays: the user's own copies and names that only look alike.
    const QStringList others = {db + QStringLiteral(".backup"), db + QStringLiteral(".compacting-Ab3xY"),
                                db + QStringLiteral(".compacting-Ab3xY9.bak"), db + QStringLiteral(".compacting-Ab3x_9"),
                                dir.filePath(QStringLiteral("その他.db.compacting-Ab3xY9"))};
    const QStringList made = QStringList(others) << ours;
    for (const QString& path : made) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString folder = db + QStringLiteral(".compacting-Fo1der");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::link(db, db + QStringLiteral(".compacting-L1nk00")));

    EXPECT_FALSE(DbReadOnly());
    EXPECT_FALSE(QFile::exists(ours));
    for (const QString& path : others)
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QFileInfo(db + QStringLiteral(".compacting-L1nk00")).isSymLink());
    EXPECT_TRUE(QFile::exists(db));
    EXPECT_EQ(messages(), 0u);
}

TEST_F(DbFaults, StartUpSaysOnceWhatTheRunCannotWrite)
{
    const auto start = [&](const QString& folder) {
        resetDbGlobals();
        ui::resetMessages();
        stDbPath = dir.filePath(folder);
        QDir().mkpath(stDbPath);
    };
    // A new folder: nothing to say, and the new database is never an empty file.
    start(QStringLiteral("new"));
    EXPECT_FALSE(DbReadOnly());
    ASSERT_FALSE(DbConnect());
    DbClose();
    EXPECT_FALSE(DbReadOnly());
    EXPECT_EQ(messages(), 0u);

    for (const bool folder : {false, true}) {
        start(QStringLiteral("new"));
        const QString target = folder ? stDbPath : DefaultDbPath();
        setWritable(target, false);
        EXPECT_TRUE(DbReadOnly());
        EXPECT_EQ(AddTableField(), 1);
        EXPECT_TRUE(cn.isReadOnly());
        setWritable(target, true);
        EXPECT_EQ(messages(), 1u);
    }

    start(QStringLiteral("empty"));
    QFile(DefaultDbPath()).open(QIODevice::WriteOnly);
    EXPECT_TRUE(DbReadOnly());
    EXPECT_TRUE(lastPrompt().contains(QStringLiteral("空です（0 バイト）")));
    EXPECT_EQ(AddTableField(), -1);
    EXPECT_EQ(GetTableValue(QStringLiteral("T_基本設定"), QStringLiteral("荷重_総勤務日数")), QString());
    EXPECT_EQ(QFileInfo(DefaultDbPath()).size(), 0);
    EXPECT_EQ(messages(), 1u);

    start(QStringLiteral("locked"));
    setWritable(stDbPath, false);
    EXPECT_TRUE(DbReadOnly());
    EXPECT_TRUE(DbConnect());
    setWritable(stDbPath, true);
    EXPECT_FALSE(QFile::exists(DefaultDbPath()));
    EXPECT_EQ(messages(), 1u);
}

TEST_F(DbFaults, MessagesSayWhatHappenedBeforeSQLitesOwnWords)
{
    writeTable(false);
    const QByteArray header = bytesOf(DefaultDbPath()).left(16);
    overwrite(DefaultDbPath(), 0, QByteArray(16, 'z'));
    EXPECT_TRUE(DbConnect());
    EXPECT_TRUE(lastPrompt().startsWith(QStringLiteral("データベースを開けませんでした。\nデータベースのファイルが壊れています。\n26 ")));
    EXPECT_FALSE(lastPrompt().contains(kAdvice));

    overwrite(DefaultDbPath(), 0, header);
    resetDbGlobals();
    DbBusyTimeoutMs = 0;
    db::Connection other;
    other.open(DefaultDbPath());
    other.execute(QStringLiteral("BEGIN EXCLUSIVE"));
    EXPECT_TRUE(DbConnect());
    EXPECT_TRUE(lastPrompt().contains(QStringLiteral("\nデータベースは他のプログラムが使用中です。\n5 database is locked\n") + kAdvice));
    other.execute(QStringLiteral("ROLLBACK"));

    // A failed write names its own statement, not the read that found the row.
    resetDbGlobals();
    DbBusyTimeoutMs = 0;
    ASSERT_EQ(RsOpen(QStringLiteral("SELECT * FROM T_x WHERE no = 1")), 0);
    rs.Fields(1).setValue(QStringLiteral("新"));
    other.execute(QStringLiteral("BEGIN EXCLUSIVE"));
    EXPECT_EQ(RsUpdateRetry(rs), -1);
    other.execute(QStringLiteral("ROLLBACK"));
    EXPECT_TRUE(lastPrompt().startsWith(QStringLiteral("データベースへの書き込みに失敗しました。\nデータベースは他のプログラムが使用中です。")));
    EXPECT_TRUE(lastPrompt().endsWith(QStringLiteral("SQL = UPDATE \"T_x\" SET \"名前\"=? WHERE rowid=?")));
    EXPECT_EQ(messages(), 3u);
}

TEST_F(InterruptedSave, StartUpRollsItBackWithoutAWord)
{
    killMidSave();
    EXPECT_FALSE(DbReadOnly());
    EXPECT_EQ(messages(), 0u);
    EXPECT_FALSE(QFile::exists(journal()));
    EXPECT_TRUE(bytesOf(QDir(AppPath).filePath(QStringLiteral("log_boot.txt"))).contains("rolled back the journal"));
    EXPECT_EQ(bytesOf(DefaultDbPath()), before);
    ASSERT_EQ(AddTableField(), 0);
    EXPECT_FALSE(cn.isReadOnly());
    EXPECT_EQ(query(QStringLiteral("SELECT count(*) FROM T_勤務表")).toInt(), 930);
}

TEST_F(InterruptedSave, AFolderThatCannotBeWrittenKeepsThePairAsItIs)
{
    killMidSave();
    const QByteArray torn = bytesOf(DefaultDbPath());
    const QByteArray journalBytes = bytesOf(journal());
    // Cleared write bits count as read-only even for root, whom the system lets write.
    setWritable(stDbPath, false);
    EXPECT_TRUE(DbReadOnly());
    ASSERT_EQ(messages(), 1u);
    EXPECT_TRUE(lastPrompt().startsWith(QStringLiteral("データベースのファイル(集計.db)への前回の保存が途中で中断されたままです。")));
    EXPECT_TRUE(lastPrompt().contains(QStringLiteral("776 ")));
    EXPECT_FALSE(lastPrompt().contains(QStringLiteral("読み取り専用")));
    EXPECT_FALSE(lastPrompt().contains(QStringLiteral("readonly")));
    EXPECT_TRUE(DbNotUsed);
    EXPECT_TRUE(DbConnect());
    EXPECT_EQ(messages(), 1u);

    // Any other reader (the last month's days) meets it too, and says the same.
    db::Connection reader;
    try {
        reader.open(DefaultDbPath(), true);
        ADD_FAILURE() << "a torn file was read";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.number, db::sqliteReadOnlyRollback);
        EXPECT_FALSE(e.summary().contains(QStringLiteral("読み取り専用")));
    }
    setWritable(stDbPath, true);
    EXPECT_EQ(bytesOf(DefaultDbPath()), torn);
    EXPECT_EQ(bytesOf(journal()), journalBytes);

    // Once the folder can be written, a reader puts the file back before it reads.
    reader.open(DefaultDbPath(), true);
    EXPECT_FALSE(QFile::exists(journal()));
    EXPECT_EQ(bytesOf(DefaultDbPath()), before);
}
