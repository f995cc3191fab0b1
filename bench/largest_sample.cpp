#include "largest_sample.h"

#include "sample_book.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"

#include <QDir>
#include <cstdio>
#include <cstdlib>

void openLargestSample()
{
    static xl::Workbook* book = nullptr;
    if (book && xlBook == book)
        return;
    AppPath = QDir::tempPath();
    const QString file = sourceFile("examples/作成例2/条件.csv");
    if (!openSampleBook(file, &book).ok) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(file));
        std::exit(1);
    }
}
