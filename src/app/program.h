#pragma once
// The windowed program as a whole: what it installs once, and its life from start-up to End.

// The windows behind the logic's headers (dialogs, status windows, the workbook window) and the
// steps the lower layers leave to the higher ones. Once, after the QApplication exists.
void installProgram();

// Installs, starts up, runs the event loop until End and takes everything down again; the
// process's exit code. AppPath and the application's version are set by the caller.
int runProgram();
