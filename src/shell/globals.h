#pragma once
// Process-wide state owned by the shell. Start-up fills it; tests reset it.
#include <QString>

// The program folder (where qvmain, parts/ and the shared logs lie).
inline QString AppPath;
inline QString stAppTitle = QStringLiteral("Quorvane");
// The work folder (workbook, database, log/) and the folder of the database.
inline QString stWorkPath;
inline QString stDbPath;
// The workbook's path and file name.
inline QString stAppName;
inline QString stBookName;
inline bool DebugMode = false;

inline void resetShellGlobals()
{
    AppPath.clear();
    stAppTitle = QStringLiteral("Quorvane");
    stWorkPath.clear();
    stDbPath.clear();
    stAppName.clear();
    stBookName.clear();
    DebugMode = false;
}
