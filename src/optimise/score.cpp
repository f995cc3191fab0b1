#include "optimise/score.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "shell/myfunc_main.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

namespace {

// One value per member, rows 1..Member_Cnt.
using Column = std::array<float, MEM_MAX + 2>;

bool noMembersOrTypes()
{
    return Type_Cnt * Member_Cnt < 1;
}

// The day bits hold MEM_MAX members and TYPE_MAX types; the condition reading refuses more.
void checkSizes()
{
    if (Member_Cnt > MEM_MAX || Type_Cnt > TYPE_MAX || Day_Cnt > DAY_MAX)
        vb::subscriptOutOfRange();
}

// Bits first..last (empty when first > last); days run to 31 at most.
std::uint32_t dayRange(int first, int last)
{
    if (first > last)
        return 0;
    return ((std::uint32_t(2) << last) - 1) & ~((std::uint32_t(1) << first) - 1);
}

// Counted in a few shifts and adds: without the POPCNT instruction, which the baseline target
// lacks, std::popcount is a library call that cost more than the rest of the score.
int bitCount(std::uint32_t v)
{
    v = v - ((v >> 1) & 0x55555555u);
    v = (v & 0x33333333u) + ((v >> 2) & 0x33333333u);
    return int((((v + (v >> 4)) & 0x0F0F0F0Fu) * 0x01010101u) >> 24);
}

std::uint32_t holidayBits()
{
    std::uint32_t bits = 0;
    for (int d = 1; d <= Day_Cnt; ++d)
        if (Holiday_Chk(d) > 0)
            bits |= std::uint32_t(1) << d;
    return bits;
}

// The steps of a deviation, shared by 標準偏差 and the kept columns so that both agree to the bit.
float addSquare(float squares, float value, float mean)
{
    const float diff = value - mean;
    return float(double(squares) + double(diff) * double(diff));
}

float rootOfMean(float squares, int n)
{
    return float(std::sqrt(double(squares / float(n))));
}

bool sameBits(float a, float b)
{
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// A member column and its deviation, which depends on the values alone. The running sums are kept
// row by row: after a change from row first on, both sums resume there (the squares only when the
// mean came out the same), since the rows before it add up exactly as before.
class TrackedColumn {
public:
    void set(int i, float value)
    {
        float& v = values_[size_t(i)];
        if (!sameBits(v, value)) {
            v = value;
            first_ = std::min(first_, i);
        }
    }

    // Rows 1..Member_Cnt at once: an unchanged column costs one comparison.
    void assign(const Column& values)
    {
        const size_t bytes = sizeof(float) * size_t(Member_Cnt);
        if (std::memcmp(values_.data() + 1, values.data() + 1, bytes) == 0)
            return;
        for (int i = 1; i <= Member_Cnt; ++i)
            set(i, values[size_t(i)]);
    }

    void invalidate()
    {
        first_ = 1;
        meanKept_ = false;
    }

    float deviation()
    {
        const int n = Member_Cnt;
        if (n < 1)
            return 0;
        if (first_ <= n) {
            deviation_ = recompute(n);
            first_ = n + 1;
        }
        return deviation_;
    }

private:
    float recompute(int n)
    {
        float sum = sums_[size_t(first_ - 1)];
        for (int i = first_; i <= n; ++i) {
            sum += values_[size_t(i)];
            sums_[size_t(i)] = sum;
        }
        const float mean = sum / float(Member_Cnt);
        const int from = meanKept_ && sameBits(mean, mean_) ? first_ : 1;
        mean_ = mean;
        meanKept_ = true;
        float squares = squares_[size_t(from - 1)];
        for (int i = from; i <= n; ++i) {
            squares = addSquare(squares, values_[size_t(i)], mean);
            squares_[size_t(i)] = squares;
        }
        return rootOfMean(squares, n);
    }

    // Row 0 of both sums stays 0.
    Column values_{};
    Column sums_{};
    Column squares_{};
    float mean_ = 0;
    bool meanKept_ = false;
    float deviation_ = 0;
    int first_ = 1;
};

// The period's counts of every member, kept from score to score: an exchange changes two members'
// rows, so only a row whose day bits (or day 0) changed is counted again. Another period, holiday
// set, size or day 0 switch counts every row again.
class PeriodCounts {
public:
    void refresh()
    {
        checkSizes();
        const Shape shape = currentShape();
        if (!(shape == shape_))
            reset(shape);
        std::uint64_t changed = shiftDayBits.takeChangedRows();
        if (!allCounted_) {
            for (int i = 1; i <= Member_Cnt; ++i)
                refreshRow(i, true);
            allCounted_ = true;
            return;
        }
        changed &= (std::uint64_t(2) << Member_Cnt) - 2;
        // Day 0 is not in the day bits: with it in use, its column is compared row by row.
        if (Sw_初期値使用 && Member_Cnt >= 1) {
            const int n = Member_Cnt;
            const ptrdiff_t stride = &Time_Table(1, 0) - &Time_Table(0, 0);
            const int* dayZero = &Time_Table(n, 0) - stride * (n - 1);
            for (int i = 1; i <= n; ++i)
                if ((dayZero[stride * (i - 1)] != 0) != rows_[size_t(i)].dayZero)
                    changed |= std::uint64_t(1) << i;
        }
        for (; changed != 0; changed &= changed - 1)
            refreshRow(std::countr_zero(changed), true);
    }

    // (1/T) x the sum of deviation x factor over the types taken by t.
    float perType(int t, bool cumulative)
    {
        const int first = t <= 0 ? 1 : t;
        const int last = t <= 0 ? Type_Cnt : (t <= Type_Cnt ? t : 0);
        float sum = 0;
        for (int k = first; k <= last; ++k)
            sum += typeDeviation(k, cumulative) * 最適化比重(k);
        return sum / float(Type_Cnt);
    }

    float holidays(bool cumulative)
    {
        const float rest = holidays_[0].deviation();
        float types = 0;
        for (int k = 1; k <= Type_Cnt; ++k)
            types += holidays_[size_t(k)].deviation();
        if (cumulative)
            return (float(Type_Cnt) * rest + types) / float(Type_Cnt);
        return rest + types;
    }

    int singleTotal(bool work) const { return singleTotals_[work ? 1 : 0]; }

    // The mean from the integer total (exact in single precision) equals the one from the sum of
    // the counts, so the general deviation serves.
    float singleDeviation(bool work) { return singles_[work ? 1 : 0].deviation(); }

private:
    struct Shape {
        int members = -1;
        int types = -1;
        int days = -1;
        std::uint32_t holidays = 0;
        bool dayZero = false;
        bool operator==(const Shape&) const = default;
    };

    struct Row {
        DayBitsTable::Row bits{};
        bool dayZero = false;
        bool counted = false;
    };

    void refreshRow(int i, bool marked)
    {
        const bool dayZero = Sw_初期値使用 && Time_Table(i, 0) != 0;
        Row& row = rows_[size_t(i)];
        const bool same = row.counted && row.dayZero == dayZero;
        if (same && !marked)
            return;
        // The whole row is compared: bits of types beyond Type_Cnt only cost a needless count.
        const DayBitsTable::Row& bits = std::as_const(shiftDayBits)[size_t(i)];
        if (!(same && row.bits == bits))
            count(i, dayZero, row);
        row = {bits, dayZero, true};
    }

    static Shape currentShape()
    {
        return {Member_Cnt, Type_Cnt, Day_Cnt, holidayBits() & dayRange(1, Day_Cnt), Sw_初期値使用};
    }

    void reset(const Shape& shape)
    {
        shape_ = shape;
        allCounted_ = false;
        singleCounts_ = {};
        singleTotals_ = {};
        for (Row& row : rows_)
            row.counted = false;
        for (Columns* columns : {&shifts_, &cumulative_, &holidays_})
            for (TrackedColumn& c : *columns)
                c.invalidate();
        for (TrackedColumn& c : singles_)
            c.invalidate();
    }

    // The types whose bits are as last counted keep their counts.
    void count(int i, bool dayZero, const Row& before)
    {
        const std::uint32_t period = dayRange(1, Day_Cnt);
        const auto& bits = std::as_const(shiftDayBits)[size_t(i)];
        std::uint32_t work = 0;
        for (int k = 1; k <= Type_Cnt; ++k) {
            const std::uint32_t days = bits[size_t(k)] & period;
            work |= days;
            if (before.counted && before.bits[size_t(k)] == bits[size_t(k)])
                continue;
            shifts_[size_t(k)].set(i, float(bitCount(days)));
            holidays_[size_t(k)].set(i, float(bitCount(days & shape_.holidays)));
        }
        holidays_[0].set(i, float(bitCount(shape_.holidays & ~work)));
        countSingles(i, dayZero ? work | 1 : work);
    }

    // Day 1 is tested only when day 0 holds last month's final day; the last day never is.
    void countSingles(int i, std::uint32_t w)
    {
        const std::uint32_t tested = dayRange(Sw_初期値使用 ? 1 : 2, Day_Cnt - 1);
        const int work = bitCount(w & ~(w << 1) & ~(w >> 1) & tested);
        const int rest = bitCount(~w & (w << 1) & (w >> 1) & tested);
        // The totals follow the rows' counts; rows beyond Member_Cnt stay 0 (see reset).
        singleTotals_[1] += work - std::exchange(singleCounts_[1][size_t(i)], work);
        singleTotals_[0] += rest - std::exchange(singleCounts_[0][size_t(i)], rest);
        singles_[1].set(i, float(work));
        singles_[0].set(i, float(rest));
    }

    float typeDeviation(int k, bool cumulative)
    {
        if (!cumulative || !Sw_過去累計使用)
            return shifts_[size_t(k)].deviation();
        Column column{};
        for (int i = 1; i <= Member_Cnt; ++i)
            column[size_t(i)] = Member_Sum(i, k);
        TrackedColumn& tracked = cumulative_[size_t(k)];
        tracked.assign(column);
        return tracked.deviation();
    }

    using Columns = std::array<TrackedColumn, TYPE_MAX + 1>;

    Shape shape_;
    bool allCounted_ = false;
    std::array<Row, MEM_MAX + 2> rows_{};
    Columns shifts_{};
    Columns cumulative_{};
    Columns holidays_{};
    std::array<TrackedColumn, 2> singles_{};
    std::array<std::array<int, MEM_MAX + 2>, 2> singleCounts_{};
    std::array<int, 2> singleTotals_{};
};

// Member_Sum(i, 12) for every member. Rounding the target is a library call, so each member's is
// kept while its Member_DayOff stays the same (0 rounds to 0, which the empty cache holds).
class WorkDayStanding {
public:
    void write()
    {
        checkSizes();
        const int n = Member_Cnt;
        if (n < 1)
            return;
        // The bounds are checked once, at the last member; the rows are then read in place.
        const float* dayOff = &Member_DayOff(n) - (n - 1);
        const float* workDays = &Member_WorkDays(n) - (n - 1);
        const ptrdiff_t stride = &Member_Sum(1, 12) - &Member_Sum(0, 12);
        float* standing = &Member_Sum(n, 12) - stride * (n - 1);
        for (int i = 1; i <= n; ++i) {
            const float off = dayOff[i - 1];
            if (!sameBits(off, dayOff_[size_t(i)])) {
                dayOff_[size_t(i)] = off;
                target_[size_t(i)] = float(MemDayOffInt(i));
            }
            standing[stride * (i - 1)] = target_[size_t(i)] - workDays[i - 1];
        }
    }

private:
    Column dayOff_{};
    Column target_{};
};

// The counts brought up to date with the table.
PeriodCounts& periodCounts()
{
    static PeriodCounts counts;
    counts.refresh();
    return counts;
}

bool isWorkKind(const QString& kind)
{
    return kind == u"勤務";
}

// The priority type's term times its multiplier, rounded to single precision on return.
float priorityTerm(PeriodCounts& counts, bool cumulative)
{
    const long multiplier = cumulative ? 荷重_優先勤務倍率 : 荷重_優先勤務倍率_今期;
    return float(double(counts.perType(int(荷重_優先勤務), cumulative)) * double(multiplier));
}

}  // namespace

float 標準偏差(int n, std::span<const float> values)
{
    if (Member_Cnt < 1)
        return 0;
    float sum = 0;
    for (int i = 1; i <= n; ++i)
        sum += values[size_t(i)];
    const float mean = sum / float(Member_Cnt);
    float squares = 0;
    for (int i = 1; i <= n; ++i)
        squares = addSquare(squares, values[size_t(i)], mean);
    return rootOfMean(squares, n);
}

float 全分散計算()
{
    if (noMembersOrTypes())
        return 0;
    static WorkDayStanding standing;
    standing.write();

    PeriodCounts& counts = periodCounts();
    float score = 0;
    // A term of weight 0 adds exactly 0, so it is not computed.
    auto add = [&score](long weight, auto term) {
        if (weight != 0)
            score = float(double(term()) * double(weight) + double(score));
    };
    add(荷重_各勤務日数_今期, [&] { return counts.perType(0, false); });
    add(荷重_各勤務日数, [&] { return counts.perType(0, true); });
    // The priority terms come weighted; a multiplier of 0 makes them exactly 0.
    if (荷重_優先勤務 > 0) {
        if (荷重_優先勤務倍率_今期 != 0)
            score = float(double(priorityTerm(counts, false)) + double(score));
        if (荷重_優先勤務倍率 != 0)
            score = float(double(priorityTerm(counts, true)) + double(score));
    }
    add(荷重_休日勤務_今期, [&] { return counts.holidays(false); });
    add(荷重_休日勤務, [&] { return counts.holidays(true); });
    add(荷重_単勤総数_今期, [&] { return counts.singleTotal(true); });
    add(荷重_単休総数_今期, [&] { return counts.singleTotal(false); });
    add(荷重_単勤分散_今期, [&] { return counts.singleDeviation(true); });
    add(荷重_単休分散_今期, [&] { return counts.singleDeviation(false); });
    return score;
}

std::optional<float> 各勤務日数分散_今期(int t)
{
    if (noMembersOrTypes())
        return std::nullopt;
    return periodCounts().perType(t, false);
}

std::optional<float> 各勤務日数分散_累計(int t)
{
    if (noMembersOrTypes())
        return std::nullopt;
    return periodCounts().perType(t, true);
}

std::optional<float> 優先勤務分散_今期()
{
    if (noMembersOrTypes())
        return std::nullopt;
    return priorityTerm(periodCounts(), false);
}

std::optional<float> 優先勤務分散_累計()
{
    if (noMembersOrTypes())
        return std::nullopt;
    return priorityTerm(periodCounts(), true);
}

std::optional<float> 休日勤務分散_今期()
{
    if (noMembersOrTypes())
        return std::nullopt;
    return periodCounts().holidays(false);
}

std::optional<float> 休日勤務分散_累計()
{
    if (noMembersOrTypes())
        return std::nullopt;
    return periodCounts().holidays(true);
}

int 単勤単休総数計算(const QString& kind)
{
    return 単日個数カウント(isWorkKind(kind));
}

std::optional<float> 単勤単休分散(const QString& kind)
{
    return 単日個数分散(isWorkKind(kind));
}

int 単日個数カウント(bool work)
{
    if (noMembersOrTypes())
        return 0;
    return periodCounts().singleTotal(work);
}

std::optional<float> 単日個数分散(bool work)
{
    if (noMembersOrTypes())
        return std::nullopt;
    return periodCounts().singleDeviation(work);
}
