#pragma once
// What the best-shift store, its list window and the analysis report call above the optimiser:
// the list window and the main window's menus. Whoever builds those fills them in at start-up
// (the list window: installBestShiftListWindow); a step left empty does nothing, as in tests
// without windows.
#include <QString>
#include <functional>

struct OptimiserWindowSteps {
    // Shows frmベストシフトリスト modeless; its load restores the best kept table once more.
    std::function<void()> showBestShiftList;
    // Enables the main window's mnuRestoreBestTimeTable.
    std::function<void()> enableRestoreMenu;
    // After a report was written: enables the main window's mnu実行結果ログ表示 when
    // log_result.txt is not empty, and puts the main window on top (at the bottom while
    // mnuBackground is ticked).
    std::function<void()> afterResultLog;
    // The main window's consecutive-rest report and adjustment.
    std::function<void()> mnuAdjDayOffCnt_Click;
    // The main window on top (at the bottom while mnuBackground is ticked), after a run.
    std::function<void()> raiseMainWindow;
    // The main window gets the focus, the mouse pointer stays where it is.
    std::function<void()> giveMainWindowFocus;
};
inline OptimiserWindowSteps optimiserWindowSteps;
