#include "storage/forms/save_load_form.h"

#include "platform/ui/widgets/message_box.h"
#include "platform/ui/widgets/screen.h"
#include "shell/forms/form_helpers.h"
#include "shell/lifecycle.h"
#include "shell/excel_layer.h"
#include "shell/desktop.h"
#include "storage/condition_exchange.h"
#include "storage/forms/html_export_form.h"
#include "storage/forms/query_form.h"
#include "storage/forms/saved_shifts_form.h"
#include "storage/month_save.h"

#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

const std::array<const char16_t*, 7> frm保存読込::helpPages = {
    u"/kinmu-hozon/index.htm#02", u"/kinmu-hozon/index.htm#03", u"/output/index.html#ex_6", u"/joken-hozon/index.htm#html",
    u"/joken-hozon/index.htm#load", u"/joken-hozon/index.htm#save", u"/joken-hozon/index.htm#new",
};

void cmdデーベース操作_Click()
{
    SndESC();
    showQuery();
}

void cmd勤務データ読込_Click()
{
    SndESC();
    showSavedShifts();
}

void cmdCreateHtml_Click()
{
    公開用HTML作成();
}

namespace {

QPushButton* hubButton(QWidget* parent, const QString& caption, const QString& tip)
{
    auto* b = new QPushButton(caption, parent);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

frm保存読込::frm保存読込(QWidget* parent) : QDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    ui::setDialogFrame(this);
    setWindowTitle(QStringLiteral("データの保存と読込"));
    // Shown without blocking its caller, yet no other window takes input while it is open.
    setWindowModality(Qt::ApplicationModal);
    cmd出力 = hubButton(this, QStringLiteral("勤務データ保存"), QStringLiteral("作成した勤務データをデータベースに保存します"));
    cmd勤務データ読込 = hubButton(this, QStringLiteral("勤務データ読込"), QStringLiteral("過去の勤務データをブックに出力します"));
    cmdデーベース操作 = hubButton(this, QStringLiteral("デーベース操作"), QStringLiteral("データベース操作および集計表を作成します。"));
    cmdCreateHtml = hubButton(this, QStringLiteral("公開用HTML生成"), QStringLiteral("メンバー閲覧用のHTMLを作成します。"));
    cmd復元 = hubButton(this, QStringLiteral("条件データの読込"),
                     QStringLiteral("条件データおよびシフト表をCSVから本シートに読み込みます"));
    cmd保存 = hubButton(this, QStringLiteral("条件データの保存"),
                     QStringLiteral("設定条件データおよびシフト表をCSVファイルに保存します"));
    cmdNew = hubButton(this, QStringLiteral("新規作成(初期化)"), QStringLiteral("現在の条件データを初期化します。"));
    cmdClose = hubButton(this, QStringLiteral("閉じる"), QStringLiteral("フォームを閉じる"));

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    const std::array<QPushButton*, 7> buttons{cmd出力, cmd勤務データ読込, cmdデーベース操作, cmdCreateHtml, cmd復元, cmd保存, cmdNew};
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->setMinimumWidth(180);
        auto* help = new QLabel(QStringLiteral("<a href=\"%1\">オンラインヘルプ</a>").arg(QString::fromUtf16(helpPages[i])), this);
        help->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        connect(help, &QLabel::linkActivated, help, [](const QString& page) { RunHandler([page] { WebHelp(HelpUrl(page)); }); });
        lblHelp[i] = help;
        // The database commands apart from the condition files.
        const int row = int(i) + (i >= 4 ? 1 : 0);
        grid->addWidget(buttons[i], row, 0);
        grid->addWidget(help, row, 1);
    }
    // Rich-text labels ask for less room than their text takes.
    grid->setColumnMinimumWidth(1, fontMetrics().horizontalAdvance(QStringLiteral("オンラインヘルプ")) + 12);
    grid->setRowMinimumHeight(4, 8);
    grid->setRowMinimumHeight(8, 8);
    grid->addWidget(cmdClose, 9, 0);

    OnClick(cmd出力, this, [this] { cmd出力_Click(); });
    OnClick(cmd勤務データ読込, this, [this] { cmd勤務データ読込_Click(); });
    OnClick(cmdデーベース操作, this, [this] { cmdデーベース操作_Click(); });
    OnClick(cmdCreateHtml, this, [this] { cmdCreateHtml_Click(); });
    OnClick(cmd復元, this, [this] { cmd復元_Click(); });
    OnClick(cmd保存, this, [this] { cmd保存_Click(); });
    OnClick(cmdNew, this, [this] { cmdNew_Click(); });
    OnClick(cmdClose, this, [this] { 閉じる(); });
    Form_Load();
}

void frm保存読込::Form_Load()
{
    FormTopMost(this);
    adjustSize();
    const QRect area = screenOf(this);
    // Low on the screen, yet wholly on it on a short screen.
    const int top = std::min(area.top() + area.height() * 13 / 20, area.bottom() - frameGeometry().height());
    move(area.left() + (area.width() - frameGeometry().width()) / 2, std::max(area.top(), top));
}

void frm保存読込::閉じる()
{
    close();
}

// The save, the browser and publishing read or write the roster sheet that a run is writing.
void frm保存読込::cmd出力_Click()
{
    if (!RefuseDuringRun())
        ::cmd出力_Click();
}

void frm保存読込::cmd勤務データ読込_Click()
{
    if (RefuseDuringRun())
        return;
    ::cmd勤務データ読込_Click();
    閉じる();
}

void frm保存読込::cmdデーベース操作_Click()
{
    ::cmdデーベース操作_Click();
    閉じる();
}

void frm保存読込::cmdCreateHtml_Click()
{
    if (RefuseDuringRun())
        return;
    const QPointer<frm保存読込> self(this);
    hide();
    ::cmdCreateHtml_Click();
    if (self)
        閉じる();
}

void frm保存読込::cmd復元_Click()
{
    if (::cmd復元_Click(this))
        閉じる();
}

void frm保存読込::cmd保存_Click()
{
    ::cmd保存_Click(this);
}

void frm保存読込::cmdNew_Click()
{
    mnuNewFile_Click();
    閉じる();
}

void showSaveLoad(QWidget* owner)
{
    static QPointer<frm保存読込> shown;
    if (!shown)
        shown = new frm保存読込(owner);
    shown->show();
    shown->raise();
    shown->activateWindow();
}
