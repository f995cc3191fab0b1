#pragma once
// The main window: a small tool window beside the workbook window with the program's buttons,
// menus and caption. Start-up runs in Form_Initialize, the full shut-down in cmd閉じる_Click and
// the close box's in Form_QueryUnload. Every handler runs through the guarded-handler trap.
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>

class QAction;
class QActionGroup;
class QFrame;
class QMenu;
class QPushButton;
class frm開始条件設定;

// Loading the generation driver runs a whole generation and unloads it again. The driver installs
// it; until it has, シフト表作成 stays disabled.
inline std::function<void()> startConditionsCheckLoad;

// No Q_OBJECT: the meta-object compiler cannot read the class's name, and the window needs no
// signals of its own.
class frm勤務管理 : public QMainWindow {
public:
    explicit frm勤務管理(QWidget* parent = nullptr);
    ~frm勤務管理() override;

    // The whole start-up. False when the program is to end: a check ended it, or an error was
    // shown.
    bool Form_Initialize();
    // Bottom-right corner of the screen, 20 px from the right and 42 px above the bottom; the
    // stop button takes the run button's place.
    void placeWindow();

    // Commands (the handlers of the controls of those names).
    void cmd勤務表作成_Click();
    void onStopClicked();
    void onStartConditionsClicked();
    void cmd個人別設定_Click();
    void cmd勤務表_Click();
    // The shift grid emptied by the workbook's macro and ruled again; no question is asked.
    void onClearRosterClicked();
    void onStaffSettingsClicked();
    void onBasicSettingsClicked();
    void cmdLog_Click();
    // Opens the save and load hub (one workbook only), on the roster sheet.
    void onSaveLoadClicked();
    void cmd閉じる_Click();
    void Form_QueryUnload();
    void mnuBestShiftMake_Click();
    void mnuBackground_Click();
    void mnuBackground2_Click();
    void onSingleDayGoalChosen(int index);
    void onSingleDayTotalsChosen();
    // The roster sheet re-read, recoloured and re-marked from the conditions; its protection is
    // as it was.
    void RefleshForce_Click();
    void mnuChkDayOffCnt_Click();
    // For every run of rest days over the limit: one exchange of its first day that the rules
    // allow; then the roster sheet is refreshed.
    void AdjDayOffCnt();
    void mnuAdjDayOffCnt_Click();
    void mnuAdjOffOver_Click();
    void onDispersionAnalysisChosen();
    // The weight settings window, for editing only or (index 0..2) to start that optimiser method
    // after its countdown; waits until the window has gone.
    void mnuOptimizeParam_Click();
    void mnuOptimize_Click(int index);
    void mnuRestoreBestTimeTable_Click();
    void mnuDebugMemoryDump_Click();
    void onResultLogChosen();
    void mnuVersion_Click();
    void mnuCommand1_Click();
    void EnableEventsOn_Click();
    void Timer_Caption_Timer();
    // Brings the workbook window to the front (errors ignored).
    void xlAppActivate();
    // Ticks the switch menus from Sw_バックグラウンド動作, Sw_ベストシフト作成 and Sw_確保優先.
    void showSwitchMenus();

    // "★ ベストシフト (kept + 1)th[ ok=n][ ?=n] 残m"
    static QString BestShiftCaption(long kept, long ok, long doubtful, long remainingMinutes);

    QPushButton* cmd中止;
    QPushButton* cmd勤務表作成;
    QFrame* Fr;
    QTimer Timer_Caption;
    QPushButton* cmdH保存;
    QPushButton* cmdH基本;
    QPushButton* cmdH開始条件;
    QPushButton* cmdH要員;
    QPushButton* cmdH個人別;
    QPushButton* cmd開始条件設定;
    QPushButton* cmd個人別設定;
    QPushButton* cmd要員設定;
    QPushButton* cmd閉じる;
    QPushButton* cmd基本設定;
    QPushButton* cmd保存読込;
    QPushButton* cmdLog;
    QPushButton* cmdHelp;
    QPushButton* cmd再調整;
    QPushButton* cmd勤務表クリア;
    QPushButton* cmd勤務表;

    QMenu* mnuFile;
    QAction* mnuNewFile;
    QAction* mnuFileConditionRead;
    QAction* mnuFileConditionSave;
    QAction* mdFileKinmuRead;
    QAction* mdFileKinmuSave;
    QAction* mnu実行結果ログ表示;
    QAction* mnu実行結果注意ログ表示;
    QAction* mnu設定条件値ログ表示;
    QAction* mnuCeateHtml;
    QAction* mnuFileDatabase;
    QAction* mnuClose;
    QMenu* mnu設定;
    QAction* mnuBestShiftMake;
    QAction* mnuRestoreBestTimeTable;
    QAction* mnuBackground;
    QAction* mnuOptimizeParam;
    QMenu* mnuSingleDays;
    std::array<QAction*, 3> mnu単勤単休最少化;
    QAction* mnu単勤単休総数;
    QMenu* mnuOption;
    QMenu* mnuChk;
    QAction* mnu勤務分散解析;
    QAction* mnu交換可能勤務一覧;
    QAction* mnu勤務可能判定;
    QAction* mnuChkDayOffCnt;
    QMenu* mnuSeparatelyAdjust;
    std::array<QAction*, 3> mnuOptimize;
    QAction* mnuAdjDayOffCnt;
    QAction* mnuAdjOffOver;
    QAction* mnuBackground2;
    QAction* RefleshForce;
    QAction* mnuHelpInf;
    QAction* mnuHlpFaq;
    QAction* mnuVersion;
    QMenu* mnuDebug;
    QAction* mnuCommand;
    QAction* mnuDebugMemoryDump;
    QAction* mnuCommand1;
    QAction* EnableEventsOn;

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    enum class Close { None, Full, Box };
    // The answer to the save question: go on without saving, save, or stay.
    enum class SaveAnswer { Keep, Save, Cancel };

    void buildButtons();
    void buildMenus();
    void buildFileMenu();
    void buildSettingsMenu();
    void buildOptionMenu();
    void buildDebugMenu();
    void disableUnavailable();
    // What the optimiser's windows and reports ask of this window.
    void installWindowSteps();
    void fitSize();
    QAction* item(QMenu* menu, const QString& caption, std::function<void()> handler = {});

    // Start-up steps.
    bool startUp();
    void bootTrace();
    bool otherInstanceRunning();
    void openWorkbook();
    void windowSetUp();
    void readShiftTypeInput();
    void showRosterSheet();
    void readBaseSettings();
    void lastMonthMacro();

    // Shut-down steps.
    bool waitForRun(Close close);
    SaveAnswer askSave();
    bool saveWorkbook();
    void takeDownWorkbook(bool everyApplication);

    Close pendingClose_ = Close::None;
    bool dbWritable_ = false;
    QPointer<frm開始条件設定> startConditions_;
    QActionGroup* staffingMethods_ = nullptr;
};
