#pragma once
// Writing a whole file at once: the bytes go to a temporary beside the target, which is renamed
// over the target only when every byte is on disk, so a failed write leaves the old file as it was.
#include <QByteArray>
#include <QString>
#include <functional>

class QFileDevice;

namespace os {

// The reason a write failed when the disk is full.
QString diskFullText();

// Writes bytes to path; "" on success, else why it failed (diskFullText() for a full disk).
// systemError, when given, receives the system's error code of the failure (ENOSPC for a full
// disk, 0 when none is known, untouched on success).
QString writeWholeFile(const QString& path, const QByteArray& bytes, int* systemError = nullptr);

// Stands in for the disk in tests: the hook writes what it takes of the data into the file and
// returns the count written, short when it ran out of room, or -1 with errno set. nullptr brings back the file's own write.
using FileWriteHook = std::function<qint64(QFileDevice& file, const char* data, qint64 size)>;
void setFileWriteHook(FileWriteHook hook);

}  // namespace os
