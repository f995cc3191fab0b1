#include "app/state.h"

#include "app/mainwindow.h"
#include "storage/state.h"

void resetAppState()
{
    resetStorageState();
    startConditionsCheckLoad = nullptr;
}
