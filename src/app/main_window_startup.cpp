// Start-up: the checks, the workbook opened and shown, the first reading of it, the database
// brought up to date and the workbook's start macros. Any error shows its number and
// description and the program ends.
#include "engine/conditions.h"
#include "engine/model.h"
#include "engine/start_conditions.h"
#include "engine/workbook_access.h"
#include "platform/os/clock.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompt.h"
#include "shell/forms/form_helpers.h"
#include "app/main_window.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/process_list.h"
#include "shell/excel_layer.h"
#include "shell/mylog.h"
#include "shell/mymod.h"
#include "shell/desktop.h"
#include "shell/rs_db.h"
#include "shell/rs_dbsub.h"
#include "shell/startup.h"
#include "shell/status.h"
#include "shell/win32_registory.h"
#include "workbook/macros.h"
#include "workbook/sheet_names.h"
#include "workbook/template.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QMenu>

namespace {

// A step's time on the boot splash, then the events that waited meanwhile.
void stamp(const QString& label)
{
    BootStepTime(QString(label));
    QCoreApplication::processEvents();
}

}  // namespace

bool frm勤務管理::Form_Initialize()
{
    QString error;
    try {
        return startUp();
    } catch (...) {
        error = ui::errorText(std::current_exception());
    }
    MsgBox(error, ui::vbOKOnly | ui::vbCritical);
    return false;
}

bool frm勤務管理::startUp()
{
    bootTrace();
    if (ChkExecEnv())
        return false;
    // The work folder first: the set-up check is skipped in debug mode.
    stWorkPath = WorkFolder();
    stDbPath = stWorkPath;
    DebugMode = DebugMarker(stWorkPath);
    if (!ChkSetUp())
        return false;
    BootLog(QStringLiteral("Call ChkSetUp"));
    if (otherInstanceRunning())
        return false;
    SetProcessPriority(HIGH_PRIORITY_CLASS);
    BootLog(QStringLiteral("Call SetProcessPriority(HIGH_PRIORITY_CLASS)"));
    FormTopMost(this);
    DspBootSplash(QStringLiteral("Ver.") + stVersion + QLatin1Char(' ') + stAppTitle + QStringLiteral("起動中"));
    BootStepTime(QStringLiteral("起動開始"), true);
    QCoreApplication::processEvents();
    BootLog(QStringLiteral("Call SetRegistry"));
    SetRegistry();
    openWorkbook();
    windowSetUp();
    readShiftTypeInput();
    BootLog(QStringLiteral("Call MyRandomize"));
    MyRandomize();
    showRosterSheet();
    readBaseSettings();
    // What is wrong with the database file is said once, before its first connection.
    dbWritable_ = !DbReadOnly();
    BootLog(QStringLiteral("Call AddTableField"));
    AddTableField();
    lastMonthMacro();
    xlRunRetry(nullptr, stBookName + QStringLiteral("!MacroFixShift"));
    xlRunRetry(nullptr, stBookName + QStringLiteral("!人員配置表_シート見出し_Click"));
    DspBootSplash(QString());
    mnuSeparatelyAdjust->menuAction()->setVisible(true);
    mnuChk->menuAction()->setVisible(true);
    xlBook->setSaved(true);
    setEnabled(true);
    return true;
}

void frm勤務管理::bootTrace()
{
    BootLog(QStringLiteral("起動"), true);
    stVersion = VersionText(QCoreApplication::applicationVersion());
    setWindowTitle(QStringLiteral("Ver.") + stVersion + QLatin1Char(' ') + stAppTitle);
    BootLog(Format(os::now(), QStringLiteral("yyyy/mm/dd hh:nn:ss")) + kCrLf + kCrLf
            + QStringLiteral("Me Ver:") + stVersion + kCrLf + QStringLiteral("OS Ver:") + GetOSVersion() + kCrLf
            + QStringLiteral("XL Ver:") + stXlVer + kCrLf + QStringLiteral("64bit :")
            + (IsWow64() ? QStringLiteral("True") : QStringLiteral("False")) + kCrLf + QStringLiteral("CurDir :")
            + QDir::currentPath() + kCrLf + QStringLiteral("App.Path :") + AppPath + kCrLf);
}

bool frm勤務管理::otherInstanceRunning()
{
    const qint64 ownPid = QCoreApplication::applicationPid();
    // Not the process table alone: two starts at the same moment would each see the other.
    if (ClaimOneInstance(AppEXEName, ownPid))
        return false;
    const QString pids = PidListByName(AppEXEName, ownPid);
    MsgBox(stAppTitle + QStringLiteral("は既に起動しています！") + kCrLf + kCrLf + QStringLiteral("pIdList = ") + pids,
           ui::vbOKOnly | ui::vbSystemModal, QStringLiteral("二重起動不可"));
    return true;
}

