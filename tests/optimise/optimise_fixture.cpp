#include "optimise_fixture.h"

#include "sample_book.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "engine/totals.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/myexcel.h"
#include "shell/myfunc_main.h"

#include <QDir>

namespace optfx {

namespace {
const QString kAbbrev = QStringLiteral("日夜明早遅");
}

void ModelTest::SetUp()
{
    resetShellGlobals();
    AppPath = QDir::homePath();  // the boot log goes to the test's own folder
    resetXlGlobals();
    resetConditionModel();
    resetWeights();
    ui::resetMessages();
}

void ModelTest::TearDown()
{
    resetXlGlobals();
    resetConditionModel();
    resetWeights();
    ui::resetMessages();
}

void ModelTest::makeModel(int members, int days, int types)
{
    Member_Cnt = members;
    Day_Cnt = days;
    Type_Cnt = types;
    Start_Day = 1;
    テーブル再定義();
    集計クリア();
    Yasumi_Kigou = QStringLiteral("休");
    Type_Table(0, TYPE_略称) = Yasumi_Kigou;
    for (int t = 1; t <= types; ++t) {
        Type_Table(t, TYPE_勤務) = kAbbrev.mid(t - 1, 1) + QStringLiteral("勤");
        Type_Table(t, TYPE_略称) = kAbbrev.mid(t - 1, 1);
        Type_Table(t, TYPE_時間) = QStringLiteral("8");
        最適化比重(t) = 1.0f;
    }
    for (int m = 1; m <= members; ++m) {
        Member_List(m, 1) = QString::number(100 + m);
        Member_DayOff(m) = float(days);
    }
}

void ModelTest::row(int m, const QString& cells)
{
    for (int d = 1; d <= int(cells.size()); ++d) {
        const int t = int(kAbbrev.indexOf(cells[d - 1])) + 1;
        Time_Table(m, d) = t;
        if (t > 0)
            勤務集計加算(m, t, d);
    }
}

bool ModelTest::loadSample(const char* relativeFile, unsigned seed)
{
    if (!openSampleBook(sourceFile(relativeFile)).ok || 全条件読込(-1) < 0 || !ui::shownMessages().empty())
        return false;
    Randomize(seed);
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = std::max(1, Start_Day); d <= Day_Cnt; ++d)
            if (Time_Table(m, d) == 0) {
                const int t = int(Int(Rnd() * (Type_Cnt + 1)));
                Time_Table(m, d) = t;
                if (t > 0)
                    勤務集計加算(m, t, d);
            }
    return true;
}

}  // namespace optfx
