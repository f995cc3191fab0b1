#pragma once
#include "shell/myexcel.h"

// Screen updating, automatic calculation and events all switched on when it goes, however the
// step that switched them off ends.
struct SwitchesOnAtEnd {
    SwitchesOnAtEnd() = default;
    ~SwitchesOnAtEnd();
    SwitchesOnAtEnd(const SwitchesOnAtEnd&) = delete;
    SwitchesOnAtEnd& operator=(const SwitchesOnAtEnd&) = delete;
};
