#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/desktop.h"
#include "shell/state.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtCore/qtestsupport_core.h>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetShellState();
        opened.clear();
        setShellOpener([this](const QUrl& u) {
            opened << u;
            return !u.toString().contains(QLatin1String("fail"));
        });
    }
    void TearDown() override
    {
        setShellOpener(nullptr);
        setOnlineProbe(nullptr);
        resetShellState();
    }
    QList<QUrl> opened;
};

// Lets the event loop run until every desktop opener started so far has ended, and so said its
// failure; false only when they are still running after a great many rounds.
bool openersEnd()
{
    const auto ended = [] {
        const auto openers = QCoreApplication::instance()->findChildren<QProcess*>(Qt::FindDirectChildrenOnly);
        return std::all_of(openers.begin(), openers.end(),
                           [](const QProcess* p) { return p->state() == QProcess::NotRunning; });
    };
    for (int round = 0; round < 6000; ++round) {
        if (ended())
            return true;
        QTest::qWait(10);
    }
    return ended();
}

}  // namespace

TEST_F(ShellTest, WebHelpOfflineShowsTheCallersTextOrTheStandardNotice)
{
    setOnlineProbe([] { return false; });
    WebHelp(HelpUrl(QStringLiteral("index.html")), QStringLiteral("接続できません\\n後で試してください"),
            QStringLiteral("ヘルプ"));
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(ui::shownMessages()[0].prompt, QStringLiteral("接続できません\r\n後で試してください"));
    EXPECT_EQ(ui::shownMessages()[0].title, QStringLiteral("ヘルプ"));

    WebHelp(QStringLiteral("index.html"));
    EXPECT_EQ(ui::shownMessages()[1].prompt, QStringLiteral("インターネットに接続されていないようです。"));
    EXPECT_EQ(ui::shownMessages()[1].title, QStringLiteral("オンラインヘルプ不可"));
    EXPECT_TRUE(opened.isEmpty());
}

// Online means a way out: a default route through an interface other than the loopback. The
// loopback's unreachable IPv6 default and a LAN route alone are no connection.
TEST(OnlineCheck, OnlyADefaultRouteOutCounts)
{
    const QByteArray v4Header = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
    const QByteArray lan = "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n";
    const QByteArray v4Default = "eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n";
    const QByteArray v6Unreachable = "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
                                     "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200       lo\n";
    const QByteArray v6Default = "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
                                 "fd000000000000000000000000000001 00000400 00000002 00000000 00000003     eth0\n";
    const QByteArray v6Link = "fe800000000000000000000000000000 40 00000000000000000000000000000000 00 "
                              "00000000000000000000000000000000 00000100 00000002 00000000 00000001     eth0\n";
    EXPECT_FALSE(HasDefaultRoute(v4Header + lan, v6Unreachable + v6Link));
    EXPECT_FALSE(HasDefaultRoute({}, {}));
    EXPECT_TRUE(HasDefaultRoute(v4Header + lan + v4Default, v6Unreachable));
    EXPECT_TRUE(HasDefaultRoute(v4Header + lan, v6Link + v6Default));
    // A default route that is down does not count.
    EXPECT_FALSE(HasDefaultRoute(v4Header + QByteArray(v4Default).replace("\t0003\t", "\t0002\t"), {}));
}

// The help's base is read from the program's own configuration folder, wherever that is now.
TEST_F(ShellTest, TheHelpBaseComesFromTheConfigurationFolder)
{
    const QString shipped = HelpBaseUrl();
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", before); });
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    ASSERT_TRUE(QDir(config.path()).mkpath(QStringLiteral("Quorvane")));
    QFile ini(config.filePath(QStringLiteral("Quorvane/Quorvane.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[help]\nbase=https://help.example/qv\n");
    ini.close();
    EXPECT_EQ(HelpBaseUrl(), QStringLiteral("https://help.example/qv/"));
    ASSERT_TRUE(ini.remove());
    EXPECT_EQ(HelpBaseUrl(), shipped);
}

TEST_F(ShellTest, WebHelpOnlineOpensThePageBelowTheBase)
{
    setOnlineProbe([] { return true; });
    WebHelp(QStringLiteral("/output/index.html#ex_6"));
    WebHelp(QStringLiteral("https://other.example/page.html"));
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0].toString(), HelpBaseUrl() + QStringLiteral("output/index.html#ex_6"));
    EXPECT_TRUE(HelpBaseUrl().endsWith(QStringLiteral("/web_dl/qvmain/Help_qvmain/")));
    EXPECT_EQ(opened[1].toString(), QStringLiteral("https://other.example/page.html"));
    EXPECT_TRUE(ui::shownMessages().empty());
}

