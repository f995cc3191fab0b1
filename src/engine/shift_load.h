#pragma once
// Loading the shift grid the user sees into Time_Table, and the holiday-work counters of the
// candidate ranking.
#include <QString>

// Days firstDay..lastDay of every member from range Time_Table of sheet 人員配置表 (read straight
// from the cells). noCount 0 adds each loaded shift to the member totals (callers clear them
// first). firstDay -1 does nothing. quiet 0 shows "シフト表 参照中" while reading. False when a
// cell of the span holds "*" (no shift can be counted for it): an "入力エラー" message, and
// nothing is changed.
bool シフト表読込(int firstDay, int lastDay, int quiet, int noCount);

// Holidays on which member m works, counting day with the tentative shift instead of the table's.
long 休日勤務数(int m, int day, int shift);
// The members with the most / the fewest holiday work, as "2,5," (roster indexes).
QString 休日勤務最多者();
QString 休日勤務最少者();
