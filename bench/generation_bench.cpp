// Whole generation runs through the real driver in background mode, five seeds per condition set
// (--seeds N for another number):
// the three sample work folders, the benchmarks' own set at the model's limits, and any condition
// file (.csv) or workbook named on the command line. Besides Google Benchmark's table it prints
// one line per figure (the median over the seeds), so that runs compare:
//   generation <set> <figure> <value>
// and one line per set with how its attempts ended, added up over the seeds:
//   generation <set> outcomes seeds_accepted A/N staffing_failed F too_many_rest M too_few_rest L accepted C
// Options (before Google Benchmark's own): --save DIR writes every accepted table's workbook into
// DIR; --limit MINUTES sets the run's time limit (default 1); --seeds N (default 5).
#include "bench_conditions.h"
#include "whole_runs.h"

#include "engine/conditions.h"
#include "engine/generation.h"
#include "engine/generation_driver.h"
#include "engine/model.h"
#include "engine/optimiser_steps.h"
#include "engine/rule_timing.h"
#include "optimise/install.h"
#include "platform/ui/prompt.h"
#include "sample_book.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "shell/myfunc_main.h"
#include "shell/desktop.h"
#include "shell/rs_db.h"
#include "shell/rs_dbsub.h"
#include "workbook/macros.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

struct Options {
    QString saveDir;
    float limit = 1;
    int seeds = 5;
    std::vector<QString> paths;
};
Options g_options;

// Figures in the order they are printed.
const char* const kFigures[] = {"state",        "attempts",    "run_ms",      "attempt_ms",  "first_accepted_ms",
                                "tries_per_day", "score",      "read_ms",     "placement_ms", "rule_checks_ms",
                                "shaking_ms",   "optimiser_ms", "sheet_write_ms", "post_ms", "attempts_per_s"};
std::map<std::string, std::map<std::string, std::vector<double>>> g_results;
// How the attempts ended, added up over a set's seeds (the timed runs only).
std::map<std::string, std::map<std::string, long>> g_outcomes;

double ms(qint64 ns)
{
    return double(ns) / 1e6;
}

// A sample work folder by its folder's name, any other file by its own name.
// A fresh copy of the set's conditions as the current workbook, in background mode.
void openSet(const QString& set)
{
    if (set == u"bench") {
        openBenchConditions();
    } else if (set.endsWith(u".csv", Qt::CaseInsensitive)) {
        if (!openSampleBook(set).ok) {
            std::fprintf(stderr, "cannot load %s\n", qPrintable(set));
            std::exit(1);
        }
    } else {
        xl::Workbook& book = XlApp().workbooks().open(set);
        workbook::attach(book);
        xlBook = &book;
        stBookName = book.name();
    }
    xlBook->worksheets(QStringLiteral("Main")).range(QStringLiteral("バックグラウンド動作")).setValue(true);
    xlBook->worksheets(QStringLiteral("Main")).range(QStringLiteral("ベストシフト作成")).setValue(false);
}

