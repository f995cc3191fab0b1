// The manual tools on a sample month put on the shift sheet: the assignability report, the
// exchange list with its filters, line format and rule keeping, and a re-adjustment applied,
// cancelled and undone.
#include "optimise_fixture.h"
#include "shift_sheet.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "engine/reason.h"
#include "engine/rules.h"
#include "engine/totals.h"
#include "optimise/assignability.h"
#include "optimise/exchange_list.h"
#include "optimise/readjust.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"

#include <algorithm>

namespace {

using validator::Rule;

class ManualTools : public optfx::ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        ASSERT_TRUE(loadSample(kGeneral, 5));
        ASSERT_TRUE(putTableOnSheet());
    }
    static std::vector<float> totals()
    {
        std::vector<float> all;
        for (int m = 1; m <= Member_Cnt; ++m) {
            for (int t = 1; t <= Type_Cnt; ++t)
                all.push_back(Member_Sum(m, t));
            all.insert(all.end(), {Member_Sum(m, 11), Member_WorkDays(m), Member_Sum_K(m), Member_Sum_TTIME(m)});
        }
        return all;
    }
    // Every cell of the grid with a margin of one: its text and its look.
    static std::vector<std::pair<QString, xl::CellStyle>> sheetCells()
    {
        std::vector<std::pair<QString, xl::CellStyle>> cells;
        for (int m = 0; m <= Member_Cnt + 1; ++m)
            for (int d = 0; d <= Day_Cnt + 1; ++d) {
                const xl::Range c = shiftCell(m, d);
                cells.emplace_back(c.text(), c.style());
            }
        return cells;
    }
};

TEST_F(ManualTools, TheAssignabilityReportGivesTheRuleOfEveryShift)
{
    for (int t = 0; t <= Type_Cnt; ++t) {
        const QString reason = 勤務不可理由(2, t, 5);
        const QString one = assignabilityReport(2, t, 5);
        EXPECT_TRUE(one.endsWith(QStringLiteral(" - ") + (reason.isEmpty() ? QStringLiteral("割り当て可") : reason))) << t;
        const QStringList all = assignabilityReport(0, t, 5).split(QStringLiteral("\r\n"));
        ASSERT_EQ(all.size(), 4 + Member_Cnt + 1);
        for (int m = 1; m <= Member_Cnt; ++m) {
            const QString r = 勤務不可理由(m, t, 5);
            EXPECT_TRUE(all[3 + m].endsWith(QStringLiteral(" - ") + (r.isEmpty() ? QStringLiteral("割当可") : r)));
            EXPECT_TRUE(all[3 + m].startsWith(RSetA(QString::number(MemNo(m)), 4) + QLatin1Char(':')));
        }
    }
    EXPECT_TRUE(assignabilityReport(1, 0, 5).startsWith(QStringLiteral("5日 (") + Yasumi_Kigou + QStringLiteral(") の勤務可否判定")));
    EXPECT_TRUE(assignabilityReport(1, 1, 5).startsWith(QStringLiteral("5日 (日):日勤 の勤務可否判定")));
    // A period from the 21st: its fifth day is the 25th.
    基準開始日 = 21;
    EXPECT_TRUE(assignabilityReport(1, 1, 5).startsWith(QStringLiteral("25日 ")));
}

TEST_F(ManualTools, AnswersAreReadWithFullWidthDigitsAndTheirOptions)
{
    const QString first = QString::number(MemNo(3));
    QString wide;
    for (QChar c : first)
        wide += QChar(c.unicode() - u'0' + u'０');
    const ExchangeListRequest a = parseExchangeListAnswer(QStringLiteral("　") + wide + QStringLiteral("　＊"));
    EXPECT_EQ(a.member, 3);
    EXPECT_TRUE(a.includeForbidden);
    EXPECT_FALSE(a.restOnly);
    EXPECT_TRUE(parseExchangeListAnswer(first + QStringLiteral(" -")).restOnly);
    EXPECT_EQ(parseExchangeListAnswer(QStringLiteral("99999")).member, -1);
    EXPECT_EQ(exchangeListDefaultAnswer(), QString::number(MemNo(1)) + QStringLiteral(" -"));
}

