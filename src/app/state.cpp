#include "app/state.h"

#include "app/mainwindow.h"
#include "storage/state.h"

void resetAppState()
{
    resetStorageState();
    開始条件確認Load = nullptr;
}
