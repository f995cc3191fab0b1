// The roster workbook's recalculation: what every program write costs once calculation is
// automatic, on a full month (50 members, 31 days, 10 shift types).
#include "platform/xl/xl.h"
#include "workbook/macros.h"
#include "workbook/recalc.h"
#include "workbook/template.h"

#include <benchmark/benchmark.h>

namespace {

struct FullBook {
    xl::Application app;
    xl::Workbook& book = workbook::createTemplate(app, QDate(2026, 3, 1));
    FullBook()
    {
        xl::Worksheet& basic = book.worksheets(QStringLiteral("基本設定"));
        xl::Block types(10, 9);
        for (int t = 1; t <= 10; ++t) {
            types(t, 1) = QStringLiteral("勤務%1").arg(t);
            types(t, 2) = QString(QChar(u'A' + t - 1));
            types(t, 7) = 8.0;
            types(t, 9) = double(33 + t);
        }
        basic.range(QStringLiteral("Type_Table_Input")).setBlock(types);
        xl::Worksheet& sched = book.worksheets(QStringLiteral("スケジュール"));
        xl::Block members(50, 3), conditions(50, 31), grid(50, 31);
        for (int i = 1; i <= 50; ++i) {
            members(i, 1) = double(100 + i);
            members(i, 2) = QStringLiteral("職員%1").arg(i);
            for (int d = 1; d <= 31; ++d) {
                conditions(i, d) = (i + d) % 7 == 0 ? QVariant(QStringLiteral("A,B")) : QVariant();
                grid(i, d) = QString(QChar(u'A' + (i * 3 + d) % 11));
            }
        }
        sched.range(QStringLiteral("Member_List")).setBlock(members);
        sched.range(QStringLiteral("勤務不可")).setBlock(conditions);
        book.worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_Table")).setBlock(grid);
        book.calculate();
    }
};

void BM_RecalculateFullMonth(benchmark::State& state)
{
    FullBook f;
    xl::Range cell = f.book.worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_Table")).cells(1, 1);
    int k = 0;
    for (auto _ : state) {
        cell.setValue(QString(QChar(u'A' + (k++ % 10))));
        f.book.calculate();
    }
}
BENCHMARK(BM_RecalculateFullMonth)->Unit(benchmark::kMillisecond);

// A refill of the grid as a generation attempt does it: clear, write the block, recolour.
void BM_ClearWriteRecolourFullMonth(benchmark::State& state)
{
    FullBook f;
    xl::Range grid = f.book.worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_Table"));
    const xl::Block shifts = grid.block();
    for (auto _ : state) {
        f.app.run(QStringLiteral("勤務Clear"));
        grid.setBlock(shifts);
        f.app.run(QStringLiteral("勤務色置換"));
        f.app.run(QStringLiteral("休み色置換"));
        f.book.calculate();
    }
}
BENCHMARK(BM_ClearWriteRecolourFullMonth)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
