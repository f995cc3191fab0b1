#include "platform/os/save_file.h"

#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace os {

namespace {

FileWriteHook& writeHook()
{
    static FileWriteHook hook;
    return hook;
}

// The reason for a failed step, read before anything else can change the file's error or errno:
// a failed commit clears the error a write left, so the write's own reason is taken at the write.
QString failure(const QSaveFile& file, int errnoValue, int* systemError)
{
    // Qt reports a write that ran out of space as a resource error.
    const bool full = errnoValue == ENOSPC
        || (file.error() == QFileDevice::ResourceError && file.openMode() != QIODevice::NotOpen);
    if (systemError)
        *systemError = full ? ENOSPC : errnoValue;
    if (full)
        return diskFullText();
    if (file.error() != QFileDevice::NoError && !file.errorString().isEmpty())
        return file.errorString();
    if (errnoValue != 0)
        return QString::fromLocal8Bit(std::strerror(errnoValue));
    return file.errorString();
}

}  // namespace

QString diskFullText()
{
    return QStringLiteral("ディスクに空きがありません。");
}

QString writeWholeFile(const QString& path, const QByteArray& bytes, int* systemError)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return failure(file, errno, systemError);
    errno = 0;
    const FileWriteHook& hook = writeHook();
    const qint64 written = hook ? hook(file, bytes.constData(), bytes.size()) : file.write(bytes);
    if (written != bytes.size() || !file.flush())
        return failure(file, errno, systemError);   // the temporary goes with the file object
    errno = 0;
    if (!file.commit())
        return failure(file, errno, systemError);
    return QString();
}

void setFileWriteHook(FileWriteHook hook)
{
    writeHook() = std::move(hook);
}

}  // namespace os
