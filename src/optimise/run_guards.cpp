#include "optimise/run_guards.h"

#include "shell/myexcel.h"

XlSwitchesGuard::XlSwitchesGuard()
    : outer_(xlSavedSwitches)
{
    xlSpeedUp();
    own_ = xlSavedSwitches;
}

XlSwitchesGuard::~XlSwitchesGuard()
{
    xlSavedSwitches = own_;
    try {
        xlSpeedRestore();
    } catch (...) {
        // Nothing may leave a destructor; the switches stay as they are.
    }
    xlSavedSwitches = outer_;
}

SwitchesOnAtEnd::~SwitchesOnAtEnd()
{
    try {
        xlAppSetting(true, true, true);
    } catch (...) {
    }
}
