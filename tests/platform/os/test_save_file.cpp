#include "platform/os/save_file.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// How a write that runs out of room ends: it fails, or it returns the short count it managed.
enum class FullWrite { fails, returnsShortCount };

// A disk that fills after `room` bytes of the file.
void diskWithRoomFor(qint64 room, FullWrite ending = FullWrite::fails)
{
    os::setFileWriteHook([room, ending](QFileDevice& file, const char* data, qint64 size) {
        const qint64 taken = file.write(data, std::min(size, room));
        if (taken == size)
            return taken;
        errno = ENOSPC;
        return ending == FullWrite::fails ? qint64(-1) : taken;
    });
}

}  // namespace

TEST(WriteWholeFile, ReplacesTheFileAndLeavesNoTemporary)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("勤務.bin"));
    int code = -1;
    EXPECT_EQ(os::writeWholeFile(path, QByteArray("first and longer"), &code), QString());
    EXPECT_EQ(code, -1);   // untouched on success
    EXPECT_EQ(os::writeWholeFile(path, QByteArray("second")), QString());
    EXPECT_EQ(readAll(path), QByteArray("second"));
    EXPECT_EQ(os::writeWholeFile(path, QByteArray()), QString());
    EXPECT_EQ(readAll(path), QByteArray());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("勤務.bin")});
}

TEST(WriteWholeFile, ADiskFillingPartWayIsNamedAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bin"));
    ASSERT_EQ(os::writeWholeFile(path, QByteArray("old")), QString());
    const auto restore = qScopeGuard([] { os::setFileWriteHook(nullptr); });
    for (const FullWrite ending : {FullWrite::fails, FullWrite::returnsShortCount}) {
        for (const qint64 room : {0, 5}) {
            diskWithRoomFor(room, ending);
            int code = 0;
            EXPECT_EQ(os::writeWholeFile(path, QByteArray(20000, 'x'), &code), os::diskFullText()) << room;
            EXPECT_EQ(code, ENOSPC);
            EXPECT_EQ(readAll(path), QByteArray("old"));
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.bin")});
        }
    }
    // Room enough: the same hook lets the whole file through.
    diskWithRoomFor(100);
    EXPECT_EQ(os::writeWholeFile(path, QByteArray("new")), QString());
    EXPECT_EQ(readAll(path), QByteArray("new"));
}

TEST(WriteWholeFile, AMissingFolderIsNotAFullDisk)
{
    QTemporaryDir dir;
    int code = 0;
    const QString why = os::writeWholeFile(dir.filePath(QStringLiteral("no/such/x.bin")), QByteArray("ab"), &code);
    EXPECT_FALSE(why.isEmpty());
    EXPECT_NE(why, os::diskFullText());
    EXPECT_EQ(code, ENOENT);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("no"))));
}
