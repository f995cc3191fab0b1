#include "conditions_fixture.h"

#include "engine/model.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/myexcel.h"
#include "shell/rs_db.h"
#include "shell/mylog.h"
#include "workbook/condfile.h"
#include "workbook/template.h"

#include <QDir>

namespace condfx {

void ConditionTest::SetUp()
{
    resetShellGlobals();
    // The boot log and the database go to the test's own folder.
    AppPath = QDir::homePath();
    stWorkPath = AppPath;
    stDbPath = AppPath;
    resetXlGlobals();
    resetConditionModel();
    ui::resetMessages();
}

void ConditionTest::TearDown()
{
    DbClose();
    resetDbGlobals();
    resetXlGlobals();
    resetConditionModel();
    ui::resetMessages();
}

xl::Workbook& ConditionTest::open(const char* relativeFile)
{
    xl::Workbook& book = workbook::createTemplate(XlApp(), QDate(2027, 1, 1));
    const QString file = QDir(QStringLiteral(QV_TEST_DATA_DIR "/../..")).filePath(QString::fromUtf8(relativeFile));
    const condfile::Status st = condfile::loadConditions(book, file);
    EXPECT_TRUE(st.ok) << st.error.toStdString();
    xlBook = &book;
    stBookName = book.name();
    xl::Worksheet& main = book.worksheets(QStringLiteral("Main"));
    作成年 = long(main.range(QStringLiteral("年")).value().toDouble());
    作成月 = long(main.range(QStringLiteral("月")).value().toDouble());
    作成開始日 = long(main.range(QStringLiteral("日")).value().toDouble());
    基準開始日 = long(main.range(QStringLiteral("基準開始日")).value().toDouble());
    return book;
}

xl::Range ConditionTest::named(const QString& sheet, const QString& name)
{
    return xlBook->worksheets(sheet).range(name);
}

void ConditionTest::set(const QString& sheet, const QString& name, int row, int column, const QVariant& value)
{
    named(sheet, name).cells(row, column).setValue(value);
}

void ConditionTest::manual()
{
    xlBook->calculate();
    XlApp().setCalculation(xl::kCalculationManual);
}

QString ConditionTest::lastTitle() const
{
    const auto& shown = ui::shownMessages();
    return shown.empty() ? QString() : shown.back().title;
}

QString ConditionTest::lastText() const
{
    const auto& shown = ui::shownMessages();
    return shown.empty() ? QString() : shown.back().prompt;
}

}  // namespace condfx
