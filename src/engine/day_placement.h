#pragma once
// Staffing one day of the period for one try of a generation attempt: required sequences carried
// over from the day before, required member combinations, then every shift from ranked
// candidates. A failed try leaves the table, the reservations and the totals as they were.
#include "engine/candidate_choice.h"
#include "platform/text/vbarray.h"

// The column a failed try left, kept for the sheet: (1..Member_Cnt) the cells, (0) = 1.
inline vb::Array1<int> dayPlacementFailures;

// 1.0 when every shift of day d got its staff, else 0. Cells placed without a reservation are not
// yet in the totals: the caller counts them once the day is secured.
float 日別配置(int d, int tryNo);

// The order in which try tryNo fills the shift types: by interval and type number, reversed and
// mixed as the tries go on, at random from try 16.
勤務リスト dayShiftOrder(int tryNo);
