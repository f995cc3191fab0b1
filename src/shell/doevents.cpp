#include "shell/doevents.h"

#include "platform/os/clock.h"

#include <QCoreApplication>

void DoEvents()
{
    static qint64 last = -1;  // os::elapsedMs() when events last ran
    const qint64 since = os::elapsedMs() - last;
    if (last >= 0 && since >= 0 && since < 25)  // below 0: the clock was replaced (tests)
        return;
    QCoreApplication::processEvents();
    last = os::elapsedMs();
}
