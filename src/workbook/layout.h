#pragma once
// Cell positions of the template shared by the builder, the recalculation and the macros. The
// named ranges are in template.cpp; these are the unnamed cells around them.
#include <QColor>

namespace workbook::layout {

// 人員配置表: member i is row i + 4, day d is column d + 3.
inline constexpr int kGridTop = 5;
inline constexpr int kGridLeft = 4;
inline constexpr int kShiftDateRow = 3;
inline constexpr int kShiftWeekdayRow = 4;
inline constexpr int kShiftTypeTotalsLeft = 35;      // AI: count of type t in column 34 + t
inline constexpr int kShiftWorkColumn = 45;          // AS
inline constexpr int kShiftRestColumn = 46;          // AT
inline constexpr int kShiftHolidayWorkColumn = 47;   // AU
inline constexpr int kShiftHoursColumn = 48;         // AV
inline constexpr int kShiftDayTotalsTop = 55;        // row 54 + t: staff of type t per day
inline constexpr int kShiftDayWorkRow = 65;
inline constexpr int kShiftDayNeedRow = 66;
inline constexpr int kShiftDayBalanceRow = 67;

// Day headings (first day column) of the other day grids; dates in row 3, weekdays in row 4.
inline constexpr int kScheduleLeft = 5;    // スケジュール E
inline constexpr int kReserveLeft = 3;     // 予約表 C
inline constexpr int kNeedLeft = 4;        // 要員設定 D

// Fills.
inline const QColor kSaturday(0xDD, 0xEB, 0xF7);
inline const QColor kHoliday(0xFC, 0xE4, 0xD6);
inline const QColor kUnusedDay(0xD9, 0xD9, 0xD9);
inline const QColor kDerived(0xF2, 0xF2, 0xF2);
inline const QColor kHeading(0xE7, 0xE6, 0xE6);
inline const QColor kSection(0x44, 0x72, 0xC4);
inline const QColor kBadEntry(0xFF, 0xC7, 0xCE);
inline const QColor kHighlight(0xFF, 0xEB, 0x9C);
inline const QColor kGridLine(0xA6, 0xA6, 0xA6);

}  // namespace workbook::layout
