#pragma once
// Installs the shell's windows behind the logic's headers: the standard message box, input box and
// folder picker, frmMsgBox for MyMsgBox, frmMsgWait for ShowMsgWait, and the status windows
// (frmSplash, frmBootSplash, frmPrgB) for DspSplash, DspBootSplash, BootStepTime and PrgB*.
// The windowed program calls it once at start-up, after the QApplication exists.
class frmSplash;
class frmBootSplash;
class frmPrgB;

void installShellWindows();

// The loaded instances of the status windows (nullptr when not loaded).
frmSplash* loadedSplash();
frmBootSplash* loadedBootSplash();
frmPrgB* loadedPrgB();
