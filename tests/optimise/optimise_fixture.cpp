#include "optimise_fixture.h"

#include "engine/run_window.h"
#include "engine/totals.h"
#include "optimise/state.h"
#include "platform/text/vb.h"

#include <QDir>
#include <algorithm>

namespace optfx {

using validator::Rule;

void ModelTest::SetUp()
{
    resetOptimiseState();
    AppPath = QDir::homePath();  // the boot log goes to the test's own folder
    optwin.unload();
}

void ModelTest::TearDown()
{
    optwin.unload();
    resetOptimiseState();
}

void ModelTest::makeModel(int members, int days, int types)
{
    smallmodel::make(members, days, types);
    for (int t = 1; t <= types; ++t)
        最適化比重(t) = 1.0f;
}

bool ModelTest::loadSample(const char* relativeFile, unsigned seed)
{
    xl::Workbook* book = nullptr;
    if (!openSampleBook(sourceFile(relativeFile), &book).ok)
        return false;
    giveWorkDayRoom(*book, 2);   // a table of random shifts, not the month's balance
    if (全条件読込(-1) < 0 || !ui::shownMessages().empty())
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
    return {Rule::MemberSchedule, Rule::NextDayBan, Rule::禁止パターン, Rule::必須パターン, Rule::WorkRun,
            Rule::週間勤務日数, Rule::勤務回数, Rule::ShiftSpacing, Rule::組合せ禁止, Rule::Reservation,
            Rule::WorkDays, Rule::勤務時間};
}

std::vector<Rule> exchangeRules()
{
    return {Rule::MemberSchedule, Rule::NextDayBan, Rule::禁止パターン, Rule::必須パターン, Rule::WorkRun,
            Rule::週間勤務日数, Rule::勤務回数, Rule::ShiftSpacing, Rule::組合せ禁止, Rule::組合せ必須,
            Rule::Reservation, Rule::WorkDays};
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
