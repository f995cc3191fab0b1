#include "optimise/forms/assignability_form.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "optimise/assignability.h"
#include "optimise/forms/manual_forms.h"
#include "optimise/manual_common.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"
#include "platform/ui/widgets/form_instance.h"
#include "platform/ui/widgets/message_box.h"
#include "shell/forms/form_helpers.h"
#include "shell/lifecycle.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/desktop.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

DefaultInstance<frm勤務可能判定> g_window;
const QString kAll = QStringLiteral("*：(全員判定)");
const QString kSep = QStringLiteral(":\t");

QLabel* headingLabel(const char16_t* text, QWidget* parent)
{
    return new QLabel(QString::fromUtf16(text), parent);
}

}  // namespace

frm勤務可能判定::frm勤務可能判定(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("勤務可能判定"));
    ui::setDialogFrame(this);
    for (size_t i = 0; i < cmbInConst.size(); ++i) {
        cmbInConst[i] = new QComboBox(this);
        cmbInConst[i]->setMaxVisibleItems(20);
        cmbInConst[i]->installEventFilter(this);
        const int index = int(i);
        connect(cmbInConst[i], &QComboBox::activated, this,
                [this, index] { RunHandler([this, index] { cmbInConst_Click(index); }, this); });
    }
    cmbInConst[0]->setMinimumContentsLength(16);
    chkAuto = new QCheckBox(QStringLiteral("自動更新"), this);
    chkAuto->setToolTip(QStringLiteral("シートのセルをクリックすると、勤務、日付、ID:氏名が自動で設定"));
    lbl略称 = new QLabel(this);
    lbl略称->setAlignment(Qt::AlignCenter);
    lbl略称->setMinimumWidth(lbl略称->fontMetrics().horizontalAdvance(QStringLiteral("ＷＷＷ")));
    cmd開始 = new QPushButton(QStringLiteral("判定"), this);
    cmd閉じる = new QPushButton(QStringLiteral("閉じる"), this);
    hlp関数テスト = new QLabel(QStringLiteral("<a href=\"kinmu-kanou/index.htm\">ヘルプ</a>"), this);
    hlp関数テスト->setTextInteractionFlags(Qt::LinksAccessibleByMouse);

    auto* heading = new QHBoxLayout;
    heading->addWidget(headingLabel(u"指定の勤務が割り当て可能かを判定。不可の場合、その理由を表示", this), 1);
    heading->addWidget(hlp関数テスト);
    auto* mode = new QHBoxLayout;
    mode->addWidget(headingLabel(u"判定したい項目を選択、または", this));
    mode->addWidget(chkAuto);
    mode->addStretch();
    auto* grid = new QGridLayout;
    grid->addWidget(headingLabel(u"ID", this), 0, 0);
    grid->addWidget(cmbInConst[0], 0, 1, 1, 2);
    grid->addWidget(headingLabel(u"↑ *:全員の可否を判定", this), 1, 1, 1, 2);
    grid->addWidget(headingLabel(u"日", this), 2, 0);
    grid->addWidget(cmbInConst[1], 2, 1);
    grid->addWidget(headingLabel(u"勤務", this), 3, 0);
    grid->addWidget(cmbInConst[2], 3, 1);
    grid->addWidget(lbl略称, 3, 2, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmd開始);
    buttons->addWidget(cmd閉じる);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addLayout(mode);
    layout->addWidget(headingLabel(u"自動更新をチェックして、該当セルを選択", this));
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(hlp関数テスト, &QLabel::linkActivated, this, [](const QString& page) { RunHandler([&] { WebHelp(page); }); });
    OnClick(cmd開始, this, [this] { cmd開始_Click(); });
    OnClick(cmd閉じる, this, [this] { cmd閉じる_Click(); });
    connect(chkAuto, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            RunHandler([this] {
                if (const std::optional<SelectedCell> cell = currentSelection())
                    selectCell(*cell);
            }, this);
    });
    follow_ = std::make_unique<SheetSelectionFollower>([this](const SelectedCell& cell) { RunHandler([&] { selectCell(cell); }, this); });
}

frm勤務可能判定::~frm勤務可能判定() = default;

