#pragma once
// Helpers of the long optimiser loops: the workbook's switches put back however a run ends, and
// window events let through at a bounded rate.
#include <QElapsedTimer>

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

// Lets pending window events run when at least 30 ms have passed since it last did: often enough
// for the stop button and repaints, rare enough not to cost the inner loops.
class EventPump {
public:
    EventPump();
    void operator()();

private:
    QElapsedTimer last_;
};
