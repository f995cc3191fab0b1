#pragma once
// The program's own message box: the text in a read-only box (with scroll bars in the text-box
// mode), up to three buttons, an optional countdown that closes it, and a size given in pixels.
#include <QDialog>
#include <QTimer>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class frmMsgBox : public QDialog {
    Q_OBJECT
public:
    // record: the request record (MsgBoxRequest); width/height in pixels, 0 for the design size.
    explicit frmMsgBox(const QString& record, int width = 0, int height = 0, QWidget* parent = nullptr);

    // The caption of the pressed button; "" after the countdown or the close box.
    QString pressedCaption() const { return pressed_; }

    // One countdown step (the timer calls it every 100 ms).
    void Timer_Wait_Timer();
    // Stops the countdown and clears the seconds shown.
    void stopCountdown();

    QPlainTextEdit* txtMsgBox[2];
    QLabel* lblMsgBox;
    QFrame* frButton;
    QPushButton* cmdClose[3];
    QLabel* txtTime;
    QTimer Timer_Wait;
    // The chosen text box (0 plain, 1 with scroll bars).
    int chosen = 0;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void cmdClose_Click(int index);
    long waitLeft_ = 0;
    QString pressed_;
};
