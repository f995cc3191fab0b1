#include "app/state.h"

#include "app/main_window.h"
#include "storage/state.h"

void resetAppState()
{
    resetStorageState();
    startConditionsCheckLoad = nullptr;
}
