#include "platform/db/compact.h"

#include "platform/db/db.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>

namespace db {

namespace {

int renameFile(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ? 0 : errno;
}

// "number sentence", then SQLite's own words on the next line.
QString failure(int number, const QString& sentence, const QString& detail)
{
    return QString::number(number) + QLatin1Char(' ') + sentence + QLatin1Char('\n') + detail;
}

CompactResult damagedSource(const Error& e)
{
    return {failure(e.number, QStringLiteral("データベースが壊れているため、圧縮せずに残しました。"), e.description),
            true};
}

// The first complaint of a full check, "" when the file is sound. A quick check would pass an
// index that no longer matches its table, and the copy keeps such an index as it is.
QString integrityProblem(Connection& c)
{
    const QString verdict = c.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
    return verdict == QLatin1String("ok") ? QString() : verdict;
}

// What the copy's name adds to the file's; QTemporaryFile ends it with six letters or digits.
const QString kCopyMark = QStringLiteral(".compacting-");

}  // namespace

CompactResult compactFile(const QString& path, const ReplaceFile& replace)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {fileError(ENOENT).text()};

    // The copy lives in the file's own folder, so that the rename cannot cross file systems.
    QTemporaryFile copy(info.absoluteFilePath() + kCopyMark + QStringLiteral("XXXXXX"));
    if (!copy.open())
        return {fileError(errno ? errno : EACCES).text()};
    copy.close();
    const QString copyPath = copy.fileName();

    // Nobody else may read or write the file until it has been replaced: a write that went to the
    // old file after the copy was taken would be lost.
    Connection source;
    try {
        source.setBusyTimeout(0);
        source.open(path);
        source.execute(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
        source.execute(QStringLiteral("BEGIN EXCLUSIVE"));
        source.execute(QStringLiteral("COMMIT"));
        const QString problem = integrityProblem(source);
        if (!problem.isEmpty())
            return damagedSource(Error(sqliteCorrupt, problem));
        source.execute(QStringLiteral("VACUUM INTO ?"), {copyPath});
    } catch (const Error& e) {
        if (primaryCode(e) == sqliteCorrupt || primaryCode(e) == sqliteNotADb)
            return damagedSource(e);
        return {failure(e.number, QStringLiteral("データベースを圧縮できませんでした。") + e.summary(), e.description)};
    }
    try {
        Connection check;
        check.open(copyPath, true);
        const QString problem = integrityProblem(check);
        if (!problem.isEmpty())
            return {failure(sqliteCorrupt, QStringLiteral("圧縮したコピーが壊れていたため、元のデータベースをそのまま残しました。"), problem)};
    } catch (const Error& e) {
        return {failure(e.number, QStringLiteral("圧縮したコピーを確かめられなかったため、元のデータベースをそのまま残しました。"),
                        e.description)};
    }
    QFile::setPermissions(copyPath, QFile::permissions(path));
    const int err = replace ? replace(copyPath, path) : renameFile(copyPath, path);
    if (err != 0)
        return {fileError(err).text()};
    copy.setAutoRemove(false);
    return {};
}

int removeLeftoverCopies(const QString& path)
{
    const QFileInfo info(path);
    const QRegularExpression ours(QStringLiteral("^") + QRegularExpression::escape(info.fileName() + kCopyMark)
                                  + QStringLiteral("[A-Za-z0-9]{6}$"));
    int removed = 0;
    const QDir folder = info.absoluteDir();
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (entry.isSymLink() || !entry.isFile() || !ours.match(entry.fileName()).hasMatch())
            continue;
        if (QFile::remove(entry.absoluteFilePath()))
            ++removed;
    }
    return removed;
}

}  // namespace db
