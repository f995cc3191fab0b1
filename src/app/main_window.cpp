#include "app/main_window.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "optimise/forms/assignability_form.h"
#include "optimise/forms/exchange_list_form.h"
#include "optimise/forms/readjust_form.h"
#include "optimise/window_steps.h"
#include "platform/ui/widgets/screen.h"
#include "platform/ui/widgets/window_work.h"
#include "shell/forms/form_helpers.h"
#include "shell/globals.h"
#include "shell/lifecycle.h"
#include "shell/excel_layer.h"
#include "shell/desktop.h"
#include "storage/condition_exchange.h"
#include "storage/forms/html_export_form.h"
#include "storage/forms/save_load_form.h"
#include "storage/forms/saved_shifts_form.h"
#include "storage/month_save.h"
#include "storage/saved_shifts.h"

#include <QActionGroup>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QWindow>
#include <utility>

namespace {

QPushButton* textButton(const QString& caption, const QString& tip = {})
{
    auto* b = new QPushButton(caption);
    b->setToolTip(tip);
    b->setMinimumHeight(28);
    return b;
}

QPushButton* pictureButton(const QIcon& icon, const QString& tip)
{
    auto* b = new QPushButton;
    b->setIcon(icon);
    b->setToolTip(tip);
    b->setFixedSize(28, 28);
    return b;
}

}  // namespace

frm勤務管理::frm勤務管理(QWidget* parent) : QMainWindow(parent)
{
    buildButtons();
    buildMenus();
    disableUnavailable();
    fitSize();
    Timer_Caption.setInterval(1000);
    OnTimeout(&Timer_Caption, this, [this] { Timer_Caption_Timer(); });
    afterBasicInfoRead = [this] { showSwitchMenus(); };
    installWindowSteps();
    // A close that came during a run or another command happens once that has ended.
    const auto closeWhenFree = [this] {
        if (pendingClose_ != Close::None)
            QTimer::singleShot(0, this, [this] {
                const Close close = std::exchange(pendingClose_, Close::None);
                if (close != Close::None)
                    RunHandler([this, close] { close == Close::Full ? cmd閉じる_Click() : Form_QueryUnload(); }, this);
            });
    };
    setRunEndedHook(closeWhenFree);
    ui::setHandlersEndedHook(closeWhenFree);
}

frm勤務管理::~frm勤務管理()
{
    afterBasicInfoRead = nullptr;
    setRunEndedHook(nullptr);
    ui::setHandlersEndedHook(nullptr);
    optimiserWindowSteps.enableRestoreMenu = nullptr;
    optimiserWindowSteps.afterResultLog = nullptr;
    optimiserWindowSteps.mnuAdjDayOffCnt_Click = nullptr;
    optimiserWindowSteps.raiseMainWindow = nullptr;
    optimiserWindowSteps.giveMainWindowFocus = nullptr;
}

QAction* frm勤務管理::item(QMenu* menu, const QString& caption, std::function<void()> handler)
{
    QAction* a = menu->addAction(caption);
    if (handler)
        connect(a, &QAction::triggered, this, [this, handler] { RunHandler(handler, this); });
    return a;
}

