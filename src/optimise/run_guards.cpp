#include "optimise/run_guards.h"

#include "shell/myexcel.h"

SwitchesOnAtEnd::~SwitchesOnAtEnd()
{
    try {
        xlAppSetting(true, true, true);
    } catch (...) {
    }
}
