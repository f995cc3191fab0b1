#include "platform/os/save_file.h"
#include "platform/os/vb_error.h"
#include "platform/text/cp932.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/myfile.h"
#include "shell/mymod.h"
#include "shell/state.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

void touch(const QString& path, const QByteArray& content = "x")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

}  // namespace

TEST(PathPieces, SplitPathsAndNameCells)
{
    EXPECT_EQ(DelQuote(QStringLiteral(" \" \"a b\" \" ")), QStringLiteral("a b"));
    EXPECT_EQ(GetBaseName(QStringLiteral("/x/shift.xlsm")), QStringLiteral("/x/shift"));
    EXPECT_EQ(GetBaseName(QStringLiteral("/x/noext")), QStringLiteral("/x/noext"));
    EXPECT_EQ(GetExtName(QStringLiteral("/x/shift.xlsm")), QStringLiteral("xlsm"));
    EXPECT_EQ(GetExtName(QStringLiteral("/x.d/file")), QString());
    EXPECT_EQ(GetExtName(QStringLiteral("C:\\a.b\\file")), QString());
    EXPECT_EQ(GetFileName(QStringLiteral("/no/such/勤務.csv")), QStringLiteral("勤務.csv"));
    EXPECT_EQ(GetFileName(QStringLiteral("plain")), QStringLiteral("plain"));
    EXPECT_EQ(GetFileName(QDir::tempPath()), QString());
    EXPECT_EQ(GetFolderName(QStringLiteral("\"/no/such/a.txt\"")), QStringLiteral("/no/such"));
    EXPECT_EQ(GetParentPath(QStringLiteral("/a/b")), QStringLiteral("/a"));
    EXPECT_EQ(GetParentPath(QStringLiteral("C:\\a")), QStringLiteral("C:"));
    EXPECT_EQ(GetParentPath(QStringLiteral("\\a")), QString());
    EXPECT_EQ(GetParentPath(QStringLiteral("\\\\srv")), QString());
    EXPECT_EQ(GetParentPath(QStringLiteral("none")), QString());
    EXPECT_EQ(StrCount(QStringLiteral("aaaa"), QStringLiteral("aa")), 2);
    EXPECT_EQ(StrCount(QStringLiteral("AbaB"), QStringLiteral("ab"), 1), 2);
    EXPECT_EQ(StrCount(QStringLiteral("AbaB"), QStringLiteral("ab")), 0);
    EXPECT_EQ(StrCount(QString(), QStringLiteral("a")), 0);
    EXPECT_EQ(CellAddr(7, 702), QStringLiteral("ZZ7"));
    EXPECT_EQ(ColName(703), QStringLiteral("AAA"));
}

TEST(PathPieces, GetAbsPathResolvesWithoutChangingTheCurrentFolder)
{
    const QString cwd = QDir::currentPath();
    EXPECT_EQ(GetAbsPath(QStringLiteral("../parts/新規作成.csv"), QStringLiteral("/p/work")), QStringLiteral("/p/parts/新規作成.csv"));
    EXPECT_EQ(GetAbsPath(QStringLiteral("./a.txt"), QStringLiteral("/p/")), QStringLiteral("/p/a.txt"));
    EXPECT_EQ(GetAbsPath(QStringLiteral("a.txt"), QStringLiteral("/p")), QStringLiteral("/p/a.txt"));
    EXPECT_EQ(GetAbsPath(QStringLiteral("/abs/a.txt"), QStringLiteral("/p")), QStringLiteral("/abs/a.txt"));
    EXPECT_EQ(GetAbsPath(QStringLiteral("\"a b.txt\""), QStringLiteral("/p")), QStringLiteral("/p/a b.txt"));
    EXPECT_EQ(GetAbsPath(QStringLiteral("\"a b.txt"), QStringLiteral("/p")), QString());
    EXPECT_EQ(GetAbsPath(QString(), QStringLiteral("/p")), QStringLiteral("/p"));
    EXPECT_EQ(QDir::currentPath(), cwd);
}

class FileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetShellState();
        AppPath = dir.path();
    }
    void TearDown() override
    {
        resetShellState();
    }
    QString path(const QString& rel) const { return dir.filePath(rel); }
    QTemporaryDir dir;
};

