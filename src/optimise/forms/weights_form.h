#pragma once
// The optimiser's weight settings window frm最適化荷重設定: the weights of the score, the priority
// shift with its two multipliers and the trial counts of the three methods, all kept in the one
// row of T_基本設定; and the start of a method, by a button or by a 7-second countdown when the
// window was opened for that method (DlgParam 0, 1 or 2; -1 opens it for editing only).
#include <QDialog>
#include <QTimer>
#include <array>
#include <vector>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

// No Q_OBJECT: the meta-object compiler cannot read the name, and the window needs no signals.
class frm最適化荷重設定 : public QDialog {
public:
    explicit frm最適化荷重設定(QWidget* parent = nullptr);

    // The second stage of loading (100 ms after the window opened): the trial counts, the
    // highlighted method and, for a method request, the countdown.
    void Timer_Load_Timer();
    // One 100 ms step of the countdown; at 0 the requested method starts.
    void Timer_Go_Timer();
    // Stores the trial count shown for that method, closes the window and runs the method;
    // Sw_中止 is left set afterwards, so that nothing started meanwhile goes on.
    void onOptimiseClicked(int index);
    void onPriorityShiftChosen();
    void onPriorityFactorChosen(int index);
    // Stores the weight when its edit is committed (a choice from the list, Enter, leaving it).
    void onWeightCommitted(int index);
    // 0 "既定値": the designed defaults; 1 "最小値": every weight 0, no priority shift.
    void onSetWeightClicked(int index);
    void cmdClose_Click();
    void stopCountdown();
    bool countingDown() const { return Timer_Go.isActive(); }
    // The method the window highlights (0..2).
    int highlightedButton() const { return highlighted_; }
    // Whole repetitions 0..32767 from a typed or stored count; anything else counts 0.
    static int triesValue(const QString& text);

    std::array<QComboBox*, 13> cmb最適化荷重{};
    // The labels of the weights; a press on any of them stops the countdown.
    std::vector<QLabel*> lbl最適化荷重;
    QFrame* fr最適化;
    std::array<QPushButton*, 3> cmd最適化{};
    QLabel* lbl試行回数;
    QComboBox* cmd試行回数;
    QLabel* lblTime;
    QFrame* fr開閉メニュー;
    QFrame* fr優先勤務;
    std::array<QLabel*, 2> lbl優先勤務{};
    QComboBox* cmb優先勤務;
    std::array<QComboBox*, 2> cmb優先勤務倍率{};
    QGroupBox* fr単勤単休;
    QFrame* fr値設定_荷重;
    std::array<QPushButton*, 2> cmd値設定_荷重{};
    QLabel* lblHlp;
    QPushButton* cmdClose;
    QTimer Timer_Load;
    QTimer Timer_Go;

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void buildStartFrame();
    void buildWeightFrame();
    void buildSinglesFrame();
    QComboBox* weightCombo(int index, QWidget* parent);
    void Form_Load();
    void highlight(int index);
    void saveAllWeights();
    void Unload();

    std::array<QString, 3> tags_;      // the trial counts of the three methods, as stored
    std::array<QString, 13> stored_;   // what the database holds for each weight
    int remainingMs_ = 7000;
    int highlighted_ = 0;
    bool starting_ = false;
    bool unloaded_ = false;
};