void frm勤務管理::openWorkbook()
{
    xl::Application& app = XlApp();
    stXlVer = app.version();
    stBookName = GetXlsName(stWorkPath);
    xlAppSetting(false, false, false);
    stAppName = QDir(stWorkPath).filePath(stBookName);
    stamp(QStringLiteral("Excel起動 Start"));
    xlBook = &app.workbooks().open(stAppName);
    workbook::attach(*xlBook);
    BootLog(QStringLiteral("Set xlBook = xlApp.Workbooks.Open(stAppName)"));
    stamp(QStringLiteral("Excel起動 End"));
}

void frm勤務管理::windowSetUp()
{
    stamp(QStringLiteral("フォーム設定 Start"));
    // The menu bar stays when the debug menu comes or goes, so the inner height does not change.
    mnuDebug->menuAction()->setVisible(DebugMode);
    BootLog(QStringLiteral("mnuDebug.Visible = DebugMode"));
    fitSize();
    placeWindow();
    setEnabled(false);
    stamp(QStringLiteral("フォーム設定 End"));
    xlApp->setDisplayWorkbookTabs(DebugMode);
    xlApp->setDisplayFormulaBar(DebugMode);
    // The working cells and the debug sheet are hidden from the user; debugging needs them.
    if (DebugMode)
        workbook::showWorkingCells(*xlBook, true);
}

void frm勤務管理::readShiftTypeInput()
{
    xlSheet = &xlBook->worksheets(QStringLiteral("Main"));
    BootLog(QStringLiteral("Set xlSheet = xlBook.Worksheets('Main')"));
    xlSheet = &xlBook->sheets(QStringLiteral("基本設定"));
    BootLog(QStringLiteral("Set xlSheet = xlBook.Sheets('基本設定')"));
    const double types = Val(xlSheet->range(QStringLiteral("Type_Cnt")).text());
    BootLog(QStringLiteral("Type_Cnt = Val(.Range('Type_Cnt').Text)"));
    // A count beyond the model's limits is reported by the base information reading next.
    if (!fitsIn(NumberType::Integer, types))
        return;
    Type_Cnt = toInteger(types);
    if (Type_Cnt < 0 || Type_Cnt > TYPE_MAX)
        return;
    Type_Table.ReDim(Type_Cnt + 1, 20);
    const xl::Range input = xlSheet->range(QStringLiteral("Type_Table_Input"));
    for (int i = 1; i <= Type_Cnt; ++i) {
        Type_Table(i, 1) = XlText(input.cells(i, 1).value());
        Type_Table(i, 2) = XlText(input.cells(i, 2).value());
    }
}

void frm勤務管理::showRosterSheet()
{
    xlSheet = &xlBook->worksheets(kRosterSheet);
    BootLog(QStringLiteral("Set xlSheet = xlBook.Worksheets('人員配置表')"));
    xlSheet->activate();
    BootLog(QStringLiteral("xlSheet.Activate"));
    xlAppSetting(true, true, true);
    xlApp->setVisible(true);
    BootLog(QStringLiteral("xlApp.Visible = True"));
}

void frm勤務管理::readBaseSettings()
{
    stamp(QStringLiteral("基本設定 Start"));
    BootLog(QStringLiteral("Call 基本情報読込"));
    基本情報読込();
    xlSheet = &xlBook->worksheets(QStringLiteral("Main"));
    const QString faults = readPeriodSettings();
    BootLog(QStringLiteral("LimitTime = .Range('制限時間')"));
    BootLog(QStringLiteral("作成開始日 = .Range('日')"));
    BootLog(QStringLiteral("基準開始日 = .Range('基準開始日')"));
    BootLog(QStringLiteral("作成年 = .Range('年')"));
    BootLog(QStringLiteral("作成月 = .Range('月')"));
    // The program opens all the same: the values can be set again or a condition file loaded.
    if (!faults.isEmpty())
        MsgBox(QStringLiteral("開始条件に読めない値があります。") + kCrLf + kCrLf + faults + kCrLf + kCrLf
                   + QStringLiteral("【開始条件設定】で設定し直すか、条件データを読み込み直してください。"),
               ui::vbOKOnly | ui::vbExclamation | ui::vbSystemModal, QStringLiteral("開始条件"));
    xlBook->setSaved(true);
    BootLog(QStringLiteral("xlBook.Saved = True"));
    自動画面最大化設定();
    stamp(QStringLiteral("基本設定 End"));
}

void frm勤務管理::lastMonthMacro()
{
    stamp(QStringLiteral("先月データ読込 Start"));
    if (runLastMonthMacro(*xlApp, [] { DspSplash(QStringLiteral("先月データ読込み")); }))
        DspSplash(QString());
    stamp(QStringLiteral("先月データ読込 End"));
}
