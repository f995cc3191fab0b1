#pragma once
// What the generation and its exchange passes need of the optimiser: the score, the shakes between
// failed tries, the optimiser run after a staffed attempt, the best-shift store and the reports.
// The optimiser lies above the engine, so it fills these in itself (installOptimiserSteps) at
// start-up; tests and benchmarks install it the same way. A step left empty is skipped (the
// engine's own tests generate without the optimiser), except where a result is needed: that
// call throws, naming the step (shell/required_step.h).
#include <QString>
#include <functional>

struct OptimiserSteps {
    // The score of the current Time_Table and member totals (lower is better).
    std::function<float()> 全分散計算;
    // Random exchanges of members' shifts on days firstDay..lastDay, each kept when the swap
    // check allows it.
    std::function<void(int lastDay, int firstDay)> ランダム交換;
    // Moves rest days from the members furthest over their targets to those furthest under.
    std::function<bool(bool refresh, int day)> 休み数均等化;
    // Passes of exchanges over days Start_Day..dayCount until the score settles or the pass limit
    // is reached (startScore 0: the current score); adjusts work days or hours first while the
    // staffed table is off target.
    std::function<void(long passLimit, int dayCount, float startScore)> 最適化実行;
    // n rounds of random exchanges over the changeable period.
    std::function<void(int rounds)> ランダム入替処理;
    // The best-shift store (its count is BestShift_Cnt): emptied when a best-shift run starts, the
    // current table added after every accepted attempt, the best kept table put back on the sheet.
    std::function<void()> clearBestShifts;
    std::function<void()> ベストシフト追加;
    std::function<void()> ベストシフト復元;
    // The weighted-dispersion report headed by guide (with the run's time), and the list of the
    // weight parameters.
    std::function<QString(const QString& guide)> 荷重分散レポート作成;
    std::function<QString()> 荷重パラメータ一覧;
    // Single work days ("勤務") or single rest days ("休み") over all members.
    std::function<long(const QString& kind)> 単勤単休数;
};
inline OptimiserSteps optimiserSteps;
