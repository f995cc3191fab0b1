#pragma once
// Reason codes of a refused exchange: one number that says which rule failed and for which of the
// two members, code = c * 1000000 + b * 1000 + a (a the reason number, b the first member's row
// when the rule concerns it, c the second member's row).
#include <QString>

// Reason numbers the swap check emits.
namespace reasons {
inline constexpr int 必須パターン = 10;
inline constexpr int 不可勤務 = 20;
inline constexpr int NoRunDayBefore = 30;
inline constexpr int NoRunDayAfter = 31;
inline constexpr int BannedPatternSameDay = 40;
inline constexpr int BannedPatternDayBefore = 41;
inline constexpr int 連続勤務日数 = 50;
inline constexpr int WorkHoursExceeded = 60;
inline constexpr int HoursPerDayExceeded = 61;
inline constexpr int 勤務日数超過 = 62;
inline constexpr int WeeklyWorkDaysAdjust = 67;
inline constexpr int 予約済み = 70;
inline constexpr int メンバー組合せ = 80;
inline constexpr int 必須メンバー = 90;
inline constexpr int 連続休み数 = 100;
inline constexpr int 勤務最少間隔 = 110;
inline constexpr int ShiftCountLimit = 130;
inline constexpr int 週間勤務日数 = 150;
}  // namespace reasons

// c * 1000000 + b * 1000 + a; a result beyond 32 bits raises run-time error 6 (overflow).
long 理由コード作成(int a, int b, int c);

// The rule's text ("" for a number the table does not know); reasonNo = code mod 1000, and the
// member numbers (MemNo, -1 for row 0 or a row past Member_Cnt) of the rows in the third and the
// second place.
QString 理由コード分解(long code, long& reasonNo, long& memberNoC, long& memberNoB);
