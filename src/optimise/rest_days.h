#pragma once
// Evening out the members' distance from their work-day targets, and the run count of isolated
// work or rest days that the best-shift store and the generation summary report.
#include "platform/text/vb_array.h"

#include <QString>

// Moves a work shift from the member most over (least under) target to the member furthest
// under it, on days where the first works and the second rests and the exchange check
// ("勤務日数判定要") allows it; 10 repetitions. day >= 1 limits the moves to that day, else
// every day; days before Start_Day are never touched. Members without a target (target = the day
// count) take no part. refresh redraws and recalculates the sheet after every repetition. True
// when a move was kept. Stops when Sw_中止 is set; the workbook's switches end as they were.
bool 休み数均等化(bool refresh, int day);

// Fills entries 1..n of table (0..Member_Cnt x 0..2) with row 1 = member, row 2 = target minus
// work days rounded (halves to even), members without a target left out, sorted by row 2
// descending with equal values in member order. Returns n.
int 休み過不足表(vb::TwoDimArray<int>& table);

// The sum over the members of 単勤単休数_個人 with long runs of 31 days; lastDay 0 = Day_Cnt.
long 単勤単休数(const QString& kind, int length, int lastDay);
// Member m's runs of rest days (kind "休み") or work days (any other kind) from day 1 (day 0 with
// Sw_初期値使用) to lastDay whose length equals length or reaches longRun. The run still open at
// lastDay counts only from two days on.
int 単勤単休数_個人(int m, const QString& kind, int length, int lastDay, int longRun);
