// Block traffic of the spreadsheet model: what a generation does per attempt.
#include "platform/xl/xl.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 60;
constexpr int kColumns = 40;

xl::Block abbreviations()
{
    static const QString codes[] = {QStringLiteral("日"), QStringLiteral("夜"), QStringLiteral("明"), QStringLiteral("休"),
                                    QStringLiteral("早")};
    xl::Block b(kRows, kColumns);
    for (int r = 1; r <= kRows; ++r)
        for (int c = 1; c <= kColumns; ++c)
            b(r, c) = codes[(r * 7 + c) % 5];
    return b;
}

struct Book {
    xl::Application app;
    xl::Workbook& book = app.workbooks().add();
    xl::Worksheet& sheet = book.worksheets(1);
    xl::Range grid = sheet.range(QStringLiteral("D5")).resize(kRows, kColumns);
};

void BM_BlockWrite(benchmark::State& state)
{
    Book b;
    const QVariant block = QVariant::fromValue(abbreviations());
    for (auto _ : state)
        b.grid.setValue(block);
}
BENCHMARK(BM_BlockWrite)->Unit(benchmark::kMicrosecond);

void BM_BlockRead(benchmark::State& state)
{
    Book b;
    b.grid.setBlock(abbreviations());
    for (auto _ : state)
        benchmark::DoNotOptimize(b.grid.value());
}
BENCHMARK(BM_BlockRead)->Unit(benchmark::kMicrosecond);

void BM_DayColumnWrite(benchmark::State& state)
{
    Book b;
    const xl::Block all = abbreviations();
    xl::Block column(kRows, 1);
    for (int r = 1; r <= kRows; ++r)
        column(r, 1) = all(r, 1);
    const QVariant value = QVariant::fromValue(column);
    int day = 0;
    for (auto _ : state) {
        b.grid.cells(1, day % kColumns + 1).resize(kRows, 1).setValue(value);
        ++day;
    }
}
BENCHMARK(BM_DayColumnWrite)->Unit(benchmark::kMicrosecond);

void BM_BlockRecolour(benchmark::State& state)
{
    Book b;
    b.grid.setBlock(abbreviations());
    int colour = 0;
    for (auto _ : state) {
        b.grid.interior().setColorIndex(colour % 56 + 1);
        b.grid.font().setColorIndex(xl::kColorIndexAutomatic);
        ++colour;
    }
}
BENCHMARK(BM_BlockRecolour)->Unit(benchmark::kMicrosecond);

void BM_BlockText(benchmark::State& state)
{
    Book b;
    b.grid.setBlock(abbreviations());
    for (auto _ : state)
        benchmark::DoNotOptimize(b.grid.textBlock());
}
BENCHMARK(BM_BlockText)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
