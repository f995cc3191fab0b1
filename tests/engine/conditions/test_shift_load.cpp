// Loading the grid into Time_Table, the holiday-work counters, and the reservations' way into the
// grid and the totals.
#include "conditions_fixture.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "engine/shift_load.h"
#include "engine/state.h"
#include "engine/totals.h"
#include "platform/ui/prompt.h"
#include "shell/excel_layer.h"
#include "shell/globals.h"
#include "shell/myfunc_main.h"
#include "shell/status.h"

#include "text.h"

using condfx::ConditionTest;

namespace {

class ShiftLoadTest : public ConditionTest {
public:
    void SetUp() override
    {
        ConditionTest::SetUp();
        open(kGeneral);
        ASSERT_EQ(全条件読込(-1), 1);
    }
    void cell(int m, int d, const QString& text) { set(u("人員配置表"), u("Time_Table"), m, d, text); }
};

}  // namespace

TEST_F(ShiftLoadTest, LoadsTheSpanAndCountsEachShiftOnce)
{
    cell(1, 1, u("日"));
    cell(1, 2, u("休"));
    cell(1, 3, u("深"));
    cell(1, 4, u("知らない"));
    cell(1, 9, u("準"));  // a Saturday
    Time_Table(1, 20) = 2;  // outside the span: kept
    集計クリア();
    ASSERT_TRUE(シフト表読込(1, 10, -1, 0));
    EXPECT_EQ(Time_Table(1, 1), 1);
    EXPECT_EQ(Time_Table(1, 2), 0);
    EXPECT_EQ(Time_Table(1, 3), 3);
    EXPECT_EQ(Time_Table(1, 4), 0);
    EXPECT_EQ(Time_Table(1, 20), 2);
    EXPECT_EQ(Time_Table(2, 5), 1);  // the reserved cell now stands in the grid
    EXPECT_EQ(Member_Sum(1, 11), 3.0f);
    EXPECT_EQ(Member_Sum(1, 1), 1.0f);
    EXPECT_EQ(Member_Sum_K(1), 3.0f);  // the 1st (New Year's Day), the 3rd (Sunday) and the 9th
    EXPECT_EQ(Member_Sum(2, 1), 1.0f);

    // noCount: the table only.
    集計クリア();
    ASSERT_TRUE(シフト表読込(1, Day_Cnt, -1, 1));
    EXPECT_EQ(Time_Table(1, 9), 2);
    EXPECT_EQ(Member_Sum(1, 11), 0.0f);
}

TEST_F(ShiftLoadTest, MinusOneDoesNothingAndQuietShowsNothing)
{
    cell(1, 1, u("日"));
    ui::resetMessages();
    ASSERT_TRUE(シフト表読込(-1, Day_Cnt, 0, 0));
    EXPECT_EQ(Time_Table(1, 1), 0);
    EXPECT_TRUE(splashState().message.isEmpty());
}

TEST_F(ShiftLoadTest, AStarInTheGridIsRefusedBeforeAnythingChanges)
{
    cell(1, 1, u("日"));
    cell(3, 7, u("*"));
    ui::resetMessages();
    EXPECT_FALSE(シフト表読込(1, Day_Cnt, -1, 0));
    EXPECT_EQ(Time_Table(1, 1), 0);
    EXPECT_EQ(Member_Sum(1, 11), 0.0f);
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(lastTitle(), u("入力エラー"));
    EXPECT_TRUE(lastText().startsWith(u("【人員配置表】の3番目のメンバーの7日に「*」が入っています！")));
}

TEST_F(ShiftLoadTest, HolidayWorkCounters)
{
    // Nobody works a holiday: everybody is the "most" and the "least".
    QString everyone;
    for (int i = 1; i <= Member_Cnt; ++i)
        everyone += QString::number(i) + u(",");
    for (int i = 1; i <= Member_Cnt; ++i)
        for (int d = 1; d <= Day_Cnt; ++d)
            Time_Table(i, d) = 0;
    EXPECT_EQ(休日勤務最多者(), everyone);
    EXPECT_EQ(休日勤務最少者(), everyone);

    // Everybody works the 2nd, member 4 also the 3rd.
    for (int i = 1; i <= Member_Cnt; ++i)
        Time_Table(i, 2) = 1;
    Time_Table(4, 3) = 2;
    Time_Table(4, 4) = 2;  // a workday: no holiday work
    EXPECT_EQ(休日勤務数(4, 0, 0), 2);
    EXPECT_EQ(休日勤務数(4, 3, 0), 1);  // the 3rd tentatively rest
    EXPECT_EQ(休日勤務数(5, 9, 1), 2);  // the 9th tentatively worked
    EXPECT_EQ(休日勤務最多者(), u("4,"));
    QString others;
    for (int i = 1; i <= Member_Cnt; ++i)
        if (i != 4)
            others += QString::number(i) + u(",");
    EXPECT_EQ(休日勤務最少者(), others);
}

// The reservation stands in the grid and counts once, however often the conditions are read and
// the grid loaded again after a clear.
TEST_F(ShiftLoadTest, ReservationsCountExactlyOnce)
{
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(全条件読込(-1), 1);
        EXPECT_EQ(Member_Sum(8, 2), 1.0f) << "round " << round;
        EXPECT_EQ(Member_WorkDays(8), 1.0f);
        EXPECT_EQ(named(u("人員配置表"), u("Time_Table")).cells(8, 15).value().toString(), u("準"));
    }
    集計クリア();
    ASSERT_TRUE(シフト表読込(1, Day_Cnt, -1, 0));
    EXPECT_EQ(Member_Sum(8, 2), 1.0f);
    EXPECT_EQ(Member_Sum(8, 11), 1.0f);
    float all = 0;
    for (int m = 1; m <= Member_Cnt; ++m)
        all += Member_Sum(m, 11);
    EXPECT_EQ(all, 5.0f);  // the five reservations of the file
}

// A reservation starting after Start_Day leaves the days before it alone; the rest symbol reserves
// nothing.
TEST_F(ConditionTest, ReservationsFromTheStartDayOn)
{
    open(kGeneral);
    作成開始日 = 10;
    set(u("予約表"), u("Member_Rsv"), 1, 12, u("休"));
    ASSERT_EQ(全条件読込(-1), 10);
    EXPECT_EQ(Rsv_Table(2, 5), 0);   // before the start day
    EXPECT_EQ(Time_Table(2, 5), 0);
    EXPECT_EQ(Rsv_Table(3, 12), 1);
    EXPECT_EQ(Rsv_Table(1, 12), 0);
    EXPECT_TRUE(named(u("人員配置表"), u("Time_Table")).cells(1, 12).value().toString().isEmpty());
    EXPECT_EQ(Member_Sum(3, 11), 1.0f);
}

// The weights reading ends with the full read once the model's steps are installed.
TEST_F(ConditionTest, WeightsReadingRunsTheFullRead)
{
    open(kGeneral);
    installConditionModelSteps();
    EXPECT_EQ(荷重読込(), 1);
    EXPECT_EQ(Member_Cnt, 20);
    EXPECT_EQ(最適化比重(2), 1.0f);
    配列初期化();
    EXPECT_EQ(Time_Table.UBound(1), 51);
    EXPECT_EQ(Time_Table.UBound(2), 32);
    EXPECT_EQ(Past_Table.UBound(2), 31);
    resetEngineState();
}
