#include "optimise/score.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "shell/myfunc_main.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// One value per member, rows 1..Member_Cnt.
using Column = std::array<float, MEM_MAX + 2>;
using Columns = std::array<Column, TYPE_MAX + 1>;

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

std::uint32_t workBits(int i, std::uint32_t period)
{
    std::uint32_t bits = 0;
    for (int k = 1; k <= Type_Cnt; ++k)
        bits |= shiftDayBits[size_t(i)][size_t(k)];
    return bits & period;
}

// A column's deviation depends on its values alone, so it is kept from call to call and computed
// again only when the column changed: an exchange changes two or three of the twenty-odd columns.
enum class Kind { shift, cumulative, holiday, single };

class DeviationMemo {
public:
    float get(Kind kind, int k, const Column& column)
    {
        Entry& e = entries_[size_t(kind)][size_t(k)];
        const int n = Member_Cnt;
        const size_t bytes = sizeof(float) * size_t(n);
        if (e.n != n || std::memcmp(e.values.data() + 1, column.data() + 1, bytes) != 0) {
            e.n = n;
            std::memcpy(e.values.data() + 1, column.data() + 1, bytes);
            e.deviation = 標準偏差(n, column);
        }
        return e.deviation;
    }

private:
    struct Entry {
        int n = -1;
        Column values{};
        float deviation = 0;
    };
    std::array<std::array<Entry, TYPE_MAX + 1>, 4> entries_;
};

DeviationMemo& memo()
{
    static DeviationMemo m;
    return m;
}

// The period's counts, taken once and shared by the terms of one score.
class PeriodCounts {
public:
    PeriodCounts()
    {
        checkSizes();
        const std::uint32_t period = dayRange(1, Day_Cnt);
        const std::uint32_t holidays = holidayBits() & period;
        for (int i = 1; i <= Member_Cnt; ++i) {
            for (int k = 1; k <= Type_Cnt; ++k) {
                const std::uint32_t days = shiftDayBits[size_t(i)][size_t(k)] & period;
                shifts_[size_t(k)][size_t(i)] = float(bitCount(days));
                holidays_[size_t(k)][size_t(i)] = float(bitCount(days & holidays));
            }
            work_[size_t(i)] = workBits(i, period);
            holidays_[0][size_t(i)] = float(bitCount(holidays & ~work_[size_t(i)]));
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
        const float rest = memo().get(Kind::holiday, 0, holidays_[0]);
        float types = 0;
        for (int k = 1; k <= Type_Cnt; ++k)
            types += memo().get(Kind::holiday, k, holidays_[size_t(k)]);
        if (cumulative)
            return (float(Type_Cnt) * rest + types) / float(Type_Cnt);
        return rest + types;
    }

    int singleTotal(bool work) { return singles(work).total; }

    float singleDeviation(bool work)
    {
        // The mean from the integer total (exact in single precision) equals the one from the
        // sum of the counts, so the general deviation serves.
        return memo().get(Kind::single, work ? 1 : 0, singles(work).perMember);
    }

private:
    struct Singles {
        bool counted = false;
        int total = 0;
        Column perMember{};
    };

    float typeDeviation(int k, bool cumulative)
    {
        if (!cumulative || !Sw_過去累計使用)
            return memo().get(Kind::shift, k, shifts_[size_t(k)]);
        Column column{};
        for (int i = 1; i <= Member_Cnt; ++i)
            column[size_t(i)] = Member_Sum(i, k);
        return memo().get(Kind::cumulative, k, column);
    }

    Singles& singles(bool work)
    {
        Singles& s = work ? singleWork_ : singleRest_;
        if (s.counted)
            return s;
        // Day 1 is tested only when day 0 holds last month's final day; the last day never is.
        const std::uint32_t tested = dayRange(Sw_初期値使用 ? 1 : 2, Day_Cnt - 1);
        for (int i = 1; i <= Member_Cnt; ++i) {
            std::uint32_t w = work_[size_t(i)];
            if (Sw_初期値使用 && Time_Table(i, 0) != 0)
                w |= 1;
            const std::uint32_t single = work ? w & ~(w << 1) & ~(w >> 1) : ~w & (w << 1) & (w >> 1);
            const int n = bitCount(single & tested);
            s.perMember[size_t(i)] = float(n);
            s.total += n;
        }
        s.counted = true;
        return s;
    }

    Columns shifts_{};
    Columns holidays_{};
    std::array<std::uint32_t, MEM_MAX + 2> work_{};
    Singles singleWork_;
    Singles singleRest_;
};

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

    PeriodCounts counts;
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
    return PeriodCounts().perType(t, false);
}

std::optional<float> 各勤務日数分散_累計(int t)
{
    if (noMembersOrTypes())
        return std::nullopt;
    return PeriodCounts().perType(t, true);
}

std::optional<float> 優先勤務分散_今期()
{
    if (noMembersOrTypes())
        return std::nullopt;
    PeriodCounts counts;
    return priorityTerm(counts, false);
}

std::optional<float> 優先勤務分散_累計()
{
    if (noMembersOrTypes())
        return std::nullopt;
    PeriodCounts counts;
    return priorityTerm(counts, true);
}

std::optional<float> 休日勤務分散_今期()
{
    if (noMembersOrTypes())
        return std::nullopt;
    return PeriodCounts().holidays(false);
}

std::optional<float> 休日勤務分散_累計()
{
    if (noMembersOrTypes())
        return std::nullopt;
    return PeriodCounts().holidays(true);
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
    return PeriodCounts().singleTotal(work);
}

std::optional<float> 単日個数分散(bool work)
{
    if (noMembersOrTypes())
        return std::nullopt;
    return PeriodCounts().singleDeviation(work);
}
