#pragma once
// The optimiser: passes of exchanges of two members' shifts on one day, each kept only when it
// lowers the score 全分散計算 and the swap check allows it (work-day and hour targets included).
#include <optional>

class ShiftBlock;

// Runs passes until two successive results differ by less than 0.001, the pass limit is reached
// or Sw_中止 is set. Before each pass, while the last attempt staffed every day (確保完了) and the
// adjustment has not yet met every target (作成状態 not 1), it adjusts work days or hours; while
// members stay off target each pass adds one to the limit, up to twice the limit asked for, and
// the rest days are reshuffled by 休み交換. A start score above 0 stands for the current score.
// Shows frm最適化 unless in background mode; the spreadsheet's switches are restored at the end.
void 最適化実行(long passLimit, int dayCount, float startScore);

// One pass: breaks over-long rest runs, then visits the days Start_Day..dayCount in a shuffled
// order and every member on each. Returns the running score rounded to three decimals; a pass
// cancelled by Sw_中止 still writes the shift sheet.
float 最適化パス(int dayCount, float startScore);

// Tries every later member as m's partner on the day and applies the exchange with the lowest
// score (the lowest member number among equals) when that score is below current; the new score,
// or nothing when no exchange was applied.
std::optional<float> 交換試行(int m, int day, float current, ShiftBlock& block);

// Screen updating and automatic calculation follow on, events stay off; then pending window events run.
void xlAppSwitch(bool on);
