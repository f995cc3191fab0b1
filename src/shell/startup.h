#pragma once
// What the start-up decides without a window: the version text, the checks that may end the
// program (started from the wrong folder, set-up not run), and the work folder and its files.
#include <QString>

// major "." minor and revision from "major.minor.revision": 2.1.5 gives "2.15".
QString VersionText(const QString& version);
// The path of name in folder; when that exact name is missing, of a file whose name differs only
// in case (work folders copied from a case-blind file system). "" when there is none.
QString FindFileNoCase(const QString& folder, const QString& name);
// True when the program was started from its own folder instead of through a work folder's
// launcher; the message has been shown.
bool ChkExecEnv();
// When the set-up program lies beside the program, was not run here and control files are
// missing: asks whether to go on. False when the user chose to end.
bool ChkSetUp();
// The control files of parts/ocxs that the system folder lacks, each followed by CR LF.
QString ChkOcxFiles();
// The workbook's file name in folder: "shift.xls" for spreadsheet versions 9 to 11, else
// "shift.xlsm" when it is there, else "shift.xls" when that is there, else "shift.xlsm".
QString GetXlsName(const QString& folder);
// The program folder when it holds the workbook, else the current folder.
QString WorkFolder();
// A plain file "debug" in folder (a folder of that name does not count).
bool DebugMarker(const QString& folder);
