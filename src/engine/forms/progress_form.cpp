#include "engine/forms/progress_form.h"

#include "engine/forms/windowed_run_view.h"
#include "engine/run_window.h"
#include "engine/time_limit.h"
#include "platform/ui/prompt.h"
#include "platform/ui/widgets/form_instance.h"
#include "platform/ui/widgets/screen.h"
#include "shell/forms/form_helpers.h"
#include "shell/forms/small_forms.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/status.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

DefaultInstance<frm処理中> g_window;

QLineEdit* readOnlyBox(QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

}  // namespace

frm処理中::frm処理中(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("処理中"));
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xF0, 0xF4, 0xFA));
    setPalette(p);
    setAutoFillBackground(true);

    // Frameless, so the window names itself.
    lblTitle = new QLabel(QStringLiteral("シフト表作成中"), this);
    QFont bold = lblTitle->font();
    bold.setBold(true);
    lblTitle->setFont(bold);
    txtMsg = readOnlyBox(this);
    txtMsg->setAlignment(Qt::AlignCenter);
    txtMsg->hide();
    PBar = new QProgressBar(this);
    PBar->setTextVisible(false);
    PBar->setFixedHeight(18);
    // The bar is a handle: pressing it drags the window.
    PBar->installEventFilter(this);
    Label3 = new QLabel(QStringLiteral("残分"), this);
    txt残分 = readOnlyBox(this);
    txt残分->setAlignment(Qt::AlignRight);
    txt残分->setFixedWidth(txt残分->fontMetrics().horizontalAdvance(QStringLiteral("888:88")) + 16);
    cmd中止 = new QPushButton(QStringLiteral("中止"), this);
    cmd中止->setMinimumWidth(88);
    OnClick(cmd中止, this, [this] { onStopClicked(); });

    auto* row = new QHBoxLayout;
    row->addWidget(Label3);
    row->addWidget(txt残分);
    row->addStretch();
    row->addWidget(cmd中止);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(8);
    layout->addWidget(lblTitle);
    layout->addWidget(txtMsg);
    layout->addWidget(PBar);
    layout->addLayout(row);
    setFixedWidth(360);

    Timer1.setInterval(200);
    OnTimeout(&Timer1, this, [this] { Timer1_Timer(); });
}

void frm処理中::Form_Load()
{
    adjustSize();
    const QRect screen = screenOf(this);
    const QSize size = frameGeometry().size();
    if (進行状況表示 == 0)
        move(screen.left() + (screen.width() - size.width()) / 2,
             screen.top() + int((screen.height() - size.height()) * 2.9 / 5));
    else
        move(StatusWindowPos(進行状況表示, screen, size, pos(), true));
    Timer1_Timer();
    Timer1.start();
}

void frm処理中::apply(const RunWindowState& s)
{
    txtMsg->setText(s.message);
    if (txtMsg->isVisible() != s.messageVisible) {
        txtMsg->setVisible(s.messageVisible);
        adjustSize();
    }
    PBar->setRange(s.min, s.max);
    PBar->setValue(s.value);
    setVisible(s.visible);
}

void frm処理中::onStopClicked()
{
    if (MsgBox(QStringLiteral("作成を中止しますか？"), ui::vbOKCancel | ui::vbDefaultButton2, QStringLiteral("中止確認"))
        == ui::vbOK)
        Sw_中止 = true;
}

void frm処理中::Timer1_Timer()
{
    txt残分->setText(remainingText(timeRemainingMs()));
    // The message of the limit waits for the run to stop; the window only raises the flag.
    if (checkTimeLimit() || timeLimitExceeded)
        Timer1.stop();
}

bool frm処理中::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == PBar && event->type() == QEvent::MouseButtonPress)
        DragForm(this, static_cast<QMouseEvent*>(event)->buttons());
    return QWidget::eventFilter(watched, event);
}

void frm処理中::mousePressEvent(QMouseEvent* e)
{
    DragForm(this, e->buttons());
}

void frm処理中::paintEvent(QPaintEvent*)
{
    paintEdge(this);
}

void installProgressWindow()
{
    progwin.setView(std::make_unique<WindowedRunView<frm処理中>>(g_window));
}

frm処理中* loadedProgressWindow()
{
    return g_window.loaded();
}
