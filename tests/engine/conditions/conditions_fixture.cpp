#include "conditions_fixture.h"
#include "engine/state.h"

#include <QDir>

namespace condfx {

void ConditionTest::SetUp()
{
    resetEngineState();
    // The boot log and the database go to the test's own folder.
    AppPath = stWorkPath = stDbPath = QDir::homePath();
}

void ConditionTest::TearDown()
{
    DbClose();
    resetEngineState();
}

xl::Workbook& ConditionTest::open(const char* relativeFile)
{
    xl::Workbook* book = nullptr;
    const condition_file::Status st = openSampleBook(sourceFile(relativeFile), &book);
    EXPECT_TRUE(st.ok) << st.error.toStdString();
    return *book;
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
