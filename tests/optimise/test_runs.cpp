// The three optimiser runs on a sample month written onto the shift sheet: the score never rises
// (the random run may raise it), no rule breaks, the sheet, the report and the result log are
// written; a stop request ends the shift-swap run within one exchange; and every switch a run
// changes is back however it ends.
#include "optimise_fixture.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "engine/run_window.h"
#include "engine/rules.h"
#include "engine/totals.h"
#include "optimise/adjust.h"
#include "optimise/best_shift.h"
#include "optimise/exchange_list.h"
#include "optimise/install.h"
#include "optimise/readjust.h"
#include "optimise/runs.h"
#include "optimise/score.h"
#include "optimise/shift_block.h"
#include "optimise/window_steps.h"
#include "platform/os/vb_error.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/lifecycle.h"
#include "shell/excel_layer.h"
#include "shell/rs_db.h"
#include "shell/rs_dbsub.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>

using validator::Rule;

namespace {

// What the progress window is asked to show; onApply may press "中止" or fail.
struct View : RunWindowView {
    std::function<void(const RunWindowState&)> onApply;
    void apply(const RunWindowState& s) override
    {
        if (onApply)
            onApply(s);
    }
};

class Runs : public optfx::ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        ASSERT_TRUE(work.isValid());
        DbBusyTimeoutMs = 0;
        stWorkPath = stDbPath = work.path();
        ASSERT_EQ(AddTableField(), 0);
        installConditionModelSteps();
        installOptimiserSteps();
        auto v = std::make_unique<View>();
        view = v.get();
        optwin.setView(std::move(v));
        optimiserWindowSteps.afterResultLog = [this] { ++logShown; };
    }
    void TearDown() override
    {
        optwin.setView(nullptr);
        ModelTest::TearDown();
    }
    // A sample filled by the work-day adjustment up to four days short of each target and
    // written onto the sheet, then read back as a run reads it; the switches all on. With chains,
    // the first required succession is laid first wherever a member has two free days for it.
    void sampleOnSheet(const char* file = kGeneral, bool chains = false)
    {
        ui::resetMessages();
        ASSERT_TRUE(load(file));
        組合せ必須数 = 0;
        Randomize(17);
        for (int m = 1; m <= Member_Cnt; ++m)
            if (Member_DayOff(m) < Day_Cnt)
                Member_DayOff(m) = std::max(0.0f, Member_DayOff(m) - 4);
        for (int m = 1; chains && m <= Member_Cnt; ++m)
            for (int d = Start_Day + m % 5; d < Day_Cnt; d += 6) {
                const int s = Hissu_Pattern(1, 1), next = Hissu_Pattern(1, 2);
                if (Rsv_Table(m, d) == 0 && Rsv_Table(m, d + 1) == 0 && Time_Table(m, d) == 0 && Time_Table(m, d + 1) == 0
                    && 勤務可否判定(s, d, m, Day_Cnt) == 0) {
                    Time_Table(m, d) = s;
                    勤務集計加算(m, s, d);
                    Time_Table(m, d + 1) = next;
                    勤務集計加算(m, next, d + 1);
                }
            }
        勤務日数調整処理(false);
        ShiftBlock block;
        for (int m = 1; m <= Member_Cnt; ++m)
            for (int d = 1; d <= Day_Cnt; ++d)
                block.show(m, d);
        block.write();
        ASSERT_TRUE(現状収集(-1));
        ui::resetMessages();
        ui::setNextAnswer(ui::vbOK);  // the report
        xlAppSetting(true, true, true);
        Sw_勤務日数調整 = true;
    }
    // Every cell as Time_Table says, the rest symbol on rest days.
    static void expectSheetMatches()
    {
        for (int m = 1; m <= Member_Cnt; ++m)
            for (int d = 1; d <= Day_Cnt; ++d) {
                const int t = Time_Table(m, d);
                ASSERT_EQ(optfx::sheetCell(m, d), t ? Type_Table(t, TYPE_略称) : Yasumi_Kigou) << m << "," << d;
            }
    }
    static void expectSwitchesBack()
    {
        EXPECT_TRUE(XlApp().screenUpdating());
        EXPECT_EQ(XlApp().calculation(), xl::kCalculationAutomatic);
        EXPECT_TRUE(XlApp().enableEvents());
        EXPECT_TRUE(Sw_勤務日数調整);
        EXPECT_FALSE(RunActive());
        EXPECT_FALSE(optwin.state().loaded);
    }
    bool resultLogWritten() const { return QFile::exists(work.filePath(QStringLiteral("log/log_result.txt"))); }

    QTemporaryDir work;
    View* view = nullptr;
    int logShown = 0;
};