TEST_F(FileTest, MakeFolderCreatesEveryLevel)
{
    EXPECT_EQ(MakeFolder(path(QStringLiteral("一/二 三"))), QString());
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("一/二 三"))).isDir());
    EXPECT_EQ(MakeFolder(path(QStringLiteral("一/二 三"))), QString());  // existing: fine
    touch(path(QStringLiteral("file")));
    EXPECT_FALSE(MakeFolder(path(QStringLiteral("file/sub"))).isEmpty());
}

TEST_F(FileTest, FilesDeleteStopsAtTheFirstFailure)
{
    touch(path(QStringLiteral("a.htm")));
    touch(path(QStringLiteral("b.htm")));
    touch(path(QStringLiteral("c.gif")));
    EXPECT_EQ(FilesDelete({path(QStringLiteral("*.htm"))}), QString());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("a.htm"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("b.htm"))));
    const QString err = FilesDelete({path(QStringLiteral("missing.txt")), path(QStringLiteral("c.gif"))});
    EXPECT_TRUE(err.startsWith(QStringLiteral("53 "))) << qPrintable(err);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("c.gif"))));
    EXPECT_TRUE(FilesDelete({path(QStringLiteral("*.none"))}).startsWith(QStringLiteral("53 ")));
}

TEST_F(FileTest, FileKillReportsErrorsInAMessage)
{
    touch(path(QStringLiteral("x.txt")));
    EXPECT_FALSE(FileKill(path(QStringLiteral("x.txt"))));
    EXPECT_TRUE(ui::shownMessages().empty());
    EXPECT_TRUE(FileKill(path(QStringLiteral("x.txt"))));
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_TRUE(ui::shownMessages()[0].prompt.startsWith(QStringLiteral("53 ")));
    EXPECT_EQ(ui::shownMessages()[0].title, stAppTitle);
}

TEST_F(FileTest, WrBinFileReplacesAndEncodesCp932)
{
    touch(path(QStringLiteral("page.htm")), "old content that is longer");
    EXPECT_FALSE(WrBinFile(QStringLiteral("page.htm"), QStringLiteral("勤務表")));  // relative to the program folder
    QFile f(path(QStringLiteral("page.htm")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), text::toCp932(QStringLiteral("勤務表")));
    EXPECT_TRUE(WrBinFile(path(QStringLiteral("no/such/dir/x.bin")), QByteArray("ab")));
    EXPECT_EQ(ui::shownMessages().size(), 1u);
}

TEST_F(FileTest, WrBinFileNamesAFullDiskAndKeepsTheOldFile)
{
    touch(path(QStringLiteral("page.htm")), "old");
    os::setFileWriteHook([](QFileDevice& file, const char* data, qint64 size) {
        file.write(data, size / 2);
        errno = ENOSPC;
        return qint64(-1);
    });
    const auto restore = qScopeGuard([] { os::setFileWriteHook(nullptr); });
    EXPECT_TRUE(WrBinFile(path(QStringLiteral("page.htm")), QByteArray("new content")));
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(ui::shownMessages()[0].prompt, fileError(ENOSPC).text());
    QFile f(path(QStringLiteral("page.htm")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
}

TEST_F(FileTest, MoveCopySizeAndTemp)
{
    QDir().mkpath(path(QStringLiteral("src/sub")));
    touch(path(QStringLiteral("src/a.txt")), "12345");
    touch(path(QStringLiteral("src/sub/b.txt")), "123");
    EXPECT_EQ(FolderSize(path(QStringLiteral("src"))), 8);
    EXPECT_THROW(FolderSize(path(QStringLiteral("nope"))), VbError);

    EXPECT_FALSE(FolderCopy(path(QStringLiteral("src")), path(QStringLiteral("dst"))));
    EXPECT_EQ(FolderSize(path(QStringLiteral("dst"))), 8);
    EXPECT_TRUE(FolderCopy(path(QStringLiteral("nope")), path(QStringLiteral("dst2"))));

    EXPECT_EQ(FileMove(path(QStringLiteral("dst/a.txt")), path(QStringLiteral("dst/c.txt"))), QString());
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("dst/c.txt"))));
    EXPECT_TRUE(FileMove(path(QStringLiteral("dst/a.txt")), path(QStringLiteral("dst/d.txt"))).startsWith(QStringLiteral("53 ")));

    const QString t1 = MakeTempFile(), t2 = MakeTempFile();
    EXPECT_TRUE(QFile::exists(t1));
    EXPECT_NE(t1, t2);
    QFile::remove(t1);
    QFile::remove(t2);
}
