#pragma once
// Before generation starts: the staff the month needs against the staff-days the members can
// give, shown in the dialog frm分析結果, which answers start or stop and counts down towards the
// answer the figures suggest.
#include <QString>
#include <functional>

struct AnalysisFigures {
    long 要求人員総数 = 0;       // Need_Table over every shift type and day
    double 要求休み総数 = 0;     // member-days on which every shift is forbidden
    double 既定休み総数 = 0;     // Day_Cnt minus the work-day target, over the members
    double 動員可能人日 = 0;     // the members' work-day targets (none below 0)
    double 要求率 = 0;           // need / supply; infinite when nobody may work
    double 週間動員可能人日 = -1; // allowed by the weekly limit; -1 while it is not in force
    double 週間要求率 = 0;       // need / weekly supply, while weeklyShown
    bool weeklyShown = false;       // the weekly rows are shown
    QString 固定セル矛盾;           // the rules the fixed cells break by themselves, one per line
};

// Colours of the dialog (Windows colour values &HBBGGRR).
inline constexpr long kAnalysisBlue = 0xFF0000;
inline constexpr long kAnalysisRed = 0x0000FF;
inline constexpr long kAnalysisPurple = 0xFF00FF;

struct AnalysisVerdict {
    QString 判定;                 // lblResult; "" when the figures give no warning
    long verdictColour = kAnalysisBlue;
    long rateColour = kAnalysisBlue;      // value of row 4
    long weeklyRateColour = kAnalysisBlue;  // value of row 7
    int defaultAnswer = 0;             // 0 start, 1 stop
    QString answerHint;             // lblAsk2: "開始まで " or "中止まで "
};

AnalysisFigures computeAnalysisFigures();
// Rates above 100 % turn red and fail, above 97 % magenta; the more serious of the overall and
// the weekly verdict is shown (the weekly one on a tie). The answer defaults to stop when either
// rate is above 100 %.
AnalysisVerdict judgeAnalysis(const AnalysisFigures& figures);
// A rate as "0%" ("∞%" when nobody may work).
QString rateText(double rate);

// The last answer: 0 start, 1 stop.
inline int 分析結果_Ans = 0;
// The dialog as the windowed program installs it: shows the figures, counts down and returns
// the answer. Without it the default answer is taken at once.
inline std::function<int(const AnalysisFigures&, const AnalysisVerdict&)> analysisDialog;

// The heading above the fixed-cell conflicts wherever they are named.
QString fixedConflictHeading();

// Computes the figures and asks the dialog (scripted answers: the request titled "frm分析結果",
// its text the verdict and the fixed-cell conflicts). True when the answer is stop.
bool 勤務条件分析();
