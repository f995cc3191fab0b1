// The rule checks on the largest sample: how many assignment checks and exchange checks per
// second a generation or an optimiser run can make.
#include "largest_sample.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "engine/rules.h"
#include "engine/totals.h"
#include "platform/text/vb.h"
#include "shell/globals.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

// Loads the sample and fills days 1..lastFilled at random with shifts the assignment check allows.
void loadSample(int lastFilled)
{
    openLargestSample();
    全条件読込(-1);
    Randomize(20271);
    for (int d = 1; d <= lastFilled; ++d)
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
}

struct Ask {
    int m, s, d;
};

// Every member and shift on the days still to be placed.
std::vector<Ask> openCells(int firstDay)
{
    std::vector<Ask> asks;
    for (int d = firstDay; d <= Day_Cnt; ++d)
        for (int m = 1; m <= Member_Cnt; ++m)
            for (int s = 1; s <= Type_Cnt; ++s)
                if (Time_Table(m, d) == 0)
                    asks.push_back({m, s, d});
    return asks;
}

void BM_RefusalCode(benchmark::State& state)
{
    loadSample(15);
    const std::vector<Ask> asks = openCells(16);
    size_t i = 0;
    for (auto _ : state) {
        const Ask& a = asks[i];
        benchmark::DoNotOptimize(refusalCode(a.m, a.s, a.d));
        i = i + 1 == asks.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(QStringLiteral("%1 members x %2 days").arg(Member_Cnt).arg(Day_Cnt).toStdString());
}
BENCHMARK(BM_RefusalCode);

void BM_RefusalText(benchmark::State& state)
{
    loadSample(15);
    const std::vector<Ask> asks = openCells(16);
    size_t i = 0;
    for (auto _ : state) {
        const Ask& a = asks[i];
        benchmark::DoNotOptimize(勤務不可理由(a.m, a.s, a.d));
        i = i + 1 == asks.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RefusalText);

struct Pair {
    int d, a, b;
};

// Exchange, check, undo: what every optimiser trial does.
void exchangeTrials(benchmark::State& state, const QString& flag)
{
    loadSample(31);
    std::vector<Pair> pairs;
    for (int d = 1; d <= Day_Cnt; ++d)
        for (int a = 1; a <= Member_Cnt; ++a)
            for (int b = a + 1; b <= Member_Cnt; ++b)
                if (Time_Table(a, d) != Time_Table(b, d))
                    pairs.push_back({d, a, b});
    size_t i = 0;
    long reason = 0;
    long allowed = 0;
    for (auto _ : state) {
        const Pair& p = pairs[i];
        勤務変更(p.a, p.b, p.d);
        const int r = 交換可否判定(flag, p.d, p.a, p.b, reason);
        勤務変更(p.b, p.a, p.d);
        allowed += r == 0;
        i = i + 1 == pairs.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["allowed"] = benchmark::Counter(double(allowed) / double(state.iterations()));
}

void BM_SwapCheck(benchmark::State& state)
{
    exchangeTrials(state, QString());
}
BENCHMARK(BM_SwapCheck);

void BM_SwapCheck_WorkDayLimit(benchmark::State& state)
{
    exchangeTrials(state, QStringLiteral("勤務日数判定要"));
}
BENCHMARK(BM_SwapCheck_WorkDayLimit);

}  // namespace

BENCHMARK_MAIN();
