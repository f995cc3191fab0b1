#include "optimise/state.h"

#include "engine/state.h"
#include "optimise/best_shift.h"
#include "optimise/window_steps.h"

void resetOptimiseState()
{
    resetEngineState();
    BestShift_Table = {};
    BestShift_Time.clear();
    optimiserWindowSteps = {};
}
