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
