#pragma once
// What the best-shift store, its list window and the analysis report call above the optimiser:
// the list window, the main window's menus and the generation's post-processing. Whoever builds
// those fills them in at start-up (the list window: installOptimiserWindows); a step left empty
// does nothing, as in tests without windows.
#include <QString>
#include <functional>

struct OptimiserWindowSteps {
    // Shows frmベストシフトリスト modeless; its load restores the best kept table once more.
    std::function<void()> ベストシフトリスト表示;
    // Enables the main window's mnuRestoreBestTimeTable.
    std::function<void()> 復元メニュー有効化;
    // After a report was written: enables the main window's mnu実行結果ログ表示 when
    // log_result.txt is not empty, and puts the main window on top (at the bottom while
    // mnuBackground is ticked).
    std::function<void()> 結果ログ表示後;
    // The generation driver's post-processing of a restored table ("成功" or "失敗"): colour
    // macros, rest symbols, borders and highlights.
    std::function<void(const QString&)> 作成後処理;
    // The main window's consecutive-rest report and adjustment.
    std::function<void()> mnuAdjDayOffCnt_Click;
    // The main window on top (at the bottom while mnuBackground is ticked), after a run.
    std::function<void()> メイン画面前面;
    // The main window gets the focus, the mouse pointer stays where it is.
    std::function<void()> メイン画面フォーカス;
};
inline OptimiserWindowSteps 最適化窓手順;
