#include "optimise/install.h"

#include "engine/optimiser_steps.h"
#include "optimise/optimiser.h"
#include "optimise/random_exchange.h"
#include "optimise/restdays.h"
#include "optimise/score.h"

void installOptimiserSteps()
{
    最適化手順.全分散計算 = 全分散計算;
    最適化手順.ランダム交換 = ランダム交換;
    最適化手順.休み数均等化 = 休み数均等化;
    最適化手順.最適化実行 = 最適化実行;
    最適化手順.ランダム入替処理 = ランダム入替処理;
    最適化手順.単勤単休数 = [](const QString& kind) { return 単勤単休数(kind, 1, 0); };
}
