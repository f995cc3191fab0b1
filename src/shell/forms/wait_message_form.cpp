#include "shell/forms/wait_message_form.h"

#include "platform/ui/widgets/message_box.h"
#include "shell/forms/form_helpers.h"
#include "shell/globals.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString secondsText(long ms)
{
    return QString::number(double(ms) / 1000.0);
}

}  // namespace

frmMsgWait::frmMsgWait(QWidget* parent)
    : QDialog(parent)
{
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    ui::setDialogFrame(this);
    setModal(true);
    setWindowTitle(stAppTitle);
    lblMsg = new QLabel(this);
    lblMsg->setWordWrap(true);
    lblMsg->setAlignment(Qt::AlignCenter);
    lblMsg->setMinimumWidth(300);
    lblTime = new QLabel(this);
    lblTime->setAlignment(Qt::AlignCenter);
    QFont big = lblTime->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    lblTime->setFont(big);
    cmd中止 = new QPushButton(QStringLiteral("中止"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmd中止);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMsg);
    layout->addWidget(lblTime);
    layout->addLayout(buttons);
    OnClick(cmd中止, this, [this] { onStopClicked(); });

    Timer1.setInterval(100);
    OnTimeout(&Timer1, this, [this] { Timer1_Timer(); });
    lblTime->setText(secondsText(MsgWaitTime));
    Timer1.start();
}

void frmMsgWait::Timer1_Timer()
{
    MsgWaitTime -= Timer1.interval();
    lblTime->setText(secondsText(MsgWaitTime));
    if (MsgWaitTime <= 0) {
        Timer1.stop();
        done(0);
    }
}

void frmMsgWait::onStopClicked()
{
    Sw_中止 = true;
    Timer1.stop();
    done(3);
}
