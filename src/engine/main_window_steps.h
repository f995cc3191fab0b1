#pragma once
// What the generation asks of the main window, which lies above the engine: the windowed program
// fills these in at start-up; a step left empty does nothing (tests, benchmarks).
#include <QString>
#include <functional>

struct MainWindowSteps {
    // The caption: a run's own text, or (empty) the program's caption back.
    std::function<void(const QString&)> setCaption;
    // Whether the best-shift restore menu can be used.
    std::function<void(bool)> setBestShiftRestorable;
    // GetDayOffCnt and AdjDayOffCnt: rest runs longer than allowed are broken up.
    std::function<void()> adjustRestRuns;
    // The main window leaves the topmost band, so that the run's windows can come before it.
    std::function<void()> leaveTopmost;
};
inline MainWindowSteps mainWindowSteps;
