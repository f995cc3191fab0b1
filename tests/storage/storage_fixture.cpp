#include "storage_fixture.h"


#include "platform/db/db.h"
#include "shell/rs_dbsub.h"
#include "storage/month_save.h"
#include "storage/state.h"

#include <QFile>
#include <QSqlRecord>
#include <QSqlQuery>

void SaveTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    resetStorageState();
    AppPath = stWorkPath = stDbPath = dir.path();
    DbBusyTimeoutMs = 0;
    ASSERT_TRUE(openSampleBook(sourceFile(kGeneral), &book).ok);
    ASSERT_EQ(AddTableField(), 0);
}

void SaveTest::TearDown()
{
    resetStorageState();
}

void SaveTest::month(int year, int month, int startDay)
{
    xl::Worksheet& main = book->worksheets(QStringLiteral("Main"));
    main.range(QStringLiteral("年")).setValue(double(year));
    main.range(QStringLiteral("月")).setValue(double(month));
    main.range(QStringLiteral("基準開始日")).setValue(double(startDay));
    main.range(QStringLiteral("日")).setValue(double(startDay));
    作成年 = year;
    作成月 = month;
    基準開始日 = startDay;
    作成開始日 = startDay;
    book->calculate();
}

QString SaveTest::patternAt(int member, int day, int offset)
{
    static const QString cycle[] = {QStringLiteral("日"), QStringLiteral("準"), QStringLiteral("深"), QStringLiteral("休")};
    return cycle[(member + day + offset) % 4];
}

void SaveTest::fillGrid(int offset)
{
    const xl::Range grid = book->worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_Table"));
    xl::Block b(grid.rowCount(), grid.columnCount());
    for (int i = 1; i <= 20; ++i)
        for (int d = 1; d <= 31; ++d)
            b(i, d) = patternAt(i, d, offset);
    grid.setBlock(b);
    // Reservations would be written over the pattern when the conditions are read.
    const xl::Range rsv = book->worksheets(QStringLiteral("予約表")).range(QStringLiteral("Member_Rsv"));
    rsv.setBlock(xl::Block(rsv.rowCount(), rsv.columnCount()));
    book->calculate();
}

void SaveTest::set(const QString& sheet, const QString& name, int row, int column, const QVariant& value)
{
    book->worksheets(sheet).range(name).cells(row, column).setValue(value);
}

void SaveTest::save(int answer)
{
    ui::setNextAnswer(answer);
    cmd出力_Click();
}

void SaveTest::placeBook()
{
    book->saveAs(dir.filePath(QStringLiteral("shift.xlsm")));
    stBookName = book->name();
}

std::vector<QVariantList> SaveTest::rows(const QString& sql)
{
    db::Connection c;
    c.open(DefaultDbPath());
    QSqlQuery q = c.run(sql);
    std::vector<QVariantList> out;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << (q.value(i).isNull() ? QVariant() : q.value(i));
        out.push_back(row);
    }
    return out;
}

QVariant SaveTest::scalar(const QString& sql)
{
    const std::vector<QVariantList> r = rows(sql);
    return r.empty() ? QVariant() : r.front().value(0);
}

QByteArray SaveTest::databaseBytes()
{
    DbClose();
    QFile f(DefaultDbPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
