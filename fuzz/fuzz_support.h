#pragma once
// What every fuzz target shares: the Qt application object, a private HOME, and the input
// written to a file (the readers take paths).
#include <QString>
#include <cstddef>
#include <cstdint>

namespace fuzz {

// A private folder for the run, removed at exit.
QString scratchFolder();
// The input as the file name in the scratch folder (replaced on every call).
QString inputFile(const uint8_t* data, size_t size, const QString& name);

}  // namespace fuzz
