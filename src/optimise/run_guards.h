#pragma once

// Screen updating, calculation and events as found at construction, set again at destruction
// (errors ignored), so a run that switches them off leaves them as it found them, also after an
// error.
class XlSwitchesGuard {
public:
    XlSwitchesGuard();
    ~XlSwitchesGuard();
    XlSwitchesGuard(const XlSwitchesGuard&) = delete;
    XlSwitchesGuard& operator=(const XlSwitchesGuard&) = delete;

private:
    bool screenUpdating_ = true;
    bool calculationAuto_ = true;
    bool enableEvents_ = true;
};

// Screen updating, automatic calculation and events all switched on when it goes, however the
// step that switched them off ends.
struct SwitchesOnAtEnd {
    SwitchesOnAtEnd() = default;
    ~SwitchesOnAtEnd();
    SwitchesOnAtEnd(const SwitchesOnAtEnd&) = delete;
    SwitchesOnAtEnd& operator=(const SwitchesOnAtEnd&) = delete;
};
