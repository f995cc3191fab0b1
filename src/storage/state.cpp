#include "storage/state.h"

#include "optimise/state.h"
#include "storage/condexchange.h"

void resetStorageState()
{
    resetOptimiseState();
    currentConditionFile.clear();
}
