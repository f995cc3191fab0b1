#include "largest_sample.h"

#include "sample_book.h"
#include "shell/globals.h"

#include <QDir>
#include <cstdio>
#include <cstdlib>

void openLargestSample()
{
    static bool opened = false;
    if (opened)
        return;
    AppPath = QDir::tempPath();
    const QString file = sourceFile("examples/作成例2/条件.csv");
    if (!openSampleBook(file).ok) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(file));
        std::exit(1);
    }
    opened = true;
}
