// The program's own start-up fills every step the lower layers leave to the higher ones: a step
// it forgot would otherwise be skipped quietly in the running program while every test passed.
#include "app/program.h"
#include "engine/main_window_steps.h"
#include "engine/optimiser_steps.h"
#include "optimise/window_steps.h"
#include "program_fixture.h"
#include "shell/myfunc_main.h"

#include <QScopeGuard>

namespace {

using Step = std::function<void()>;
// A step added to a table is listed below too, or this stops compiling.
static_assert(sizeof(OptimiserSteps) == 11 * sizeof(Step));
static_assert(sizeof(MainWindowSteps) == 4 * sizeof(Step));
static_assert(sizeof(OptimiserWindowSteps) == 6 * sizeof(Step));
static_assert(sizeof(ConditionModelSteps) == 3 * sizeof(Step));

template <class F>
void expectFilled(const std::function<F>& step, const char* name)
{
    EXPECT_TRUE(step) << name;
}

using ProgramSteps = ProgramTest;

TEST_F(ProgramSteps, TheProgramsStartUpFillsEveryStep)
{
    resetAppState();
    installProgram();
    // The windows that ask and show status go again, so that no later test meets one.
    const auto headless = qScopeGuard([] {
        ui::setMessageHandler({});
        for (const ui::Kind k : {ui::Kind::Custom, ui::Kind::Input, ui::Kind::Folder, ui::Kind::OpenFile,
                                 ui::Kind::SaveFile, ui::Kind::Notice, ui::Kind::Dialog})
            ui::setDialogHandler(k, {});
        setStatusWindows(nullptr);
    });
    // The main window fills its own steps when it is made.
    window_ = std::make_unique<frm勤務管理>();

    const OptimiserSteps& o = optimiserSteps;
    expectFilled(o.全分散計算, "全分散計算");
    expectFilled(o.ランダム交換, "ランダム交換");
    expectFilled(o.休み数均等化, "休み数均等化");
    expectFilled(o.最適化実行, "最適化実行");
    expectFilled(o.ランダム入替処理, "ランダム入替処理");
    expectFilled(o.clearBestShifts, "clearBestShifts");
    expectFilled(o.ベストシフト追加, "ベストシフト追加");
    expectFilled(o.ベストシフト復元, "ベストシフト復元");
    expectFilled(o.荷重分散レポート作成, "荷重分散レポート作成");
    expectFilled(o.荷重パラメータ一覧, "荷重パラメータ一覧");
    expectFilled(o.単勤単休数, "単勤単休数");
    const MainWindowSteps& m = mainWindowSteps;
    expectFilled(m.setCaption, "setCaption");
    expectFilled(m.setBestShiftRestorable, "setBestShiftRestorable");
    expectFilled(m.adjustRestRuns, "adjustRestRuns");
    expectFilled(m.leaveTopmost, "leaveTopmost");
    const OptimiserWindowSteps& w = optimiserWindowSteps;
    expectFilled(w.showBestShiftList, "showBestShiftList");
    expectFilled(w.enableRestoreMenu, "enableRestoreMenu");
    expectFilled(w.afterResultLog, "afterResultLog");
    expectFilled(w.mnuAdjDayOffCnt_Click, "mnuAdjDayOffCnt_Click");
    expectFilled(w.raiseMainWindow, "raiseMainWindow");
    expectFilled(w.giveMainWindowFocus, "giveMainWindowFocus");
    const ConditionModelSteps& c = conditionModelSteps;
    expectFilled(c.resetShiftFactors, "resetShiftFactors");
    expectFilled(c.readAllConditions, "readAllConditions");
    expectFilled(c.resizeToMaximum, "resizeToMaximum");
}

}  // namespace
