// Shut-down: the full one of 閉じる (save question, database closed, every workbook application
// of the program quit, database compacted) and the close box's (save question, workbook closed).
// A run in progress is stopped first; the close happens once it, and any other command at work,
// has ended.
#include "platform/ui/guard.h"
#include "platform/ui/prompt.h"
#include "platform/ui/widgets/window_work.h"
#include "shell/forms/form_helpers.h"
#include "app/main_window.h"
#include "shell/globals.h"
#include "shell/lifecycle.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/rs_db.h"
#include "shell/rs_dbsub.h"
#include "shell/status.h"
#include "workbook/sheet_names.h"

#include <QCloseEvent>

namespace {

// A step of the shut-down whose failure is passed over.
template <class F>
void ignoring(F step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

void releaseWorkbook()
{
    xlSheet = nullptr;
    xlBook = nullptr;
}

}  // namespace

bool frm勤務管理::waitForRun(Close close)
{
    // The close's own handler is one of those running; any other is a command still at work
    // (a save, publishing, a wait), and the shut-down must not run inside it.
    const bool otherWork = ui::handlersRunning() > 1;
    if (!RunActive() && !otherWork)
        return false;
    if (RunActive())
        Sw_中止 = true;
    pendingClose_ = close;
    return true;
}

frm勤務管理::SaveAnswer frm勤務管理::askSave()
{
    if (!xlBook || xlBook->saved())
        return SaveAnswer::Keep;
    const int answer = MsgBox(QStringLiteral("ワークブックを保存しますか？"), ui::vbYesNoCancel, QStringLiteral("保存確認"));
    if (answer == ui::vbCancel)
        return SaveAnswer::Cancel;
    return answer == ui::vbYes ? SaveAnswer::Save : SaveAnswer::Keep;
}

bool frm勤務管理::saveWorkbook()
{
    QString dirty;
    ignoring([&] { dirty = xlDtGet(kRosterSheet, QStringLiteral("Dirty")); });
    xlDtSet(kRosterSheet, QStringLiteral("Dirty"), QString());
    // The user asked for the save: a failure is said, and the program stays with its changes.
    QString error;
    try {
        xlBook->save();
        return true;
    } catch (...) {
        error = ui::errorText(std::current_exception());
    }
    xlDtSet(kRosterSheet, QStringLiteral("Dirty"), dirty);
    MsgBox(QStringLiteral("ワークブックを保存できませんでした。終了を取り消します。") + QStringLiteral("\r\n\r\n") + error,
           ui::vbOKOnly | ui::vbExclamation);
    return false;
}

void frm勤務管理::cmd閉じる_Click()
{
    if (waitForRun(Close::Full))
        return;
    const SaveAnswer answer = askSave();
    if (answer == SaveAnswer::Cancel)
        return;
    const bool save = answer == SaveAnswer::Save;
    DspSplash(QStringLiteral("終了処理中") + (save ? QStringLiteral("-保存中") : QString()));
    if (xlApp) {
        // No workbook code runs while it is saved and closed.
        ignoring([] { xlApp->setDisplayFullScreen(false); });
        ignoring([] { xlApp->setEnableEvents(false); });
        ignoring([] { xlApp->setCalculation(xl::kCalculationManual); });
        ignoring([] { xlApp->setCalculateBeforeSave(false); });
    }
    if (save && !saveWorkbook()) {
        xlAppSetting(true, true, true);
        DspSplash(QString());
        return;
    }
    DbClose();
    takeDownWorkbook(true);
    // A file the run could not write (read-only, or left aside as empty) stays as it is.
    if (dbWritable_)
        CompactDb(DefaultDbPath());
    End();
}

void frm勤務管理::takeDownWorkbook(bool everyApplication)
{
    if (xlBook) {
        ignoring([] { xlBook->setSaved(true); });
        ignoring([] { xlBook->close(false); });
    }
    releaseWorkbook();
    // Every spreadsheet application of the program (the exports' too), not only the workbook's.
    if (everyApplication) {
        xl::Application::quitAll();
        resetXlGlobals();
        return;
    }
    if (xlApp)
        ignoring([] { xlApp->quit(); });
    xlApp.reset();
}

void frm勤務管理::Form_QueryUnload()
{
    if (waitForRun(Close::Box))
        return;
    const SaveAnswer answer = askSave();
    if (answer == SaveAnswer::Cancel)
        return;
    DspSplash(QStringLiteral("終了処理中"));
    if (answer == SaveAnswer::Save && !saveWorkbook()) {
        DspSplash(QString());
        return;
    }
    if (xlApp)
        ignoring([] { xlApp->setDisplayFullScreen(false); });
    takeDownWorkbook(false);
    DspSplash(QString());
    End();
}

void frm勤務管理::closeEvent(QCloseEvent* event)
{
    if (AppEnded) {
        event->accept();
        return;
    }
    // The program ends through End, never by this window closing on its own.
    event->ignore();
    RunHandler([this] { Form_QueryUnload(); }, this);
}
