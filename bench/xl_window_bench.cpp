// The sheet window's share of a generation: cell writes heard by a shown window, and the one
// repaint that follows them.
#include "platform/xl/widgets/sheet_view.h"
#include "platform/xl/widgets/sheet_window.h"
#include "platform/xl/xl.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

struct ShownBook {
    ShownBook()
    {
        xl::widgets::install();
        app = std::make_unique<xl::Application>();
        book = &app->workbooks().add();
        sheet = &book->activeSheet();
        for (int r = 5; r <= 64; ++r)
            for (int c = 4; c <= 34; ++c)
                sheet->cells(r, c).borderAround();
        app->setVisible(true);
        QCoreApplication::processEvents();
    }
    std::unique_ptr<xl::Application> app;
    xl::Workbook* book = nullptr;
    xl::Worksheet* sheet = nullptr;
};

// One day column written cell by cell, as the optimiser does, then one turn of the event loop.
void BM_CellWritesThenRepaint(benchmark::State& state)
{
    ShownBook b;
    const QString codes[] = {QStringLiteral("日"), QStringLiteral("夜"), QStringLiteral("休")};
    int turn = 0;
    for (auto _ : state) {
        for (int r = 5; r <= 64; ++r)
            b.sheet->cells(r, 4 + turn % 31).setValue(codes[(r + turn) % 3]);
        QCoreApplication::processEvents();
        ++turn;
    }
}
BENCHMARK(BM_CellWritesThenRepaint)->Unit(benchmark::kMicrosecond);

// The same writes with ScreenUpdating off: what the window costs while frozen.
void BM_CellWritesFrozen(benchmark::State& state)
{
    ShownBook b;
    b.app->setScreenUpdating(false);
    int turn = 0;
    for (auto _ : state) {
        for (int r = 5; r <= 64; ++r)
            b.sheet->cells(r, 4 + turn % 31).setValue(double(r + turn));
        QCoreApplication::processEvents();
        ++turn;
    }
}
BENCHMARK(BM_CellWritesFrozen)->Unit(benchmark::kMicrosecond);

// A full repaint of a visible roster-sized grid with borders.
void BM_GridRepaint(benchmark::State& state)
{
    ShownBook b;
    for (int r = 5; r <= 64; ++r)
        for (int c = 4; c <= 34; ++c)
            b.sheet->cells(r, c).setValue(QStringLiteral("日"));
    QCoreApplication::processEvents();
    xl::widgets::SheetView* view = xl::widgets::SheetWindow::of(*b.app)->currentView();
    for (auto _ : state)
        view->viewport()->repaint();
}
BENCHMARK(BM_GridRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
