#include "shell/forms/small_forms.h"

#include "platform/os/clock.h"
#include "platform/ui/prompt.h"
#include "platform/ui/widgets/message_box.h"
#include "platform/ui/widgets/screen.h"
#include "shell/forms/form_helpers.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/desktop.h"
#include "shell/status.h"

#include <QApplication>
#include <QCoreApplication>
#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QVersionNumber>
#include <QWindow>
#include <cmath>

namespace {

const QColor kBlue(0, 0, 255);        // &HFF0000
const QColor kLightBlue(128, 128, 255);  // &HFF8080
const QColor kPaleGreen(192, 255, 192);  // &HC0FFC0

void setColours(QWidget* w, const QColor& back)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, back);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setTextColour(QLabel* l, const QColor& fore)
{
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, fore);
    l->setPalette(p);
}

const Qt::WindowFlags kStatusFlags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;

// Draws a window that has just been shown or changed at once. Its caller usually goes on with
// long work before window events run again; until then the window would stand on the screen
// without its content (whatever lay behind it, or nothing).
void paintNow(QWidget* w)
{
    QElapsedTimer waited;
    waited.start();
    while (!(w->windowHandle() && w->windowHandle()->isExposed()) && waited.elapsed() < 250)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    w->repaint();
    // The drawing (and a new size) reaches the window system now, not when events next run.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

void paintEdge(QWidget* w)
{
    QPainter p(w);
    p.setPen(w->palette().color(QPalette::Window).darker(160));
    p.drawRect(w->rect().adjusted(0, 0, -1, -1));
}

void DragForm(QWidget* form, Qt::MouseButtons buttons)
{
    if (!(buttons & Qt::LeftButton) || !form->windowHandle())
        return;
    form->windowHandle()->startSystemMove();
}

// The large blue message line of the status windows.
QLabel* bigMessageLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    QFont f = label->font();
    f.setPointSizeF(16);
    f.setBold(true);
    label->setFont(f);
    setTextColour(label, kBlue);
    return label;
}

// ---- frmSplash

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, kStatusFlags)
{
    setColours(this, kPaleGreen);
    lblMsg = bigMessageLabel(this);
    lblMsgSub = new QLabel(this);
    lblMsgSub->setFrameShape(QFrame::NoFrame);
    lblMsgSub->setAlignment(Qt::AlignCenter);
    lblMsgSub->hide();
    resize(300, 44);
}

void frmSplash::apply(const SplashState& s)
{
    setColours(this, s.back);
    setTextColour(lblMsg, s.fore);
    const int w = s.widthTwips / TwipsPerPixelX(this);
    // Tall enough for the font, whatever the screen's scale.
    const int h = qMax(44, lblMsg->fontMetrics().height() + 20);
    resize(w, h);
    lblMsg->setGeometry(0, 0, w, h);
    setProperty("Tag", s.tag);
    // Placed and filled before it is shown: a new window shown at the corner and moved afterwards
    // carries what lay there (the workbook window's title and menu bar) across the screen until
    // it has painted.
    move(StatusWindowPos(進行状況表示, screenOf(this), size(), pos(), false));
    lblMsg->setText(s.message);
    show();
    raise();
    paintNow(this);
}

void frmSplash::mousePressEvent(QMouseEvent* e)
{
    DragForm(this, e->buttons());
}

void frmSplash::paintEvent(QPaintEvent*)
{
    paintEdge(this);
}

// ---- frmBootSplash

frmBootSplash::frmBootSplash(QWidget* parent)
    : QWidget(parent, kStatusFlags)
{
    setColours(this, QColor(0xF4, 0xF8, 0xFF));
    setFixedSize(420, 150);
    lblMsg = bigMessageLabel(this);
    lblProgress = new QLabel(this);
    lblProgress->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblTime = new QLabel(this);
    lblTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 10);
    layout->addWidget(lblMsg, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblProgress, 1);
    bottom->addWidget(lblTime);
    layout->addLayout(bottom);
    shownAt_ = os::elapsedMs();
    Timer1.setInterval(1000);
    OnTimeout(&Timer1, this, [this] { Timer1_Timer(os::elapsedMs() - shownAt_); });
    Timer1.start();
}

void frmBootSplash::Timer1_Timer(qint64 elapsedMs)
{
    if (!isVisible()) {
        Timer1.stop();
        emit unloadRequested();
        return;
    }
    raise();
    setTextColour(lblMsg, lblMsg->palette().color(QPalette::WindowText) == kBlue ? kLightBlue : kBlue);
    const long secs = std::lround(double(elapsedMs) / 1000.0);
    lblTime->setText(secs > 0 ? QString::number(secs) : QString());
    QCoreApplication::processEvents();
}

void frmBootSplash::mousePressEvent(QMouseEvent* e)
{
    DragForm(this, e->buttons());
}

void frmBootSplash::paintEvent(QPaintEvent*)
{
    paintEdge(this);
}

// ---- frmPrgB

