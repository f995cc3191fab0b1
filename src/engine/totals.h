#pragma once
// The member totals kept in step with Time_Table: every change of an assignment after the totals
// exist goes through 勤務集計加算 (a new assignment) or 勤務変更 (an exchange), so the rule checks
// and the score can read the totals instead of recounting the table.
#include <QString>

// The hours of shift t (TypeVal3), parsed again only when its text changed: the checks and the
// exchanges read it millions of times and must not parse or allocate.
float shiftHours(int t);

// Member_Sum (0..M+1 x 0..13), Member_WorkDays, Member_Sum_K and Member_Sum_TTIME (0..M+1)
// re-created at zero, and the day bits (shiftDayBits) cleared.
void 集計クリア();

// Last month's totals (lastMonthTotals) put into Member_Sum and Member_Sum_K, replacing what they hold;
// nothing without Sw_過去累計使用.
void addLastMonthTotals();

// The totals counted afresh from Time_Table: all four cleared, last month's put back, then every
// assignment of days 1..Day_Cnt counted once. Whatever loaded or changed the table before (the
// reservations of the condition reading, a restore, a hand edit) is counted exactly once.
void recalculateTotals();

// One day of work shift t (1..Type_Cnt) added to member m's totals; Time_Table is not touched.
void 勤務集計加算(int m, int t, int d);

// Exchanges the cells of members a and b on day d and moves their totals with them; calling it
// again undoes it.
void 勤務変更(int a, int b, int d);

// Writes both members' cells of day d into range Time_Table of sheet 人員配置表 (the shift's
// abbreviation; Type_Table row 0 for a rest day). Every workbook error is ignored.
void 勤務セル表示(int a, int b, int d);

// The work-day standing of all members: minus the number of members over their target when there
// is any, else the number under it, else 0. text receives one line per member off target (index
// in 3 bytes, blank, number in 10 bytes, "-" when over or a blank when under, the difference).
// A member whose target equals Day_Cnt counts as on target.
float 出勤日数過不足一覧(QString& text);
