#pragma once
// The condition model: one month's scheduling conditions and the shift table being built, shared
// by the readers, the rule checks, the generator and the optimiser. Every table runs from 0 to
// count + 1 and is used from 1: index 0 and n + 1 exist on purpose (day 0 is the last day of the
// previous month, day D + 1 stays 0 so that the run scans stop there).
#include "platform/text/vb_array.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <cstdint>
#include <utility>

// Sizes and limits.
inline constexpr int MEM_MAX = 50;
inline constexpr int DAY_MAX = 31;
// Member_Sum keeps columns 11..13 for totals and a mask of ten bits means "every shift".
inline constexpr int TYPE_MAX = 10;
inline constexpr int 組合せ禁止勤務数 = 15;
inline constexpr int kMaxBannedGroups = 組合せ禁止勤務数 + 1;       // records 1..16
inline constexpr int kMaxRequiredGroups = 20 * 組合せ禁止勤務数 + 1;  // records 1..301
inline constexpr int kMaxGroupMembers = 101;
inline constexpr int kMaxPatterns = 11;
inline constexpr int kMaxOptimiserWeights = 15;

// Columns of Type_Table and of the shift-type input range.
inline constexpr int TYPE_勤務 = 1;
inline constexpr int TYPE_略称 = 2;
inline constexpr int TYPE_時間 = 3;
inline constexpr int TYPE_色 = 9;

// Shift number of "*" (any shift) in combination records.
inline constexpr int kAllShifts = 999;

// One combination ban or must.
struct 組合せ記録 {
    int 勤務 = 0;  // shift number, 999 = any shift
    int 人数 = 0;
    // [0] = n, [1..n] = member numbers (Member_List column 1); 0 where a sheet cell was empty.
    std::array<int, kMaxGroupMembers + 1> メンバー{};
    // The same members as roster indexes (MemIdx of each number, 0 when none), resolved once
    // when the conditions are read so that the rule checks need no lookup.
    std::array<int, kMaxGroupMembers + 1> memberIndex{};
};

// One group ban or must as read from the sheet.
struct 組合せ_grp記録 {
    int 勤務 = 0;  // 999 = any, -1 = a name not in the shift list
    int 人数 = 0;
    QString 職制;  // "*" = every group
};

// Counts.
inline int Member_Cnt = 0;
inline int Day_Cnt = 0;
inline int Type_Cnt = 0;
inline int Start_Day = 0;

// Tables sized by テーブル再定義 (m members, d days, t shift types).
inline vb::TwoDimArray<int> Time_Table;        // m, d: shift per member and day, 0 = rest
inline vb::TwoDimArray<int> Past_Table;        // m, 0..11: column 1 = last day of last month ... 10
inline vb::TwoDimArray<int> Rsv_Table;         // m, d: reserved shift, 0 = none
inline vb::TwoDimArray<QString> Member_List;   // m, 0..4: 1 number, 2 name, 3 group
inline vb::TwoDimArray<float> Member_Sum;      // m, 0..13: 1..t per shift, 11 total, 12 target - actual
inline vb::OneDimArray<float> Member_WorkDays; // m
inline vb::OneDimArray<float> Member_DayOff;   // m: work-day target
inline vb::OneDimArray<float> Member_Time;     // m: hour limit
inline vb::TwoDimArray<int> Member_Scdl;       // m, d: bit t-1 set = shift t not allowed
inline vb::TwoDimArray<int> Need_Table;        // 0..t+2, d: row 0 = the day's total
inline vb::TwoDimArray<QString> Type_Table;    // 0..t+1, 0..20: 0 number, 1 name, 2 abbreviation, 3 hours
inline vb::TwoDimArray<int> Type_Span;         // 0..t+1, 0..3: (i, 2) least days between two of shift i
inline vb::TwoDimArray<int> Type_Count;        // 0..t+1, 0..3: (i, 2) most of shift i per member
inline vb::TwoDimArray<int> Type_Color;        // 0..t+1, 0..3: (i, 2) colour of shift i
inline vb::OneDimArray<int> DayBefore_Table;   // 0..t+1: bit k-1 = shift k may not follow
inline vb::TwoDimArray<int> Kinsi_Pattern;     // 0..11, 0..6: (p, 0) length, (p, 1..5) shifts
inline vb::TwoDimArray<int> Hissu_Pattern;     // 0..11, 0..4: (p, 1) a shift, (p, 2) its follower
inline vb::OneDimArray<int> Member_RndIdx;     // m: member indexes in random order
inline vb::OneDimArray<float> 最適化比重;       // 0..15: factor per shift type
inline vb::OneDimArray<組合せ記録> Mem_Kinsi;          // 0..16
inline vb::OneDimArray<組合せ記録> Mem_Hissu;          // 0..301
inline vb::OneDimArray<組合せ_grp記録> Mem_Kinsi_grp;  // 0..16
inline vb::OneDimArray<組合せ_grp記録> Mem_Hissu_grp;  // 0..301
inline vb::OneDimArray<int> Holiday_Chk;       // d: nonzero = holiday (9 for a text)
inline vb::OneDimArray<float> Member_Sum_K;    // m: holiday work
inline vb::OneDimArray<float> Member_Sum_TTIME;  // 0..MEM_MAX+1: working hours
// Per member and shift type the days of the period that hold the shift (bit d = day d). It moves
// with the totals, so the score counts members x shift types instead of reading the table; a
// snapshot of the totals takes it along.
// Every row reached for writing, and every row on an assignment of the whole table, is marked
// changed: the score, which keeps counts per member, looks again only at the marked rows.
class DayBitsTable {
public:
    using Row = std::array<std::uint32_t, TYPE_MAX + 1>;

