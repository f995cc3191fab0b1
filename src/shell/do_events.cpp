#include "shell/do_events.h"

#include "platform/os/clock.h"

#include <QCoreApplication>

namespace {
qint64 lastEvents = -1;  // os::elapsedMs() when events last ran
}

void DoEvents()
{
    const qint64 since = os::elapsedMs() - lastEvents;
    if (lastEvents >= 0 && since >= 0 && since < 25)  // below 0: the clock was replaced (tests)
        return;
    QCoreApplication::processEvents();
    lastEvents = os::elapsedMs();
}

void resetDoEvents()
{
    lastEvents = -1;
}
