#include "workbook/state.h"

#include "platform/os/state.h"
#include "workbook/recalc.h"

void resetWorkbookState()
{
    resetPlatformState();
    workbook::forgetGridInputs();
}
