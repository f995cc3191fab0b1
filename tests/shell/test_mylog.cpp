#include "../support/manual_clock.h"
#include "shell/globals.h"
#include "shell/mylog.h"
#include "shell/desktop.h"
#include "platform/ui/prompt.h"
#include "shell/state.h"

#include <QUrl>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList readLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetShellState();
        AppPath = dir.filePath(QStringLiteral("prog"));
        stWorkPath = dir.filePath(QStringLiteral("prog/勤務 フォルダ"));
        QDir().mkpath(stWorkPath);
    }
    void TearDown() override { resetShellState(); }
    QTemporaryDir dir;
    ManualClock clock{QDateTime(QDate(2027, 2, 3), QTime(4, 5, 6))};
};

}  // namespace

TEST_F(LogTest, BootLogNumbersLinesAndStopsAfter201)
{
    BootLog(QStringLiteral("起動"), true);
    for (int i = 1; i <= 205; ++i)
        BootLog(QStringLiteral("step %1").arg(i));
    const QStringList lines = readLines(QDir(AppPath).filePath(QStringLiteral("log_boot.txt")));
    ASSERT_EQ(lines.size(), 203);
    EXPECT_EQ(lines[0], QString());
    EXPECT_EQ(lines[1], QStringLiteral("起動"));
    EXPECT_EQ(lines[2], QStringLiteral("    1 step 1"));
    EXPECT_EQ(lines[202], QStringLiteral("  201 step 201"));
    // A reset starts the file anew.
    BootLog(QStringLiteral("again"), true);
    EXPECT_EQ(readLines(QDir(AppPath).filePath(QStringLiteral("log_boot.txt"))), QStringList({QString(), QStringLiteral("again")}));
}

TEST_F(LogTest, MemLogRingWrapsNewestFirst)
{
    MemLog(QStringLiteral("開始"), true);
    for (int i = 2; i <= 150; ++i)
        MemLog(QString::number(i));
    QStringList entries = MemLogEntries();
    ASSERT_EQ(entries.size(), 150);
    EXPECT_TRUE(entries.first().startsWith(QStringLiteral("150,")));
    EXPECT_EQ(entries.last(), QStringLiteral("1,2027/02/03 04:05:06,開始"));

    for (int i = 151; i <= 201; ++i)
        MemLog(QString::number(i));
    entries = MemLogEntries();
    ASSERT_EQ(entries.size(), 200);
    EXPECT_TRUE(entries[0].startsWith(QStringLiteral("201,")));   // slot 1 overwritten
    EXPECT_TRUE(entries[1].startsWith(QStringLiteral("200,")));
    EXPECT_TRUE(entries[199].startsWith(QStringLiteral("2,")));

    MemLog保存();
    EXPECT_EQ(readLines(QDir(AppPath).filePath(QStringLiteral("log.txt"))), entries);

    MemLog(QString());
    EXPECT_TRUE(MemLogEntries().first().endsWith(QStringLiteral(",?????")));
}

TEST_F(LogTest, MemLogSequenceWrapsAfter9999)
{
    MemLog(QStringLiteral("x"), true);
    for (int i = 2; i <= 10000; ++i)
        MemLog(QStringLiteral("x"));
    EXPECT_TRUE(MemLogEntries().first().startsWith(QStringLiteral("1,")));
}

TEST_F(LogTest, LogWriteCreatesTheFolderAndHonoursOverwrite)
{
    const QString file = QDir(stWorkPath).filePath(QStringLiteral("log/log_result.txt"));
    ResultLog書込(QStringLiteral("一行目"), true);
    ResultLog書込(QStringLiteral("二行目"), false);
    EXPECT_EQ(readLines(file), QStringList({QStringLiteral("一行目"), QStringLiteral("二行目")}));
    ResultLog書込(QString(), true);
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(QFileInfo(file).size(), 0);

    LogWrite(QStringLiteral("dated.txt"), QStringLiteral("abc"), true, false);
    const QStringList dated = readLines(QDir(stWorkPath).filePath(QStringLiteral("log/dated.txt")));
    EXPECT_EQ(dated, QStringList{QStringLiteral("2027/02/03 04:05:06,abc")});
}

TEST_F(LogTest, UnwritableFoldersLoseOnlyTheirLines)
{
    const QString writable = AppPath;
    AppPath = QStringLiteral("/proc/no-such-folder");
    stWorkPath = QStringLiteral("/proc/no-such-folder");
    BootLog(QStringLiteral("x"), true);
    BootLog(QStringLiteral("y"));
    MemLog(QStringLiteral("kept"), true);
    MemLog保存();
    ResultLog書込(QStringLiteral("z"), false);
    // The ring and the boot numbering go on as if the writes had worked.
    EXPECT_EQ(MemLogEntries(), QStringList{QStringLiteral("1,2027/02/03 04:05:06,kept")});
    AppPath = writable;
    BootLog(QStringLiteral("w"));
    EXPECT_EQ(readLines(QDir(AppPath).filePath(QStringLiteral("log_boot.txt"))), QStringList{QStringLiteral("    2 w")});
}

TEST_F(LogTest, LogViewOpensTheLogOrSaysItIsMissing)
{
    QList<QUrl> opened;
    setShellOpener([&](const QUrl& url) { opened << url; return true; });
    ui::resetMessages();
    LogView();
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_TRUE(ui::shownMessages()[0].prompt.endsWith(QStringLiteral("log.txt は存在しません！")));
    EXPECT_TRUE(opened.isEmpty());

    MemLog(QStringLiteral("a"), true);
    MemLog保存();
    LogView();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toLocalFile(), QDir(AppPath).filePath(QStringLiteral("log.txt")));
    setShellOpener({});
    ui::resetMessages();
}
