#include "engine/postprocess.h"

#include "engine/generation.h"
#include "engine/main_window_steps.h"
#include "engine/model.h"
#include "engine/optimiser_steps.h"
#include "engine/run_window.h"
#include "engine/sheet_refresh.h"
#include "engine/shift_load.h"
#include "engine/totals.h"
#include "platform/text/text_constants.h"
#include "shell/borders.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "shell/mymod.h"
#include "shell/required_step.h"
#include "shell/status.h"
#include "workbook/recalc.h"
#include "workbook/sheet_names.h"

#include <algorithm>
#include <exception>

namespace {

// The captions of the generation-mode menu, by Sw_確保優先.
const QString kStaffingMethods[] = {QStringLiteral("単勤・単休 最少化（高）"), QStringLiteral("単勤・単休 最少化（低）"),
                             QStringLiteral("確保優先")};

void drawGridLines()
{
    if (xl::Worksheet* ws = xlBook ? xlBook->findSheet(kRosterSheet) : nullptr)
        罫線設定(ws->range(QStringLiteral("Time_table")));
}

void markCells()
{
    予約強調表示(予約罫線色);
    全勤務不可強調表示(全不可罫線色);
}

void finalBanner(const QString& text)
{
    if (text.isEmpty()) {
        DspSplash(QStringLiteral("処理完了！"), 0, 0, 500);
    } else {
        DspSplash(QStringLiteral("★★ 全て終了しました ★★"), 0xFF0000, 0xFFFFC0);
        if (displayWaitOn())
            WaitMs(1000);
    }
    DspSplash(QString());
}

}  // namespace

void 作成後処理(const QString& text)
{
    xlAppSetting(false, false, false);
    if (mainWindowSteps.adjustRestRuns)
        mainWindowSteps.adjustRestRuns();
    DspSplash(QStringLiteral("最終処理中"));
    xlAppSetting(false, false, false);
    xlRunRetry(nullptr, stBookName + QStringLiteral("!勤務色置換"));
    人員配置表更新();
    xlRunRetry(nullptr, stBookName + QStringLiteral("!休み色置換"));
    drawGridLines();
    markCells();
    xlAppSetting(true, true, true);
    条件付き書式強制発火();
    ProgressClose();
    finalBanner(text);
}

void 条件付き書式強制発火()
{
    if (!xlApp || !xlBook)
        return;
    // The view repaints once, when the guard switches it back on.
    const XlSwitchesGuard frozen(*xlApp);
    try {
        workbook::paintSelection(*xlBook);
    } catch (const std::exception&) {
    }
}

QString 単勤単休総数情報()
{
    // The totals are rebuilt with the table, so that they stay in step with it.
    集計クリア();
    if (!シフト表読込(1, Day_Cnt, 0, 0))
        return QString();
    bool any = false;
    for (int m = 1; m <= Member_Cnt && !any; ++m)
        for (int d = 1; d <= Day_Cnt && !any; ++d)
            any = Time_Table(m, d) > 0;
    if (!any)
        return QStringLiteral("データはありません");
    const auto& count = required(optimiserSteps.単勤単休数, "単勤単休数");
    const long single = count(QStringLiteral("勤務"));
    const long rest = count(QStringLiteral("休み"));
    return kStaffingMethods[std::clamp(Sw_確保優先, 0, 2)] + kCrLf + kCrLf + QStringLiteral("　単勤総数：") + QString::number(single)
        + kCrLf + QStringLiteral("　単休総数：") + QString::number(rest) + kCrLf;
}

void ProgressClose()
{
    progwin.unload();
    DspSplash(QString());
    optwin.unload();
}
