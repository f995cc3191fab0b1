// The engine's reset reaches the run's flags, counters and logs, the installed steps, the model
// and the layers below.
#include "engine/analysis.h"
#include "engine/candidate_choice.h"
#include "engine/conditions.h"
#include "engine/day_placement.h"
#include "engine/generation.h"
#include "engine/main_window_steps.h"
#include "engine/model.h"
#include "engine/optimiser_steps.h"
#include "engine/rule_timing.h"
#include "engine/rules.h"
#include "engine/run_window.h"
#include "engine/state.h"
#include "engine/time_limit.h"
#include "shell/globals.h"

#include <gtest/gtest.h>

TEST(EngineState, ResetClearsEveryOwnerAndTheLayersBelow)
{
    timeLimitExceeded = true;
    noDisplayWait = true;
    generationTiming.tries = 3;
    dayPlacementFailures.ReDim(3);
    dayPlacementLog = QStringLiteral("log");
    分析結果_Ans = 6;
    mainWindowSteps.leaveTopmost = [] {};
    optimiserSteps.ランダム交換 = [](int, int) {};
    optwin.setMessage(QStringLiteral("running"));
    progwin.setMessage(QStringLiteral("failed day"));
    progwin.show();
    fixedConflicts.push_back(FixedConflict{1, 2, 3, RefusalReason::None});
    weeklyWorkDaysRefusal = {2, 5};
    RuleTiming::enabled = true;
    RuleTiming::ns = 7;
    afterBasicInfoRead = [] {};
    Member_Cnt = 4;
    Sw_中止 = true;

    resetEngineState();
    EXPECT_FALSE(timeLimitExceeded);
    EXPECT_FALSE(noDisplayWait);
    EXPECT_EQ(generationTiming.tries, 0);
    EXPECT_TRUE(dayPlacementFailures.isEmpty());
    EXPECT_TRUE(dayPlacementLog.isEmpty());
    EXPECT_EQ(分析結果_Ans, 0);
    EXPECT_FALSE(mainWindowSteps.leaveTopmost);
    EXPECT_FALSE(optimiserSteps.ランダム交換);
    EXPECT_FALSE(optwin.state().loaded);
    EXPECT_FALSE(progwin.state().loaded);
    EXPECT_FALSE(progwin.state().visible);
    EXPECT_TRUE(progwin.state().message.isEmpty());
    EXPECT_TRUE(fixedConflicts.empty());
    EXPECT_EQ(weeklyWorkDaysRefusal.m, 0);
    EXPECT_FALSE(RuleTiming::enabled);
    EXPECT_EQ(RuleTiming::ns, 0);
    EXPECT_FALSE(afterBasicInfoRead);
    EXPECT_EQ(Member_Cnt, 0);
    EXPECT_FALSE(Sw_中止);
}
