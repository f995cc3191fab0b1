#pragma once
#include <QString>
// The windowed program as a whole: what it installs once, and its life from start-up to End.

// The windows behind the logic's headers (dialogs, status windows, the workbook window) and the
// steps the lower layers leave to the higher ones. Once, after the QApplication exists.
void installProgram();
// All of it but the windows that ask and show status, which tests answer and leave headless.
void installProgramSteps();

// Puts every global back as a fresh start leaves it with the program folder as AppPath, installs,
// starts up, runs the event loop until End and takes everything down again; the process's exit
// code. The application's version is set by the caller.
int runProgram(const QString& programFolder);
