#include "platform/os/state.h"

#include "platform/text/vb.h"
#include "platform/ui/prompt.h"

void resetPlatformState()
{
    ui::resetMessages();
    resetRnd();
}
