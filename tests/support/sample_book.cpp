#include "sample_book.h"

#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "workbook/template.h"

#include <QDir>
#include <algorithm>

condition_file::Status openSampleBook(const QString& conditionFile, xl::Workbook** opened)
{
    xl::Workbook& book = workbook::createTemplate(XlApp(), QDate(2027, 1, 1));
    if (opened)
        *opened = &book;
    const condition_file::Status st = condition_file::loadConditions(book, conditionFile);
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

void giveWorkDayRoom(xl::Workbook& book, int days)
{
    xl::Range planned = book.worksheets(QStringLiteral("スケジュール")).range(QStringLiteral("Member_DayOff"));
    xl::Block rest = planned.block();
    for (int i = 1; i <= rest.rows(); ++i)
        if (rest(i, 1).typeId() == QMetaType::Double)
            rest(i, 1) = std::max(0.0, rest(i, 1).toDouble() - days);
    planned.setBlock(rest);
}

QString sourceFile(const char* relative)
{
    return QDir(QStringLiteral(QV_SOURCE_DIR)).filePath(QString::fromUtf8(relative));
}
