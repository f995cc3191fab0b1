// Reading the largest sample's conditions and loading its grid: the cost each generation attempt
// pays before it places a single shift.
#include "engine/conditions.h"
#include "engine/model.h"
#include "engine/shiftload.h"
#include "engine/totals.h"
#include "shell/globals.h"
#include "shell/myexcel.h"
#include "workbook/condfile.h"
#include "workbook/template.h"

#include <QCoreApplication>
#include <QDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

namespace {

void loadSample()
{
    static bool loaded = false;
    if (loaded)
        return;
    AppPath = QDir::tempPath();
    xl::Workbook& book = workbook::createTemplate(XlApp(), QDate(2027, 1, 1));
    const QString file = QStringLiteral(QV_SOURCE_DIR "/examples/作成例2/条件.csv");
    if (!condfile::loadConditions(book, file).ok) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(file));
        std::exit(1);
    }
    xlBook = &book;
    stBookName = book.name();
    xl::Worksheet& main = book.worksheets(QStringLiteral("Main"));
    作成月 = long(main.range(QStringLiteral("月")).value().toDouble());
    作成開始日 = long(main.range(QStringLiteral("日")).value().toDouble());
    基準開始日 = long(main.range(QStringLiteral("基準開始日")).value().toDouble());
    loaded = true;
}

void BM_全条件読込(benchmark::State& state)
{
    loadSample();
    for (auto _ : state)
        benchmark::DoNotOptimize(全条件読込(-1));
}
BENCHMARK(BM_全条件読込)->Unit(benchmark::kMicrosecond);

void BM_シフト表読込(benchmark::State& state)
{
    loadSample();
    全条件読込(-1);
    for (auto _ : state) {
        集計クリア();
        benchmark::DoNotOptimize(シフト表読込(1, Day_Cnt, -1, 0));
    }
}
BENCHMARK(BM_シフト表読込)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
