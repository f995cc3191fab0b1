#include "shell/doevents.h"

#include <QCoreApplication>
#include <QElapsedTimer>

void DoEvents()
{
    static QElapsedTimer since;
    if (since.isValid() && since.elapsed() < 25)
        return;
    QCoreApplication::processEvents();
    since.start();
}
