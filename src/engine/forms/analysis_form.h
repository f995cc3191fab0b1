#pragma once
// The pre-run analysis dialog frm分析結果: the demand figures, the verdict, and a five-second
// countdown towards the answer the figures suggest.
#include <QDialog>
#include <QTimer>
#include <array>

class QLabel;
class QPushButton;
struct AnalysisFigures;
struct AnalysisVerdict;

// No Q_OBJECT: the meta-object compiler cannot read the name, and the dialog needs no signals.
class frm分析結果 : public QDialog {
public:
    frm分析結果(const AnalysisFigures& figures, const AnalysisVerdict& verdict, QWidget* parent = nullptr);
    // One tick of the countdown: at 0 the dialog closes with the default answer.
    void Timer1_Timer();
    // Answers 0 (start) or 1 (stop).
    void cmdEnd_Click(int index);
    // Clicking the dialog stops the countdown; it then waits for a button.
    void stopCountdown();
    int answer() const { return answer_; }

    std::array<QLabel*, 8> lbl{};
    std::array<QLabel*, 8> lblDt{};
    QLabel* lblResult;
    QLabel* lblAsk;
    QLabel* lblAsk2;
    QLabel* lblAskTime;
    std::array<QPushButton*, 2> cmdEnd{};
    QTimer Timer1;

protected:
    void mousePressEvent(QMouseEvent* e) override;

private:
    int answer_ = 0;
    int left_ = 5000;  // milliseconds of the countdown left
};

// Installs the dialog as the one the analysis shows.
void installAnalysisDialog();
