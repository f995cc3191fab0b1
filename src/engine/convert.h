#pragma once
// Small conversions and the lookups into the shift-type and member tables of the condition model.
// The lookups read the tables as they stand at the call; their tie-breaks are relied on by the
// candidate ranking and the rule checks. (Byte widths: LenA/RSetA/LSetA in platform/text/cp932.h;
// bits: BitValue/BitAnd in shell/mymod.h; CellAddr in shell/myfile.h.)
#include "platform/text/vb_array.h"

#include <QString>
#include <QVariant>

// Dimensions of an array: 0 while it was never dimensioned.
template <typename T>
int ArrayDims(const vb::OneDimArray<T>& a)
{
    return a.UBound() < 0 ? 0 : 1;
}
template <typename T>
int ArrayDims(const vb::TwoDimArray<T>& a)
{
    return a.UBound(1) < 0 ? 0 : 2;
}

// 1 when n is not 0, else 0.
int IntToBool(int n);
// An invalid (Null) value for an empty text, else v (for database writes).
QVariant NullIfEmpty(const QVariant& v);
// "" for Null, else v as text.
QString NzStr(const QVariant& v);
// v as text, but "" when Val of that text is 0.
QString ZeroToBlank(const QVariant& v);
// Trimmed, every run of blanks made one blank.
QString TrimSpaces(const QString& s);

// The first roster index whose number has Val = n; 0 (MemIdxOrM1: -1) when none.
int MemIdx(int n);
int MemIdxOrM1(int n);
// Member_List(i, 2).
QString MemName(int i);
// The member number of roster index i; -1 outside 1..Member_Cnt.
long MemNo(long i);
// Member_DayOff(i) to the nearest integer, halves to the even neighbour.
int MemDayOffInt(int i);

// Type_Table(i, TYPE_勤務); TypeName1V gives "" for 0 or an empty value.
QString TypeName1(long i);
QString TypeName1V(const QVariant& v);
// The abbreviation of shift i: "" for 0, "-1" above Type_Cnt.
QString TypeText2(long i);
// The hours of shift i.
float TypeVal3(long i);
// Shift number of an abbreviation: the last matching type; 0 for the empty text, for the rest
// symbol (even when a type shares it) and for a text that matches nothing; 999 for "*".
int TypeIdx(const QString& s);
// Position of a shift name in 基本設定's Type_Table_Org (the last match), 999 for "*", -1 when
// absent or empty. Leaves xlSheet on 基本設定.
int TypeIdxOrg(const QString& s);
// Row of a group name in 職制_Ex (the first match); 0 for "" or none. Null becomes "" in v.
int ListIdx(QVariant& v);

inline bool IsZero(long n)
{
    return n == 0;
}
// Number of i in 1..n whose bit i-1 is set in mask (n at most 31).
int BitCount(long mask, int n);
// One bit per shift type: 2^Type_Cnt - 1.
long AllTypeMask();
// Sum of table(i, k) over i = 1..n whose bit i-1 in mask is clear.
long SumUnmasked(long mask, int n, int k, const vb::TwoDimArray<int>& table);

// b when b > a, else a (a on a tie); MinV likewise.
template <typename T>
T MaxV(const T& a, const T& b)
{
    return b > a ? b : a;
}
template <typename T>
T MinV(const T& a, const T& b)
{
    return b < a ? b : a;
}

// Format(v, "0") padded with blanks to width characters, behind for "左詰", else in front.
QString FmtPad(double v, long width, const QString& mode);

// Stable sort of positions start..start+count-1 of table by field key; fields 1..k move with
// their position, field 0 and fields above k stay.
void SortCols(vb::TwoDimArray<int>& table, int k, int key, int start, int count, bool ascending);
// Exchanges fields 1..k of positions i and j.
void SwapCols(vb::TwoDimArray<int>& table, long i, long j, int k);
