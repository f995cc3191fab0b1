#pragma once
// The small windows: the status splash, the boot splash, the progress bars, the version box and
// the browser window.
#include <QDialog>
#include <QTimer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTextBrowser;
struct SplashState;
struct ProgressState;

// Lets the user drag a frameless window by any point of it, with the left button only.
void DragForm(QWidget* form, Qt::MouseButtons buttons);
// A frameless window's thin edge, so that it stands out on a light background (from paintEvent).
void paintEdge(QWidget* w);

// The borderless status window of DspSplash: light green, blue text, on top, draggable.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);
    // Shows the state and places the window by 進行状況表示.
    void apply(const SplashState& state);

    QLabel* lblMsg;
    QLabel* lblMsgSub;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
};

// The start-up splash: message, the latest boot step and the seconds since it appeared; the
// message blinks every second and the window closes itself once its driver has hidden it.
class frmBootSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmBootSplash(QWidget* parent = nullptr);
    // One timer step with the time since the window appeared.
    void Timer1_Timer(qint64 elapsedMs);

    QLabel* lblMsg;
    QLabel* lblProgress;
    QLabel* lblTime;
    QTimer Timer1;

signals:
    // The hidden window stopped its timer and asks to be unloaded.
    void unloadRequested();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    qint64 shownAt_ = 0;
};

// Two progress bars with a name and a cancel button that sets Sw_中止 (the window stays).
class frmPrgB : public QWidget {
    Q_OBJECT
public:
    explicit frmPrgB(QWidget* parent = nullptr);
    // Shows the name and the bars; the first time also shows and places the window. Drawn before
    // it returns.
    void apply(const ProgressState& state);
    // Places the window by 進行状況表示 on its screen.
    void place();

    QLabel* lblName;
    QProgressBar* ProgB;
    QProgressBar* ProgB2;
    QPushButton* cmdCancel;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
};

// The version box.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
    // Starts the desktop's system information tool, or says there is none.
    void StartSysInfo();
    // The address opened for the mail label: "mailto:" added unless it is there (any case).
    static QString MailTarget(const QString& caption);
    // The system information tools tried, in order.
    static QStringList sysInfoTools;

    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QLabel* lblDisclaimer;
    QLabel* lblEmail;
    QLabel* lblWeb;
    QPushButton* cmdOk;
    QPushButton* cmdSysInfo;
};

// A small browser window for help pages and reports.
class frmWebB : public QWidget {
    Q_OBJECT
public:
    explicit frmWebB(QWidget* parent = nullptr);

    QTextBrowser* WebB;
    QPushButton* cmdBack;
    QPushButton* cmdFoward;
    QPushButton* cmdRefresh;
};
