#include "largest_sample.h"

#include "shell/globals.h"
#include "shell/myexcel.h"
#include "workbook/condfile.h"
#include "workbook/template.h"

#include <QDir>
#include <cstdio>
#include <cstdlib>

void openLargestSample()
{
    static bool opened = false;
    if (opened)
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
    作成年 = long(main.range(QStringLiteral("年")).value().toDouble());
    作成月 = long(main.range(QStringLiteral("月")).value().toDouble());
    作成開始日 = long(main.range(QStringLiteral("日")).value().toDouble());
    基準開始日 = long(main.range(QStringLiteral("基準開始日")).value().toDouble());
    opened = true;
}
