#include "optimise/score.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "shell/myfunc_main.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

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

// A member column and its deviation, which depends on the values alone: it is computed again only
// after a value changed.
class TrackedColumn {
public:
    void set(int i, float value)
    {
        float& v = values_[size_t(i)];
        if (v != value) {
            v = value;
            stale_ = true;
        }
    }

    void invalidate() { stale_ = true; }

    float deviation()
    {
        if (stale_) {
            deviation_ = 標準偏差(Member_Cnt, values_);
            stale_ = false;
        }
        return deviation_;
    }

private:
    Column values_{};
    float deviation_ = 0;
    bool stale_ = true;
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
        for (int i = 1; i <= Member_Cnt; ++i) {
            const bool dayZero = Sw_初期値使用 && Time_Table(i, 0) != 0;
            Row& row = rows_[size_t(i)];
            if (row.counted && row.dayZero == dayZero && sameBits(i, row))
                continue;
            count(i, dayZero);
            row = {shiftDayBits[size_t(i)], dayZero, true};
        }
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

    int singleTotal(bool work) const
    {
        const auto& counts = singleCounts_[work ? 1 : 0];
        int total = 0;
        for (int i = 1; i <= Member_Cnt; ++i)
            total += counts[size_t(i)];
        return total;
    }

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
        std::array<std::uint32_t, TYPE_MAX + 1> bits{};
        bool dayZero = false;
        bool counted = false;
    };

    static Shape currentShape()
    {
        return {Member_Cnt, Type_Cnt, Day_Cnt, holidayBits() & dayRange(1, Day_Cnt), Sw_初期値使用};
    }

    static bool sameBits(int i, const Row& row)
    {
        const auto& bits = shiftDayBits[size_t(i)];
        return std::equal(bits.begin() + 1, bits.begin() + 1 + Type_Cnt, row.bits.begin() + 1);
    }

    void reset(const Shape& shape)
    {
        shape_ = shape;
        for (Row& row : rows_)
            row.counted = false;
        for (Columns* columns : {&shifts_, &cumulative_, &holidays_})
            for (TrackedColumn& c : *columns)
                c.invalidate();
        for (TrackedColumn& c : singles_)
            c.invalidate();
    }

    void count(int i, bool dayZero)
    {
        const std::uint32_t period = dayRange(1, Day_Cnt);
        std::uint32_t work = 0;
        for (int k = 1; k <= Type_Cnt; ++k) {
            const std::uint32_t days = shiftDayBits[size_t(i)][size_t(k)] & period;
            shifts_[size_t(k)].set(i, float(bitCount(days)));
            holidays_[size_t(k)].set(i, float(bitCount(days & shape_.holidays)));
            work |= days;
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
        singleCounts_[1][size_t(i)] = work;
        singleCounts_[0][size_t(i)] = rest;
        singles_[1].set(i, float(work));
        singles_[0].set(i, float(rest));
    }

    float typeDeviation(int k, bool cumulative)
    {
        if (!cumulative || !Sw_過去累計使用)
            return shifts_[size_t(k)].deviation();
        TrackedColumn& column = cumulative_[size_t(k)];
        for (int i = 1; i <= Member_Cnt; ++i)
            column.set(i, Member_Sum(i, k));
        return column.deviation();
    }

    using Columns = std::array<TrackedColumn, TYPE_MAX + 1>;

    Shape shape_;
    std::array<Row, MEM_MAX + 2> rows_{};
    Columns shifts_{};
    Columns cumulative_{};
    Columns holidays_{};
    std::array<TrackedColumn, 2> singles_{};
    std::array<std::array<int, MEM_MAX + 2>, 2> singleCounts_{};
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
    for (int i = 1; i <= n; ++i) {
        const float diff = values[size_t(i)] - mean;
        squares = float(double(squares) + double(diff) * double(diff));
    }
    return float(std::sqrt(double(squares / float(n))));
}

float 全分散計算()
{
    if (noMembersOrTypes())
        return 0;
    for (int i = 1; i <= Member_Cnt; ++i)
        Member_Sum(i, 12) = float(MemDayOffInt(i)) - Member_WorkDays(i);

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
