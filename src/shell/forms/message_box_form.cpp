#include "shell/forms/message_box_form.h"

#include "platform/ui/widgets/message_box.h"
#include "shell/forms/form_helpers.h"
#include "shell/msg_box.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {

// Design sizes in pixels.
constexpr int kDesignWidth = 480;
constexpr int kDesignHeight = 260;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 10;
constexpr int kFrameHeight = kButtonHeight + 18;

QFont messageFont()
{
    QFont f;
    f.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans Mono CJK JP"),
                   QStringLiteral("IPAGothic"), QStringLiteral("monospace")});
    f.setStyleHint(QFont::Monospace);
    f.setPointSizeF(9.75);
    return f;
}

}  // namespace

frmMsgBox::frmMsgBox(const QString& record, int width, int height, QWidget* parent)
    : QDialog(parent)
{
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    ui::setDialogFrame(this);
    setModal(true);
    resize(kDesignWidth, kDesignHeight);
    if (width >= 1 && height > 0)
        resize(width, height);

    lblMsgBox = new QLabel(this);
    lblMsgBox->setFrameShape(QFrame::StyledPanel);
    for (int i = 0; i < 2; ++i) {
        txtMsgBox[i] = new QPlainTextEdit(this);
        txtMsgBox[i]->setReadOnly(true);
        txtMsgBox[i]->setFont(messageFont());
        txtMsgBox[i]->setVisible(false);
        txtMsgBox[i]->viewport()->installEventFilter(this);
    }
    // A text longer than the box (the 作成完了 report) can still be read to its end.
    txtMsgBox[0]->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    txtMsgBox[0]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtMsgBox[0]->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtMsgBox[0]->setFrameShape(QFrame::NoFrame);
    txtMsgBox[0]->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    txtMsgBox[1]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtMsgBox[1]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtMsgBox[1]->setLineWrapMode(QPlainTextEdit::NoWrap);

    frButton = new QFrame(this);
    for (int i = 0; i < 3; ++i) {
        cmdClose[i] = new QPushButton(frButton);
        cmdClose[i]->setGeometry(i * (kButtonWidth + kButtonGap), 6, kButtonWidth, kButtonHeight);
        cmdClose[i]->setVisible(false);
        cmdClose[i]->setAutoDefault(false);
        OnClick(cmdClose[i], this, [this, i] { cmdClose_Click(i); });
    }
    txtTime = new QLabel(this);
    txtTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtTime->setFixedSize(40, 20);

    const MsgBoxFields f = ParseMsgBoxRequest(record);
    chosen = f.displayFlag > 0 ? 1 : 0;
    txtMsgBox[chosen]->setVisible(true);
    txtMsgBox[chosen]->setPlainText(QString(f.prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    const QStringList captions = MsgBoxCaptions(f.buttons);
    for (int i = 0; i < captions.size(); ++i) {
        cmdClose[i]->setText(captions[i]);
        cmdClose[i]->setVisible(true);
    }
    const int last = int(captions.size()) - 1;
    frButton->resize(cmdClose[last]->x() + cmdClose[last]->width(), kFrameHeight);
    QPushButton* def = cmdClose[MsgBoxDefaultIndex(f.buttons)];
    def->setDefault(true);
    def->setFocus();

    Timer_Wait.setInterval(100);
    OnTimeout(&Timer_Wait, this, [this] { Timer_Wait_Timer(); });
    if (f.autoCloseMs > 0) {
        waitLeft_ = f.autoCloseMs;
        Timer_Wait.start();
    }
    setWindowTitle(f.title);
}

void frmMsgBox::Timer_Wait_Timer()
{
    waitLeft_ -= 100;
    // Whole seconds only: tenths cut down, shown when they are zero.
    const long tenths = waitLeft_ >= 0 ? waitLeft_ / 100 : -((-waitLeft_ + 99) / 100);
    if (tenths % 10 == 0)
        txtTime->setText(QString::number(tenths / 10));
    if (waitLeft_ <= 0) {
        Timer_Wait.stop();
        done(0);
    }
}

void frmMsgBox::stopCountdown()
{
    Timer_Wait.stop();
    txtTime->clear();
}

void frmMsgBox::cmdClose_Click(int index)
{
    pressed_ = cmdClose[index]->text();
    Timer_Wait.stop();
    done(1);
}

void frmMsgBox::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    const int w = width();
    const int h = height();
    const int frameTop = h - frButton->height();
    frButton->move((w - frButton->width()) / 2, frameTop);
    lblMsgBox->setGeometry(2, 2, w - 4, frameTop - 2);
    for (QPlainTextEdit* t : txtMsgBox)
        t->setGeometry(10, 10, w - 20, frameTop - 20);
    txtTime->move(w - txtTime->width() - 10, h - txtTime->height());
}

void frmMsgBox::mousePressEvent(QMouseEvent* e)
{
    stopCountdown();
    QDialog::mousePressEvent(e);
}

bool frmMsgBox::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonPress && (watched == txtMsgBox[0]->viewport() || watched == txtMsgBox[1]->viewport()))
        stopCountdown();
    return QDialog::eventFilter(watched, e);
}
