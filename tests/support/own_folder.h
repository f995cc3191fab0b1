#pragma once
// The layer's reset (the template argument), then the program folder, where the boot log and the
// event log go, put in the test process's own temporary home. The reset empties that path, and an
// empty one means the current directory, the folder the test was started from: so in this order.
#include "shell/globals.h"

#include <QDir>

template <void (*reset)()>
void resetIntoOwnFolder()
{
    reset();
    AppPath = QDir::homePath();
}
