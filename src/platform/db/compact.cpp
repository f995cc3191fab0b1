#include "platform/db/compact.h"

#include "platform/db/db.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>

namespace db {

namespace {

int renameFile(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ? 0 : errno;
}

}  // namespace

QString compactFile(const QString& path, const ReplaceFile& replace)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return fileError(ENOENT).text();

    // The copy lives in the file's own folder, so that the rename cannot cross file systems.
    QTemporaryFile copy(info.absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!copy.open())
        return fileError(errno ? errno : EACCES).text();
    copy.close();
    const QString copyPath = copy.fileName();

    try {
        Connection source;
        source.setBusyTimeout(0);
        source.open(path);
        // Nobody else may read or write the file until it has been replaced: a write that went
        // to the old file after the copy was taken would be lost.
        source.execute(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
        source.execute(QStringLiteral("BEGIN EXCLUSIVE"));
        source.execute(QStringLiteral("COMMIT"));
        source.execute(QStringLiteral("VACUUM INTO ?"), {copyPath});
        {
            Connection check;
            check.open(copyPath, true);
            const QString verdict = check.scalar(QStringLiteral("PRAGMA quick_check")).toString();
            if (verdict != QLatin1String("ok"))
                return Error(11, QStringLiteral("圧縮したデータベースが壊れています: ") + verdict).text();
        }
        QFile::setPermissions(copyPath, QFile::permissions(path));
        const int err = replace ? replace(copyPath, path) : renameFile(copyPath, path);
        if (err != 0)
            return fileError(err).text();
        copy.setAutoRemove(false);
        return {};
    } catch (const Error& e) {
        return e.text();
    }
}

}  // namespace db