TEST_F(Runs, EachMethodImprovesTheSheetsTableWithinTheRulesAndReports)
{
    struct Case {
        const char* name;
        std::function<void()> run;
        const char* title;
        bool scoreNeverRises;
        bool resultLog;
    };
    const Case cases[] = {
        {"shift swap", [] { 最適化_勤務交換(2); }, "完了", true, true},
        {"rest-day swap", [] { 最適化_休み交換(1); }, "完了", true, false},
        {"random", [] { ランダム入替(2); }, "ランダム入替完了", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sampleOnSheet();
        QFile::remove(work.filePath(QStringLiteral("log/log_result.txt")));
        logShown = 0;
        const auto before = validator::only(validator::check(), optfx::exchangeRules());
        const std::vector<int> table = optfx::snapshot();
        const float score = 全分散計算();
        Sw_中止 = true;  // left over from an earlier run: the run clears it

        c.run();

        EXPECT_GT(optfx::changedCells(table), 0);
        if (c.scoreNeverRises) {
            EXPECT_LE(全分散計算(), score);
        }
        EXPECT_EQ(validator::describe(optfx::newViolations(before, optfx::exchangeRules())).toStdString(), "");
        expectSheetMatches();
        ASSERT_EQ(ui::shownMessages().size(), 1u);
        EXPECT_EQ(ui::shownMessages()[0].title, QString::fromUtf8(c.title));
        EXPECT_TRUE(ui::shownMessages()[0].prompt.contains(QStringLiteral("　更新後")));
        EXPECT_EQ(resultLogWritten(), c.resultLog);
        EXPECT_EQ(logShown, c.resultLog ? 1 : 0);
        expectSwitchesBack();
    }
}

// A month read back from the sheet holds its chains by nothing but the exchange check: no run,
// listed exchange or readjustment may split one.
TEST_F(Runs, NoExchangeSplitsAChainOfAMonthReadBackFromTheSheet)
{
    const std::vector<Rule> chainRule = {Rule::必須パターン};
    auto chainCells = [] {
        int n = 0;
        for (int m = 1; m <= Member_Cnt; ++m)
            for (int d = 1; d <= Day_Cnt; ++d)
                n += Time_Table(m, d) == Hissu_Pattern(1, 1);
        return n;
    };
    const std::pair<const char*, std::function<void()>> runs[] = {
        {"random", [] { ランダム入替(3); }},
        {"shift swap", [] { 最適化_勤務交換(2); }},
        {"rest-day swap", [] { 最適化_休み交換(1); }},
    };
    for (const auto& [name, run] : runs) {
        SCOPED_TRACE(name);
        sampleOnSheet(kCare, true);
        ASSERT_GT(chainCells(), Member_Cnt);
        ASSERT_EQ(validator::describe(validator::only(validator::check(), chainRule)).toStdString(), "");
        const std::vector<int> table = optfx::snapshot();
        run();
        EXPECT_GT(optfx::changedCells(table), 0);
        EXPECT_EQ(validator::describe(validator::only(validator::check(), chainRule)).toStdString(), "");
    }

    sampleOnSheet(kCare, true);
    int refused = 0;
    for (int m = 1; m <= Member_Cnt; ++m)
        for (const QString& line : buildExchangeList({m, false, true})) {
            const std::optional<ExchangeLine> row = parseExchangeLine(line);
            ASSERT_TRUE(row);
            if (row->forbidden) {
                refused += line.contains(QStringLiteral(":必須パターン"));
                continue;
            }
            勤務変更(m, row->memberB, row->day);
            EXPECT_EQ(validator::describe(validator::only(validator::check(), chainRule)).toStdString(), "") << line.toStdString();
            勤務変更(m, row->memberB, row->day);
        }
    EXPECT_GT(refused, 0);
    // Readjusting a chain's cell: the search leaves the table as it was, its proposal is made here.
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = 1; d < Day_Cnt; ++d) {
            if (Time_Table(m, d) != Hissu_Pattern(1, 1) && Time_Table(m, d) != Hissu_Pattern(1, 2))
                continue;
            ReadjustChainSearch search(20000);
            if (search.run(d, m) == 0)
                continue;
            for (const ExchangeRecord& r : search.records())
                勤務変更(r.x, r.y, r.day);
            EXPECT_EQ(validator::describe(validator::only(validator::check(), chainRule)).toStdString(), "") << m << "/" << d;
            for (auto r = search.records().rbegin(); r != search.records().rend(); ++r)
                勤務変更(r->x, r->y, r->day);
        }
}

TEST_F(Runs, AStopEndsTheShiftSwapRunWithinOneExchangeAndTheSheetIsStillFinished)
{
    sampleOnSheet();
    // "中止" as soon as the pass shows the score of its first kept exchange; nothing changes after.
    QString passStart;
    std::vector<int> atStop;
    view->onApply = [&](const RunWindowState& s) {
        if (!atStop.empty() || s.message != QStringLiteral("最適化しています・・"))
            return;
        if (passStart.isNull()) {
            passStart = s.score;
        } else if (s.score != passStart) {
            Sw_中止 = true;
            atStop = optfx::snapshot();
        }
    };
    最適化_勤務交換(5);
    ASSERT_FALSE(atStop.empty());
    EXPECT_EQ(optfx::changedCells(atStop), 0);
    EXPECT_FALSE(Sw_中止);
    expectSheetMatches();
    EXPECT_EQ(ui::shownMessages().size(), 1u);
    expectSwitchesBack();
}

TEST_F(Runs, AnErrorInsideARunPutsEverySwitchBack)
{
    sampleOnSheet();
    bool failed = false;
    view->onApply = [&](const RunWindowState& s) {
        if (s.loaded && !failed) {
            failed = true;
            throw VbError(1004, QStringLiteral("failure"));
        }
    };
    EXPECT_THROW(最適化_勤務交換(2), VbError);
    EXPECT_TRUE(failed);
    expectSwitchesBack();
    EXPECT_TRUE(ui::shownMessages().empty());
}

}  // namespace
