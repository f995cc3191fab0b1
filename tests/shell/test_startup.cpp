#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/startup.h"
#include "shell/state.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

}  // namespace

TEST(StartUp, VersionHasNoDotBeforeTheRevision)
{
    EXPECT_EQ(VersionText(QStringLiteral("2.1.5")), QStringLiteral("2.15"));
    EXPECT_EQ(VersionText(QStringLiteral("0.1")), QStringLiteral("0.10"));
}

TEST(StartUp, WorkFolderFilesAreFoundWhateverTheirCase)
{
    resetShellState();
    QTemporaryDir program;
    AppPath = program.path();
    EXPECT_EQ(GetXlsName(AppPath), QStringLiteral("shift.xlsm"));
    EXPECT_EQ(WorkFolder(), QDir::currentPath());
    touch(program.filePath(QStringLiteral("shift.xls")));
    EXPECT_EQ(GetXlsName(AppPath), QStringLiteral("shift.xls"));
    touch(program.filePath(QStringLiteral("Shift.XLSM")));
    EXPECT_EQ(GetXlsName(AppPath), QStringLiteral("Shift.XLSM"));
    EXPECT_EQ(WorkFolder(), AppPath);
    stXlVer = QStringLiteral("11.0");
    EXPECT_EQ(GetXlsName(AppPath), QStringLiteral("shift.xls"));

    // Only a plain file switches debug mode on.
    ASSERT_TRUE(QDir(program.path()).mkdir(QStringLiteral("debug")));
    EXPECT_FALSE(DebugMarker(program.path()));
    QTemporaryDir work;
    touch(work.filePath(QStringLiteral("DEBUG")));
    EXPECT_TRUE(DebugMarker(work.path()));
}

TEST(StartUp, SetUpQuestionOnlyWhenControlFilesAreMissing)
{
    resetShellState();
    QTemporaryDir program;
    AppPath = program.path();
    touch(program.filePath(QStringLiteral("セットアップ.exe")));
    EXPECT_TRUE(ChkSetUp());  // no control files to look for
    ASSERT_TRUE(QDir(program.path()).mkpath(QStringLiteral("parts/ocxs")));
    touch(program.filePath(QStringLiteral("parts/ocxs/grid.ocx")));
    ui::setNextAnswer(ui::vbNo);
    EXPECT_FALSE(ChkSetUp());
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(ui::shownMessages()[0].title, QStringLiteral("「セットアップ.exe」未実行"));
    DebugMode = true;
    EXPECT_TRUE(ChkSetUp());
    EXPECT_EQ(ui::shownMessages().size(), 1u);
    resetShellState();
}
