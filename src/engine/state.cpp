#include "engine/state.h"

#include "engine/analysis.h"
#include "engine/candidate_choice.h"
#include "engine/conditions.h"
#include "engine/day_placement.h"
#include "engine/generation.h"
#include "engine/kept_grid.h"
#include "engine/main_window_steps.h"
#include "engine/model.h"
#include "engine/optimiser_steps.h"
#include "engine/run_window.h"
#include "engine/rule_timing.h"
#include "engine/rules.h"
#include "engine/time_limit.h"
#include "shell/state.h"

void resetEngineState()
{
    resetShellState();
    resetConditionModel();
    progwin.reset();
    optwin.reset();
    forgetKeptGrid();
    timeLimitExceeded = false;
    noDisplayWait = false;
    generationTiming = {};
    dayPlacementFailures = {};
    dayPlacementLog.clear();
    fixedConflicts.clear();
    userFixedCells = {};
    分析結果_Ans = 0;
    weeklyWorkDaysRefusal = {};
    RuleTiming::enabled = false;
    RuleTiming::ns = 0;
    RuleTiming::depth = 0;
    afterBasicInfoRead = nullptr;
    mainWindowSteps = {};
    optimiserSteps = {};
}
