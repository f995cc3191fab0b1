#include "optimise_fixture.h"

#include "sample_book.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "engine/optimiser_window.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/myexcel.h"

#include <QDir>
#include <algorithm>

namespace optfx {

using validator::Rule;

void OptimiseTest::SetUp()
{
    resetShellGlobals();
    AppPath = QDir::homePath();
    resetXlGlobals();
    resetConditionModel();
    ui::resetMessages();
    optwin::unload();
}

void OptimiseTest::TearDown()
{
    optwin::unload();
    resetXlGlobals();
    resetConditionModel();
    ui::resetMessages();
    resetShellGlobals();
}

bool OptimiseTest::load(const char* relativeFile)
{
    if (!openSampleBook(sourceFile(relativeFile)).ok)
        return false;
    全条件読込(-1);
    return ui::shownMessages().empty();
}

std::vector<int> snapshot()
{
    std::vector<int> cells;
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = 0; d <= Day_Cnt; ++d)
            cells.push_back(Time_Table(m, d));
    return cells;
}

int changedCells(const std::vector<int>& before)
{
    const std::vector<int> now = snapshot();
    int n = 0;
    for (size_t i = 0; i < now.size(); ++i)
        n += now[i] != before[i];
    return n;
}

bool earlyDaysEqual(const std::vector<int>& before)
{
    const std::vector<int> now = snapshot();
    for (int m = 0; m < Member_Cnt; ++m)
        for (int d = 0; d < Start_Day; ++d) {
            const size_t i = size_t(m * (Day_Cnt + 1) + d);
            if (now[i] != before[i])
                return false;
        }
    return true;
}

std::vector<validator::Violation> newViolations(const std::vector<validator::Violation>& before,
                                                const std::vector<Rule>& rules)
{
    std::vector<validator::Violation> fresh;
    for (const auto& v : validator::only(validator::check(), rules))
        if (std::find(before.begin(), before.end(), v) == before.end())
            fresh.push_back(v);
    return fresh;
}

std::vector<Rule> assignmentRules()
{
    return {Rule::個人不可, Rule::翌日禁止, Rule::禁止パターン, Rule::必須パターン, Rule::連続勤務,
            Rule::週間勤務日数, Rule::勤務回数, Rule::最少間隔, Rule::組合せ禁止, Rule::予約,
            Rule::勤務日数, Rule::勤務時間};
}

QString sheetCell(int m, int d)
{
    return xlBook->worksheets(QStringLiteral("人員配置表"))
        .range(QStringLiteral("Time_Table"))
        .cells(m, d)
        .value()
        .toString();
}

}  // namespace optfx
