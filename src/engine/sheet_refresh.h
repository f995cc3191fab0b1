#pragma once
// Finishing the shift grid on sheet 人員配置表 after it was written: the rest symbol into every
// empty cell of the members' days, and thick frames around the reserved cells and around the
// member-days on which no shift is allowed.
#include "platform/xl/xl.h"

#include <QString>

// "D5:" + the column and row of the last member's last day (31 days, 50 members: "D5:AH54").
// Makes 人員配置表 the current sheet (xlSheet).
QString 人員配置表範囲();

// Replace on the range with the alerts and screen updates off, both put back as found; what ""
// fills every empty cell. Errors are ignored.
void xlRangeReplace(const xl::Range& range, const QString& what, const QString& replacement);

// Rest symbol into every empty cell of the members' days; the sheet's protection is as before.
// Calculation is left manual after one recalculation of the sheet; the callers switch it back.
// Workbook errors reach the caller.
void 人員配置表更新();

// A thick frame in colour (an index of the 56-colour palette) around every reserved cell
// (Rsv_Table_Copy), or every member-day on which all shift types are forbidden (Member_Scdl).
// Colour 0 draws nothing. Frames are only added. The first error ends the framing and goes to the
// memory log with the routine's name; the workbook's switches end on.
void 予約強調表示(long colour);
void 全勤務不可強調表示(long colour);
