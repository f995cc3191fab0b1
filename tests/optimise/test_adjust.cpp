// The automatic work-day and hour adjustment on the samples' reserved tables: members move towards
// their targets, never past them, and no fill breaks a rule of a single assignment (the interval
// between two of a shift and the shift a required sequence asks for included).
#include "optimise_fixture.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "engine/run_window.h"
#include "engine/totals.h"
#include "optimise/adjust.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "shell/status.h"

using optfx::ModelTest;

namespace {

class Adjust : public ModelTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(Adjust, WorkDaysRiseTowardsTheTargetsWithinTheRules)
{
    ASSERT_TRUE(load(GetParam()));
    Randomize(11);
    Start_Day = 3;
    const auto rules = optfx::assignmentRules();
    const auto before = validator::only(validator::check(), rules);
    const std::vector<int> table = optfx::snapshot();
    std::vector<float> days;
    for (int m = 1; m <= Member_Cnt; ++m)
        days.push_back(Member_WorkDays(m));

    勤務日数調整処理(true);
    const int result = 勤務日数調整処理(false);

    QString text;
    EXPECT_EQ(result, int(出勤日数過不足一覧(text)));
    EXPECT_EQ(validator::describe(optfx::newViolations(before, rules)).toStdString(), "");
    EXPECT_TRUE(optfx::earlyDaysEqual(table));
    int filled = 0;
    for (int m = 1; m <= Member_Cnt; ++m) {
        const float was = days[size_t(m - 1)];
        EXPECT_GE(Member_WorkDays(m), was);
        if (Member_DayOff(m) == Day_Cnt) {
            EXPECT_EQ(Member_WorkDays(m), was) << "member " << m << " has no target";
        } else {
            EXPECT_LE(Member_WorkDays(m), std::max(was, Member_DayOff(m)));
        }
        filled += int(Member_WorkDays(m) - was);
        for (int d = Start_Day; d <= Day_Cnt; ++d) {
            if (Time_Table(m, d) != table[size_t((m - 1) * (Day_Cnt + 1) + d)]) {
                EXPECT_EQ(optfx::sheetCell(m, d), TypeText2(Time_Table(m, d)));
            }
        }
    }
    EXPECT_GT(filled, Member_Cnt) << GetParam();
    EXPECT_FALSE(optwin.state().visible);
}

INSTANTIATE_TEST_SUITE_P(Samples, Adjust, ::testing::Values(kGeneral, kCare, kLarge));

TEST_F(ModelTest, HoursStopAtEachMembersLimit)
{
    ASSERT_TRUE(load(kGeneral));
    Randomize(3);
    Sw_勤務日数調整 = false;
    Sw_勤務時間調整 = true;
    for (int m = 1; m <= Member_Cnt; ++m)
        Member_Time(m) = m % 3 == 0 ? 0.0f : float(40 + 10 * m);
    const std::vector<int> table = optfx::snapshot();
    // Filling hours, members may pass their work-day target.
    auto rules = optfx::assignmentRules();
    std::erase(rules, validator::Rule::WorkDays);
    const auto before = validator::only(validator::check(), rules);

    勤務時間調整処理(true);
    // The strict pass fills the days that leave no single day behind.
    EXPECT_GT(optfx::changedCells(table), 0);
    勤務時間調整処理(false);

    int filled = 0;
    for (int m = 1; m <= Member_Cnt; ++m) {
        if (Member_Time(m) <= 0) {
            for (int d = 0; d <= Day_Cnt; ++d)
                EXPECT_EQ(Time_Table(m, d), table[size_t((m - 1) * (Day_Cnt + 1) + d)]) << m;
            continue;
        }
        EXPECT_LE(Member_Sum_TTIME(m), Member_Time(m)) << m;
        filled += Member_Sum_TTIME(m) > 0;
    }
    EXPECT_GT(filled, Member_Cnt / 2);
    EXPECT_EQ(validator::describe(optfx::newViolations(before, rules)).toStdString(), "");
    EXPECT_TRUE(splashState().message.isEmpty());
}

TEST_F(ModelTest, FillsKeepTheIntervalAndTheFollowerOfAShift)
{
    ASSERT_TRUE(load(kGeneral));
    Type_Span(1, 2) = 4;
    指定勤務 = QStringList{QString(), QStringLiteral("1")};
    const std::vector<int> table = optfx::snapshot();
    勤務日数調整処理(false);
    EXPECT_GT(optfx::changedCells(table), Member_Cnt);
    EXPECT_TRUE(validator::only(validator::check(), {validator::Rule::ShiftSpacing}).empty());

    ASSERT_TRUE(load(kCare));  // 夜 asks for 明 on the next day
    const int night = TypeIdx(QStringLiteral("夜"));
    const int after = TypeIdx(QStringLiteral("明"));
    ASSERT_GT(night, 0);
    指定勤務 = QStringList{QString(), QString::number(night)};
    // One member whose 明 stands on day 10 and nowhere else.
    int m = 0;
    for (int i = 1; i <= Member_Cnt && !m; ++i) {
        bool empty = true;
        for (int d = 1; d <= Day_Cnt; ++d)
            empty = empty && Time_Table(i, d) == 0;
        if (empty && Member_DayOff(i) < Day_Cnt && Member_Scdl(i, 9) == 0)
            m = i;
    }
    ASSERT_GT(m, 0);
    Time_Table(m, 10) = after;
    勤務集計加算(m, after, 10);

    勤務日数調整処理(false);

    // The period's last day may hold it: its follower lies beyond the period.
    for (int d = 1; d < Day_Cnt; ++d)
        EXPECT_EQ(Time_Table(m, d) == night, d == 9) << "day " << d;
    EXPECT_TRUE(validator::only(validator::check(), {validator::Rule::必須パターン}).empty());
}

TEST_F(ModelTest, StrictModeRefusesFillsThatLeaveSingleDays)
{
    ASSERT_TRUE(load(kGeneral));
    Sw_初期値使用 = false;
    auto row = [](std::initializer_list<int> shifts) {
        for (int d = 0; d <= Day_Cnt + 1; ++d)
            Time_Table(1, d) = 0;
        int d = 1;
        for (int s : shifts)
            Time_Table(1, d++) = s;
    };
    row({1, 1, 1, 0, 0, 0, 1, 0, 0, 1, 1});
    EXPECT_TRUE(規則違反判定(1, 5));   // a work day between two rest days
    EXPECT_FALSE(規則違反判定(1, 4));  // joins the work run; two rest days remain
    EXPECT_TRUE(規則違反判定(1, 8));   // leaves day 9 resting alone
    EXPECT_TRUE(規則違反判定(1, 9));   // leaves day 8 resting alone
    row({0, 0, 1});
    EXPECT_TRUE(規則違反判定(1, 1));   // leaves day 2 resting alone
    EXPECT_FALSE(規則違反判定(1, 2));  // day 1 alone does not count without last month's day
    Sw_初期値使用 = true;
    Time_Table(1, 0) = 1;
    EXPECT_TRUE(規則違反判定(1, 2));   // with it, day 1 rests between day 0 and day 2
    row({});
    EXPECT_TRUE(規則違反判定(1, 1));   // a work day between day 0 and day 2
    Time_Table(1, 0) = 1;
    EXPECT_FALSE(規則違反判定(1, 1));
    EXPECT_FALSE(規則違反判定(1, Day_Cnt));  // the last day never counts
    EXPECT_TRUE(規則違反判定(1, Day_Cnt - 1));
}

TEST_F(ModelTest, AdjustmentsThatCannotRun)
{
    ASSERT_TRUE(load(kGeneral));
    const std::vector<int> table = optfx::snapshot();
    指定勤務 = QStringList{QString()};
    EXPECT_EQ(勤務日数調整処理(false), 0);
    Sw_勤務時間調整 = true;
    for (int m = 1; m <= Member_Cnt; ++m)
        Member_Time(m) = 100;
    EXPECT_EQ(勤務時間調整処理(false), 0);
    EXPECT_EQ(optfx::changedCells(table), 0);

    指定勤務 = QStringList{QString(), QStringLiteral("1")};
    Sw_中止 = true;
    optwin.unload();
    EXPECT_EQ(勤務日数調整処理(false), 0);
    EXPECT_FALSE(optwin.state().loaded);
    Sw_中止 = false;

    // A workbook without the shift grid: the message names the routine, nothing changes.
    xlBook->worksheets(QStringLiteral("人員配置表")).setName(QStringLiteral("別名"));
    EXPECT_EQ(勤務日数調整処理(false), 0);
    ASSERT_FALSE(ui::shownMessages().empty());
    EXPECT_EQ(ui::shownMessages().back().title, QStringLiteral("勤務日数調整"));
    EXPECT_EQ(optfx::changedCells(table), 0);
}

}  // namespace
