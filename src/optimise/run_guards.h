#pragma once
#include "shell/myexcel.h"

// xlSpeedUp and xlSpeedRestore in a scope: the switches saved and switched off at construction,
// put back at destruction (errors ignored), so a run leaves them as it found them, also after an
// error. It keeps what its own xlSpeedUp saved, and what an enclosing pair saved is put back
// after it, so scopes nest and a pair inside the scope cannot change what it restores.
class XlSwitchesGuard {
public:
    XlSwitchesGuard();
    ~XlSwitchesGuard();
    XlSwitchesGuard(const XlSwitchesGuard&) = delete;
    XlSwitchesGuard& operator=(const XlSwitchesGuard&) = delete;

private:
    XlSavedSwitches outer_;
    XlSavedSwitches own_;
};

// Screen updating, automatic calculation and events all switched on when it goes, however the
// step that switched them off ends.
struct SwitchesOnAtEnd {
    SwitchesOnAtEnd() = default;
    ~SwitchesOnAtEnd();
    SwitchesOnAtEnd(const SwitchesOnAtEnd&) = delete;
    SwitchesOnAtEnd& operator=(const SwitchesOnAtEnd&) = delete;
};