TEST_F(ManualTools, TheListsLinesAreFilteredAndEveryListedExchangeKeepsTheRulesAndTotals)
{
    // Under the work-day target, so the member may take work as well as give it.
    const int m = 5;
    const QStringList all = buildExchangeList({m, false, true});
    const QStringList allowed = buildExchangeList({m, false, false});
    const QStringList restOnly = buildExchangeList({m, true, false});
    QStringList allowedOfAll;
    int refused = 0;
    for (const QString& line : all) {
        const QStringList f = line.split(QLatin1Char('\t'));
        ASSERT_EQ(f.size(), 9);
        const int d = f[8].toInt();
        EXPECT_EQ(f[0], RSetA(QString::number(d), 3) + QStringLiteral("日"));
        EXPECT_EQ(f[1], QString::number(Time_Table(m, d)) + QLatin1Char(':') + TypeText2(Time_Table(m, d)));
        EXPECT_NE(f[1], f[4]);
        EXPECT_TRUE(f[7].isEmpty());
        if (f[2] == QStringLiteral("<==>")) {
            EXPECT_EQ(f[6], QString(50, QLatin1Char(' ')));
            allowedOfAll << line;
            continue;
        }
        ++refused;
        EXPECT_EQ(f[2], QStringLiteral("<…>"));
        const QString reason = f[6].section(QLatin1Char(':'), -1).trimmed();
        const QString number = f[6].section(QLatin1Char(':'), 0, -2).trimmed().section(QLatin1Char(' '), -1);
        long no = 0, c = 0, b = 0;
        EXPECT_EQ(reason, 理由コード分解(long(Val(number)), no, c, b)) << f[6].toStdString();
        EXPECT_FALSE(reason.isEmpty());
        EXPECT_EQ(LenA(f[6]), 50);
    }
    EXPECT_EQ(allowedOfAll, allowed);
    EXPECT_GT(refused, 0);
    ASSERT_FALSE(restOnly.isEmpty());
    for (const QString& line : restOnly) {
        EXPECT_TRUE(allowed.contains(line));
        const QStringList f = line.split(QLatin1Char('\t'));
        EXPECT_TRUE(f[1].startsWith(QStringLiteral("0:")) != f[4].startsWith(QStringLiteral("0:"))) << line.toStdString();
    }

    const std::vector<Rule> rules = {Rule::MemberSchedule, Rule::NextDayBan, Rule::禁止パターン, Rule::WorkRun, Rule::RestRun,
                                     Rule::週間勤務日数, Rule::勤務回数, Rule::ShiftSpacing, Rule::組合せ禁止,
                                     Rule::組合せ必須, Rule::Reservation, Rule::WorkDays};
    const auto before = validator::only(validator::check({1, 0}), rules);
    ASSERT_FALSE(allowed.isEmpty());
    for (const QString& line : allowed) {
        const std::optional<ExchangeLine> row = parseExchangeLine(line);
        ASSERT_TRUE(row);
        勤務変更(m, row->memberB, row->day);
        std::vector<validator::Violation> fresh;
        for (const auto& v : validator::only(validator::check({1, 0}), rules))
            if (std::find(before.begin(), before.end(), v) == before.end())
                fresh.push_back(v);
        EXPECT_EQ(validator::describe(fresh).toStdString(), "") << line.toStdString();
        const std::vector<float> kept = totals();
        recalculateTotals();
        EXPECT_EQ(totals(), kept);
        勤務変更(m, row->memberB, row->day);
    }
}

TEST_F(ManualTools, AReadjustmentIsColouredCancelledAppliedAndUndoneExactly)
{
    // A working cell whose chain makes two exchanges on one day that share a member: undone in
    // the order they were made, they would not give the table back.
    int t = 0, d = 0;
    for (int m = 1; m <= Member_Cnt && t == 0; ++m)
        for (int day = 1; day < Day_Cnt && t == 0; ++day) {
            ReadjustChainSearch search(100000);
            if (Time_Table(m, day) == 0 || search.run(day, m) == 0)
                continue;
            const auto& r = search.records();
            for (size_t i = 1; i < r.size(); ++i)
                if (r[i].day == r[i - 1].day && (r[i].y == r[i - 1].y || r[i].x == r[i - 1].y))
                    t = m, d = day;
        }
    ASSERT_GT(t, 0);
    const std::vector<int> table = optfx::snapshot();
    const auto sheet = sheetCells();

    ui::setNextAnswer(ui::vbCancel);
    ReadjustState state;
    EXPECT_FALSE(runReadjust(t, d, state));
    EXPECT_FALSE(state.applied);
    const ui::MessageRequest& proposal = ui::shownMessages().back();
    EXPECT_EQ(proposal.title, QStringLiteral("勤務調整"));
    EXPECT_EQ(proposal.buttons, ui::vbOKCancel | ui::vbSystemModal);
    EXPECT_TRUE(proposal.prompt.startsWith(QStringLiteral("以下のように勤務を入れ替えて調整します\r\n\r\n")));
    EXPECT_TRUE(proposal.prompt.endsWith(QStringLiteral("\r\n入れ替えますか？")));
    EXPECT_EQ(optfx::changedCells(table), 0);
    EXPECT_TRUE(sheetCells() == sheet);

    ui::setNextAnswer(ui::vbOK);
    ASSERT_TRUE(runReadjust(t, d, state));
    EXPECT_EQ(Time_Table(t, d), 0);
    EXPECT_EQ(shiftCell(t, d).text(), Yasumi_Kigou);
    for (const ExchangeRecord& r : state.records)
        for (int member : {r.x, r.y}) {
            EXPECT_EQ(shiftCell(member, r.day).text(), shiftSymbol(Time_Table(member, r.day)));
            EXPECT_EQ(shiftCell(member, r.day).interior().colorIndex(), 5);
        }
    EXPECT_GT(optfx::changedCells(table), 0);

    undoReadjust(state);
    EXPECT_FALSE(state.applied);
    EXPECT_EQ(optfx::changedCells(table), 0);
    EXPECT_TRUE(sheetCells() == sheet);
}

}  // namespace
