#pragma once
// Automatic work-day and hour adjustment: rest days of members who work too little become shifts
// of 指定勤務, preferring the days with the least staff. Every fill passes the assignment check
// and the generation's other hard rules (the least interval between two of a shift, the shift a
// required sequence asks for on the next day); strict mode also refuses fills that leave single
// days. Both routines write the filled cells to the shift sheet in one block.
#include "platform/text/vb_array.h"

// Raises work days towards Member_DayOff in two sweeps (the first only breaks rest runs longer
// than 連続休み上限 and keeps holidays free under Sw_平日勤務集中). Returns the work-day standing
// of 出勤日数過不足一覧 (0: every member with a target meets it); 0 when Sw_勤務日数調整 is off,
// Sw_中止 is set or 指定勤務 is empty. An error is shown titled "勤務日数調整" and gives 0.
int 勤務日数調整処理(bool strict);
// Fills every acceptable rest day of members with an hour limit, until the assignment check's
// hour test refuses; the same result. 0 when Sw_勤務時間調整 is off or Sw_中止 is set.
int 勤務時間調整処理(bool strict);

// Target minus work days; 0 for a member without a target (target = Day_Cnt).
float 勤務日数差(int m);

// The candidate days Start_Day..Day_Cnt: table(j, 1) the day at position j, table(j, 2) its
// surplus (members working that day minus the day's total need). The days are shuffled (3n random
// swaps) and then stable-sorted by surplus, so the shortest-staffed days come first and ties fall
// at random. Returns n.
int 調整日選択_時間(vb::TwoDimArray<int>& table);
// After a fill: the surpluses again and the same order re-sorted (not reshuffled), so that the
// positions before the filled day's stay as they were.
void reorderAdjustDays(vb::TwoDimArray<int>& table, int n);
// The day at position k, or -1 past the last position.
int 調整日選択(const vb::TwoDimArray<int>& table, int n, int k);

// Strict mode's refusal: filling rest day d would leave member m a single work day on d or a
// single rest day beside it, counted as the score counts them.
bool 規則違反判定(int m, int d);
