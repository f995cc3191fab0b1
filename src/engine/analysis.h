#pragma once
// Before generation starts: the staff the month needs against the staff-days the members can
// give, shown in the dialog frm分析結果, which answers start or stop and counts down towards the
// answer the figures suggest.
#include <QString>
#include <functional>

struct 分析数値 {
    long 要求人員総数 = 0;       // Need_Table over every shift type and day
    double 要求休み総数 = 0;     // member-days on which every shift is forbidden
    double 既定休み総数 = 0;     // Day_Cnt minus the work-day target, over the members
    double 動員可能人日 = 0;     // the members' work-day targets (none below 0)
    double 要求率 = 0;           // need / supply; infinite when nobody may work
    double 週間動員可能人日 = -1; // allowed by the weekly limit; -1 while it is not in force
    double 週間要求率 = 0;       // need / weekly supply, while 週間表示
    bool 週間表示 = false;       // the weekly rows are shown
};

// Colours of the dialog (Windows colour values &HBBGGRR).
inline constexpr long 分析_青 = 0xFF0000;
inline constexpr long 分析_赤 = 0x0000FF;
inline constexpr long 分析_紫 = 0xFF00FF;

struct 分析判定 {
    QString 判定;                 // lblResult; "" when the figures give no warning
    long 判定色 = 分析_青;
    long 要求率色 = 分析_青;      // value of row 4
    long 週間要求率色 = 分析_青;  // value of row 7
    int 既定回答 = 0;             // 0 start, 1 stop
    QString 回答案内;             // lblAsk2: "開始まで " or "中止まで "
};

分析数値 分析数値計算();
// Rates above 100 % turn red and fail, above 97 % magenta; the more serious of the overall and
// the weekly verdict is shown (the weekly one on a tie). The answer defaults to stop when either
// rate is above 100 %.
分析判定 分析結果判定(const 分析数値& figures);
// A rate as "0%" ("∞%" when nobody may work).
QString 率表示(double rate);

// The last answer: 0 start, 1 stop.
inline int 分析結果_Ans = 0;
// The dialog as the windowed program installs it: shows the figures, counts down and returns
// the answer. Without it the default answer is taken at once.
inline std::function<int(const 分析数値&, const 分析判定&)> 分析結果ダイアログ;

// Computes the figures and asks the dialog (scripted answers: the request titled "frm分析結果").
// True when the answer is stop.
bool 勤務条件分析();