// One run; returns its figures. ruleTiming measures the rule checks (they cost a clock read each).
std::map<std::string, double> run(const QString& set, std::uint64_t seed, bool ruleTiming)
{
    openSet(set);
    LimitTime = g_options.limit;
    RuleTiming::enabled = ruleTiming;
    RuleTiming::ns = 0;
    QElapsedTimer clock;
    clock.start();
    cmd開始_Click({seed});
    const double total = double(clock.nsecsElapsed()) / 1e6;
    RuleTiming::enabled = false;
    const GenerationTiming& c = generationTiming;
    std::map<std::string, double> f;
    f["state"] = 作成状態;
    f["attempts"] = double(c.attempts);
    f["run_ms"] = total;
    f["attempt_ms"] = c.attempts > 0 ? (total - ms(c.optimiseNs) - ms(c.finishNs)) / double(c.attempts) : 0;
    f["attempts_per_s"] = total > 0 ? double(c.attempts) * 1000.0 / total : 0;
    f["first_accepted_ms"] = double(c.acceptedMs);
    f["tries_per_day"] = c.dayCount > 0 ? double(c.tries) / double(c.dayCount) : 0;
    f["score"] = optimiserSteps.全分散計算();
    f["read_ms"] = ms(c.readNs);
    f["placement_ms"] = ms(c.placeNs);
    f["rule_checks_ms"] = ms(RuleTiming::ns);
    f["shaking_ms"] = ms(c.shakeNs);
    f["optimiser_ms"] = ms(c.optimiseNs);
    f["sheet_write_ms"] = ms(c.writeNs);
    f["post_ms"] = ms(c.finishNs);
    f["staffing_failed"] = double(c.understaffedCount);
    f["too_many_rest"] = double(c.tooManyRests);
    f["too_few_rest"] = double(c.tooFewRests);
    f["accepted"] = double(c.accepted);
    // The timed repeat makes the same table: saved once.
    if (!g_options.saveDir.isEmpty() && 作成状態 == 1 && !ruleTiming) {
        const QString name = QFileInfo(runSetLabel(set)).completeBaseName() + QStringLiteral("-seed%1.xlsm").arg(seed);
        xlBook->saveAs(QDir(g_options.saveDir).filePath(name));
    }
    return f;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void BM_Generate(benchmark::State& state, const QString& set)
{
    auto& results = g_results[set.toStdString()];
    std::uint64_t seed = 0;
    for (auto _ : state) {
        ++seed;
        std::map<std::string, double> f = run(set, seed, false);
        state.PauseTiming();
        // The same seed again, with the rule checks timed: the same table, so the share compares.
        f["rule_checks_ms"] = run(set, seed, true)["rule_checks_ms"];
        auto& outcomes = g_outcomes[set.toStdString()];
        outcomes["seeds_accepted"] += f["state"] == 1;
        for (const char* k : {"staffing_failed", "too_many_rest", "too_few_rest", "accepted"})
            outcomes[k] += long(f[k]);
        for (const auto& [k, v] : f)
            results[k].push_back(v);
        state.ResumeTiming();
    }
    for (const char* k : kFigures)
        state.counters[k] = median(results[k]);
}

void parseOptions(int& argc, char** argv)
{
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == u"--save" && i + 1 < argc) {
            g_options.saveDir = QString::fromLocal8Bit(argv[++i]);
            QDir().mkpath(g_options.saveDir);
        } else if (a == u"--seeds" && i + 1 < argc) {
            g_options.seeds = std::max(1, QString::fromLocal8Bit(argv[++i]).toInt());
        } else if (a == u"--limit" && i + 1 < argc) {
            g_options.limit = QString::fromLocal8Bit(argv[++i]).toFloat();
        } else if (!a.startsWith(u"--")) {
            g_options.paths.push_back(QFileInfo(a).absoluteFilePath());
        } else {
            argv[out++] = argv[i];
        }
    }
    argc = out;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    parseOptions(argc, argv);
    QTemporaryDir work;
    if (!prepareHeadlessRuns(work))
        return 1;

    std::vector<QString> sets = defaultRunSets();
    sets.insert(sets.end(), g_options.paths.begin(), g_options.paths.end());
    for (const QString& set : sets) {
        benchmark::RegisterBenchmark(("BM_生成/" + runSetLabel(set).toStdString()).c_str(), BM_Generate, set)
            ->Iterations(g_options.seeds)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    for (const QString& set : sets) {
        const QString label = runSetLabel(set);
        auto& results = g_results[set.toStdString()];
        if (results.empty())
            continue;
        for (const char* k : kFigures)
            std::printf("generation %s %s %.3f\n", qPrintable(label), k, median(results[k]));
        auto& outcomes = g_outcomes[set.toStdString()];
        std::printf("generation %s outcomes seeds_accepted %ld/%d staffing_failed %ld too_many_rest %ld too_few_rest %ld "
                    "accepted %ld\n",
                    qPrintable(label), outcomes["seeds_accepted"], g_options.seeds, outcomes["staffing_failed"],
                    outcomes["too_many_rest"], outcomes["too_few_rest"], outcomes["accepted"]);
    }
    benchmark::Shutdown();
    resetDbGlobals();
    return 0;
}
