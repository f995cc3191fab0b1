#include "engine/convert.h"

#include "engine/model.h"
#include "platform/text/vb.h"
#include "shell/excel_layer.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

int IntToBool(int n)
{
    return n != 0 ? 1 : 0;
}

QVariant NullIfEmpty(const QVariant& v)
{
    if (v.typeId() == QMetaType::QString && v.toString().isEmpty())
        return QVariant();
    return v;
}

QString NzStr(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return QString();
    return XlText(v);
}

QString ZeroToBlank(const QVariant& v)
{
    const QString s = NzStr(v);
    return Val(s) == 0 ? QString() : s;
}

QString TrimSpaces(const QString& s)
{
    QString r = s.trimmed();
    const QString two(2, QLatin1Char(' '));
    while (r.contains(two))
        r.replace(two, QStringLiteral(" "));
    return r;
}

int MemIdx(int n)
{
    for (int i = 1; i <= Member_Cnt; ++i)
        if (Val(Member_List(i, 1)) == n)
            return i;
    return 0;
}

int MemIdxOrM1(int n)
{
    const int i = MemIdx(n);
    return i == 0 ? -1 : i;
}

QString MemName(int i)
{
    return Member_List(i, 2);
}

long MemNo(long i)
{
    if (i < 1 || i > Member_Cnt)
        return -1;
    return toLong(Val(Member_List(static_cast<int>(i), 1)));
}

int MemDayOffInt(int i)
{
    return toInteger(Member_DayOff(i));
}

QString TypeName1(long i)
{
    return Type_Table(static_cast<int>(i), TYPE_勤務);
}

QString TypeName1V(const QVariant& v)
{
    const long i = v.isValid() ? toLong(v.toDouble()) : 0;
    return i == 0 ? QString() : TypeName1(i);
}

QString TypeText2(long i)
{
    if (i == 0)
        return QString();
    if (i > Type_Cnt)
        return QStringLiteral("-1");
    return Type_Table(static_cast<int>(i), TYPE_略称);
}

float TypeVal3(long i)
{
    return static_cast<float>(Val(Type_Table(static_cast<int>(i), TYPE_時間)));
}

int TypeIdx(const QString& s)
{
    // An empty cell is never a shift, whatever a type row lacks.
    if (s.isEmpty())
        return 0;
    int r = 0;
    for (int t = 1; t <= Type_Cnt; ++t)
        if (Type_Table(t, TYPE_略称) == s)
            r = t;
    if (s == Yasumi_Kigou)
        r = 0;
    if (s == QStringLiteral("*"))
        return kAllShifts;
    return r;
}

int TypeIdxOrg(const QString& s)
{
    xlSheet = &xlBook->worksheets(QStringLiteral("基本設定"));
    if (s.isEmpty())
        return -1;
    const xl::Range list = xlSheet->range(QStringLiteral("Type_Table_Org"));
    int r = -1;
    for (int i = 1; i <= Type_Cnt; ++i)
        if (XlText(list.cells(i, 1).value()) == s)
            r = i;
    if (s == QStringLiteral("*"))
        return kAllShifts;
    return r;
}

int ListIdx(QVariant& v)
{
    if (!v.isValid() || v.isNull())
        v = QString();
    const QString s = XlText(v);
    if (s.isEmpty())
        return 0;
    for (int i = 1; i <= 職制_Ex.UBound(1); ++i)
        if (XlText(職制_Ex(i, 1)) == s)
            return i;
    return 0;
}

int BitCount(long mask, int n)
{
    int c = 0;
    for (int i = 1; i <= n && i <= 31; ++i)
        if (mask & (1L << (i - 1)))
            ++c;
    return c;
}

long AllTypeMask()
{
    return (1L << Type_Cnt) - 1;
}

long SumUnmasked(long mask, int n, int k, const vb::TwoDimArray<int>& table)
{
    long sum = 0;
    for (int i = 1; i <= n; ++i)
        if (!(mask & (1L << (i - 1))))
            sum += table(i, k);
    return sum;
}

QString FmtPad(double v, long width, const QString& mode)
{
    const QString t = Format(v, QStringLiteral("0"));
    const long n = width - t.size();
    const QString pad = n >= 1 ? QString(static_cast<int>(n), QLatin1Char(' ')) : QString();
    return mode == QStringLiteral("左詰") ? t + pad : pad + t;
}

void SwapCols(vb::TwoDimArray<int>& table, long i, long j, int k)
{
    for (int c = 1; c <= k; ++c)
        std::swap(table(static_cast<int>(i), c), table(static_cast<int>(j), c));
}

namespace {

// Each row moves down past the rows it beats. A key that does not move with its row leaves the
// rows before row i out of order, so every pair is looked at.
void sortBySwaps(vb::TwoDimArray<int>& table, int k, int key, int start, int count, bool ascending)
{
    for (int i = start + 1; i <= start + count - 1; ++i)
        for (int j = i; j >= start + 1; --j) {
            const int a = table(j, key);
            const int b = table(j - 1, key);
            if (ascending ? a < b : a > b)
                SwapCols(table, j, j - 1, k);
        }
}

}  // namespace

void SortCols(vb::TwoDimArray<int>& table, int k, int key, int start, int count, bool ascending)
{
    // A key that does not move with its row, or rows too wide to copy, keep the moves.
    constexpr int kWidest = 8;
    if (count < 2 || key < 1 || key > k || k > kWidest) {
        sortBySwaps(table, k, key, start, count, ascending);
        return;
    }
    // The same order as the moves (both are stable), in n log n: the rows are taken out whole,
    // sorted and put back.
    using Fields = std::array<int, kWidest>;
    std::vector<Fields> rows(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r)
        for (int c = 1; c <= k; ++c)
            rows[size_t(r)][size_t(c - 1)] = table(start + r, c);
    const size_t at = size_t(key - 1);
    std::stable_sort(rows.begin(), rows.end(), [ascending, at](const Fields& a, const Fields& b) {
        return ascending ? a[at] < b[at] : a[at] > b[at];
    });
    for (int r = 0; r < count; ++r)
        for (int c = 1; c <= k; ++c)
            table(start + r, c) = rows[size_t(r)][size_t(c - 1)];
}
