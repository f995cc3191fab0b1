// The main window's commands: the generation request, the sheet buttons, the switch menus and
// the tools menus.
#include "engine/conditions.h"
#include "engine/forms/start_conditions_form.h"
#include "engine/model.h"
#include "engine/time_limit.h"
#include "engine/workbook_access.h"
#include "platform/ui/prompt.h"
#include "platform/ui/widgets/screen.h"
#include "shell/forms/form_helpers.h"
#include "app/main_window.h"
#include "shell/forms/small_forms.h"
#include "shell/borders.h"
#include "shell/globals.h"
#include "shell/lifecycle.h"
#include "shell/msg_box.h"
#include "shell/process_list.h"
#include "shell/excel_layer.h"
#include "shell/mylog.h"
#include "shell/desktop.h"
#include "storage/forms/save_load_form.h"
#include "workbook/sheet_names.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <cmath>

namespace {

xl::Workbook& book()
{
    if (!xlBook)
        throw xl::Error(91, QStringLiteral("オブジェクト変数が設定されていません。"));
    return *xlBook;
}

void activateSheet(const QString& name)
{
    SndESC();
    book().worksheets(name).activate();
}

}  // namespace

void frm勤務管理::cmd勤務表作成_Click()
{
    cmd中止->show();
    cmd勤務表作成->hide();
    Timer_Caption.start();
    // The buttons and the priority come back however the run ends.
    struct Restore {
        frm勤務管理* w;
        ~Restore()
        {
            w->Timer_Caption.stop();
            w->cmd中止->hide();
            w->cmd勤務表作成->show();
            SetProcessPriority(HIGH_PRIORITY_CLASS);
        }
    } restore{this};
    BootLog(QStringLiteral("★cmd勤務表作成_Click"));
    BootLog(QStringLiteral("cmd勤務表作成: Call SetProcessPriority(IDLE_PRIORITY_CLASS)"));
    SetProcessPriority(IDLE_PRIORITY_CLASS);
    BootLog(QStringLiteral("cmd勤務表作成: Call 共通キー処理"));
    cmdLog->hide();
    BootLog(QStringLiteral("cmd勤務表作成: cmdLog.Visible = False"));
    if (Sw_バックグラウンド動作)
        FormNoTopMost(this);
    BootLog(QStringLiteral("cmd勤務表作成: Call cmd勤務表_Click"));
    cmd勤務表_Click();
    BootLog(QStringLiteral("cmd勤務表作成: Load frm開始条件確認"));
    {
        RunScope running;
        startConditionsCheckLoad();
    }
    BootLog(QStringLiteral("cmd勤務表作成: UnloadObj frm開始条件確認"));
    if (作成状態 == -1)
        cmdLog->show();
    BootLog(QStringLiteral("Call xlAppActivate"));
    xlAppActivate();
    FormTopMost(this);
}

void frm勤務管理::onStopClicked()
{
    if (MsgBox(QStringLiteral("作成を中止しますか？"), ui::vbOKCancel | ui::vbDefaultButton2, QStringLiteral("中止確認"))
        == ui::vbOK)
        Sw_中止 = true;
}

void frm勤務管理::onStartConditionsClicked()
{
    // The period it sets decides the model's size.
    if (RefuseDuringRun())
        return;
    SndESC();
    // One dialog: a second press brings the open one forward.
    if (!startConditions_) {
        startConditions_ = new frm開始条件設定(this);
        // In the middle of the screen, not over the main window's buttons.
        startConditions_->adjustSize();
        centreOnScreen(startConditions_);
    }
    startConditions_->show();
    startConditions_->raise();
    startConditions_->activateWindow();
}

void frm勤務管理::cmd個人別設定_Click()
{
    BootLog(QStringLiteral("cmd個人別設定_Click"));
    BootLog(QStringLiteral("Call SndESC"));
    SndESC();
    BootLog(QStringLiteral("Call FormTr(Me.hWnd, 透明度)"));
    xlSheet = &book().worksheets(QStringLiteral("スケジュール"));
    BootLog(QStringLiteral("Set xlSheet = xlBook.Worksheets('スケジュール')"));
    xlSheet->activate();
    BootLog(QStringLiteral("xlSheet.Activate"));
    cmd個人別設定->setFocus();
    BootLog(QStringLiteral("cmd個人別設定.SetFocus"));
}

void frm勤務管理::cmd勤務表_Click()
{
    activateSheet(kRosterSheet);
}

void frm勤務管理::onClearRosterClicked()
{
    // Clearing the grid under a running generation would lose its days.
    if (RefuseDuringRun())
        return;
    cmd勤務表_Click();
    // Direct: a failing macro stops the handler with its error.
    XlApp().run(stBookName + QStringLiteral("!勤務Clear"));
    罫線設定(book().worksheets(kRosterSheet).range(QStringLiteral("Time_table")));
    作成状態 = 0;
}

