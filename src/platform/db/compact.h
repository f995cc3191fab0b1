#pragma once
// Compaction of a database file in place, without ever being without it: the file and then its
// compacted copy are checked in full, and the copy is renamed over the file; on any failure the
// file stays as it was.
#include <QString>
#include <functional>

namespace db {

// How the copy replaces the file (rename(2) by default): 0 on success, else an errno value.
using ReplaceFile = std::function<int(const QString& from, const QString& to)>;

struct CompactResult {
    QString error;               // "" on success, else "number description"
    bool sourceDamaged = false;  // the file itself is damaged: it was left as it is
};

CompactResult compactFile(const QString& path, const ReplaceFile& replace = {});

// Removes the copies that a compaction cut short (the program killed) left beside the file at
// path, and nothing else: only regular files named as compactFile names its copies. The count
// removed.
int removeLeftoverCopies(const QString& path);

}  // namespace db
