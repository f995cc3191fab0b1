#pragma once
// Every test process runs with HOME and the configuration folder in a temporary folder, so that
// settings and data sources written by the code under test never touch the real user's.
#include <QString>

namespace testenv {
void isolateHome();
// A fixture data file or folder below tests/data.
QString dataPath(const QString& relative);
}  // namespace testenv
