#pragma once
// Process-wide state owned by the shell. Start-up fills it; tests reset it.
#include <QString>
#include <QVariant>

// The program folder (where qvmain, parts/ and the shared logs lie).
inline QString AppPath;
inline QString stAppTitle = QStringLiteral("Quorvane");
// The program's own file name, and its version as shown: major "." minor and revision ("2.15").
inline QString AppEXEName = QStringLiteral("qvmain");
inline QString stVersion;
// The spreadsheet's version text.
inline QString stXlVer;
// The work folder (workbook, database, log/) and the folder of the database.
inline QString stWorkPath;
inline QString stDbPath;
// The workbook's path and file name.
inline QString stAppName;
inline QString stBookName;
inline bool DebugMode = false;

// The one stop request: every cancel button sets it, every long loop and DoWait polls it.
inline bool Sw_中止 = false;
// While set, status messages (DspSplash) are shown only when forced.
inline bool Sw_表示抑止 = false;
// Where status and progress windows sit: 0 upper centre, 1 top right, 2 bottom right, 3 bottom left.
inline long 進行状況表示 = 0;
// Milliseconds the countdown notice frmMsgWait has left.
inline long MsgWaitTime = 0;
// The period as read from sheet Main at start-up: year and month, the first day of the period
// (基準開始日, a day of the month) and the day generation starts from (作成開始日).
inline long 作成年 = 0;
inline long 作成月 = 0;
inline long 作成開始日 = 0;
inline long 基準開始日 = 0;
// The time limit of a generation run in minutes.
inline float LimitTime = 0;
// A best-shift run's progress for the caption: tables kept, successful and doubtful attempts,
// and the run's clock (monotonic, started by the generation run).
inline long BestShift_Cnt = 0;
inline long BestShift_OkCnt = 0;
inline long BestShift_NgCnt = 0;
// When the generation run started, on the program's clock (os::elapsedMs()); -1 before any run.
inline qint64 作成開始時刻 = -1;
// Passes a value into a dialog and its answer back (the message box, the optimiser settings).
inline QVariant DlgParam;

inline void resetShellGlobals()
{
    AppPath.clear();
    stAppTitle = QStringLiteral("Quorvane");
    AppEXEName = QStringLiteral("qvmain");
    stVersion.clear();
    stXlVer.clear();
    stWorkPath.clear();
    stDbPath.clear();
    stAppName.clear();
    stBookName.clear();
    DebugMode = false;
    Sw_中止 = false;
    Sw_表示抑止 = false;
    進行状況表示 = 0;
    MsgWaitTime = 0;
    作成年 = 0;
    作成月 = 0;
    作成開始日 = 0;
    基準開始日 = 0;
    LimitTime = 0;
    BestShift_Cnt = 0;
    BestShift_OkCnt = 0;
    BestShift_NgCnt = 0;
    作成開始時刻 = -1;
    DlgParam.clear();
}
