#include "optimise/forms/readjust_form.h"

#include "optimise/forms/manual_forms.h"
#include "platform/text/text_constants.h"
#include "platform/ui/prompt.h"
#include "platform/ui/widgets/form_instance.h"
#include "platform/ui/widgets/message_box.h"
#include "shell/forms/form_helpers.h"
#include "shell/lifecycle.h"
#include "shell/msg_box.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

DefaultInstance<frm再調整> g_window;

QLineEdit* displayField(QWidget* parent, int characters)
{
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('0')) * characters + 12);
    return box;
}

}  // namespace

frm再調整::frm再調整(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("スケジュール再調整"));
    ui::setDialogFrame(this);
    txtTargetDay = displayField(this, 16);
    txtTarget = displayField(this, 4);
    txtTarget->setAlignment(Qt::AlignCenter);
    txtTarget->setFixedWidth(txtTarget->minimumWidth());
    txtID = displayField(this, 8);
    txt氏名 = displayField(this, 16);
    txt勤務名 = displayField(this, 16);
    cmd再調整 = new QPushButton(QStringLiteral("休みに変更"), this);
    cmd戻す = new QPushButton(QStringLiteral("戻す"), this);
    cmd戻す->setEnabled(false);
    cmd閉じる = new QPushButton(QStringLiteral("閉じる"), this);

    auto* grid = new QGridLayout;
    grid->addWidget(txtTargetDay, 0, 1);
    grid->addWidget(txtTarget, 0, 2);
    const std::pair<const char16_t*, QLineEdit*> rows[] = {{u"ID", txtID}, {u"氏名", txt氏名}, {u"勤務名", txt勤務名}};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(QString::fromUtf16(rows[i].first), this), i + 1, 0);
        grid->addWidget(rows[i].second, i + 1, 1);
    }
    grid->setColumnStretch(3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmd再調整);
    buttons->addWidget(cmd戻す);
    buttons->addStretch();
    buttons->addWidget(cmd閉じる);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("休みに設定するセルを選択して"), this));
    layout->addWidget(new QLabel(QStringLiteral("[ 休みに変更 ] ボタンをクリックしてください。"), this));
    layout->addLayout(grid);
    layout->addLayout(buttons);

    OnClick(cmd再調整, this, [this] { onReadjustClicked(); });
    OnClick(cmd戻す, this, [this] { onUndoClicked(); });
    OnClick(cmd閉じる, this, [this] { cmd閉じる_Click(); });
    follow_ = std::make_unique<SheetSelectionFollower>([this](const SelectedCell& cell) { RunHandler([&] { selectCell(cell); }, this); });
}

frm再調整::~frm再調整() = default;

void frm再調整::Form_Load()
{
    FormTopMost(this);
    refreshDisplay();
}

void frm再調整::refreshDisplay()
{
    const std::optional<SelectedCell> cell = currentSelection();
    selectCell(cell.value_or(SelectedCell{}));
}

void frm再調整::selectCell(const SelectedCell& cell)
{
    cell_ = cell;
    target_ = readjustTarget(cell);
    const ReadjustTarget shown = target_.value_or(ReadjustTarget{});
    txtTarget->setText(shown.abbreviation);
    txtID->setText(shown.memberNo);
    txt氏名->setText(shown.memberName);
    txt勤務名->setText(shown.shiftName);
    txtTargetDay->setText(shown.dateText);
}

void frm再調整::onReadjustClicked()
{
    // The month is read again and changed, while a run may still be changing it.
    if (RefuseDuringRun())
        return;
    if (!target_) {
        MsgBox(QStringLiteral("選択セルは空白(休み)です！"), ui::vbOKOnly | ui::vbSystemModal, QStringLiteral("無効"));
        return;
    }
    const QString question = target_->dateText + QStringLiteral(" の < ") + target_->memberName + QStringLiteral(" >さんの< ")
        + target_->shiftName + QStringLiteral(" >を休みにしてスケジュールを再調整します！") + kCrLf
        + QStringLiteral("よろしいですか？");
    if (MsgBox(question, ui::vbOKCancel | ui::vbSystemModal, QStringLiteral("再調整")) != ui::vbOK)
        return;
    cmd戻す->setEnabled(false);
    runReadjust(cell_.member, cell_.day, state_);
    cmd戻す->setEnabled(state_.applied);
    refreshDisplay();
}

void frm再調整::onUndoClicked()
{
    if (RefuseDuringRun())
        return;
    undoReadjust(state_);
    cmd戻す->setEnabled(state_.applied);
    refreshDisplay();
}

void frm再調整::cmd閉じる_Click()
{
    g_window.unload();
}

void showReadjust()
{
    frm再調整& w = openToolWindow(g_window);
    w.raise();
    w.activateWindow();
}

frm再調整* loadedReadjust()
{
    return g_window.loaded();
}
