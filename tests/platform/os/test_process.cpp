#include "platform/os/process.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>
#include <latch>
#include <thread>
#include <vector>

namespace {

void writeFile(const QString& path, const QByteArray& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

}  // namespace

TEST(ProcessTable, FindsAChildByNameAndEndsIt)
{
    // A copy of sleep under a name no other process has.
    QTemporaryDir dir;
    const QString exe = dir.filePath(QStringLiteral("qvtestsleeper"));
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), exe));
    QFile::setPermissions(exe, QFile::permissions(exe) | QFile::ExeOwner);
    QProcess child;
    child.start(exe, {QStringLiteral("30")});
    ASSERT_TRUE(child.waitForStarted());

    const auto list = os::listProcesses();
    const auto found = std::find_if(list.begin(), list.end(), [](const os::ProcessInfo& p) {
        return p.name == QLatin1String("qvtestsleeper");
    });
    ASSERT_NE(found, list.end());
    EXPECT_EQ(found->pid, child.processId());
    EXPECT_EQ(found->parentPid, os::currentPid());
    EXPECT_GE(found->threads, 1);
    EXPECT_TRUE(os::processAlive(found->pid));

    EXPECT_TRUE(os::terminateProcess(found->pid));
    EXPECT_TRUE(child.waitForFinished(2000));
    EXPECT_FALSE(os::processAlive(found->pid));
    EXPECT_FALSE(os::terminateProcess(os::currentPid()));
}

TEST(ProcessTable, ReadsAFakeTableLeavingOutEndedProcesses)
{
    QTemporaryDir root;
    struct Entry { const char* pid; const char* stat; };
    const Entry entries[] = {
        {"42", "42 (qvmain) S 1 42 42 0 -1 0 0 0 0 0 0 0 0 0 20 0 3 0 1 1 1"},
        {"7", "7 (a (odd) name) R 1 7 7 0 -1 0 0 0 0 0 0 0 0 0 20 0 1 0 1 1 1"},
        {"9", "9 (gone) Z 7 9 9 0 -1 0 0 0 0 0 0 0 0 0 20 0 1 0 1 1 1"},
        {"self", "1 (self) S 0 0 0 0 -1 0 0 0 0 0 0 0 0 0 20 0 1 0 1 1 1"},
    };
    for (const auto& e : entries) {
        QDir(root.path()).mkpath(QString::fromLatin1(e.pid));
        writeFile(root.filePath(QString::fromLatin1(e.pid) + QStringLiteral("/stat")), e.stat);
    }
    const auto list = os::listProcesses(root.path());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].pid, 7);
    EXPECT_EQ(list[0].name, QStringLiteral("a (odd) name"));
    EXPECT_EQ(list[1].name, QStringLiteral("qvmain"));
    EXPECT_EQ(list[1].threads, 3);
    EXPECT_EQ(list[1].parentPid, 1);
}

TEST(ProcessTable, InProcessAppsAreQuitThroughTheirRegistration)
{
    EXPECT_EQ(os::quitInProcessApps(QStringLiteral("excel.exe")), -1);
    int quitCalls = 0;
    int a = 0;
    a = os::registerInProcessApp(QStringLiteral("excel.exe"), [&] {
        ++quitCalls;
        os::unregisterInProcessApp(a);  // an instance unregisters itself as it goes
        return true;
    });
    const int b = os::registerInProcessApp(QStringLiteral("EXCEL.EXE"), [&] { ++quitCalls; return false; });
    EXPECT_EQ(os::inProcessAppCount(QStringLiteral("excel.exe")), 2);
    EXPECT_EQ(os::quitInProcessApps(QStringLiteral("Excel.exe")), -2);
    EXPECT_EQ(quitCalls, 2);
    EXPECT_EQ(os::inProcessAppCount(QStringLiteral("excel.exe")), 1);
    os::unregisterInProcessApp(b);
    EXPECT_EQ(os::quitInProcessApps(QStringLiteral("excel.exe")), -1);
}

TEST(InstanceLock, OfSimultaneousAttemptsExactlyOneWins)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qvmain.lock"));
    constexpr int kAttempts = 8;
    std::vector<os::InstanceLock> locks(kAttempts);
    std::atomic<int> taken = 0;
    std::atomic<int> busy = 0;
    std::latch go(kAttempts);
    std::vector<std::thread> starts;
    for (int i = 0; i < kAttempts; ++i) {
        starts.emplace_back([&, i] {
            go.arrive_and_wait();
            const auto r = locks[i].tryLock(path);
            ++(r == os::InstanceLock::Taken ? taken : busy);
        });
    }
    for (auto& t : starts)
        t.join();
    EXPECT_EQ(taken, 1);
    EXPECT_EQ(busy, kAttempts - 1);

    // The winner asked again keeps it; once it lets go, the next attempt wins.
    auto winner = std::find_if(locks.begin(), locks.end(), [](const os::InstanceLock& l) { return l.held(); });
    ASSERT_NE(winner, locks.end());
    EXPECT_EQ(winner->tryLock(path), os::InstanceLock::Taken);
    os::InstanceLock next;
    EXPECT_EQ(next.tryLock(path), os::InstanceLock::Busy);
    winner->release();
    EXPECT_EQ(next.tryLock(path), os::InstanceLock::Taken);

    os::InstanceLock nowhere;
    EXPECT_EQ(nowhere.tryLock(dir.filePath(QStringLiteral("missing/qvmain.lock"))), os::InstanceLock::Unavailable);
    EXPECT_FALSE(nowhere.held());
}

TEST(InstanceLock, AnotherProcessIsRefusedAndAChildStartedMeanwhileDoesNotKeepIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("qvmain.lock"));
    // flock(1) exits 7 when the lock is busy, else with what the command returned.
    const auto otherProcessTries = [&] {
        return QProcess::execute(QStringLiteral("flock"), {QStringLiteral("-n"), QStringLiteral("-E"), QStringLiteral("7"), path,
                                                            QStringLiteral("true")});
    };
    os::InstanceLock lock;
    ASSERT_EQ(lock.tryLock(path), os::InstanceLock::Taken);
    EXPECT_EQ(otherProcessTries(), 7);

    // A program started while the lock is held (a browser opened from a window) outlives the
    // release without holding the lock.
    QProcess child;
    child.start(QStringLiteral("/bin/sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(child.waitForStarted());
    lock.release();
    EXPECT_EQ(otherProcessTries(), 0);
    child.kill();
    child.waitForFinished();
}
