// Evening out the distance from the work-day targets, and the run count of isolated days.
#include "optimise_fixture.h"

#include "validator/validator.h"

#include "engine/model.h"
#include "optimise/rest_days.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"

namespace {

class RestDaysTest : public optfx::ModelTest {
protected:
    // Ten days, two on 日 each day. Members 1..4 aim at 6 work days and hold 6, 2, 6, 6; member 5
    // has no target (the day count) and rests throughout. Days 1 and 2 lie before Start_Day.
    void SetUp() override
    {
        ModelTest::SetUp();
        makeModel(5, 10, 1);
        for (int d = 1; d <= 10; ++d)
            Need_Table(1, d) = 2;
        row(1, QStringLiteral("日日日日日休休休日休"));
        row(2, QStringLiteral("休休休休休休休休日日"));
        row(3, QStringLiteral("日日休休休日日日休日"));
        row(4, QStringLiteral("休休日日日日日日休休"));
        for (int m = 1; m <= 4; ++m)
            Member_DayOff(m) = 6;
        Start_Day = 3;
    }
};

TEST_F(RestDaysTest, UnevenTargetsConvergeWithinTheRules)
{
    ASSERT_TRUE(validator::check().empty());
    const vb::TwoDimArray<int> before = Time_Table;

    EXPECT_TRUE(休み数均等化(false, 0));
    for (int m = 1; m <= 4; ++m)
        EXPECT_EQ(Member_WorkDays(m), 5) << m;
    EXPECT_EQ(Member_WorkDays(5), 0);
    for (int m = 1; m <= 5; ++m)
        for (int d = 1; d <= 2; ++d)
            EXPECT_EQ(Time_Table(m, d), before(m, d)) << m << "/" << d;
    EXPECT_EQ(validator::describe(validator::check()), QString());

    // Even now: nothing more to move.
    EXPECT_FALSE(休み数均等化(false, 0));
}

TEST_F(RestDaysTest, StopFlagAndSettledDaysLeaveTheTableAndTheSwitchesAsTheyWere)
{
    const vb::TwoDimArray<int> before = Time_Table;
    Sw_中止 = true;
    EXPECT_FALSE(休み数均等化(true, 0));
    Sw_中止 = false;
    EXPECT_FALSE(休み数均等化(true, 2));  // a day before Start_Day
    for (int m = 1; m <= 5; ++m)
        for (int d = 1; d <= 10; ++d)
            EXPECT_EQ(Time_Table(m, d), before(m, d));
    EXPECT_TRUE(XlApp().screenUpdating());
    EXPECT_TRUE(XlApp().enableEvents());
    EXPECT_EQ(XlApp().calculation(), xl::kCalculationAutomatic);
}

TEST_F(RestDaysTest, IsolatedRunsAtTheEdgesOfTheRange)
{
    makeModel(3, 31, 1);
    row(1, QStringLiteral("日休休休休休休休休休休休休休休休休休休休休休休休休休休休休休休"));
    row(2, QStringLiteral("日日日日日日日日日日日日日日日日日日日日日日日日日日日日日日休"));
    row(3, QStringLiteral("休日休日日日日日日日日日日日日日日日日日日日日日日日日日日日日"));
    const QString work = QStringLiteral("勤務");
    const QString rest = QStringLiteral("休み");
    // A lone work day on day 1 counts; a lone rest day on the last day does not.
    EXPECT_EQ(単勤単休数_個人(1, work, 1, 31, 31), 1);
    EXPECT_EQ(単勤単休数_個人(2, rest, 1, 31, 31), 0);
    EXPECT_EQ(単勤単休数(work, 1, 0), 2);
    EXPECT_EQ(単勤単休数(rest, 1, 0), 2);
    // With last month's day: member 1's day 1 joins a work day 0, member 3's rest on day 1 a rest
    // day 0, and member 2's work run reaches 31 days, which counts.
    Sw_初期値使用 = true;
    Time_Table(1, 0) = 1;
    Time_Table(2, 0) = 1;
    EXPECT_EQ(単勤単休数_個人(1, work, 1, 31, 31), 0);
    EXPECT_EQ(単勤単休数_個人(2, work, 1, 31, 31), 1);
    EXPECT_EQ(単勤単休数_個人(3, rest, 1, 31, 31), 1);
}

}  // namespace
