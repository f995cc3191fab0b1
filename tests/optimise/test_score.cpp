// The score on a hand-computed table: each weight alone, the priority and holiday terms, the
// single-day edges and the target column.
#include "optimise_fixture.h"

#include "engine/model.h"
#include "engine/totals.h"
#include "optimise/score.h"
#include "shell/myfunc_main.h"

#include <cmath>

namespace {

// Population deviation of three values, in double.
double sd(double a, double b, double c)
{
    const double m = (a + b + c) / 3;
    return std::sqrt(((a - m) * (a - m) + (b - m) * (b - m) + (c - m) * (c - m)) / 3);
}

class ScoreTest : public optfx::ModelTest {
protected:
    // Holidays on days 3 and 6. 日 per member 5, 2, 1; 夜 0, 2, 2. On holidays: rest 0, 0, 2;
    // 日 2, 1, 0; 夜 0, 1, 0. Single work days (days 2..5) 0, 0, 1; single rest days 1, 2, 1.
    void SetUp() override
    {
        ModelTest::SetUp();
        makeModel(3, 6);
        Holiday_Chk(3) = 1;
        Holiday_Chk(6) = 1;
        row(1, QStringLiteral("日日日休日日"));
        row(2, QStringLiteral("夜休日日休夜"));
        row(3, QStringLiteral("休夜休日夜休"));
    }
    const double perType = (sd(5, 2, 1) + sd(0, 2, 2)) / 2;
    const double holidayTypes = sd(2, 1, 0) + sd(0, 1, 0);
};

TEST_F(ScoreTest, EachWeightAloneGivesItsTermTimesTheWeight)
{
    const struct {
        long* weight;
        double term;
    } cases[] = {
        {&荷重_各勤務日数_今期, perType},
        {&荷重_各勤務日数, perType},
        {&荷重_休日勤務_今期, sd(0, 0, 2) + holidayTypes},
        {&荷重_休日勤務, sd(0, 0, 2) + holidayTypes / 2},
        {&荷重_単勤総数_今期, 1},
        {&荷重_単休総数_今期, 4},
        {&荷重_単勤分散_今期, sd(0, 0, 1)},
        {&荷重_単休分散_今期, sd(1, 2, 1)},
        // Listed and stored, but no part of the score.
        {&荷重_総勤務日数, 0},
        {&荷重_休日出勤_今期, 0},
        {&荷重_単勤単休_今期, 0},
    };
    for (const auto& c : cases) {
        *c.weight = 3;
        EXPECT_NEAR(全分散計算(), 3 * c.term, 1e-5) << &c - cases;
        *c.weight = 0;
    }
    EXPECT_EQ(全分散計算(), 0.0f);
}

TEST_F(ScoreTest, PriorityTermDividesByTheTypeCountAndNeedsAValidType)
{
    最適化比重(1) = 2.0f;
    荷重_優先勤務倍率_今期 = 3;
    荷重_優先勤務倍率 = 4;
    荷重_優先勤務 = 1;
    EXPECT_NEAR(*優先勤務分散_今期(), 3 * sd(5, 2, 1) * 2 / 2, 1e-5);
    EXPECT_NEAR(全分散計算(), 7 * sd(5, 2, 1) * 2 / 2, 1e-5);
    荷重_優先勤務 = 0;
    EXPECT_EQ(全分散計算(), 0.0f);
    荷重_優先勤務 = 3;  // above Type_Cnt
    EXPECT_EQ(全分散計算(), 0.0f);
}

TEST_F(ScoreTest, CumulativeTermReadsTheTotalsOnlyWhenAsked)
{
    Member_Sum(1, 1) += 3;  // last month's days
    EXPECT_NEAR(*各勤務日数分散_累計(0), perType, 1e-6);
    Sw_過去累計使用 = true;
    EXPECT_NEAR(*各勤務日数分散_累計(0), (sd(8, 2, 1) + sd(0, 2, 2)) / 2, 1e-6);
    EXPECT_NEAR(*各勤務日数分散_今期(0), perType, 1e-6);
}

TEST_F(ScoreTest, SingleDaysOnDayOneCountOnlyWithLastMonthsDay)
{
    Time_Table(3, 0) = 1;  // member 3: worked on the last day of last month, rests on day 1
    EXPECT_EQ(単勤単休総数計算(QStringLiteral("勤務")), 1);
    EXPECT_EQ(単勤単休総数計算(QStringLiteral("休み")), 4);
    Sw_初期値使用 = true;
    // Member 2's 夜 on day 1 after a rest on day 0 is single now, member 3's rest on day 1 too;
    // the last day still never counts.
    EXPECT_EQ(単勤単休総数計算(QStringLiteral("勤務")), 2);
    EXPECT_EQ(単勤単休総数計算(QStringLiteral("休み")), 5);
    EXPECT_NEAR(*単勤単休分散(QStringLiteral("休み")), sd(1, 2, 2), 1e-6);
}

TEST_F(ScoreTest, TargetColumnRoundsHalvesToEven)
{
    全分散計算();  // the targets of the old values must not linger
    Member_DayOff(1) = 20.5f;
    Member_DayOff(2) = 21.5f;
    全分散計算();
    EXPECT_EQ(Member_Sum(1, 12), 20 - 5);
    EXPECT_EQ(Member_Sum(2, 12), 22 - 4);
    EXPECT_EQ(Member_Sum(3, 12), 6 - 3);
}

// Counts kept from an earlier score must follow what changes besides the day bits.
TEST_F(ScoreTest, KeptCountsFollowHolidaysAndLastMonthsDay)
{
    荷重_休日勤務_今期 = 1;
    EXPECT_NEAR(全分散計算(), sd(0, 0, 2) + holidayTypes, 1e-5);
    Holiday_Chk(3) = 0;
    Holiday_Chk(2) = 1;
    EXPECT_NEAR(全分散計算(), sd(0, 1, 1) + sd(2, 0, 0) + sd(0, 1, 1), 1e-5);

    Sw_初期値使用 = true;
    EXPECT_EQ(単勤単休総数計算(QStringLiteral("休み")), 4);
    Time_Table(3, 0) = 1;
    EXPECT_EQ(単勤単休総数計算(QStringLiteral("休み")), 5);
}

// The score recounts only the members whose day bits were reached since it last looked: an
// exchange, an exchange undone, and the whole table put back by assignment must all be seen.
TEST_F(ScoreTest, KeptCountsFollowEveryWayTheDayBitsChange)
{
    for (long* w : {&荷重_各勤務日数_今期, &荷重_休日勤務_今期, &荷重_単勤総数_今期, &荷重_単休総数_今期,
                    &荷重_単勤分散_今期, &荷重_単休分散_今期})
        *w = 1;
    const float before = 全分散計算();
    const auto savedBits = shiftDayBits;
    const auto savedTable = Time_Table;
    const auto savedSum = Member_Sum;
    const auto savedDays = Member_WorkDays;
    const auto savedHours = Member_Sum_TTIME;
    const auto savedHolidays = Member_Sum_K;

    勤務変更(1, 3, 1);  // 日 and rest change places
    const float exchanged = 全分散計算();
    EXPECT_NE(exchanged, before);
    勤務変更(1, 3, 1);
    EXPECT_EQ(全分散計算(), before);

    勤務変更(1, 2, 2);
    EXPECT_NE(全分散計算(), before);
    shiftDayBits = savedBits;
    Time_Table = savedTable;
    Member_Sum = savedSum;
    Member_WorkDays = savedDays;
    Member_Sum_TTIME = savedHours;
    Member_Sum_K = savedHolidays;
    EXPECT_EQ(全分散計算(), before);

    // A fresh count of the same table agrees with the kept one to the bit.
    recalculateTotals();
    EXPECT_EQ(全分散計算(), before);
}

TEST_F(ScoreTest, EvenTableScoresZeroAndEmptyModelHasNoTerms)
{
    makeModel(2, 6);
    Holiday_Chk(3) = 1;
    for (int m = 1; m <= 2; ++m)
        row(m, QStringLiteral("日日休休夜夜"));
    for (long* w : {&荷重_各勤務日数_今期, &荷重_各勤務日数, &荷重_休日勤務_今期, &荷重_休日勤務, &荷重_単勤総数_今期,
                    &荷重_単休総数_今期, &荷重_単勤分散_今期, &荷重_単休分散_今期, &荷重_優先勤務})
        *w = 1;
    EXPECT_EQ(全分散計算(), 0.0f);

    Type_Cnt = 0;
    EXPECT_EQ(全分散計算(), 0.0f);
    EXPECT_FALSE(各勤務日数分散_今期(0).has_value());
    EXPECT_FALSE(休日勤務分散_累計().has_value());
}

}  // namespace