    DayBitsTable() = default;
    DayBitsTable(const DayBitsTable&) = default;
    DayBitsTable& operator=(const DayBitsTable& other)
    {
        rows_ = other.rows_;
        changed_ = ~std::uint64_t(0);
        return *this;
    }

    Row& operator[](size_t m)
    {
        changed_ |= std::uint64_t(1) << m;
        return rows_[m];
    }
    const Row& operator[](size_t m) const { return rows_[m]; }
    // Bit m set: row m may have changed since the last call.
    std::uint64_t takeChangedRows() { return std::exchange(changed_, 0); }

private:
    static_assert(MEM_MAX + 2 <= 64, "one bit per row");
    std::array<Row, MEM_MAX + 2> rows_{};
    std::uint64_t changed_ = ~std::uint64_t(0);
};
inline DayBitsTable shiftDayBits;

// Not sized by テーブル再定義.
inline vb::TwoDimArray<int> Rsv_Table_Copy;    // the reservations as read
inline QStringList 指定勤務;              // [0] empty, [1..] shift numbers as text
inline vb::TwoDimArray<QVariant> 職制_Ex;      // rows 1..n, column 1 = group name
// Last month's totals as read with Sw_過去累計使用 (m, 0..13: 1..t per shift, 11 total, 13
// holiday work), kept so that a recount of the totals starts from them again; empty without.
inline vb::TwoDimArray<float> lastMonthTotals;

// Scalars of the conditions.
inline int 連続勤務上限 = 0;
inline int 連続休み上限 = 0;
inline int Kinsi_Pattern_Cnt = 0;
inline int Hissu_Pattern_Cnt = 0;
inline int 組合せ禁止数 = 0;
inline int 組合せ必須数 = 0;
inline int 組合せ禁止数_grp = 0;
inline int 組合せ必須数_grp = 0;
inline long 経過表示 = 0;
inline int 基点曜日 = 0;
inline int 週間勤務日数上限 = 0;
inline long 予約罫線色 = 0;
inline long 全不可罫線色 = 0;
inline QString Yasumi_Kigou;
inline bool Sw_勤務日数調整 = true;
inline bool Sw_勤務時間調整 = false;
inline bool Sw_休日対象外 = false;
inline bool Sw_勤務集中 = false;
inline bool Sw_平日勤務集中 = false;
inline bool Sw_自動再挑戦 = true;
inline bool Sw_過去累計使用 = false;
inline bool Sw_初期値使用 = false;
inline bool Sw_バックグラウンド動作 = false;
inline bool Sw_ベストシフト作成 = false;
inline int Sw_確保優先 = 2;
inline bool 基本情報読込済 = false;
// Every day's staff was secured by the last attempt; the optimiser then adjusts work days first.
inline bool 確保完了 = false;
// Outcome of a generation run: -1 while an attempt runs or after a failure, 1 accepted, 0 stopped.
inline int 作成状態 = 0;

// Re-creates every table with the current counts, all elements zero or empty, and writes its
// seven boot-log lines.
void テーブル再定義();

// Member_Sum(1..M, 1..13), Member_Sum_K(1..M) and the day bits = 0; row 0, column 0 and row M + 1
// of the totals stay.
void ClearMemberSum();

// The work arrays at their largest sizes before a reading (Time_Table 0..51 x 0..32, Past_Table
// 0..51 x 0..31, Need_Table 0..11 x 0..32, Holiday_Chk 0..32, Member_RndIdx 0..51), emptied.
void maximiseWorkArrays();

// Everything above back to its start value with no table dimensioned (part of the engine's reset).
void resetConditionModel();
