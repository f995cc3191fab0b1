#include "optimise/forms/optimiser_window_form.h"

#include "engine/forms/progress_form.h"
#include "engine/forms/windowed_run_view.h"
#include "engine/run_window.h"
#include "platform/ui/prompt.h"
#include "platform/ui/widgets/form_instance.h"
#include "platform/ui/widgets/screen.h"
#include "shell/forms/form_helpers.h"
#include "shell/forms/small_forms.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/status.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

DefaultInstance<frm最適化> g_window;

}  // namespace

frm最適化::frm最適化(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("最適化"));
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xF0, 0xF4, 0xFA));
    setPalette(p);
    setAutoFillBackground(true);

    lblMsg = new QLabel(QStringLiteral("最適化中"), this);
    lblMsg->setAlignment(Qt::AlignCenter);
    QFont big = lblMsg->font();
    big.setPointSizeF(big.pointSizeF() * 1.15);
    big.setBold(true);
    lblMsg->setFont(big);

    fr標準偏差 = new QFrame(this);
    fr標準偏差->setFrameShape(QFrame::StyledPanel);
    lblHensati = new QLabel(QStringLiteral("分散計"), fr標準偏差);
    lbl標準偏差 = new QLabel(QStringLiteral("8888.999"), fr標準偏差);
    // Fixed pitch, so that the decimal points of successive scores stay in one place.
    QFont score = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    score.setPointSizeF(14.25);
    lbl標準偏差->setFont(score);
    lbl標準偏差->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lbl標準偏差->setMinimumWidth(lbl標準偏差->fontMetrics().horizontalAdvance(QStringLiteral("8888.9999")) + 8);
    auto* frameRow = new QHBoxLayout(fr標準偏差);
    frameRow->setContentsMargins(12, 4, 12, 4);
    frameRow->addWidget(lblHensati);
    frameRow->addStretch();
    frameRow->addWidget(lbl標準偏差);

    Prg = new QProgressBar(this);
    Prg->setTextVisible(false);
    Prg->setFixedHeight(16);

    cmd中止 = new QPushButton(QStringLiteral("中止"), this);
    QPalette pink = cmd中止->palette();
    pink.setColor(QPalette::Button, QColor(0xFF, 0xC0, 0xFF));  // &H00FFC0FF
    cmd中止->setPalette(pink);
    cmd中止->setAutoFillBackground(true);
    cmd中止->setMinimumWidth(96);
    OnClick(cmd中止, this, [this] { onStopClicked(); });

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(cmd中止);
    buttonRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(8);
    layout->addWidget(lblMsg);
    layout->addWidget(fr標準偏差);
    layout->addWidget(Prg);
    layout->addLayout(buttonRow);
    setFixedSize(qMax(340, sizeHint().width()), sizeHint().height());

    // Designed place: upper centre of the screen.
    const QRect screen = screenOf(this);
    move(screen.left() + (screen.width() - width()) / 2, screen.top() + (screen.height() - height()) / 5);
}

void frm最適化::Form_Load()
{
    const QRect screen = screenOf(this);
    QRect place(StatusWindowPos(進行状況表示, screen, frameGeometry().size(), pos(), true), frameGeometry().size());
    // A generation's progress window stays readable: this one opens just above it, if there is room.
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (dynamic_cast<const frm処理中*>(w) && w->isVisible() && w->frameGeometry().intersects(place)
            && w->frameGeometry().top() - 10 - place.height() >= screen.top())
            place.moveBottom(w->frameGeometry().top() - 10);
    move(place.topLeft());
}

void frm最適化::apply(const RunWindowState& s)
{
    lblMsg->setText(s.message);
    lbl標準偏差->setText(s.score);
    Prg->setRange(s.min, s.max);
    Prg->setValue(s.value);
    setVisible(s.visible);
}

void frm最適化::onStopClicked()
{
    if (MsgBox(QStringLiteral("中止しますか？"), ui::vbYesNo | ui::vbDefaultButton2, QStringLiteral("中止確認"))
        == ui::vbYes)
        Sw_中止 = true;
}

void frm最適化::mousePressEvent(QMouseEvent* e)
{
    DragForm(this, e->buttons());
}

void frm最適化::paintEvent(QPaintEvent*)
{
    paintEdge(this);
}

void installOptimiserWindow()
{
    optwin.setView(std::make_unique<WindowedRunView<frm最適化>>(g_window));
}

frm最適化* loadedOptimiserWindow()
{
    return g_window.loaded();
}
