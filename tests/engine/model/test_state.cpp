// The engine's reset reaches the run's flags, counters and logs, the installed steps, the model
// and the layers below.
#include "engine/analysis.h"
#include "engine/candidate_choice.h"
#include "engine/day_placement.h"
#include "engine/generation.h"
#include "engine/main_window_steps.h"
#include "engine/model.h"
#include "engine/optimiser_steps.h"
#include "engine/optimiser_window.h"
#include "engine/state.h"
#include "engine/time_limit.h"
#include "shell/globals.h"

#include <gtest/gtest.h>

TEST(EngineState, ResetClearsEveryOwnerAndTheLayersBelow)
{
    制限時間超過 = true;
    表示待ちなし = true;
    作成計測値.試し数 = 3;
    日別配置失敗.ReDim(3);
    日別配置ログ = QStringLiteral("log");
    分析結果_Ans = 6;
    主画面手順.最前面解除 = [] {};
    最適化手順.ランダム交換 = [](int, int) {};
    optwin::setMessage(QStringLiteral("running"));
    Member_Cnt = 4;
    Sw_中止 = true;

    resetEngineState();
    EXPECT_FALSE(制限時間超過);
    EXPECT_FALSE(表示待ちなし);
    EXPECT_EQ(作成計測値.試し数, 0);
    EXPECT_TRUE(日別配置失敗.isEmpty());
    EXPECT_TRUE(日別配置ログ.isEmpty());
    EXPECT_EQ(分析結果_Ans, 0);
    EXPECT_FALSE(主画面手順.最前面解除);
    EXPECT_FALSE(最適化手順.ランダム交換);
    EXPECT_FALSE(optwin::state().loaded);
    EXPECT_EQ(Member_Cnt, 0);
    EXPECT_FALSE(Sw_中止);
}
