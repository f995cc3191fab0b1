#include "optimise/run_guards.h"

#include "shell/myexcel.h"

XlSwitchesGuard::XlSwitchesGuard()
{
    const xl::Application& app = XlApp();
    screenUpdating_ = app.screenUpdating();
    calculationAuto_ = app.calculation() == xl::kCalculationAutomatic;
    enableEvents_ = app.enableEvents();
}

XlSwitchesGuard::~XlSwitchesGuard()
{
    try {
        xlAppSetting(screenUpdating_, calculationAuto_, enableEvents_);
    } catch (...) {
        // Nothing may leave a destructor; the switches stay as they are.
    }
}

SwitchesOnAtEnd::~SwitchesOnAtEnd()
{
    try {
        xlAppSetting(true, true, true);
    } catch (...) {
    }
}
