#pragma once
// The generation's progress window frm処理中: the status text, the bar, the time left and the stop
// button. The logic reaches it only through engine/run_window.h.
#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
struct RunWindowState;

// No Q_OBJECT: the meta-object compiler cannot read the name, and the window needs no signals.
class frm処理中 : public QWidget {
public:
    explicit frm処理中(QWidget* parent = nullptr);
    // Placed by 進行状況表示; the 200 ms timer starts.
    void Form_Load();
    void apply(const RunWindowState& state);
    // Asks "作成を中止しますか？" (Cancel the default); OK sets Sw_中止.
    void onStopClicked();
    // The time left as "m:ss"; at the limit the run is stopped and the timer ends.
    void Timer1_Timer();

    QLabel* lblTitle;
    QLineEdit* txtMsg;
    QProgressBar* PBar;
    QLabel* Label3;
    QLineEdit* txt残分;
    QPushButton* cmd中止;
    QTimer Timer1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
};

// Puts frm処理中 behind the logic's progress window; the windowed program calls it at start-up.
void installProgressWindow();
frm処理中* loadedProgressWindow();
