#include "work_folder.h"

#include "platform/os/process.h"
#include "platform/os/settings_store.h"
#include "shell/process_list.h"
#include "shell/myfunc_main.h"
#include "shell/rs_dbsub.h"
#include "shell/state.h"
#include "shell/win32_registory.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <stdexcept>

using Weights = WorkFolderTest<resetShellState>;

TEST_F(Weights, ReadFromTheSettingsThenTheConditionsAreRead)
{
    // No settings table at all: every weight 0, the conditions are still read.
    std::vector<bool> flags;
    int resets = 0;
    conditionModelSteps.resetShiftFactors = [&] { ++resets; };
    conditionModelSteps.readAllConditions = [&](bool flag) { flags.push_back(flag); return 7; };
    荷重_優先勤務 = 99;
    EXPECT_EQ(荷重読込(), 7);
    EXPECT_EQ(荷重_優先勤務, 0);
    EXPECT_EQ(flags, std::vector<bool>{true});
    EXPECT_EQ(resets, 1);
    ui::resetMessages();

    ASSERT_EQ(AddTableField(), 0);
    SetTableValue(QStringLiteral("T_基本設定"), QStringLiteral("荷重_休日勤務"), QStringLiteral("12abc"));
    SetTableValue(QStringLiteral("T_基本設定"), QStringLiteral("荷重_単休分散_今期"), QString());
    EXPECT_EQ(荷重読込(), 7);
    EXPECT_EQ(荷重_総勤務日数, 20);
    EXPECT_EQ(荷重_休日勤務, 12);
    EXPECT_EQ(荷重_単休分散_今期, 0);
    EXPECT_EQ(荷重_優先勤務倍率_今期, 10);
    EXPECT_EQ(messages(), 0u);

    // Until the condition model is installed nothing can be read: a fault of the start-up.
    resetWeights();
    EXPECT_THROW(荷重読込(), std::logic_error);
    EXPECT_EQ(荷重_総勤務日数, 20);
    int resized = 0;
    conditionModelSteps.resizeToMaximum = [&] { ++resized; };
    配列初期化();
    EXPECT_EQ(resized, 1);
}

namespace {

void writeStat(const QString& root, int pid, const char* name)
{
    QDir(root).mkpath(QString::number(pid));
    QFile f(QStringLiteral("%1/%2/stat").arg(root).arg(pid));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("%1 (%2) S 1 1 1 0 -1 0 0 0 0 0 0 0 0 0 20 0 1 0 1 1 1").arg(pid).arg(QString::fromUtf8(name)).toUtf8());
}

}  // namespace

TEST(Processes, OtherInstancesAreListedInTableOrder)
{
    QTemporaryDir root;
    writeStat(root.path(), 30, "qvmain");
    writeStat(root.path(), 12, "QVMAIN");
    writeStat(root.path(), 20, "qvmain");
    writeStat(root.path(), 25, "other");
    ProcRoot = root.path();
    EXPECT_EQ(PidListByName(QStringLiteral("qvmain"), 20), QStringLiteral("12,30"));
    EXPECT_EQ(PidListByName(QStringLiteral("qvmain"), 0), QString());
    // Within a second the same snapshot is served, even when a process has gone since.
    QDir(root.filePath(QStringLiteral("30"))).removeRecursively();
    EXPECT_EQ(PidListByName(QStringLiteral("qvmain"), 20), QStringLiteral("12,30"));

    // The termination family sorts by name (stable, ignoring case) and matches by containment.
    EXPECT_EQ(PidByName(QStringLiteral("VMA")), 12);
    EXPECT_EQ(ProcNameByPid(25), QStringLiteral("other"));
    EXPECT_EQ(ProcNameByPid(31), QString());
    EXPECT_EQ(PidByName(QStringLiteral("none")), -1);
    ProcRoot = QStringLiteral("/proc");
    EXPECT_EQ(PidListByName(QStringLiteral("qvmain_not_running"), os::currentPid()), QString());
}

TEST(Processes, AnEmptyNameEndsNothing)
{
    // An empty text is contained in every name: it must not stand for "any process".
    QTemporaryDir root;
    writeStat(root.path(), 2147483000, "anything");
    ProcRoot = root.path();
    EXPECT_EQ(TermProcess(QStringLiteral("  "), QString()), -1);
    EXPECT_EQ(TermProcess(QString(), QStringLiteral("2147483000")), -1);
    ProcRoot = QStringLiteral("/proc");
}

TEST(Processes, SortIsStableAndIgnoresCase)
{
    db::TableArray t(4, 3);
    const char* names[] = {"b", "A", "a", "B"};
    for (int i = 1; i <= 4; ++i) {
        t(i, 1) = QString::fromLatin1(names[i - 1]);
        t(i, 3) = i;
    }
    ProcListSort(t, 1, 1);
    QStringList order;
    for (int i = 1; i <= 4; ++i)
        order << t(i, 1).toString() + t(i, 3).toString();
    EXPECT_EQ(order, (QStringList{QStringLiteral("A2"), QStringLiteral("a3"), QStringLiteral("b1"), QStringLiteral("B4")}));
}

