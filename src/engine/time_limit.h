#pragma once
// The time limit of a generation run: LimitTime minutes (fractions of a minute count) measured on
// the program's monotonic clock from 作成開始時刻, in background mode as well as with the
// progress window.
#include <QString>
#include <QtGlobal>

// Milliseconds left of limitMinutes after elapsedMs; below 0 once the limit has passed.
qint64 timeRemainingMs(double limitMinutes, qint64 elapsedMs);
// What is left as "m:ss"; "0:00" once nothing is.
QString remainingText(qint64 remainingMs);
// The limit in force: LimitTime, or the start-condition default of 10 minutes when none above 0
// was set (a limit of 0 would stop every run at once).
double timeLimitMinutes();
// Milliseconds since the current run started (0 before any run).
qint64 generationElapsedMs();
// Milliseconds left in the current run (the whole limit while no run has started).
qint64 timeRemainingMs();

// Whether the limit stopped the current run; cleared when a run starts.
inline bool timeLimitExceeded = false;
// Once the run's limit has passed (exactly at the limit there is still time), raises Sw_中止 and
// sets timeLimitExceeded; true on the call that did so.
bool checkTimeLimit();
// "制限時間のN分が過ぎました！", a line break and "処理を中止します。", N as the limit was given.
QString timeLimitMessage();
