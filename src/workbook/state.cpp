#include "workbook/state.h"

#include "platform/os/state.h"

void resetWorkbookState()
{
    resetPlatformState();
}
