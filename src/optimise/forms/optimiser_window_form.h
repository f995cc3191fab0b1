#pragma once
// The optimiser's progress window frm最適化: stage text, the score in its frame, the bar and the
// "中止" button. The logic reaches it only through engine/run_window.h.
#include <QWidget>

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
struct RunWindowState;

// No Q_OBJECT: the meta-object compiler cannot read the name, and the window needs no signals.
class frm最適化 : public QWidget {
public:
    explicit frm最適化(QWidget* parent = nullptr);
    // Form_Load: placed by 進行状況表示 (any other value keeps the designed place). The window is
    // made outside the topmost band, so other windows can cover it.
    void Form_Load();
    void apply(const RunWindowState& state);
    // Asks "中止しますか？" (No the default); Yes sets Sw_中止 and the window stays.
    void onStopClicked();

    QLabel* lblMsg;
    QFrame* fr標準偏差;
    QLabel* lblHensati;
    QLabel* lbl標準偏差;
    QProgressBar* Prg;
    QPushButton* cmd中止;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
};

// Puts frm最適化 behind the logic's optimiser window; the windowed program calls it once at
// start-up, after the QApplication exists.
void installOptimiserWindow();
// The loaded window (nullptr when not loaded).
frm最適化* loadedOptimiserWindow();
