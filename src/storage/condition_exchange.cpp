#include "storage/condition_exchange.h"

#include "engine/cells.h"
#include "engine/conditions.h"
#include "engine/postprocess.h"
#include "engine/start_conditions.h"
#include "platform/os/vb_error.h"
#include "platform/text/text_constants.h"
#include "platform/ui/prompt.h"
#include "platform/xl/xl.h"
#include "shell/borders.h"
#include "shell/globals.h"
#include "shell/lifecycle.h"
#include "shell/msg_box.h"
#include "shell/mymod.h"
#include "shell/excel_layer.h"
#include "shell/myfile.h"
#include "shell/status.h"
#include "storage/saved_shifts.h"
#include "workbook/condition_file.h"
#include "workbook/sheet_names.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

using namespace cell_reading;

namespace {

xl::Workbook& conditionsWorkbook()
{
    if (!xlBook)
        throw xl::Error(91, QStringLiteral("オブジェクト変数が設定されていません。"));
    return *xlBook;
}

void handOver(const QString& path)
{
    conditionsWorkbook().worksheets(QStringLiteral("名前リスト")).range(QStringLiteral("C1")).setValue(path);
}

// Runs a macro of the workbook once: "" or the error text it reports.
QString macroName(const QString& name)
{
    return XlApp().run(stBookName + QLatin1Char('!') + name).toString();
}

void showFailure(const QString& text, const QString& title)
{
    MsgBox(text, ui::vbOKOnly | ui::vbExclamation | ui::vbSystemModal, title);
}

// The splash stays long enough to be read, then goes.
void clearAfterShowing()
{
    DoWait(1500);
    DspSplash(QString());
}


// Clears the grid and reads the condition file at path into the workbook. A file that would not
// load is refused before anything changes; false after its message. What the load skipped or
// cannot use goes to warnings.
bool importConditions(const QString& path, const QString& errorTitle, QStringList& warnings)
{
    const condition_file::Status check = condition_file::checkConditions(conditionsWorkbook(), path);
    if (!check.ok) {
        showFailure(check.error + kCrLf + kCrLf + QStringLiteral("条件データは変更していません。"), errorTitle);
        return false;
    }
    handOver(path);
    macroName(QStringLiteral("勤務Clear"));
    罫線設定(conditionsWorkbook().worksheets(kRosterSheet).range(QStringLiteral("Time_table")));
    const QString error = macroName(QStringLiteral("条件読込"));
    if (!error.isEmpty()) {
        DspSplash(QString());
        showFailure(error, errorTitle);
        return false;
    }
    warnings = check.warnings;
    return true;
}

// Said once the load has finished, so that the user knows which conditions did not arrive.
void showWarnings(const QStringList& warnings, const QString& title)
{
    if (warnings.isEmpty())
        return;
    MsgBox(QStringLiteral("条件データを読み込みましたが、次の点に注意してください。") + kCrLf + kCrLf + warnings.join(kCrLf),
           ui::vbOKOnly | ui::vbExclamation | ui::vbSystemModal, title);
}

bool 読込(QObject* owner)
{
    const QString path = ui::openFileName(QStringLiteral("ファイルを開く"), QDir::currentPath(), conditionFileFilter(), owner);
    if (path.isEmpty())
        return false;
    conditionsWorkbook().worksheets(kRosterSheet).activate();
    DspSplash(QStringLiteral("データ読み込み中・・・"));
    const auto done = qScopeGuard([] { DspSplash(QString()); });
    QStringList warnings;
    if (!importConditions(path, QStringLiteral("条件データ読込エラー"), warnings))
        return false;
    currentConditionFile = path;
    基本情報読込();
    if (const QString faults = readPeriodSettings(); !faults.isEmpty())
        warnings << faults;
    作成後処理(QString());
    clearAfterShowing();
    showWarnings(warnings, QStringLiteral("条件データ読込"));
    return true;
}

// The name the save dialog offers: the current file (or 無題.csv) in its own folder when that
// exists, else in the current directory; a folder is offered as it is.
QString saveFileSuggestion()
{
    const QString name = currentConditionFile.isEmpty() ? QStringLiteral("無題.csv") : currentConditionFile;
    if (QFileInfo(name).isDir())
        return name;
    const QString folder = GetFolderName(name);
    const bool folderExists = !folder.isEmpty() && QFileInfo(folder).isDir();
    return QDir(folderExists ? folder : QDir::currentPath()).filePath(GetFileName(name));
}

void 保存(QObject* owner)
{
    const QString path = ui::saveFileName(QStringLiteral("名前を付けて保存"), saveFileSuggestion(), conditionFileFilter(), owner);
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path)
        && MsgBox(path + QStringLiteral("は既に存在します！") + kCrLf + QStringLiteral("上書きしますか？"),
                  ui::vbOKCancel | ui::vbSystemModal, QStringLiteral("ファイル名の確認"))
               != ui::vbOK)
        return;
    handOver(path);
    conditionsWorkbook().worksheets(kRosterSheet).activate();
    DspSplash(QStringLiteral("データ保存中・・・"));
    const QString error = macroName(QStringLiteral("条件保存"));
    if (!error.isEmpty()) {
        DspSplash(QString());
        showFailure(error + kCrLf + kCrLf + QStringLiteral("条件データは保存されていません。"), QStringLiteral("条件データ保存エラー"));
        return;
    }
    clearAfterShowing();
    MsgBox(QStringLiteral("保存を完了しました！"));
}

