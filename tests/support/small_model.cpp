#include "small_model.h"

#include "engine/model.h"
#include "engine/totals.h"
#include "platform/text/vb.h"

#include <cmath>

namespace smallmodel {

namespace {
const QString kAbbrev = QStringLiteral("日夜明早遅半研会出張");
}

void make(int members, int days, int types)
{
    Member_Cnt = members;
    Day_Cnt = days;
    Type_Cnt = types;
    Start_Day = 1;
    テーブル再定義();
    集計クリア();
    Yasumi_Kigou = QStringLiteral("休");
    Type_Table(0, TYPE_略称) = Yasumi_Kigou;
    for (int t = 1; t <= types; ++t) {
        Type_Table(t, TYPE_勤務) = kAbbrev.mid(t - 1, 1) + QStringLiteral("勤");
        Type_Table(t, TYPE_略称) = kAbbrev.mid(t - 1, 1);
        Type_Table(t, TYPE_時間) = QStringLiteral("8");
    }
    for (int m = 1; m <= members; ++m) {
        Member_List(m, 1) = QString::number(100 + m);
        Member_DayOff(m) = float(days);
    }
}

int shiftOf(QChar c)
{
    if (c == u'*')
        return kAllShifts;
    return int(kAbbrev.indexOf(c)) + 1;  // rest symbols are not in the list
}

void place(int m, int d, int s)
{
    Time_Table(m, d) = s;
    if (s > 0)
        勤務集計加算(m, s, d);
}

void row(int m, const QString& cells, int from)
{
    for (int i = 0; i < cells.size(); ++i)
        place(m, from + i, shiftOf(cells.at(i)));
}

std::vector<int> snapshot()
{
    std::vector<int> cells;
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = 0; d <= Day_Cnt; ++d)
            cells.push_back(Time_Table(m, d));
    return cells;
}

int changedCells(const std::vector<int>& before)
{
    const std::vector<int> now = snapshot();
    int n = 0;
    for (size_t i = 0; i < now.size() && i < before.size(); ++i)
        n += now[i] != before[i];
    return n;
}

::testing::AssertionResult totalsMatchRecount()
{
    for (int m = 1; m <= Member_Cnt; ++m) {
        float perType[TYPE_MAX + 1] = {};
        float days = 0, holidays = 0, hours = 0;
        for (int d = 1; d <= Day_Cnt; ++d) {
            const int s = Time_Table(m, d);
            if (s <= 0)
                continue;
            perType[s] += 1;
            days += 1;
            if (Holiday_Chk(d) > 0)
                holidays += 1;
            hours += float(Val(Type_Table(s, TYPE_時間)));
        }
        for (int t = 1; t <= Type_Cnt; ++t)
            if (Member_Sum(m, t) != perType[t])
                return ::testing::AssertionFailure() << "member " << m << " shift " << t << ": "
                                                     << Member_Sum(m, t) << " != " << perType[t];
        if (Member_Sum(m, 11) != days || Member_WorkDays(m) != days)
            return ::testing::AssertionFailure() << "member " << m << " work days " << Member_WorkDays(m)
                                                 << " != " << days;
        if (Member_Sum_K(m) != holidays)
            return ::testing::AssertionFailure() << "member " << m << " holiday work";
        // Hours are added and taken away in float through many exchanges.
        if (std::fabs(Member_Sum_TTIME(m) - hours) > 1e-2f)
            return ::testing::AssertionFailure() << "member " << m << " hours";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace smallmodel