void frm勤務管理::buildButtons()
{
    const QIcon help = style()->standardIcon(QStyle::SP_MessageBoxQuestion);
    cmd勤務表作成 = textButton(QStringLiteral("シフト表作成"), QStringLiteral("シフト表を作成します"));
    cmd勤務表作成->setMinimumHeight(44);
    QFont bold = cmd勤務表作成->font();
    bold.setBold(true);
    cmd勤務表作成->setFont(bold);
    cmd中止 = textButton(QStringLiteral("中止"), QStringLiteral("中止します"));
    cmd中止->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
    cmd中止->setMinimumHeight(44);
    cmd中止->hide();
    cmd開始条件設定 = textButton(QStringLiteral("開始条件設定"));
    cmd基本設定 = textButton(QStringLiteral("基本設定"));
    cmd要員設定 = textButton(QStringLiteral("要員数設定"));
    cmd個人別設定 = textButton(QStringLiteral("個人条件設定"));
    cmd勤務表 = textButton(QStringLiteral("シフト表示"), QStringLiteral("シフト表への切り替え"));
    cmd勤務表クリア = textButton(QStringLiteral("クリア"), QStringLiteral("シフト表をクリア"));
    cmd再調整 = textButton(QStringLiteral("再調整"));
    cmd保存読込 = textButton(QStringLiteral("保存/読込"), QStringLiteral("設定条件・作成した勤務データの保存/読み込み"));
    cmdLog = textButton(QStringLiteral("ログファイル"), QStringLiteral("エラーのログを表示"));
    cmd閉じる = textButton(QStringLiteral("閉じる"), QStringLiteral("プログラムを終了します"));
    cmdHelp = pictureButton(help, QStringLiteral("インターネットに接続してオンラインヘルプを表示します。"));
    cmdH開始条件 = pictureButton(help, QStringLiteral("開始条件設定のヘルプ"));
    cmdH基本 = pictureButton(help, QStringLiteral("基本設定のヘルプ"));
    cmdH要員 = pictureButton(help, QStringLiteral("要員数設定のヘルプ"));
    cmdH個人別 = pictureButton(help, QStringLiteral("個人条件設定のヘルプ"));
    cmdH保存 = pictureButton(help, QStringLiteral("保存/読込のヘルプ"));

    Fr = new QFrame;
    Fr->setFrameShape(QFrame::StyledPanel);
    auto* inner = new QGridLayout(Fr);
    const std::pair<QPushButton*, QPushButton*> rows[] = {
        {cmd開始条件設定, cmdH開始条件}, {cmd基本設定, cmdH基本}, {cmd要員設定, cmdH要員}, {cmd個人別設定, cmdH個人別},
        {cmd勤務表, nullptr}, {cmd勤務表クリア, nullptr}, {cmd再調整, nullptr}, {cmd保存読込, cmdH保存}};
    int r = 0;
    for (const auto& [button, helpButton] : rows) {
        inner->addWidget(button, r, 0, 1, helpButton ? 1 : 2);
        if (helpButton)
            inner->addWidget(helpButton, r, 1);
        ++r;
    }

    auto* body = new QWidget;
    auto* grid = new QGridLayout(body);
    // The stop button shares the run button's place: one shows while the other hides.
    grid->addWidget(cmd勤務表作成, 0, 0, 1, 2);
    grid->addWidget(cmd中止, 0, 0, 1, 2);
    grid->addWidget(Fr, 1, 0, 1, 2);
    grid->addWidget(cmdLog, 2, 0);
    grid->addWidget(cmdHelp, 2, 1);
    grid->addWidget(cmd閉じる, 3, 0, 1, 2);
    setCentralWidget(body);

    OnClick(cmd勤務表作成, this, [this] { cmd勤務表作成_Click(); });
    OnClick(cmd中止, this, [this] { onStopClicked(); });
    OnClick(cmd開始条件設定, this, [this] { onStartConditionsClicked(); });
    OnClick(cmd個人別設定, this, [this] { cmd個人別設定_Click(); });
    OnClick(cmd勤務表, this, [this] { cmd勤務表_Click(); });
    OnClick(cmd勤務表クリア, this, [this] { onClearRosterClicked(); });
    OnClick(cmd要員設定, this, [this] { onStaffSettingsClicked(); });
    OnClick(cmd基本設定, this, [this] { onBasicSettingsClicked(); });
    OnClick(cmdLog, this, [this] { cmdLog_Click(); });
    OnClick(cmd保存読込, this, [this] { onSaveLoadClicked(); });
    OnClick(cmd再調整, this, [this] {
        if (RefuseDuringRun())
            return;
        // The window follows the selected cell of the roster sheet.
        cmd勤務表_Click();
        showReadjust();
    });
    OnClick(cmd閉じる, this, [this] { cmd閉じる_Click(); });
    OnClick(cmdHelp, this, [] { WebHelp(QStringLiteral("index.html")); });
    OnClick(cmdH開始条件, this, [] { WebHelp(QStringLiteral("kaisi-joken/index.htm")); });
    OnClick(cmdH基本, this, [] { WebHelp(QStringLiteral("kihon-settei/index.htm")); });
    OnClick(cmdH要員, this, [] { WebHelp(QStringLiteral("youin-settei/index.htm")); });
    OnClick(cmdH個人別, this, [] { WebHelp(QStringLiteral("kojin-joken/index.htm")); });
    OnClick(cmdH保存, this, [] { WebHelp(QStringLiteral("hozon-yomikomi/index.htm")); });
}

void frm勤務管理::buildMenus()
{
    buildFileMenu();
    buildSettingsMenu();
    buildOptionMenu();
    buildDebugMenu();
}

