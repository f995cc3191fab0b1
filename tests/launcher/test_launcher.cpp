#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// A program folder with the launcher in its work folder "勤務 表"; returns the work folder.
QString layOut(const QTemporaryDir& root, bool withMain)
{
    const QString work = root.filePath(QStringLiteral("勤務 表"));
    QDir().mkpath(work);
    const QString launcher = QDir(work).filePath(QStringLiteral("Quorvaneの起動"));
    QFile::copy(QStringLiteral(QV_LAUNCHER_EXE), launcher);
    QFile::setPermissions(launcher, QFile::permissions(launcher) | QFile::ExeOwner);
    if (withMain)
        QFile::copy(QStringLiteral(QV_STUB_EXE), root.filePath(QStringLiteral("qvmain")));
    return work;
}

}  // namespace

TEST(Launcher, StartsTheMainProgramInItsOwnFolder)
{
    QTemporaryDir root;
    const QString work = layOut(root, true);
    const QString record = root.filePath(QStringLiteral("record.txt"));

    QProcess p;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QV_STUB_RECORD"), record);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(QDir::tempPath());  // started from elsewhere
    p.start(QDir(work).filePath(QStringLiteral("Quorvaneの起動")), {});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0);

    QDeadlineTimer deadline(10000);
    while (!QFile::exists(record) && !deadline.hasExpired())
        QThread::msleep(20);
    QFile f(record);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(QDir(lines[0]).canonicalPath(), QDir(work).canonicalPath());
    EXPECT_EQ(lines[1], QStringLiteral("0"));
}

TEST(Launcher, MissingMainProgramGivesAMessageAndFails)
{
    QTemporaryDir root;
    const QString work = layOut(root, false);
    QProcess p;
    p.start(QDir(work).filePath(QStringLiteral("Quorvaneの起動")), {});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_NE(p.exitCode(), 0);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("エラー発生"))) << qPrintable(err);
    EXPECT_TRUE(err.contains(QStringLiteral("qvmain"))) << qPrintable(err);
}