TEST(Processes, TermProcessEndsOnlyWhatItIsAskedFor)
{
    QTemporaryDir dir;
    const QString exe = dir.filePath(QStringLiteral("qvshellsleeper"));
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), exe));
    QProcess child;
    child.start(exe, {QStringLiteral("30")});
    ASSERT_TRUE(child.waitForStarted());
    const QString pid = QString::number(child.processId());

    EXPECT_EQ(TermProcess(QStringLiteral("other"), pid), -1);
    EXPECT_FALSE(child.waitForFinished(100));
    // "excel.exe" never means a real process: with no spreadsheet of ours running, nothing happens.
    EXPECT_EQ(TermProcess(QStringLiteral("excel.exe"), QString()), -1);
    bool quit = false;
    const int id = os::registerInProcessApp(QStringLiteral("excel.exe"), [&] { return quit = true; });
    EXPECT_EQ(TermProcess(QStringLiteral(" Excel.exe "), QString()), 0);
    EXPECT_TRUE(quit);
    os::unregisterInProcessApp(id);

    EXPECT_EQ(TermProcess(QStringLiteral("QVSHELLSLEEPER"), pid), 0);
    EXPECT_TRUE(child.waitForFinished(2000));
    EXPECT_EQ(TermProcess(QStringLiteral("qvshellsleeper"), QString()), -1);
}

TEST(Processes, PriorityComesBackToWhereItStarted)
{
    const int start = os::currentNice();
    SetProcessPriority(IDLE_PRIORITY_CLASS);
    if (os::lowestAllowedNice() <= start)
        EXPECT_EQ(os::currentNice(), 19);
    else
        EXPECT_EQ(os::currentNice(), start);  // it could not be raised again, so it stays
    SetProcessPriority(HIGH_PRIORITY_CLASS);
    EXPECT_EQ(os::currentNice(), start);
}

using Registry = WorkFolderTest<resetShellState>;

TEST_F(Registry, ValuesKeepTheirTypes)
{
    const QString key = QStringLiteral("Software\\Quorvane\\Test");
    EXPECT_TRUE(RegWrite(HKEY_CURRENT_USER, key, QStringLiteral("Text"), REG_SZ, QStringLiteral("値")));
    EXPECT_TRUE(RegWrite(HKEY_CURRENT_USER, key, QStringLiteral("Number"), REG_DWORD, 25));
    EXPECT_FALSE(RegWrite(HKEY_CURRENT_USER, key, QStringLiteral("Binary"), 2, 1));
    EXPECT_EQ(RegRead(HKEY_CURRENT_USER, key, QStringLiteral("Text"), REG_SZ, {}).toString(), QStringLiteral("値"));
    EXPECT_EQ(RegRead(HKEY_CURRENT_USER, key, QStringLiteral("Number"), REG_DWORD, 0).toInt(), 25);
    EXPECT_EQ(RegRead(HKEY_CURRENT_USER, key, QStringLiteral("Number"), REG_SZ, QStringLiteral("d")).toString(), QStringLiteral("d"));
    EXPECT_EQ(RegRead(HKEY_LOCAL_MACHINE, key, QStringLiteral("Text"), REG_SZ, QStringLiteral("d")).toString(), QStringLiteral("d"));
    EXPECT_EQ(RegRead(HKEY_CURRENT_USER, key, QStringLiteral("Binary"), 2, 5).toInt(), 5);
}

TEST_F(Registry, TheDataSourceIsWrittenOnceAndFollowsTheWorkFolder)
{
    QFile::remove(os::userDsnFile());
    EXPECT_TRUE(SetRegistry());
    auto dsn = os::readUserDsn(QStringLiteral("AccessDb32"));
    EXPECT_EQ(dsn.value(QStringLiteral("Driver")), QStringLiteral("SQLite3"));
    EXPECT_EQ(dsn.value(QStringLiteral("Database")), dir.filePath(QStringLiteral("集計.db")));
    EXPECT_FALSE(SetRegistry());

    QTemporaryDir moved;
    stDbPath = moved.path();
    EXPECT_TRUE(SetRegistry());
    dsn = os::readUserDsn(QStringLiteral("AccessDb32"));
    EXPECT_EQ(dsn.value(QStringLiteral("Database")), moved.filePath(QStringLiteral("集計.db")));
    EXPECT_FALSE(SetRegistry());

    // A data source of that name the user set up for another driver is theirs.
    ASSERT_TRUE(os::writeUserDsn(QStringLiteral("AccessDb32"), {{QStringLiteral("Driver"), QStringLiteral("Other")}}));
    stDbPath = dir.path();
    EXPECT_FALSE(SetRegistry());
    EXPECT_EQ(os::readUserDsn(QStringLiteral("AccessDb32")).value(QStringLiteral("Driver")), QStringLiteral("Other"));
    QFile::remove(os::userDsnFile());
}
