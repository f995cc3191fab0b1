#pragma once
// The optimiser runs the user starts from the weight settings window: each reloads the current
// state from the workbook, improves the table on sheet 人員配置表, puts the rest symbols and
// colours back and reports the score before and after. Each clears Sw_中止 first, marks itself as
// a run, and leaves the spreadsheet's switches and Sw_勤務日数調整 as it found them, also when an
// error ends it (the error then reaches the caller). A stop request ends the improving; the sheet
// is still finished and the report shown.

// Up to n repetitions of one optimiser pass (without the work-day adjustment), until one leaves
// the score unchanged. Report titled "完了", also written to the result log.
void 最適化_勤務交換(int n);

// Up to n repetitions of the rest-day exchanges of every member on every changeable day, until one
// does not lower the score; then one shift-swap pass. n = 0 reads and changes nothing. Report
// titled "完了" (no result log).
void 最適化_休み交換(int n);

// n rounds of random exchanges that keep every rule (the score may rise). Report titled
// "ランダム入替完了", also written to the result log.
void ランダム入替(int n);

// One pass of shift swaps: every member on every changeable day, each swap kept only when it
// lowers the score; the sheet is written after every member.
void 勤務交換処理();
