#pragma once
// The dispersion score of the current table: how unevenly the days of each shift, the holiday work
// and the single work or rest days fall on the members, weighted by the 荷重_ weights. Lower is
// better. Single precision, rounded after every step: the optimisers compare successive scores, so
// the order of the terms and each rounding are part of the result.
//
// The period's days are counted from the day bits that move with the member totals
// (shiftDayBits), so Time_Table must be in step with the totals: cells placed through
// 勤務集計加算 and exchanged through 勤務変更. Day 0 is read from the table.
#include <QString>
#include <optional>
#include <span>

// The score. Also sets Member_Sum(i, 12) = target (halves to even) - work days for every member.
// 0 without members or shift types.
float 全分散計算();

// The terms; each is empty without members or shift types.
// The deviation of the members' days of shift t times its factor 最適化比重(t), over every type
// when t <= 0, nothing when t > Type_Cnt; the sum is always divided by Type_Cnt.
std::optional<float> 各勤務日数分散_今期(int t);
// The same on Member_Sum's counts (last month's included) when Sw_過去累計使用 is set.
std::optional<float> 各勤務日数分散_累計(int t);
// The two above for the priority type 荷重_優先勤務, times 荷重_優先勤務倍率_今期 / 荷重_優先勤務倍率.
std::optional<float> 優先勤務分散_今期();
std::optional<float> 優先勤務分散_累計();
// Over the holidays: the deviation of the rest days plus the sum (今期) or the mean (累計) of the
// deviations of each shift type. Both read this period's table.
std::optional<float> 休日勤務分散_今期();
std::optional<float> 休日勤務分散_累計();
// kind "勤務": single work days (a work day between two rest days); any other text: single rest
// days. Days Sw_初期値使用 ? 1 : 2 .. Day_Cnt - 1 are tested.
int 単勤単休総数計算(const QString& kind);
std::optional<float> 単勤単休分散(const QString& kind);
int 単日個数カウント(bool work);
std::optional<float> 単日個数分散(bool work);

// Population standard deviation of values[1..n]: the sums run in single precision, each square in
// double, and the mean (over Member_Cnt) is kept in single precision. 0 without members.
float 標準偏差(int n, std::span<const float> values);
