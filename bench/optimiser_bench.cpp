// One optimiser pass over a full table of the largest sample and of the benchmarks' own set at
// the model's limits: every member tried with every later member on every day, each allowed trial
// scored. The table and its totals are put back before each pass, outside the timing.
#include "bench_conditions.h"
#include "largest_sample.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "engine/rules.h"
#include "engine/totals.h"
#include "optimise/optimiser.h"
#include "optimise/score.h"
#include "platform/text/vb.h"
#include "shell/globals.h"
#include "shell/myfunc_main.h"

#include <QCoreApplication>
#include <QString>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

bool place(int m, int s, int d)
{
    if (Time_Table(m, d) != 0 || refusalCode(m, s, d) != RefusalReason::None)
        return false;
    Time_Table(m, d) = s;
    勤務集計加算(m, s, d);
    return true;
}

// The required combinations of day d first, as the generation places them: a table that misses
// one on a day lets no exchange through there.
void placeMusts(int d)
{
    for (int r = 1; r <= 組合せ必須数; ++r) {
        const 組合せ記録& rec = Mem_Hissu(r);
        if (rec.勤務 < 1 || rec.勤務 > Type_Cnt || Need_Table(rec.勤務, d) <= 0 || rec.人数 >= rec.メンバー[0])
            continue;
        int have = 0;
        for (int i = 1; i <= rec.メンバー[0]; ++i)
            have += rec.memberIndex[size_t(i)] >= 1 && Time_Table(rec.memberIndex[size_t(i)], d) == rec.勤務;
        for (int i = 1; i <= rec.メンバー[0] && have < rec.人数; ++i)
            have += rec.memberIndex[size_t(i)] >= 1 && place(rec.memberIndex[size_t(i)], rec.勤務, d);
    }
}

// The required combinations, then every empty cell from Start_Day gets a shift the assignment
// check allows, or stays a rest day with the chance of one; every weight of the score takes part;
// the background mode keeps the progress window out of the timing.
void prepare()
{
    if (全条件読込(-1) < 0) {
        std::fprintf(stderr, "the conditions could not be read\n");
        std::exit(1);
    }
    Randomize(20272);
    for (int d = std::max(1, Start_Day); d <= Day_Cnt; ++d)
        placeMusts(d);
    for (int d = std::max(1, Start_Day); d <= Day_Cnt; ++d)
        for (int m = 1; m <= Member_Cnt; ++m) {
            if (Time_Table(m, d) != 0 || Rnd() < 0.3)
                continue;
            const int first = 1 + int(Int(Rnd() * Type_Cnt));
            for (int k = 0; k < Type_Cnt; ++k) {
                const int s = 1 + (first - 1 + k) % Type_Cnt;
                if (place(m, s, d))
                    break;
            }
        }
    for (long* w : {&荷重_各勤務日数_今期, &荷重_各勤務日数, &荷重_休日勤務_今期, &荷重_休日勤務, &荷重_単勤総数_今期,
                    &荷重_単休総数_今期, &荷重_単勤分散_今期, &荷重_単休分散_今期})
        *w = 3;
    Sw_バックグラウンド動作 = true;
}

// The table with the totals that move with it.
struct Saved {
    decltype(Time_Table) table = Time_Table;
    decltype(Member_Sum) sum = Member_Sum;
    decltype(Member_WorkDays) workDays = Member_WorkDays;
    decltype(Member_Sum_K) holidays = Member_Sum_K;
    decltype(Member_Sum_TTIME) hours = Member_Sum_TTIME;
    decltype(shiftDayBits) bits = shiftDayBits;
    void restore() const
    {
        Time_Table = table;
        Member_Sum = sum;
        Member_WorkDays = workDays;
        Member_Sum_K = holidays;
        Member_Sum_TTIME = hours;
        shiftDayBits = bits;
    }
};

void pass(benchmark::State& state)
{
    const Saved saved;
    const float start = 全分散計算();
    float result = start;
    for (auto _ : state) {
        state.PauseTiming();
        saved.restore();
        state.ResumeTiming();
        result = 最適化パス(Day_Cnt, start);
    }
    state.SetLabel(QStringLiteral("%1 members x %2 days x %3 types, score %4 -> %5")
                       .arg(Member_Cnt)
                       .arg(Day_Cnt)
                       .arg(Type_Cnt)
                       .arg(double(start), 0, 'f', 3)
                       .arg(double(result), 0, 'f', 3)
                       .toStdString());
}

void BM_OptimiserPass_largest_sample(benchmark::State& state)
{
    openLargestSample();
    prepare();
    pass(state);
}
BENCHMARK(BM_OptimiserPass_largest_sample)->Unit(benchmark::kMillisecond);

void BM_OptimiserPass_bench_set(benchmark::State& state)
{
    openBenchConditions();
    prepare();
    pass(state);
}
BENCHMARK(BM_OptimiserPass_bench_set)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);  // the pass lets window events run
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
