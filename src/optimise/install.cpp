#include "optimise/install.h"

#include "engine/optimiser_steps.h"
#include "optimise/restdays.h"
#include "optimise/score.h"

void installOptimiserSteps()
{
    最適化手順.全分散計算 = 全分散計算;
    最適化手順.休み数均等化 = 休み数均等化;
    最適化手順.単勤単休数 = [](const QString& kind) { return 単勤単休数(kind, 1, 0); };
}
