#pragma once
// Fills the engine's hooks into the optimiser (最適化手順) with the optimiser's routines; the
// program calls it at start-up, tests and benchmarks before they generate.
void installOptimiserSteps();
