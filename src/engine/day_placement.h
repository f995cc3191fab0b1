#pragma once
// Staffing one day of the period for one try of a generation attempt: required sequences carried
// over from the day before, required member combinations, then every shift from ranked
// candidates. A failed try leaves the table, the reservations and the totals as they were.
#include "engine/candidate_choice.h"
#include "engine/rules.h"
#include "platform/text/vb_array.h"

#include <vector>

// The column a failed try left, kept for the sheet: (1..Member_Cnt) the cells, (0) = 1.
inline vb::OneDimArray<int> dayPlacementFailures;

// 1.0 when every shift of day d got its staff, else 0. Cells placed without a reservation are not
// yet in the totals: the caller counts them once the day is secured.
float 日別配置(int d, int tryNo);

// The order in which try tryNo fills the shift types: by interval and type number, reversed and
// mixed as the tries go on, at random from try 16.
勤務リスト dayShiftOrder(int tryNo);

// A rule that the fixed cells break by themselves: last month's days, the days before the start
// day, the reservations, the followers their required sequences carry over, and the member-days
// on which every shift is excluded (a forced rest). No choice of the run can mend it, so it fails
// no try: the follower is laid (or the rest kept, or the record left unmet) and the conflict is
// named instead.
struct FixedConflict {
    int m = 0;
    int d = 0;
    int shift = 0;  // the carried follower, 0 for a forced rest
    RefusalReason rule = RefusalReason::None;
    // A must record (Mem_Hissu) the fixed cells keep from being met on day d, m = 0: a pair split
    // by them, or a record whose listed members are too few once the fixed cells and exclusions
    // are taken away.
    int record = 0;
};
// The conflicts of the current month, found by findFixedConflicts before the days are staffed.
inline std::vector<FixedConflict> fixedConflicts;
// Looks at the fixed cells alone (every cell the run would choose left open) and fills
// fixedConflicts, each rule a cell breaks once. The table and the reservations are left as they
// were, but for the carried followers of the named cells: they are laid, reserved and counted.
void findFixedConflicts();
// The cells the user fixed (reservations, last month's days) with the followers they carry over,
// as findFixedConflicts found them; what the run lays itself is its own choice.
inline vb::TwoDimArray<int> userFixedCells;
// Member m's day d is fixed by the user. A cell the run laid itself, a chain's follow-up day
// included, is not. Before the fixed cells are looked at, every reservation counts.
bool fixedByUser(int m, int d);
// One line per conflict ("番号 氏名 mm/dd 略称：rule"; a record's members joined by "・"), ""
// when there is none.
QString fixedConflictLines();
// Member m belongs to a pair on shift t named as split by the fixed cells on day d: the run leaves
// it split.
bool inFixedPairSplit(int m, int d, int t);
