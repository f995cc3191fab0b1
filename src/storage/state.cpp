#include "storage/state.h"

#include "optimise/state.h"
#include "storage/condition_exchange.h"

void resetStorageState()
{
    resetOptimiseState();
    currentConditionFile.clear();
}
