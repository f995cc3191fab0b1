#pragma once
// The best-shift store: in best-shift mode every table the generation accepts is kept here with a
// summary row, so that the best one (or any other) can be put back on the sheet afterwards. The
// counts live with the shell's globals (BestShift_Cnt, BestShift_OkCnt, BestShift_NgCnt), which
// the main window's caption shows. Also the two run scans of the problem notes, and 現状収集,
// the reload of the current state before every optimiser run, analysis and export.
#include "platform/text/vb_array.h"

#include <QVariant>
#include <vector>

// Summary rows 1..BestShift_Cnt, columns 0..20 (row 0 stays empty): 0 the sort value (a text, or
// the number of single days when both kinds count), 1 and 2 the single work and rest days, 3..6
// "", 10 the score as "0.0", 11 "?" and 12 the problems joined by " / " when there are any.
inline vb::TwoDimArray<QVariant> BestShift_Table;
// Element n: Time_Table as it was when row n was kept; element 0 stays empty.
inline std::vector<vb::TwoDimArray<int>> BestShift_Time;

// The store emptied: no rows, all counts 0 (the start of a best-shift run).
void resetBestShifts();

// Summarises the current table and, in best-shift mode, keeps it as the next row and enables the
// main window's restore menu.
void ベストシフト追加();

// The row of the lowest sort value among the rows without a problem (among all rows when every
// row has one); the lowest row among equals; 1 for an empty store.
long ベストシフト最良番号();

// Puts kept table n onto the sheet in one block (rest days empty, the rest symbol comes with the
// post-processing) and recounts the member totals from it. 0 when written; 1, with nothing
// changed, when the store is empty or holds no row n.
int シフト表復元(long n);

// Restores the best kept table and opens the list window; "データがありません！" without one.
// The sheet is cleared only once there is something to put back.
void ベストシフト復元();

// A run over a limit: roster index, length, first day.
struct RunRecord {
    int member = 0;
    int length = 0;
    int firstDay = 0;
};
// Runs of work days longer than 連続勤務上限 with at least one day not reserved, and runs of rest
// days longer than 連続休み上限; a run may reach the last day. A limit below 1 is no limit. The
// count of runs; list receives them.
int 連続勤務上限違反(std::vector<RunRecord>& list);
int 連続休み上限違反(std::vector<RunRecord>& list);

// Reloads the weights, the conditions and the sheet's table with its member totals (each cell
// counted once, reservations included); quiet 0 shows what it does and leaves that message open.
// False when the conditions or the table could not be read (the message has been shown).
bool 現状収集(int quiet);
