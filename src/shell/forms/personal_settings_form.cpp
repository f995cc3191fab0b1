#include "shell/forms/personal_settings_form.h"

#include "platform/text/text_constants.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompt.h"
#include "platform/ui/widgets/message_box.h"
#include "platform/ui/widgets/screen.h"
#include "platform/xl/xl.h"
#include "shell/forms/form_helpers.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/startup.h"
#include "shell/status.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kBook = QStringLiteral("in.xls");

QString workFolder()
{
    return stWorkPath.isEmpty() ? QDir::currentPath() : stWorkPath;
}

// "" once the macro has run; otherwise what stopped it. A book opened here for a run that failed
// is closed again, so that no second workbook is left open.
QString runPersonalMacro()
{
    xl::Application& app = XlApp();
    bool openedHere = false;
    if (!app.workbooks().find(kBook)) {
        const QString path = FindFileNoCase(workFolder(), kBook);
        if (path.isEmpty())
            return QStringLiteral("個人別設定のブック in.xls が見つかりません。") + QStringLiteral("\r\n\r\n")
                   + QDir::toNativeSeparators(workFolder()) + QStringLiteral(" に置いてから、もう一度実行して下さい。");
        try {
            app.workbooks().open(path);
        } catch (...) {
            return QStringLiteral("in.xls を開けませんでした。") + QStringLiteral("\r\n\r\n")
                   + ui::errorText(std::current_exception());
        }
        openedHere = true;
    }
    try {
        app.run(kBook + QStringLiteral("!個人別設定反映"));
        return {};
    } catch (...) {
        const QString error = ui::errorText(std::current_exception());
        if (xl::Workbook* book = openedHere ? app.workbooks().find(kBook) : nullptr)
            book->close(false);
        return QStringLiteral("in.xls のマクロ「個人別設定反映」を実行できませんでした。設定は反映されていません。")
               + QStringLiteral("\r\n\r\n") + error;
    }
}

}  // namespace

frm個人別::frm個人別(QWidget* parent) : QDialog(parent)
{
    ui::setDialogFrame(this);
    setWindowTitle(QStringLiteral("個人別設定"));
    auto* note = new QLabel(QStringLiteral("ブック in.xls の個人別設定を反映します。"), this);
    cmd設定保存 = new QPushButton(QStringLiteral("設定反映"), this);
    cmd設定保存->setDefault(true);
    cmdClose = new QPushButton(QStringLiteral("閉じる"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmd設定保存);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(buttons);
    OnClick(cmd設定保存, this, [this] { onSaveSettingsClicked(); });
    OnClick(cmdClose, this, [this] { cmdClose_Click(); });

    setMinimumWidth(320);
    FormTopMost(this);
    adjustSize();
    centreOnScreen(this);
}

void frm個人別::onSaveSettingsClicked()
{
    if (MsgBox(QStringLiteral("設定を反映します。") + kCrLf + QStringLiteral("よろしいですね！"),
               ui::vbOKCancel | ui::vbSystemModal)
        != ui::vbOK)
        return;
    DspSplash(QStringLiteral("設定を保存中！"));
    const QString problem = runPersonalMacro();
    DspSplash(QString());
    if (!problem.isEmpty())
        MsgBox(problem, ui::vbOKOnly | ui::vbExclamation | ui::vbSystemModal, QStringLiteral("個人別設定"));
}

void frm個人別::cmdClose_Click()
{
    if (xlApp)
        if (xl::Workbook* book = xlApp->workbooks().find(kBook))
            book->close(false);
    close();
}

void showPersonalSettings(QWidget* owner)
{
    frm個人別 dialog(owner);
    ui::ask(ui::MessageRequest{{}, ui::vbOKOnly, QStringLiteral("frm個人別"), ui::Kind::Dialog},
            [&] { return ui::Answer{dialog.exec(), {}}; });
}
