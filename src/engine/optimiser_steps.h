#pragma once
// What the generation and its exchange passes need of the optimiser (the score first; the
// exchanges, the best-shift store and the reports as the generation comes to call them). The
// optimiser lies above the engine, so it fills these in itself (installOptimiserSteps) at
// start-up; tests and benchmarks install it the same way.
#include <functional>

struct OptimiserSteps {
    // The score of the current Time_Table and member totals (lower is better).
    std::function<float()> 全分散計算;
};
inline OptimiserSteps 最適化手順;
