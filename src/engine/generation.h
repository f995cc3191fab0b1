#pragma once
// One generation attempt: the conditions read afresh, the grid cleared from the start day on, and
// the days Start_Day..Day_Cnt staffed one by one in up to 50 tries each, the days already filled
// shaken between failed tries. Every finished day column goes to the sheet at once, so the user
// sees the roster grow.
#include <QElapsedTimer>
#include <QtGlobal>

enum class 試行結果 {
    実行,      // the day loop ran (確保完了 tells whether every day was staffed)
    開始不可,  // no attempt can start: the conditions could not be read, or fewer than 2 members
    中止,      // the pre-run analysis was answered with stop (Sw_中止 is set)
};

// Where an attempt spent its time, added up over a run (the benchmark reads it).
struct 作成計測 {
    long 試行数 = 0;     // attempts that reached the day loop
    long 日数 = 0;       // days tried
    long 試し数 = 0;     // tries of those days
    qint64 読込ns = 0;   // clearing the grid and reading the conditions
    qint64 配置ns = 0;   // 日別配置
    qint64 揺すりns = 0; // the shakes between failed tries
    qint64 書込ns = 0;   // day columns written to the sheet
    qint64 最適化ns = 0; // the optimiser runs after staffed attempts
    qint64 後処理ns = 0; // finishing the accepted or failed table
    qint64 採用ms = -1;  // from the run's start to the first accepted table
    // How the attempts that reached the day loop ended (a stopped attempt is in none of them).
    long 確保失敗数 = 0;  // some day not staffed in 50 tries
    long 休み過多数 = 0;  // staffed, then not accepted: too many rest days for someone
    long 休み過少数 = 0;  // staffed, then not accepted: too few rest days for someone
    long 採用数 = 0;      // accepted
};
inline 作成計測 作成計測値;

// Adds the time from construction to destruction to a counter of 作成計測値.
class 計測区間 {
public:
    explicit 計測区間(qint64& total) : total_(total) { clock_.start(); }
    ~計測区間() { total_ += clock_.nsecsElapsed(); }
    計測区間(const 計測区間&) = delete;
    計測区間& operator=(const 計測区間&) = delete;

private:
    qint64& total_;
    QElapsedTimer clock_;
};

// One attempt. analyse shows the pre-run analysis first (the driver asks for it once per run,
// never in background mode). 作成状態 becomes 0 when the attempt cannot start or is stopped.
試行結果 シフト作成(bool analyse);

// Whether display pacing waits run: not in background mode, nor while 表示待ちなし is set (tests
// and benchmarks).
inline bool 表示待ちなし = false;
bool 表示待ち有効();
