#include "sample_book.h"

#include "shell/globals.h"
#include "shell/myexcel.h"
#include "workbook/template.h"

#include <QDir>

condfile::Status openSampleBook(const QString& conditionFile, xl::Workbook** opened)
{
    xl::Workbook& book = workbook::createTemplate(XlApp(), QDate(2027, 1, 1));
    if (opened)
        *opened = &book;
    const condfile::Status st = condfile::loadConditions(book, conditionFile);
    if (!st.ok)
        return st;
    xlBook = &book;
    stBookName = book.name();
    xl::Worksheet& main = book.worksheets(QStringLiteral("Main"));
    作成年 = long(main.range(QStringLiteral("年")).value().toDouble());
    作成月 = long(main.range(QStringLiteral("月")).value().toDouble());
    作成開始日 = long(main.range(QStringLiteral("日")).value().toDouble());
    基準開始日 = long(main.range(QStringLiteral("基準開始日")).value().toDouble());
    return st;
}

QString sourceFile(const char* relative)
{
    return QDir(QStringLiteral(QV_SOURCE_DIR)).filePath(QString::fromUtf8(relative));
}
