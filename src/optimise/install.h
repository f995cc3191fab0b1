#pragma once
// Fills the engine's hooks into the optimiser (optimiserSteps) with the optimiser's routines; the
// program calls it at start-up, tests and benchmarks before they generate.
void installOptimiserSteps();