void frm勤務管理::buildFileMenu()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("ファイル"));
    mnuNewFile = item(mnuFile, QStringLiteral("新規作成(初期化)"), [] { mnuNewFile_Click(); });
    mnuFile->addSeparator();
    mnuFileConditionRead = item(mnuFile, QStringLiteral("条件データ 読込"), [this] { cmd復元_Click(this); });
    mnuFileConditionSave = item(mnuFile, QStringLiteral("条件データ 保存"), [this] { cmd保存_Click(this); });
    mnuFile->addSeparator();
    mdFileKinmuRead = item(mnuFile, QStringLiteral("勤務データ 読込"), [] {
        // Reading a month back writes the roster sheet.
        if (RefuseDuringRun())
            return;
        SndESC();
        showSavedShifts();
    });
    mdFileKinmuSave = item(mnuFile, QStringLiteral("勤務データ 保存"), [] {
        // The save reads every condition and the whole month.
        if (!RefuseDuringRun())
            cmd出力_Click();
    });
    mnuFile->addSeparator();
    mnu実行結果ログ表示 = item(mnuFile, QStringLiteral("実行結果ログ表示"), [this] { onResultLogChosen(); });
    mnu実行結果注意ログ表示 = item(mnuFile, QStringLiteral("実行結果注意ログ表示"));
    mnu設定条件値ログ表示 = item(mnuFile, QStringLiteral("設定条件値概要表示"));
    // These two have nothing to show: say so rather than leave a grey entry unexplained.
    for (QAction* a : {mnu実行結果注意ログ表示, mnu設定条件値ログ表示})
        a->setToolTip(QStringLiteral("このプログラムでは使用できません"));
    mnuFile->setToolTipsVisible(true);
    mnuFile->addSeparator();
    mnuCeateHtml = item(mnuFile, QStringLiteral("公開用HTML生成"), [this] {
        // The site is cut from the sheets a run is still writing.
        if (!RefuseDuringRun())
            公開用HTML作成(this);
    });
    mnuFileDatabase = item(mnuFile, QStringLiteral("データベース操作"), [] { cmdデーベース操作_Click(); });
    mnuFile->addSeparator();
    mnuClose = item(mnuFile, QStringLiteral("閉じる"), [this] { cmd閉じる_Click(); });
}

void frm勤務管理::buildSettingsMenu()
{
    mnu設定 = menuBar()->addMenu(QStringLiteral("確保方法"));
    mnuBestShiftMake = item(mnu設定, QStringLiteral("ベストシフト作成"), [this] { mnuBestShiftMake_Click(); });
    mnuBestShiftMake->setCheckable(true);
    mnuRestoreBestTimeTable = item(mnu設定, QStringLiteral("　復元"), [this] { mnuRestoreBestTimeTable_Click(); });
    mnuBackground = item(mnu設定, QStringLiteral("バックグラウンド動作"), [this] { mnuBackground_Click(); });
    mnuBackground->setCheckable(true);
    mnu設定->addSeparator();
    mnuOptimizeParam = item(mnu設定, QStringLiteral("最適化パラメータ"), [this] { mnuOptimizeParam_Click(); });
    mnu設定->addSeparator();
    mnuSingleDays = mnu設定->addMenu(QStringLiteral("単勤・単休"));
    staffingMethods_ = new QActionGroup(this);
    const QString goals[] = {QStringLiteral("単勤・単休 最少化（高）"), QStringLiteral("単勤・単休 最少化（低）"),
                             QStringLiteral("確保優先")};
    for (int i = 0; i < 3; ++i) {
        mnu単勤単休最少化[size_t(i)] = item(mnuSingleDays, goals[i], [this, i] { onSingleDayGoalChosen(i); });
        mnu単勤単休最少化[size_t(i)]->setCheckable(true);
        staffingMethods_->addAction(mnu単勤単休最少化[size_t(i)]);
    }
    mnu設定->addSeparator();
    mnu単勤単休総数 = item(mnu設定, QStringLiteral("単勤/単休総数"), [this] { onSingleDayTotalsChosen(); });
}