frmPrgB::frmPrgB(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(stAppTitle);
    resize(380, 130);
    lblName = new QLabel(this);
    ProgB = new QProgressBar(this);
    ProgB2 = new QProgressBar(this);
    for (QProgressBar* b : {ProgB, ProgB2})
        b->setTextVisible(false);
    cmdCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    lblName->setGeometry(12, 8, 356, 22);
    ProgB->setGeometry(12, 34, 356, 18);
    ProgB2->setGeometry(12, 58, 356, 18);
    cmdCancel->setGeometry(140, 88, 100, 28);
    OnClick(cmdCancel, this, [] { Sw_中止 = true; });
    for (QWidget* w : {static_cast<QWidget*>(lblName), static_cast<QWidget*>(ProgB), static_cast<QWidget*>(ProgB2)})
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void frmPrgB::apply(const ProgressState& s)
{
    lblName->setText(s.name);
    QProgressBar* bars[] = {ProgB, ProgB2};
    for (int i = 0; i < 2; ++i) {
        bars[i]->setRange(s.min[i], s.max[i]);
        bars[i]->setValue(s.value[i]);
    }
    if (!isVisible()) {
        // Over a modal window (a save from the storage hub) it belongs to that window, which
        // would otherwise block its stop button.
        if (QWidget* modal = QApplication::activeModalWidget())
            setParent(modal, windowFlags());
        // Where it belongs before it appears (see frmSplash), then again with the frame it got.
        place();
        show();
        place();
    }
    paintNow(this);
}

void frmPrgB::place()
{
    move(StatusWindowPos(進行状況表示, screenOf(this), frameGeometry().size(), pos(), true));
}

void frmPrgB::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    // The bars reach from their left edge to the right edge of the inner area.
    for (QProgressBar* b : {ProgB, ProgB2})
        b->resize(width() - b->x(), b->height());
    cmdCancel->move((width() - cmdCancel->width()) / 2, cmdCancel->y());
}

void frmPrgB::mousePressEvent(QMouseEvent* e)
{
    DragForm(this, e->buttons());
}

// ---- frmAbout

QStringList frmAbout::sysInfoTools{QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter")};

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent)
{
    ui::setDialogFrame(this);
    setWindowTitle(stAppTitle + QStringLiteral("のバージョン情報"));
    const QVersionNumber v = QVersionNumber::fromString(QCoreApplication::applicationVersion());
    lblTitle = new QLabel(stAppTitle, this);
    QFont f = lblTitle->font();
    f.setPointSizeF(f.pointSizeF() * 1.5);
    f.setBold(true);
    lblTitle->setFont(f);
    lblVersion = new QLabel(QStringLiteral("バージョン %1.%2.%3").arg(v.majorVersion()).arg(v.minorVersion()).arg(v.microVersion()), this);
    lblDescription = new QLabel(QStringLiteral("簡単な操作で最適な勤務シフト表を自動作成\r\n"), this);
    lblDisclaimer = new QLabel(this);
    lblEmail = new QLabel(QStringLiteral("support@quorvane.example"), this);
    lblWeb = new QLabel(QStringLiteral("https://quorvane.example/"), this);
    for (QLabel* l : {lblEmail, lblWeb}) {
        l->setCursor(Qt::PointingHandCursor);
        setTextColour(l, kBlue);
    }
    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("システム情報(&S)..."), this);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    OnClick(cmdSysInfo, this, [this] { StartSysInfo(); });

    auto* text = new QVBoxLayout;
    for (QLabel* l : {lblTitle, lblVersion, lblDescription, lblDisclaimer, lblEmail, lblWeb})
        text->addWidget(l);
    text->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(text, 1);
    layout->addLayout(buttons);

    // A click on a link label opens it.
    struct Opener : QObject {
        using QObject::QObject;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() != QEvent::MouseButtonRelease)
                return false;
            auto* about = static_cast<frmAbout*>(parent());
            if (o == about->lblEmail)
                ShellOpen(frmAbout::MailTarget(about->lblEmail->text()));
            else if (o == about->lblWeb)
                ShellOpen(about->lblWeb->text());
            return false;
        }
    };
    auto* opener = new Opener(this);
    lblEmail->installEventFilter(opener);
    lblWeb->installEventFilter(opener);
}

QString frmAbout::MailTarget(const QString& caption)
{
    return caption.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive) ? caption : QStringLiteral("mailto:") + caption;
}

void frmAbout::StartSysInfo()
{
    for (const QString& tool : std::as_const(sysInfoTools)) {
        const QString path = QStandardPaths::findExecutable(tool);
        if (!path.isEmpty() && QProcess::startDetached(path, {}))
            return;
    }
    MsgBox(QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"), ui::vbOKOnly | ui::vbSystemModal, stAppTitle);
}

// ---- frmWebB

frmWebB::frmWebB(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(stAppTitle);
    resize(800, 600);
    WebB = new QTextBrowser(this);
    WebB->setOpenExternalLinks(true);
    cmdBack = new QPushButton(QStringLiteral("戻る"), this);
    cmdFoward = new QPushButton(QStringLiteral("進む"), this);
    cmdRefresh = new QPushButton(QStringLiteral("更新"), this);
    connect(cmdBack, &QPushButton::clicked, WebB, &QTextBrowser::backward);
    connect(cmdFoward, &QPushButton::clicked, WebB, &QTextBrowser::forward);
    connect(cmdRefresh, &QPushButton::clicked, WebB, &QTextBrowser::reload);
    connect(WebB, &QTextBrowser::backwardAvailable, cmdBack, &QPushButton::setEnabled);
    connect(WebB, &QTextBrowser::forwardAvailable, cmdFoward, &QPushButton::setEnabled);
    cmdBack->setEnabled(false);
    cmdFoward->setEnabled(false);
    auto* strip = new QHBoxLayout;
    strip->addWidget(cmdBack);
    strip->addWidget(cmdFoward);
    strip->addWidget(cmdRefresh);
    strip->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(strip);
    layout->addWidget(WebB, 1);
}
