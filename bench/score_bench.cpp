// The dispersion score on a full table of the largest sample and of the benchmarks' own set at the
// model's limits: the optimisers pay it after every exchange they try.
#include "bench_conditions.h"
#include "largest_sample.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "engine/rules.h"
#include "engine/totals.h"
#include "optimise/score.h"
#include "platform/text/vb.h"
#include "shell/myfunc_main.h"

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

// Every empty cell from Start_Day gets a shift the assignment check allows (or stays a rest day
// with the chance of a rest day); every weight of the score takes part.
void prepare()
{
    if (全条件読込(-1) < 0) {
        std::fprintf(stderr, "the conditions could not be read\n");
        std::exit(1);
    }
    Randomize(20271);
    for (int d = std::max(1, Start_Day); d <= Day_Cnt; ++d)
        for (int m = 1; m <= Member_Cnt; ++m) {
            if (Time_Table(m, d) != 0 || Rnd() < 0.3)
                continue;
            const int first = 1 + int(Int(Rnd() * Type_Cnt));
            for (int k = 0; k < Type_Cnt; ++k) {
                const int s = 1 + (first - 1 + k) % Type_Cnt;
                if (refusalCode(m, s, d) == RefusalReason::None) {
                    Time_Table(m, d) = s;
                    勤務集計加算(m, s, d);
                    break;
                }
            }
        }
    for (long* w : {&荷重_各勤務日数_今期, &荷重_各勤務日数, &荷重_休日勤務_今期, &荷重_休日勤務, &荷重_単勤総数_今期,
                    &荷重_単休総数_今期, &荷重_単勤分散_今期, &荷重_単休分散_今期, &荷重_優先勤務倍率,
                    &荷重_優先勤務倍率_今期})
        *w = 3;
    荷重_優先勤務 = 1;
}

void label(benchmark::State& state)
{
    state.SetLabel(QStringLiteral("%1 members x %2 days x %3 types").arg(Member_Cnt).arg(Day_Cnt).arg(Type_Cnt)
                       .toStdString());
}

// The score of an unchanged table: every deviation comes from the memo.
void score(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(全分散計算());
    label(state);
}

// What an optimiser pays per trial: one exchange of two members' cells, then the score.
void exchangeAndScore(benchmark::State& state)
{
    struct Exchange {
        int a, b, d;
    };
    std::vector<Exchange> exchanges(4096);
    for (Exchange& e : exchanges)
        e = {1 + int(Int(Rnd() * Member_Cnt)), 1 + int(Int(Rnd() * Member_Cnt)), 1 + int(Int(Rnd() * Day_Cnt))};
    size_t i = 0;
    for (auto _ : state) {
        const Exchange& e = exchanges[i];
        勤務変更(e.a, e.b, e.d);
        benchmark::DoNotOptimize(全分散計算());
        i = (i + 1) % exchanges.size();
    }
    label(state);
}

void BM_Score_largest_sample(benchmark::State& state)
{
    openLargestSample();
    prepare();
    score(state);
}
BENCHMARK(BM_Score_largest_sample);

void BM_SwapAndScore_largest_sample(benchmark::State& state)
{
    openLargestSample();
    prepare();
    exchangeAndScore(state);
}
BENCHMARK(BM_SwapAndScore_largest_sample);

void BM_Score_bench_set(benchmark::State& state)
{
    openBenchConditions();
    prepare();
    score(state);
}
BENCHMARK(BM_Score_bench_set);

void BM_SwapAndScore_bench_set(benchmark::State& state)
{
    openBenchConditions();
    prepare();
    exchangeAndScore(state);
}
BENCHMARK(BM_SwapAndScore_bench_set);

// With last month's counts in the cumulative term: one more deviation per shift type.
void BM_Score_bench_set_cumulative(benchmark::State& state)
{
    openBenchConditions();
    prepare();
    Sw_過去累計使用 = true;
    score(state);
    Sw_過去累計使用 = false;
}
BENCHMARK(BM_Score_bench_set_cumulative);

}  // namespace

BENCHMARK_MAIN();
