#include "generation_fixture.h"

#include "engine/generation.h"
#include "engine/optimiser_steps.h"
#include "engine/run_window.h"
#include "engine/state.h"
#include "engine/time_limit.h"
#include "shell/myfunc_main.h"
#include "shell/rs_dbsub.h"

namespace genfx {

void GenerationTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    resetEngineState();
    noDisplayWait = true;
    AppPath = stWorkPath = stDbPath = dir.path();
    DbBusyTimeoutMs = 0;
    ASSERT_EQ(AddTableField(), 0);
}

void GenerationTest::TearDown()
{
    progwin.unload();
    resetEngineState();
}

void GenerationTest::open(const char* sample)
{
    xl::Workbook* book = nullptr;
    ASSERT_TRUE(openSampleBook(sourceFile(sample), &book).ok);
    giveWorkDayRoom(*book, 2);   // one attempt, without the optimiser's exchanges
    installConditionModelSteps();
    // A run that ends accepted reports; the report is the guide alone.
    optimiserSteps.荷重分散レポート作成 = [](const QString& guide) { return guide; };
    optimiserSteps.荷重パラメータ一覧 = [] { return QString(); };
}

QString GenerationTest::cell(int m, int d) const
{
    return XlText(xlBook->worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_Table")).cells(m, d).value());
}

QString GenerationTest::gridText() const
{
    QString text;
    for (int m = 1; m <= Member_Cnt; ++m) {
        for (int d = 1; d <= Day_Cnt; ++d)
            text += cell(m, d).isEmpty() ? QStringLiteral("・") : cell(m, d);
        text += QLatin1Char('\n');
    }
    return text;
}

void GenerationTest::set(const QString& sheet, const QString& name, const QVariant& value, int row, int column)
{
    xlBook->worksheets(sheet).range(name).cells(row, column).setValue(value);
}

}  // namespace genfx
