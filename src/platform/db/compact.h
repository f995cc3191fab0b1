#pragma once
// Compaction of a database file in place, without ever being without it: the compacted copy is
// written beside the file, checked, and renamed over it; on any failure the file stays as it was.
#include <QString>
#include <functional>

namespace db {

// How the copy replaces the file (rename(2) by default): 0 on success, else an errno value.
using ReplaceFile = std::function<int(const QString& from, const QString& to)>;

// "" on success, else "number description".
QString compactFile(const QString& path, const ReplaceFile& replace = {});

}  // namespace db
