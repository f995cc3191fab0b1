#include "storage/state.h"

#include "optimise/state.h"
#include "storage/condexchange.h"

void resetStorageState()
{
    resetOptimiseState();
    現在条件ファイル.clear();
}