void frm勤務管理::buildOptionMenu()
{
    mnuOption = menuBar()->addMenu(QStringLiteral("オプション"));
    mnuChk = mnuOption->addMenu(QStringLiteral("シフト表解析"));
    mnu勤務分散解析 = item(mnuChk, QStringLiteral("勤務分散解析"), [this] { onDispersionAnalysisChosen(); });
    mnuChk->addSeparator();
    // Both read the whole month again, which a run is still changing.
    mnu交換可能勤務一覧 = item(mnuChk, QStringLiteral("交換可能勤務一覧"), [] {
        if (!RefuseDuringRun())
            交換可能勤務一覧表示();
    });
    mnu勤務可能判定 = item(mnuChk, QStringLiteral("勤務可能判定"), [] {
        if (!RefuseDuringRun())
            showAssignability();
    });
    mnuChkDayOffCnt = item(mnuChk, QStringLiteral("連続休み数超過"), [this] { mnuChkDayOffCnt_Click(); });
    mnuSeparatelyAdjust = mnuOption->addMenu(QStringLiteral("作成後の個別調整"));
    const QString optimise[] = {QStringLiteral("最適化(勤務交換)"), QStringLiteral("　　　(休み交換)"),
                                QStringLiteral("ランダム交換")};
    for (int i = 0; i < 3; ++i)
        mnuOptimize[size_t(i)] = item(mnuSeparatelyAdjust, optimise[i], [this, i] { mnuOptimize_Click(i); });
    mnuSeparatelyAdjust->addSeparator();
    mnuAdjDayOffCnt =
        item(mnuSeparatelyAdjust, QStringLiteral("連続休み日数調整"), [this] { mnuAdjDayOffCnt_Click(); });
    mnuAdjOffOver = item(mnuSeparatelyAdjust, QStringLiteral("休み±均等化"), [this] { mnuAdjOffOver_Click(); });
    // Shown once start-up has read the workbook.
    mnuChk->menuAction()->setVisible(false);
    mnuSeparatelyAdjust->menuAction()->setVisible(false);
    mnuOption->addSeparator();
    mnuBackground2 = item(mnuOption, QStringLiteral("バックグラウンド動作"), [this] { mnuBackground2_Click(); });
    mnuBackground2->setCheckable(true);
    mnuOption->addSeparator();
    RefleshForce = item(mnuOption, QStringLiteral("強制更新"), [this] { RefleshForce_Click(); });
    mnuOption->addSeparator();
    mnuHelpInf = item(mnuOption, QStringLiteral("ヘルプ（トップ）"), [] { WebHelp(QStringLiteral("index.html")); });
    mnuHlpFaq = item(mnuOption, QStringLiteral("ヘルプ（FAQ）"), [] { WebHelp(QStringLiteral("../Faq/index.html")); });
    mnuVersion = item(mnuOption, QStringLiteral("バージョン情報"), [this] { mnuVersion_Click(); });
}

void frm勤務管理::buildDebugMenu()
{
    mnuDebug = menuBar()->addMenu(QStringLiteral("デバッグ"));
    mnuCommand = item(mnuDebug, QStringLiteral("コマンド"), [] { 削除_勤務記録(); });
    mnuDebugMemoryDump = item(mnuDebug, QStringLiteral("メモリダンプ"), [this] { mnuDebugMemoryDump_Click(); });
    mnuCommand1 = item(mnuDebug, QStringLiteral("Cal True,True,True"), [this] { mnuCommand1_Click(); });
    EnableEventsOn = item(mnuDebug, QStringLiteral("EnableEvents On/Off"), [this] { EnableEventsOn_Click(); });
    mnuDebug->menuAction()->setVisible(false);
}

void frm勤務管理::disableUnavailable()
{
    // Entries that have nothing to show in this program: shown, but not to be pressed.
    for (QAction* a : {mnu実行結果注意ログ表示, mnu設定条件値ログ表示})
        a->setEnabled(false);
    cmd勤務表作成->setEnabled(bool(startConditionsCheckLoad));
    // Enabled by the reports that write the result log.
    mnu実行結果ログ表示->setEnabled(false);
}

void frm勤務管理::placeWindow()
{
    const QRect s = screenOf(this);
    const QSize frame = frameGeometry().size();
    move(s.x() + s.width() - frame.width() - 20, s.y() + s.height() - frame.height() - 42);
}

void frm勤務管理::fitSize()
{
    // As wide as the menu bar needs, so that no menu hides behind its overflow button, and as the
    // caption needs beside the title bar's icon and buttons; resizing the window would change
    // nothing.
    constexpr int kTitleBarIconAndButtons = 120;
    QFont caption = font();
    caption.setBold(true);
    const int captionWidth = QFontMetrics(caption).horizontalAdvance(windowTitle()) + kTitleBarIconAndButtons;
    centralWidget()->setMinimumWidth(std::max(menuBar()->sizeHint().width(), captionWidth));
    setFixedSize(sizeHint());
}

void frm勤務管理::showSwitchMenus()
{
    mnuBackground->setChecked(Sw_バックグラウンド動作);
    mnuBackground2->setChecked(Sw_バックグラウンド動作);
    mnuBestShiftMake->setChecked(Sw_ベストシフト作成);
    for (int i = 0; i < 3; ++i)
        mnu単勤単休最少化[size_t(i)]->setChecked(i == Sw_確保優先);
}

QString frm勤務管理::BestShiftCaption(long kept, long ok, long doubtful, long remainingMinutes)
{
    QString caption = QStringLiteral("★ ベストシフト ") + QString::number(kept + 1) + QStringLiteral("th");
    if (ok > 0)
        caption += QStringLiteral(" ok=") + QString::number(ok);
    if (doubtful > 0)
        caption += QStringLiteral(" ?=") + QString::number(doubtful);
    return caption + QStringLiteral(" 残") + QString::number(remainingMinutes);
}

void frm勤務管理::mousePressEvent(QMouseEvent* event)
{
    // The free client area drags the window like its title bar.
    if (event->button() == Qt::LeftButton && windowHandle())
        windowHandle()->startSystemMove();
    QMainWindow::mousePressEvent(event);
}
