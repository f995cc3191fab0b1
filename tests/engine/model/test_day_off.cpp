#include "engine/day_off.h"
#include "engine/model.h"
#include "engine/state.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

// Members' months as text: '.' a rest day, 'x' a work day.
void setTable(const std::vector<const char*>& months)
{
    resetEngineState();
    Member_Cnt = int(months.size());
    Day_Cnt = int(std::strlen(months[0]));
    Time_Table.ReDim(Member_Cnt + 1, Day_Cnt + 1);
    Member_List.ReDim(Member_Cnt + 1, 4);
    for (int m = 1; m <= Member_Cnt; ++m) {
        Member_List(m, 1) = QString::number(100 + m);
        Member_List(m, 2) = QStringLiteral("職員%1").arg(m);
        for (int d = 1; d <= Day_Cnt; ++d)
            Time_Table(m, d) = months[size_t(m - 1)][d - 1] == '.' ? 0 : 1;
    }
}

}  // namespace

TEST(DayOffRuns, OnlyRunsLongerThanTheLimitAreReported)
{
    setTable({"..xx...x..", "..........", "xxxxxxxxxx"});
    Time_Table(1, 0) = 0;  // the day before the period belongs to no run
    連続休み上限 = 2;
    std::vector<RestRun> runs;
    ASSERT_EQ(GetDayOffCnt(runs), 2);
    EXPECT_EQ(runs[0].label, QStringLiteral("1:101　職員1"));
    EXPECT_EQ(runs[0].dayCount, 3);
    EXPECT_EQ(runs[0].開始日, 5);
    EXPECT_EQ(runs[1].row, 2);
    EXPECT_EQ(runs[1].dayCount, 10);
    EXPECT_EQ(runs[1].開始日, 1);

    const QString report = restRunReport(runs, QDate(2027, 3, 21));
    EXPECT_TRUE(report.contains(QStringLiteral("連続休み日数上限：2日")));
    EXPECT_TRUE(report.contains(QStringLiteral("3日: 25(木)～27(土)　　1:101　職員1\r\n")));
    EXPECT_TRUE(report.contains(QStringLiteral("10日: 21(日)～30(火)　　2:102　職員2\r\n")));

    // A limit below 1 is no limit.
    連続休み上限 = 0;
    EXPECT_EQ(GetDayOffCnt(runs), 0);
    EXPECT_EQ(restRunReport(runs, QDate(2027, 3, 21)), QStringLiteral("連続休み日数の超過はありません！"));
    resetEngineState();
}
