#include "storage/forms/html_export_form.h"

#include "optimise/best_shift.h"
#include "platform/os/vb_error.h"
#include "platform/text/vb.h"
#include "platform/ui/widgets/message_box.h"
#include "shell/forms/form_helpers.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/process_list.h"
#include "shell/excel_layer.h"
#include "shell/myfile.h"
#include "shell/desktop.h"
#include "shell/status.h"
#include "storage/website.h"
#include "workbook/sheet_names.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString kMain = u"Main"_s;

// The caption of the check box for flag position i + 1.
QString kindCaption(int i)
{
    for (const HtmlKind& k : HtmlKinds())
        if (k.flag == i + 1)
            return k.caption;
    return {};
}

// A setting of sheet Main; a missing name reads as empty.
QString stored(const QString& name)
{
    try {
        return xlDtGet(kMain, name);
    } catch (const VbError&) {
        return {};
    }
}

QString specialName(QString path)
{
    return SpecialFolderName(path);
}

}  // namespace

frm公開用HTML作成::frm公開用HTML作成(QWidget* parent) : QDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    ui::setDialogFrame(this);
    setWindowTitle(u"公開用HTML作成"_s);
    FrShift = new QGroupBox(u"作成する一覧表"_s, this);
    for (int i = 0; i < 10; ++i)
        ChkShift[size_t(i)] = new QCheckBox(kindCaption(i), FrShift);
    frAllCheck = new QGroupBox(this);
    frAllCheck->setFlat(true);
    cmdAllCheck = {new QPushButton(u"全てOn"_s, frAllCheck), new QPushButton(u"全てOff"_s, frAllCheck)};
    lblPath = new QLabel(this);
    txtPath = new QLineEdit(this);
    txtPath->setReadOnly(true);
    lblPathName = new QLabel(this);
    cmd変更 = new QPushButton(u"変更"_s, this);
    cmdOpenFOlder = new QPushButton(u"フォルダを開く"_s, this);
    cmdOpenFOlder->setToolTip(u"HTMLを作成するフォルダを開きます"_s);
    cmd開始 = new QPushButton(u"作成開始"_s, this);
    cmd開始->setDefault(true);
    cmd閉じる = new QPushButton(u"閉じる"_s, this);
    buildLayout();

    for (int i = 0; i < 2; ++i)
        OnClick(cmdAllCheck[size_t(i)], this, [this, i] { cmdAllCheck_Click(i); });
    OnClick(cmd変更, this, [this] { cmd変更_Click(); });
    OnClick(cmdOpenFOlder, this, [this] { cmdOpenFOlder_Click(); });
    OnClick(cmd開始, this, [this] { cmd開始_Click(); });
    connect(cmd閉じる, &QPushButton::clicked, this, &QWidget::close);
    Form_Load();
}

void frm公開用HTML作成::buildLayout()
{
    auto* boxes = new QGridLayout(FrShift);
    for (int i = 0; i < 10; ++i)
        boxes->addWidget(ChkShift[size_t(i)], i % 5, i / 5);
    auto* all = new QVBoxLayout(frAllCheck);
    for (QPushButton* b : cmdAllCheck)
        all->addWidget(b);
    all->addStretch();
    auto* kinds = new QHBoxLayout;
    kinds->addWidget(FrShift, 1);
    kinds->addWidget(frAllCheck);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(txtPath, 1);
    pathRow->addWidget(cmd変更);
    pathRow->addWidget(cmdOpenFOlder);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmd開始);
    buttons->addWidget(cmd閉じる);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kinds);
    layout->addSpacing(6);
    layout->addWidget(lblPath);
    layout->addLayout(pathRow);
    layout->addWidget(lblPathName);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    txtPath->setMinimumWidth(360);
}

void frm公開用HTML作成::Form_Load()
{
    QString item = stored(u"HTML_ITEM"_s);
    if (item.isEmpty())
        item = u"11100000"_s;
    for (int i = 0; i < 10; ++i)
        ChkShift[size_t(i)]->setChecked(Val(item.mid(i, 1)) == 1);

    QString path = stored(u"HTML_PATH"_s);
    if (path.isEmpty() || !QFileInfo(path).isDir())
        path = GetFolderPath(46);
    txtPath->setText(path);
    lblPath->setText(u"HTMLの保存先は下記のパスになっています。"_s);
    lblPathName->setText(specialName(path));

    QString count;
    try {
        count = xlDtGet(kRosterSheet, u"shift_データ数"_s);
    } catch (const VbError&) {
    }
    if (Val(count) == 0) {
        MsgBox(u"シフトデータが表示されていません！"_s, 0, u"データ無し"_s);
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    updateStartButton();
}

void frm公開用HTML作成::updateStartButton()
{
    const QString path = txtPath->text();
    const bool exists = !path.isEmpty() && QFileInfo(GetAbsPath(DelQuote(path), AppPath)).isDir();
    cmd開始->setEnabled(exists);
    // A grey button alone does not say what is missing.
    const QString why = exists ? QString() : u"このフォルダはありません。「変更」で作成先のフォルダを選ぶと、作成開始できます。"_s;
    cmd開始->setToolTip(why);
    const QString name = specialName(path);
    lblPathName->setText(why.isEmpty() || name.isEmpty() ? name + why : name + u"\n"_s + why);
}

void frm公開用HTML作成::cmdAllCheck_Click(int index)
{
    for (QCheckBox* box : ChkShift)
        box->setChecked(index == 0);
}

void frm公開用HTML作成::cmd変更_Click()
{
    const QString picked = BrowseForFolder(parentWidget(), u"HTML作成先"_s, txtPath->text());
    if (!picked.isEmpty())
        txtPath->setText(picked);
    // A folder chosen here makes a build possible without reopening the dialog.
    updateStartButton();
}

void frm公開用HTML作成::cmdOpenFOlder_Click()
{
    ShellOpen(txtPath->text(), u"HTMLの作成先フォルダ"_s);
}

void frm公開用HTML作成::cmd開始_Click()
{
    setEnabled(false);
    xlDtSet(kMain, u"HTML_ITEM"_s, HTML_ITEM_作成());
    xlDtSet(kMain, u"HTML_PATH"_s, txtPath->text());
    // The site shows the month as the sheet holds it now; when that cannot be read (the reason
    // has been shown) nothing is published from what was read before.
    const bool collected = 現状収集(0);
    DspSplash(QString());
    if (collected)
        CreateWebsite();
    close();
}

QString frm公開用HTML作成::HTML_ITEM_作成() const
{
    QString flags;
    for (const QCheckBox* box : ChkShift)
        flags += box->isChecked() ? u'1' : u'0';
    return flags;
}

void frm公開用HTML作成::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void frm公開用HTML作成::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    const QString flags = HTML_ITEM_作成();
    if (flags != stored(u"HTML_ITEM"_s))
        xlDtSet(kMain, u"HTML_ITEM"_s, flags);
    const QString path = stored(u"HTML_PATH"_s);
    if (txtPath->text() != path && !path.isEmpty())
        xlDtSet(kMain, u"HTML_PATH"_s, txtPath->text());
}

void 公開用HTML作成(QWidget* owner)
{
    SetProcessPriority(IDLE_PRIORITY_CLASS);
    // However the dialog ends, an error included.
    const auto raise = qScopeGuard([] { SetProcessPriority(HIGH_PRIORITY_CLASS); });
    ShowWaitVisible(new frm公開用HTML作成(owner));
}
