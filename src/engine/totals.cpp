#include "engine/totals.h"

#include "engine/convert.h"
#include "engine/kept_grid.h"
#include "engine/model.h"
#include "platform/text/cp932.h"
#include "platform/text/text_constants.h"
#include "shell/excel_layer.h"
#include "workbook/sheet_names.h"

#include <cmath>
#include <cstdint>
#include <exception>

float shiftHours(int t)
{
    static QString texts[TYPE_MAX + 2];
    static float hours[TYPE_MAX + 2] = {};
    if (t < 0 || t > TYPE_MAX + 1)
        return TypeVal3(t);
    const QString& now = Type_Table(t, TYPE_時間);
    // The kept text shares the table's buffer until the table is written again: the same buffer
    // needs no comparison of the characters, and an equal text in a new buffer is adopted.
    if (now.constData() == texts[t].constData() && now.size() == texts[t].size())
        return hours[t];
    if (now != texts[t])
        hours[t] = TypeVal3(t);
    texts[t] = now;
    return hours[t];
}

namespace {

// Adds (sign +1) or removes (sign -1) one day of shift t for member m.
void addDay(int m, int t, int d, int sign)
{
    Member_Sum(m, t) += sign;
    Member_Sum(m, 11) += sign;
    Member_WorkDays(m) += sign;
    // Only a positive holiday mark counts; a negative one must not subtract holiday work.
    if (Holiday_Chk(d) > 0)
        Member_Sum_K(m) += sign;
    Member_Sum_TTIME(m) += sign * shiftHours(t);
}

// Member m's side of an exchange on a day: shift in (0: none) arrives before shift out leaves, so
// each total takes the same steps in the same order as two single changes would.
void exchangeSide(int m, int in, int out, bool holiday, float inHours, float outHours)
{
    float& total = Member_Sum(m, 11);
    float& days = Member_WorkDays(m);
    float& hours = Member_Sum_TTIME(m);
    if (in > 0) {
        Member_Sum(m, in) += 1;
        total += 1;
        days += 1;
        if (holiday)
            Member_Sum_K(m) += 1;
        hours += inHours;
    }
    if (out > 0) {
        Member_Sum(m, out) -= 1;
        total -= 1;
        days -= 1;
        if (holiday)
            Member_Sum_K(m) -= 1;
        hours -= outHours;
    }
}

std::uint32_t& dayBits(int m, int t)
{
    if (m < 0 || m > MEM_MAX + 1 || t < 0 || t > TYPE_MAX)
        vb::subscriptOutOfRange();
    return shiftDayBits[size_t(m)][size_t(t)];
}

std::uint32_t dayBit(int d)
{
    if (d < 0 || d > DAY_MAX)
        vb::subscriptOutOfRange();
    return std::uint32_t(1) << d;
}

}  // namespace

void 集計クリア()
{
    Member_Sum.ReDim(Member_Cnt + 1, 13);
    Member_WorkDays.ReDim(Member_Cnt + 1);
    Member_Sum_K.ReDim(Member_Cnt + 1);
    Member_Sum_TTIME.ReDim(Member_Cnt + 1);
    shiftDayBits = {};
}

void addLastMonthTotals()
{
    if (!Sw_過去累計使用 || lastMonthTotals.isEmpty())
        return;
    for (int i = 1; i <= Member_Cnt; ++i) {
        for (int j = 1; j <= Type_Cnt; ++j)
            Member_Sum(i, j) = lastMonthTotals(i, j);
        Member_Sum(i, 11) = lastMonthTotals(i, 11);
        Member_Sum_K(i) = lastMonthTotals(i, 13);
    }
}

void recalculateTotals()
{
    集計クリア();
    addLastMonthTotals();
    for (int i = 1; i <= Member_Cnt; ++i)
        for (int d = 1; d <= Day_Cnt; ++d) {
            const int t = Time_Table(i, d);
            if (t >= 1 && t <= Type_Cnt)
                勤務集計加算(i, t, d);
        }
}

void 勤務集計加算(int m, int t, int d)
{
    std::uint32_t& bits = dayBits(m, t);
    const std::uint32_t bit = dayBit(d);
    addDay(m, t, d, +1);
    bits |= bit;
}

void 勤務変更(int a, int b, int d)
{
    const std::uint32_t bit = dayBit(d);
    const int sa = Time_Table(a, d);
    const int sb = Time_Table(b, d);
    Time_Table(a, d) = sb;
    Time_Table(b, d) = sa;
    if (sa > 0 || sb > 0) {
        const bool holiday = Holiday_Chk(d) > 0;
        const float ha = sa > 0 ? shiftHours(sa) : 0;
        const float hb = sb > 0 ? shiftHours(sb) : 0;
        exchangeSide(a, sb, sa, holiday, hb, ha);
        exchangeSide(b, sa, sb, holiday, ha, hb);
    }
    // Both old bits go before the new ones are set, so equal shifts keep theirs.
    if (sa > 0)
        dayBits(a, sa) &= ~bit;
    if (sb > 0)
        dayBits(b, sb) &= ~bit;
    if (sb > 0)
        dayBits(a, sb) |= bit;
    if (sa > 0)
        dayBits(b, sa) |= bit;
}

void 勤務セル表示(int a, int b, int d)
{
    try {
        if (!xlBook)
            return;
        xl::Worksheet& sheet = xlBook->worksheets(kRosterSheet);
        xlSheet = &sheet;
        const xl::Range block = sheet.range(QStringLiteral("Time_Table"));
        for (int m : {a, b}) {
            const std::uint64_t before = sheet.parent().changeStamp();
            const QString value = Type_Table(Time_Table(m, d), TYPE_略称);
            block.cells(m, d).setValue(value);
            keptGridCellWritten(block, before, m, d, value);
        }
    } catch (const std::exception&) {
        // A missing sheet or range leaves the sheet as it is.
    }
}

float 出勤日数過不足一覧(QString& text)
{
    text.clear();
    int over = 0;
    int under = 0;
    for (int i = 1; i <= Member_Cnt; ++i) {
        if (Member_DayOff(i) == Day_Cnt)
            continue;
        const float r = Member_DayOff(i) - Member_WorkDays(i);
        if (r == 0)
            continue;
        if (r < 0)
            ++over;
        else
            ++under;
        text += RSetA(QString::number(i), 3) + QLatin1Char(' ')
            + RSetA(QString::number(MemNo(i)), 10) + (r < 0 ? QLatin1Char('-') : QLatin1Char(' '))
            + QString::number(std::fabs(r)) + kCrLf;
    }
    if (over > 0)
        return float(-over);
    return float(under);
}