void frm勤務管理::onStaffSettingsClicked()
{
    activateSheet(QStringLiteral("要員設定"));
}

void frm勤務管理::onBasicSettingsClicked()
{
    activateSheet(QStringLiteral("基本設定"));
}

void frm勤務管理::onSaveLoadClicked()
{
    if (XlApp().workbooks().count() >= 2) {
        MsgBox(QStringLiteral("開いている別のブックを閉じて下さい！"), ui::vbOKOnly | ui::vbSystemModal,
               QStringLiteral("ブック多重オープンエラー"));
        XlApp().bringToFront();
        return;
    }
    try {
        book().worksheets(kRosterSheet).activate();
    } catch (const VbError&) {
        // A missing sheet does not keep the hub from opening.
    }
    showSaveLoad(this);
}

void frm勤務管理::cmdLog_Click()
{
    LogView();
}

void frm勤務管理::xlAppActivate()
{
    if (xlApp)
        xlApp->bringToFront();
}

void frm勤務管理::mnuBestShiftMake_Click()
{
    Sw_ベストシフト作成 = mnuBestShiftMake->isChecked();
    SetRangeValue(QStringLiteral("main"), QStringLiteral("ベストシフト作成"), Sw_ベストシフト作成);
}

void frm勤務管理::mnuBackground_Click()
{
    Sw_バックグラウンド動作 = mnuBackground->isChecked();
    mnuBackground2->setChecked(Sw_バックグラウンド動作);
    SetRangeValue(QStringLiteral("main"), QStringLiteral("バックグラウンド動作"), Sw_バックグラウンド動作);
}

void frm勤務管理::mnuBackground2_Click()
{
    Sw_バックグラウンド動作 = mnuBackground2->isChecked();
    mnuBackground->setChecked(Sw_バックグラウンド動作);
}

void frm勤務管理::onSingleDayGoalChosen(int index)
{
    for (QAction* a : mnu単勤単休最少化)
        a->setChecked(false);
    Sw_確保優先 = index;
    mnu単勤単休最少化[size_t(index)]->setChecked(true);
    xl::Worksheet& main = book().worksheets(QStringLiteral("main"));
    if (RangeExist(main, QStringLiteral("Sw_確保優先")))
        main.range(QStringLiteral("Sw_確保優先")).setValue(index);
    const QString single = QStringLiteral("単勤（休みに挟まれた一日だけの勤務）、単休（一日だけの休み）を");
    switch (index) {
    case 0:
        MsgBox(single + QStringLiteral("高レベルで最少化してシフト表を作成します。"), ui::vbOKOnly | ui::vbInformation,
               QStringLiteral("単勤単休最少化（高）"));
        break;
    case 1:
        MsgBox(single + QStringLiteral("低レベルで最少化してシフト表を作成します。"), ui::vbOKOnly | ui::vbInformation,
               QStringLiteral("単勤単休最少化（低）"));
        break;
    case 2:
        MsgBox(QStringLiteral("要員確保を最優先にして、シフト表を作成します。"), ui::vbOKOnly | ui::vbInformation,
               QStringLiteral("確保優先"));
        break;
    default:
        break;
    }
}

void frm勤務管理::onResultLogChosen()
{
    ShellOpen(QDir(stWorkPath).filePath(QStringLiteral("log/log_result.txt")), QStringLiteral("実行結果ログ"));
}

void frm勤務管理::mnuVersion_Click()
{
    frmAbout about(this);
    ui::ask(ui::MessageRequest{{}, ui::vbOKOnly, QStringLiteral("frmAbout"), ui::Kind::Dialog},
            [&] { return ui::Answer{about.exec(), {}}; });
}

void frm勤務管理::mnuCommand1_Click()
{
    Sw_中止 = false;
    xlAppSetting(true, true, true);
}

void frm勤務管理::EnableEventsOn_Click()
{
    xl::Application& app = XlApp();
    app.setEnableEvents(!app.enableEvents());
    MsgBox(app.enableEvents() ? QStringLiteral("True") : QStringLiteral("False"), ui::vbOKOnly);
}

void frm勤務管理::Timer_Caption_Timer()
{
    if (!Sw_ベストシフト作成)
        return;
    // Counted in milliseconds, where a limit as large as a Single holds cannot overflow.
    const long remaining = long(std::floor(double(timeRemainingMs(double(LimitTime), generationElapsedMs())) / 60000.0));
    setWindowTitle(BestShiftCaption(BestShift_Cnt, BestShift_OkCnt, BestShift_NgCnt, remaining));
}