void 初期化()
{
    if (MsgBox(QStringLiteral("データを初期化します。") + kCrLf + kCrLf + QStringLiteral("よろしいですか？"),
               ui::vbOKCancel | ui::vbDefaultButton2, QStringLiteral("新規作成"))
            != ui::vbOK
        || MsgBox(QStringLiteral("本当に、よろしいですか？"), ui::vbOKCancel | ui::vbDefaultButton2, QStringLiteral("再確認"))
               != ui::vbOK)
        return;
    DspSplash(QStringLiteral("初期化中・・・"));
    const auto done = qScopeGuard([] { DspSplash(QString()); });
    const QString path = QDir(AppPath).filePath(QStringLiteral("parts/新規作成.csv"));
    QStringList warnings;
    if (!importConditions(path, QStringLiteral("新規作成エラー"), warnings))
        return;
    if (MsgBox(QStringLiteral("勤務記録も初期化します。") + kCrLf + kCrLf + QStringLiteral("よろしいですか？"), ui::vbYesNo,
               QStringLiteral("勤務記録初期化"))
        == ui::vbYes)
        削除_勤務記録();
    基本情報読込();
    // The template is not the user's file: the next save asks for a name of its own.
    currentConditionFile.clear();
    handOver(QString());
    DspSplash(QStringLiteral("完了しました！"));
    clearAfterShowing();
    showWarnings(warnings, QStringLiteral("新規作成"));
}

// Errors of the workbook end the command with their number and description.
template <class F>
auto runProtected(F&& f, decltype(f()) failed)
{
    try {
        return f();
    } catch (const VbError& e) {
        DspSplash(QString());
        MsgBox(e.text(), ui::vbOKOnly | ui::vbSystemModal, QStringLiteral("データエラー"));
        return failed;
    }
}

}  // namespace

QString conditionFileFilter()
{
    return QStringLiteral("CSV ファイル(*.csv);;全てのファイル(*.*)");
}

// Each of them reads or rewrites the sheets (and the restore and the new file the condition model)
// that a generation or optimiser run is working on.
bool cmd復元_Click(QObject* owner)
{
    if (RefuseDuringRun())
        return false;
    return runProtected([owner] { return 読込(owner); }, false);
}

void cmd保存_Click(QObject* owner)
{
    if (RefuseDuringRun())
        return;
    runProtected([owner] { 保存(owner); return true; }, false);
}

void mnuNewFile_Click()
{
    if (RefuseDuringRun())
        return;
    runProtected([] { 初期化(); return true; }, false);
}
