#pragma once
// The countdown notice: a message with the seconds left (MsgWaitTime, in ms); it closes itself
// when the time is up, and its stop button sets Sw_中止.
#include <QDialog>
#include <QTimer>

class QLabel;
class QPushButton;

class frmMsgWait : public QDialog {
    Q_OBJECT
public:
    explicit frmMsgWait(QWidget* parent = nullptr);

    // One step of the countdown (the timer calls it every 100 ms).
    void Timer1_Timer();

    QLabel* lblMsg;
    QLabel* lblTime;
    QPushButton* cmd中止;
    QTimer Timer1;

private:
    void onStopClicked();
};
