// Staffing days of the largest sample: one day as a try of the generation sees it, and a whole
// month day by day (up to 50 tries a day, without the exchanges a generation makes between tries).
#include "largest_sample.h"

#include "engine/conditions.h"
#include "engine/day_placement.h"
#include "engine/model.h"
#include "engine/totals.h"
#include "platform/text/vb.h"

#include <benchmark/benchmark.h>

namespace {

struct Saved {
    vb::TwoDimArray<int> table = Time_Table, reserved = Rsv_Table;
    vb::TwoDimArray<float> sum = Member_Sum;
    vb::OneDimArray<float> workDays = Member_WorkDays, hours = Member_Sum_TTIME, holidayWork = Member_Sum_K;
    void restore() const
    {
        Time_Table = table;
        Rsv_Table = reserved;
        Member_Sum = sum;
        Member_WorkDays = workDays;
        Member_Sum_TTIME = hours;
        Member_Sum_K = holidayWork;
    }
};

// Days from..to placed as the generation would; returns the first day not secured (to + 1 when all were).
int placeDays(int from, int to, long& tries)
{
    for (int d = from; d <= to; ++d) {
        bool ok = false;
        for (int t = 1; t <= 50 && !ok; ++t) {
            ++tries;
            ok = 日別配置(d, t) > 0;
        }
        if (!ok)
            return d;
        for (int m = 1; m <= Member_Cnt; ++m)
            if (Rsv_Table(m, d) == 0 && Time_Table(m, d) > 0)
                勤務集計加算(m, Time_Table(m, d), d);
    }
    return to + 1;
}

void BM_PlaceDay(benchmark::State& state)
{
    openLargestSample();
    全条件読込(-1);
    Randomize(20271);
    long tries = 0;
    const int day = placeDays(Start_Day, Start_Day + 14, tries);
    const Saved saved;
    long secured = 0;
    for (auto _ : state) {
        secured += 日別配置(day, 1) > 0;
        state.PauseTiming();
        saved.restore();
        state.ResumeTiming();
    }
    state.counters["secured"] = benchmark::Counter(double(secured) / double(state.iterations()));
    state.SetLabel(QStringLiteral("day %1 of %2 members x %3 shift types").arg(day).arg(Member_Cnt).arg(Type_Cnt).toStdString());
}
BENCHMARK(BM_PlaceDay)->Unit(benchmark::kMicrosecond);

void BM_PlaceMonth(benchmark::State& state)
{
    openLargestSample();
    全条件読込(-1);
    Randomize(20272);
    const Saved saved;
    long tries = 0;
    long days = 0;
    for (auto _ : state) {
        days += placeDays(Start_Day, Day_Cnt, tries) - Start_Day;
        state.PauseTiming();
        saved.restore();
        state.ResumeTiming();
    }
    state.counters["days secured"] = benchmark::Counter(double(days) / double(state.iterations()));
    state.counters["tries"] = benchmark::Counter(double(tries) / double(state.iterations()));
}
BENCHMARK(BM_PlaceMonth)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