void frm勤務可能判定::Form_Load()
{
    filling_ = true;
    QStringList members{kAll};
    for (int i = 1; i <= Member_Cnt; ++i)
        members << RSetA(QString::number(MemNo(i)), 3) + kSep + MemName(i);
    // Each entry is a day of the period, shown as its day of the month.
    QStringList days;
    for (int d = 1; d <= Day_Cnt; ++d)
        days << QString::number(dayOfMonth(d));
    QStringList shifts{QStringLiteral("0") + kSep + Yasumi_Kigou};
    for (int t = 1; t <= Type_Cnt; ++t)
        shifts << QString::number(t) + kSep + TypeText2(t);
    const QStringList* lists[] = {&members, &days, &shifts};
    for (size_t i = 0; i < cmbInConst.size(); ++i) {
        cmbInConst[i]->clear();
        cmbInConst[i]->addItems(*lists[i]);
    }
    filling_ = false;
    const int first[] = {0, 0, Type_Cnt >= 1 ? 1 : 0};
    for (int i = 0; i < 3; ++i) {
        cmbInConst[size_t(i)]->setCurrentIndex(first[i]);
        cmbInConst_Click(i);
    }
}

void frm勤務可能判定::cmbInConst_Click(int)
{
    if (filling_)
        return;
    chkAuto->setChecked(false);
    // The "*" entry addresses the row just above the grid.
    const xl::Range cell = shiftCell(cmbInConst[0]->currentIndex(), cmbInConst[1]->currentIndex() + 1);
    cell.worksheet().activate();
    cell.select();
    showAbbreviation();
}

void frm勤務可能判定::cmbInConst_GotFocus(int)
{
    chkAuto->setChecked(false);
}

bool frm勤務可能判定::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        // Coming back to the window or closing a box's list is no step of the user into a box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        for (size_t i = 0; i < cmbInConst.size(); ++i)
            if (watched == cmbInConst[i] && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                cmbInConst_GotFocus(int(i));
    }
    return QWidget::eventFilter(watched, event);
}

void frm勤務可能判定::selectCell(const SelectedCell& cell)
{
    if (!chkAuto->isChecked())
        return;
    filling_ = true;
    cmbInConst[0]->setCurrentIndex(cell.member < cmbInConst[0]->count() ? cell.member : 0);
    if (cell.day <= cmbInConst[1]->count())
        cmbInConst[1]->setCurrentIndex(cell.day - 1);
    const int t = TypeIdx(cell.text);
    cmbInConst[2]->setCurrentIndex(t != 0 ? ListFindIdx(cmbInConst[2], QString::number(t) + kSep + TypeText2(t)) : 0);
    showAbbreviation();
    filling_ = false;
}

void frm勤務可能判定::showAbbreviation()
{
    const int t = int(Val(cmbInConst[2]->currentText()));
    if (t != 0) {
        lbl略称->setText(TypeText2(t));
        lbl略称->setStyleSheet(QString());
    } else {
        // The rest symbol in white, as a rest cell shows it.
        lbl略称->setText(Yasumi_Kigou);
        lbl略称->setStyleSheet(QStringLiteral("color: #FFFFFF; background: #808080;"));
    }
}

void frm勤務可能判定::cmd開始_Click()
{
    // The test reads the whole month again, which a run is still changing.
    if (RefuseDuringRun() || !reloadMonth())
        return;
    const int t = int(Val(cmbInConst[2]->currentText().section(kSep, 0, 0)));
    const int d = cmbInConst[1]->currentIndex() + 1;
    const QString member = cmbInConst[0]->currentText();
    const int m = member == kAll ? 0 : MemIdxOrM1(int(Val(member.section(kSep, 0, 0))));
    MyMsgBox(assignabilityReport(m, t, d), 0, QStringLiteral("勤務割り当て可否判定"), 500, 600);
    FormTopMost(this);
    xlAppSetting(true, true, true);
}

void frm勤務可能判定::cmd閉じる_Click()
{
    g_window.unload();
}

void showAssignability()
{
    frm勤務可能判定& w = openToolWindow(g_window);
    FormTopMost(&w);
    w.raise();
    w.activateWindow();
}

frm勤務可能判定* loadedAssignability()
{
    return g_window.loaded();
}
