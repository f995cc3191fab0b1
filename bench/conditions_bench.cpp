// Reading the largest sample's conditions and loading its grid: the cost each generation attempt
// pays before it places a single shift.
#include "largest_sample.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "engine/shift_load.h"
#include "engine/totals.h"
#include "shell/globals.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

void loadSample()
{
    openLargestSample();
}

void BM_ReadAllConditions(benchmark::State& state)
{
    loadSample();
    for (auto _ : state)
        benchmark::DoNotOptimize(全条件読込(-1));
}
BENCHMARK(BM_ReadAllConditions)->Unit(benchmark::kMicrosecond);

void BM_ReadShiftTable(benchmark::State& state)
{
    loadSample();
    全条件読込(-1);
    for (auto _ : state) {
        集計クリア();
        benchmark::DoNotOptimize(シフト表読込(1, Day_Cnt, -1, 0));
    }
}
BENCHMARK(BM_ReadShiftTable)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
