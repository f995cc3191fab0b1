#pragma once
// What the generation asks of the main window, which lies above the engine: the windowed program
// fills these in at start-up; a step left empty does nothing (tests, benchmarks).
#include <QString>
#include <functional>

struct 主画面手順型 {
    // The caption: a run's own text, or (empty) the program's caption back.
    std::function<void(const QString&)> キャプション;
    // Whether the best-shift restore menu can be used.
    std::function<void(bool)> ベストシフト復元可;
    // GetDayOffCnt and AdjDayOffCnt: rest runs longer than allowed are broken up.
    std::function<void()> 連続休み調整;
    // The main window leaves the topmost band, so that the run's windows can come before it.
    std::function<void()> 最前面解除;
};
inline 主画面手順型 主画面手順;
