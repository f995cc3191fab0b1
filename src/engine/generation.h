#pragma once
// One generation attempt: the conditions read afresh, the grid cleared from the start day on, and
// the days Start_Day..Day_Cnt staffed one by one in up to 50 tries each, the days already filled
// shaken between failed tries. Every finished day column goes to the sheet at once, so the user
// sees the roster grow.
#include "engine/rule_timing.h"

#include <QtGlobal>

enum class AttemptResult {
    Ran,      // the day loop ran (確保完了 tells whether every day was staffed)
    CannotStart,  // no attempt can start: the conditions could not be read, or fewer than 2 members
    中止,      // the pre-run analysis was answered with stop (Sw_中止 is set)
};

// Where an attempt spent its time, added up over a run (the benchmark reads it).
struct GenerationTiming {
    long attempts = 0;     // attempts that reached the day loop
    long dayCount = 0;       // days tried
    long tries = 0;     // tries of those days
    qint64 readNs = 0;   // clearing the grid and reading the conditions
    qint64 placeNs = 0;   // 日別配置
    qint64 shakeNs = 0; // the shakes between failed tries
    qint64 writeNs = 0;   // day columns written to the sheet
    qint64 optimiseNs = 0; // the optimiser runs after staffed attempts
    qint64 finishNs = 0; // finishing the accepted or failed table
    qint64 acceptedMs = -1;  // from the run's start to the first accepted table
    // How the attempts that reached the day loop ended (a stopped attempt is in none of them).
    long understaffedCount = 0;  // some day not staffed in 50 tries
    long tooManyRests = 0;  // staffed, then not accepted: too many rest days for someone
    long tooFewRests = 0;  // staffed, then not accepted: too few rest days for someone
    long accepted = 0;      // accepted
};
inline GenerationTiming generationTiming;

// One attempt. analyse shows the pre-run analysis first (the driver asks for it once per run,
// never in background mode). 作成状態 becomes 0 when the attempt cannot start or is stopped.
AttemptResult シフト作成(bool analyse);

// Whether display pacing waits run: not in background mode, nor while noDisplayWait is set (tests
// and benchmarks).
inline bool noDisplayWait = false;
bool displayWaitOn();
