// The main window's tools over the finished table: the consecutive-rest check and adjustment, the
// rest-count balancing, the analysis, the best-shift restore and the memory dump; and what the
// optimiser's windows and reports ask of the main window.
#include "engine/conditions.h"
#include "engine/day_off.h"
#include "engine/main_window_steps.h"
#include "engine/model.h"
#include "engine/postprocess.h"
#include "engine/sheet_refresh.h"
#include "engine/shift_load.h"
#include "engine/swap_passes.h"
#include "optimise/best_shift.h"
#include "optimise/forms/weights_form.h"
#include "optimise/report.h"
#include "optimise/rest_days.h"
#include "optimise/window_steps.h"
#include "platform/ui/prompt.h"
#include "shell/forms/form_helpers.h"
#include "app/main_window.h"
#include "shell/globals.h"
#include "shell/lifecycle.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/period.h"
#include "shell/status.h"
#include "workbook/sheet_names.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QScopeGuard>

void frm勤務管理::installWindowSteps()
{
    optimiserWindowSteps.enableRestoreMenu = [this] { mnuRestoreBestTimeTable->setEnabled(true); };
    optimiserWindowSteps.afterResultLog = [this] {
        const QFileInfo log(QDir(stWorkPath).filePath(QStringLiteral("log/log_result.txt")));
        if (log.isFile() && log.size() > 0)
            mnu実行結果ログ表示->setEnabled(true);
        FormTopMost(this, mnuBackground->isChecked());
    };
    optimiserWindowSteps.mnuAdjDayOffCnt_Click = [this] { mnuAdjDayOffCnt_Click(); };
    optimiserWindowSteps.raiseMainWindow = [this] { FormTopMost(this, mnuBackground->isChecked()); };
    optimiserWindowSteps.giveMainWindowFocus = [this] {
        activateWindow();
        SetFocusCursor(this, false);
    };
    mainWindowSteps.setCaption = [this](const QString& text) {
        setWindowTitle(text.isEmpty() ? QStringLiteral("Ver.") + stVersion + QLatin1Char(' ') + stAppTitle : text);
    };
    mainWindowSteps.setBestShiftRestorable = [this](bool on) { mnuRestoreBestTimeTable->setEnabled(on); };
    mainWindowSteps.adjustRestRuns = [this] { AdjDayOffCnt(); };
    mainWindowSteps.leaveTopmost = [this] { FormNoTopMost(this); };
}

void frm勤務管理::mnuChkDayOffCnt_Click()
{
    if (RefuseDuringRun())
        return;
    // A reading that failed has said why; a report over a half-read table would mislead.
    if (全条件読込(0) == -1 || !シフト表読込(1, Day_Cnt, 0, 1))
        return;
    std::vector<RestRun> runs;
    GetDayOffCnt(runs);
    const QString text = restRunReport(runs, currentPeriod().開始日);
    MsgBox(text, ui::vbOKOnly, QStringLiteral("連続休み日数超過解析 - Ctrl+C でコピー可"));
}

void frm勤務管理::AdjDayOffCnt()
{
    std::vector<RestRun> runs;
    if (GetDayOffCnt(runs) == 0)
        return;
    // Without the score: the first exchange the rules allow breaks the run (from a best score of
    // 0 the score mode would keep none).
    for (const RestRun& run : runs)
        休み交換(1, run.row, run.開始日, false, 0);
    人員配置表更新();
}

void frm勤務管理::mnuAdjDayOffCnt_Click()
{
    if (RefuseDuringRun())
        return;
    Sw_中止 = false;
    {
        RunScope running;
        if (!現状収集(0))
            return;
        DspSplash(QString());
        AdjDayOffCnt();
        xlAppSetting(true, true, true);
    }
    mnuChkDayOffCnt_Click();
}

void frm勤務管理::mnuAdjOffOver_Click()
{
    if (RefuseDuringRun())
        return;
    Sw_中止 = false;
    RunScope running;
    // Calculation and events come back, and the splash goes, however the adjustment ends.
    const auto restore = qScopeGuard([] {
        xlAppSetting(true, true, true);
        DspSplash(QString());
    });
    xlAppSetting(true, false, false);
    if (!現状収集(0))
        return;
    DspSplash(QString());
    休み数均等化(false, 0);
    // The roster sheet itself: the reading may have left another sheet current.
    xl::Worksheet& roster = xlBook->worksheets(kRosterSheet);
    roster.unprotect();
    const auto relock = qScopeGuard([&roster] { roster.protect(); });
    xlRunRetry(nullptr, stBookName + QStringLiteral("!勤務色置換"));
    人員配置表更新();
}

void frm勤務管理::onDispersionAnalysisChosen()
{
    if (!RefuseDuringRun())
        勤務分散解析();
}

void frm勤務管理::mnuOptimizeParam_Click()
{
    mnuOptimize_Click(-1);
}

void frm勤務管理::mnuOptimize_Click(int index)
{
    // A run started from the window reloads the model.
    if (RefuseDuringRun())
        return;
    Sw_中止 = false;
    DlgParam = index;
    ShowWaitClose(new frm最適化荷重設定);
}

void frm勤務管理::mnuRestoreBestTimeTable_Click()
{
    if (!RefuseDuringRun())
        ベストシフト復元();
}

void frm勤務管理::mnuDebugMemoryDump_Click()
{
    // A long text: the box with scroll bars.
    MyMsgBox(MemoryDump(), 0, {}, 700, 500, 0, {}, 0, {}, 0, {}, 0, 0, 1);
}

void frm勤務管理::onSingleDayTotalsChosen()
{
    // The count clears the totals and reads the table again, which a run is still changing.
    if (RefuseDuringRun())
        return;
    MsgBox(単勤単休総数情報(), ui::vbOKOnly, QStringLiteral("単勤単休総数"));
}

void frm勤務管理::RefleshForce_Click()
{
    if (RefuseDuringRun())
        return;
    RunScope running;
    xl::Worksheet& roster = XlApp().worksheets(kRosterSheet);
    const bool wasProtected = roster.protectContents();
    // However the refresh ends, the sheet's protection and the workbook's switches are as before.
    const auto finish = [&] {
        xlAppSetting(true, true, true);
        if (wasProtected)
            roster.protect();
        DspSplash(QString());
    };
    DspSplash(QStringLiteral("強制更新中"));
    xlAppSetting(false, false, false);
    try {
        // A reading that failed has said why.
        if (全条件読込(0) == -1 || !シフト表読込(1, Day_Cnt, 0, 1)) {
            finish();
            return;
        }
        roster.unprotect();
        // Switched on and off between the steps, so that each one is shown.
        const auto flush = [] {
            xlAppSetting(true, true, true);
            xlAppSetting(false, false, false);
        };
        xlRunRetry(nullptr, stBookName + QStringLiteral("!勤務色置換"));
        flush();
        人員配置表更新();
        flush();
        xlRunRetry(nullptr, stBookName + QStringLiteral("!休み色置換"));
        flush();
        予約強調表示(予約罫線色);
        全勤務不可強調表示(予約罫線色);
        flush();
        条件付き書式強制発火();
    } catch (...) {
        finish();
        throw;
    }
    finish();
    MsgBox(QStringLiteral("★★ 全て終了しました ★★"), ui::vbOKOnly);
}
