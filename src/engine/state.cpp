#include "engine/state.h"

#include "engine/analysis.h"
#include "engine/candidate_choice.h"
#include "engine/conditions.h"
#include "engine/day_placement.h"
#include "engine/generation.h"
#include "engine/main_window_steps.h"
#include "engine/model.h"
#include "engine/optimiser_steps.h"
#include "engine/optimiser_window.h"
#include "engine/rule_timing.h"
#include "engine/rules.h"
#include "engine/time_limit.h"
#include "shell/state.h"

void resetEngineState()
{
    resetShellState();
    resetConditionModel();
    resetOptimiserWindowState();
    制限時間超過 = false;
    表示待ちなし = false;
    作成計測値 = {};
    日別配置失敗 = {};
    日別配置ログ.clear();
    分析結果_Ans = 0;
    週間勤務日数不可記録 = {};
    規則計測::有効 = false;
    規則計測::ns = 0;
    規則計測::depth = 0;
    基本情報読込後 = nullptr;
    主画面手順 = {};
    最適化手順 = {};
}
