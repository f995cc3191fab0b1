#include "optimise/install.h"

#include "engine/optimiser_steps.h"
#include "optimise/score.h"

void installOptimiserSteps()
{
    最適化手順.全分散計算 = 全分散計算;
}
