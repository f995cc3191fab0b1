// Saving and loading a workbook of the size of the program's template: twelve sheets, several of
// them 120 rows by 60 columns of values, a few hundred formatted cells and some eighty names.
#include "platform/xl/xlsx.h"

#include <QDate>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace xl;

namespace {

BookData templateSizedBook()
{
    BookData book;
    for (int i = 0; i < 40; ++i) {
        CellStyle s;
        s.fill = QColor::fromHsv((i * 37) % 360, 80, 255);
        s.bold = i % 3 == 0;
        s.horizontalAlignment = i % 2 ? -4108 : 1;
        s.left = s.right = s.top = s.bottom = BorderEdge{1, i % 4 ? 2 : -4138, Qt::black};
        s.numberFormat = i % 5 == 0 ? QStringLiteral("m/d") : QStringLiteral("General");
        book.styles.push_back(s);
    }
    for (int n = 0; n < 12; ++n) {
        SheetData s;
        s.name = QStringLiteral("シート%1").arg(n + 1);
        const bool large = n < 6;
        const int rows = large ? 120 : 30, columns = large ? 60 : 20;
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= columns; ++c) {
                QVariant v;
                switch ((r * 7 + c) % 4) {
                case 0: v = QStringLiteral("日勤"); break;
                case 1: v = QStringLiteral("職員%1").arg(r); break;
                case 2: v = double(r * c); break;
                default: v = r + c * 0.25; break;
                }
                int style = 0;
                if (large && r <= 3)
                    style = 1 + (c % 39);  // a formatted header block: 3 x 60 per large sheet
                if (style % 5 == 1 && style != 0)
                    v = QDate(2025, 4, 1).addDays(c);
                s.cells[{r, c}] = Cell{v, style, {}};
            }
        for (int c = 1; c <= columns; ++c)
            s.columnWidths[c] = c == 1 ? 12.5 : 2.63;
        s.frozenRows = 3;
        s.frozenColumns = 2;
        book.sheets.push_back(std::move(s));
    }
    for (int i = 0; i < 80; ++i)
        book.names.push_back({QStringLiteral("名前%1").arg(i), i % 4 ? -1 : i % 12,
                              QStringLiteral("シート%1!$B$%2:$K$%3").arg(i % 12 + 1).arg(i + 1).arg(i + 10)});
    return book;
}

void BM_SaveTemplateSizedBook(benchmark::State& state)
{
    const BookData book = templateSizedBook();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.xlsm"));
    for (auto _ : state)
        writeWorkbookFile(book, path, true);
    state.counters["bytes"] = double(QFileInfo(path).size());
}
BENCHMARK(BM_SaveTemplateSizedBook)->Unit(benchmark::kMillisecond);

void BM_LoadTemplateSizedBook(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.xlsm"));
    writeWorkbookFile(templateSizedBook(), path, true);
    size_t cells = 0;
    for (auto _ : state) {
        const BookData book = readWorkbookFile(path);
        cells = 0;
        for (const SheetData& s : book.sheets)
            cells += s.cells.size();
        benchmark::DoNotOptimize(cells);
    }
    state.counters["cells"] = double(cells);
}
BENCHMARK(BM_LoadTemplateSizedBook)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
