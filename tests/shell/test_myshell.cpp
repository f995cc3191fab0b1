#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/myshell.h"
#include "shell/state.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtCore/qtestsupport_core.h>
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
    ShellOpen(QStringLiteral("/tmp/log.txt"));
    ShellOpen(QStringLiteral("C:\\work\\a.txt"));
    ShellOpen(QStringLiteral("mailto:x@y.example"));
    ASSERT_EQ(opened.size(), 3);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QStringLiteral("/tmp/log.txt")));
    EXPECT_TRUE(opened[1].isLocalFile());
    EXPECT_EQ(opened[2].scheme(), QStringLiteral("mailto"));
    EXPECT_TRUE(ui::shownMessages().empty());
    ShellOpen(QStringLiteral("log/log_result.txt"));  // against the current folder
    EXPECT_EQ(opened.last().toLocalFile(), QDir::current().absoluteFilePath(QStringLiteral("log/log_result.txt")));
    // A failure names what could not be opened and where it is.
    ShellOpen(QStringLiteral("/tmp/fail.txt"));
    ShellOpen(QStringLiteral("https://fail.example/help.html"));
    ASSERT_EQ(ui::shownMessages().size(), 2u);
    EXPECT_TRUE(ui::shownMessages()[0].prompt.startsWith(QStringLiteral("ファイルを開けませんでした。\n/tmp/fail.txt\n")));
    EXPECT_TRUE(ui::shownMessages()[1].prompt.startsWith(QStringLiteral("ページを開けませんでした。\nhttps://fail.example/help.html\n")));
}

TEST_F(ShellTest, TheDesktopOpenerThatFailsIsSaidWhenItEnds)
{
    // An opener that has no program for the file, then no opener at all.
    setShellOpener(nullptr);
    QTemporaryDir bin;
    QFile script(bin.filePath(QStringLiteral("xdg-open")));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly) && script.write("#!/bin/sh\n[ \"$1\" = /tmp/ok.txt ]\n") > 0);
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    for (const QByteArray& dirs : {bin.path().toLocal8Bit(), QByteArray("/nonexistent")}) {
        qputenv("PATH", dirs);
        ui::resetMessages();
        ShellOpen(QStringLiteral("/tmp/ok.txt"));
        ShellOpen(QStringLiteral("/tmp/missing.txt"), QStringLiteral("ログファイル"));
        EXPECT_TRUE(QTest::qWaitFor([] { return !ui::shownMessages().empty(); }, 5000));
        QTest::qWait(100);
        ASSERT_EQ(ui::shownMessages().size(), dirs == "/nonexistent" ? 2u : 1u);
        EXPECT_TRUE(ui::shownMessages().back().prompt.startsWith(QStringLiteral("ログファイルを開けませんでした。\n/tmp/missing.txt\n")));
    }
    qputenv("PATH", path);
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