TEST_F(ShellTest, ShellOpenTakesPathsAndAddressesAndReportsFailure)
{
    QTemporaryDir dir;
    for (const char* name : {"log.txt", "a.txt", "fail.txt"})
        QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    ShellOpen(dir.filePath(QStringLiteral("log.txt")));
    ShellOpen(QDir::toNativeSeparators(dir.filePath(QStringLiteral("a.txt"))).replace(QLatin1Char('/'), QLatin1Char('\\')));
    ShellOpen(QStringLiteral("mailto:x@y.example"));
    ASSERT_EQ(opened.size(), 3);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(dir.filePath(QStringLiteral("log.txt"))));
    EXPECT_EQ(opened[1], QUrl::fromLocalFile(dir.filePath(QStringLiteral("a.txt"))));
    EXPECT_EQ(opened[2].scheme(), QStringLiteral("mailto"));
    EXPECT_TRUE(ui::shownMessages().empty());
    const QString current = QDir::currentPath();
    QDir::setCurrent(dir.path());
    ShellOpen(QStringLiteral("log.txt"));  // against the current folder
    QDir::setCurrent(current);
    EXPECT_EQ(opened.last().toLocalFile(), dir.filePath(QStringLiteral("log.txt")));
    // A failure names what could not be opened and where it is.
    ShellOpen(dir.filePath(QStringLiteral("fail.txt")));
    ShellOpen(QStringLiteral("https://fail.example/help.html"));
    ASSERT_EQ(ui::shownMessages().size(), 2u);
    EXPECT_TRUE(ui::shownMessages()[0].prompt.startsWith(QStringLiteral("ファイルを開けませんでした。\n") + dir.filePath(QStringLiteral("fail.txt")) + QLatin1Char('\n')));
    EXPECT_TRUE(ui::shownMessages()[1].prompt.startsWith(QStringLiteral("ページを開けませんでした。\nhttps://fail.example/help.html\n")));

    // A folder that is not there is said to be missing; no opener is asked.
    opened.clear();
    ShellOpen(dir.filePath(QStringLiteral("ShiftHtml")), QStringLiteral("HTMLの作成先フォルダ"));
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(ui::shownMessages().size(), 3u);
    EXPECT_EQ(ui::shownMessages()[2].prompt, QStringLiteral("HTMLの作成先フォルダがありません。\n") + dir.filePath(QStringLiteral("ShiftHtml")));
}

TEST_F(ShellTest, TheDesktopOpenerThatFailsIsSaidWhenItEnds)
{
    // An opener that has no program for the file, then no opener at all.
    setShellOpener(nullptr);
    QTemporaryDir bin;
    const QString ok = bin.filePath(QStringLiteral("ok.txt"));
    const QString other = bin.filePath(QStringLiteral("other.txt"));
    for (const QString& file : {ok, other})
        QFile(file).open(QIODevice::WriteOnly);
    QFile script(bin.filePath(QStringLiteral("xdg-open")));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly) && script.write(("#!/bin/sh\n[ \"$1\" = " + ok.toLocal8Bit() + " ]\n").constData()) > 0);
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    const auto restorePath = qScopeGuard([path = qgetenv("PATH")] { qputenv("PATH", path); });
    for (const QByteArray& dirs : {bin.path().toLocal8Bit(), QByteArray("/nonexistent")}) {
        qputenv("PATH", dirs);
        ui::resetMessages();
        ShellOpen(ok);
        ShellOpen(other, QStringLiteral("ログファイル"));
        ASSERT_TRUE(openersEnd());
        ASSERT_EQ(ui::shownMessages().size(), dirs == "/nonexistent" ? 2u : 1u);
        EXPECT_TRUE(ui::shownMessages().back().prompt.startsWith(QStringLiteral("ログファイルを開けませんでした。\n") + other + QLatin1Char('\n')));
    }
}

TEST_F(ShellTest, SpecialFolders)
{
    const QString desktop = GetFolderPath(16);
    ASSERT_FALSE(desktop.isEmpty());
    QString path = desktop + QLatin1Char('/');
    EXPECT_EQ(SpecialFolderName(path), QStringLiteral("デスクトップ"));
    EXPECT_EQ(path, desktop);
    QString docs = GetFolderPath(5);
    EXPECT_EQ(SpecialFolderName(docs), QStringLiteral("マイドキュメント"));
    QString other = QStringLiteral("/nowhere/");
    EXPECT_EQ(SpecialFolderName(other), QString());
    EXPECT_EQ(other, QStringLiteral("/nowhere"));
    EXPECT_EQ(GetFolderPath(99), QString());
    EXPECT_EQ(SpecialFolderPath(2), QDir::tempPath());
    EXPECT_EQ(SpecialFolderPath(QStringLiteral("Desktop")), desktop);
    EXPECT_EQ(SpecialFolderPath(0), QString());
}

TEST_F(ShellTest, SystemQuestions)
{
    EXPECT_FALSE(IsWow64());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+ \\d+$")).match(GetOSVersion()).hasMatch()) << qPrintable(GetOSVersion());
}

TEST_F(ShellTest, BrowseForFolderAndClipboardWithoutAWindowSystem)
{
    // The owner window comes first, as the callers pass it; it goes with the request.
    QObject owner;
    ui::setNextText(QStringLiteral("/srv/out"));
    EXPECT_EQ(BrowseForFolder(&owner, QStringLiteral("出力先"), QStringLiteral("/srv")), QStringLiteral("/srv/out"));
    EXPECT_EQ(ui::shownMessages().back().kind, ui::Kind::Folder);
    EXPECT_EQ(ui::shownMessages().back().title, QStringLiteral("出力先"));
    EXPECT_EQ(ui::shownMessages().back().text, QStringLiteral("/srv"));
    EXPECT_EQ(ui::shownMessages().back().owner, &owner);
    ui::setNextAnswer(ui::vbCancel);
    EXPECT_EQ(BrowseForFolder(nullptr, QStringLiteral("出力先"), QString()), QString());
    // A core program has no clipboard: the helpers give up at once.
    ClipSetText(QStringLiteral("x"));
    EXPECT_EQ(ClipGetText(), QString());
}
