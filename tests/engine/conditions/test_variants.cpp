// Readings that depend on switches and special entries of the sheets.
#include "conditions_fixture.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/status.h"

#include "text.h"

using condfx::ConditionTest;

TEST_F(ConditionTest, GroupRecordsExpandAsTheSheetSays)
{
    open(kGeneral);
    // A must over every shift for the 看護師, a ban over every group, a ban of a group nobody is in,
    // and a must whose shift name is unknown.
    auto row = [&](const char* range, int i, const char* shift, double n, const char* group) {
        set(u("要員設定"), u(range), i, 1, u(shift));
        set(u("要員設定"), u(range), i, 2, n);
        set(u("要員設定"), u(range), i, 3, u(group));
    };
    row("組合せ必須_grp", 1, "*", 2, "看護師");
    row("組合せ必須_grp", 2, "夜勤", 1, "看護師");
    row("組合せ禁止_grp", 2, "*", 3, "*");
    row("組合せ禁止_grp", 3, "日勤", 2, "助手");
    ASSERT_EQ(全条件読込(-1), 1);
    EXPECT_TRUE(ui::shownMessages().empty());

    // "*" became one must per shift type; the unknown shift is kept as read but not applied.
    EXPECT_EQ(組合せ必須数_grp, 2);
    EXPECT_EQ(Mem_Hissu_grp(1).勤務, 1);
    EXPECT_EQ(Mem_Hissu_grp(3).勤務, 3);
    EXPECT_EQ(Mem_Hissu_grp(4).勤務, -1);
    ASSERT_EQ(組合せ必須数, 3);
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(Mem_Hissu(r).勤務, r);
        EXPECT_EQ(Mem_Hissu(r).人数, 2);
        EXPECT_EQ(Mem_Hissu(r).メンバー[0], 13);  // members 105..117
        EXPECT_EQ(Mem_Hissu(r).メンバー[1], 105);
        EXPECT_EQ(Mem_Hissu(r).memberIndex[13], 17);
    }
    // Bans: two sheet rows, 深夜 over the 新人, "*" over everybody; the empty group adds nothing.
    ASSERT_EQ(組合せ禁止数, 4);
    EXPECT_EQ(Mem_Kinsi(4).勤務, kAllShifts);
    EXPECT_EQ(Mem_Kinsi(4).人数, 3);
    EXPECT_EQ(Mem_Kinsi(4).メンバー[0], 0);
    EXPECT_EQ(組合せ禁止数_grp, 3);
}

TEST_F(ConditionTest, SwitchesAndPersonalConditions)
{
    open(kGeneral);
    set(u("スケジュール"), u("予定休み区分"), 1, 1, 1.0);
    set(u("基本設定"), u("勤務指定"), 1, 1, true);
    set(u("基本設定"), u("指定勤務"), 1, 1, u("2,x,0,3"));
    set(u("基本設定"), u("勤務日数調整"), 1, 1, false);
    set(u("基本設定"), u("勤務時間調整"), 1, 1, true);
    set(u("基本設定"), u("勤務集中"), 1, 1, u("たぶん"));  // unreadable: the default stays
    set(u("基本設定"), u("自動再挑戦"), 1, 1, false);
    set(u("スケジュール"), u("勤務不可"), 4, 6, u("×"));
    set(u("基本設定"), u("禁止パターン"), 3, 1, u("日"));
    set(u("基本設定"), u("禁止パターン"), 3, 2, u("-"));
    ASSERT_EQ(全条件読込(-1), 1);
    EXPECT_EQ(Member_DayOff(1), 12.0f);  // the column holds work days now
    EXPECT_EQ(指定勤務, (QStringList{QString(), u("2"), u("3")}));
    EXPECT_FALSE(Sw_勤務日数調整);
    EXPECT_TRUE(Sw_勤務時間調整);
    EXPECT_EQ(named(u("人員配置表"), u("TimeSum")).value(), QVariant(true));
    EXPECT_FALSE(Sw_勤務集中);
    EXPECT_FALSE(Sw_自動再挑戦);
    EXPECT_EQ(Member_Scdl(4, 6), 1023);  // "×" forbids every shift
    EXPECT_EQ(Member_Scdl(4, 7), 0);
    EXPECT_EQ(Kinsi_Pattern_Cnt, 3);
    EXPECT_EQ(Kinsi_Pattern(3, 0), 2);
    EXPECT_EQ(Kinsi_Pattern(3, 1), 1);
    EXPECT_EQ(Kinsi_Pattern(3, 2), 0);

    // No personal conditions: every member free on every day, whatever the masks hold.
    manual();
    set(u("スケジュール"), u("個人条件数"), 1, 1, 0.0);
    ASSERT_EQ(全条件読込(-1), 1);
    EXPECT_EQ(Member_Scdl(4, 6), 0);
}

TEST_F(ConditionTest, LastMonthOnlyWhenItIsReallyThere)
{
    open(kLarge);
    // Another month in 先月_月: the days before the period are unknown, not rest.
    set(u("人員配置表"), u("先月_月"), 1, 1, 11.0);
    ASSERT_EQ(全条件読込(-1), 1);
    EXPECT_FALSE(Sw_初期値使用);
    EXPECT_EQ(Past_Table(1, 1), 0);
    EXPECT_EQ(Time_Table(1, 0), 0);

    // The right month but a start day after the 1st: nothing loaded either.
    set(u("人員配置表"), u("先月_月"), 1, 1, 12.0);
    作成開始日 = 5;
    ASSERT_EQ(全条件読込(-1), 5);
    EXPECT_FALSE(Sw_初期値使用);
}

TEST_F(ConditionTest, LastMonthsTotalsSeedTheMemberTotals)
{
    open(kGeneral);
    set(u("人員配置表"), u("過去累計使用"), 1, 1, true);
    manual();
    set(u("人員配置表"), u("過去計"), 2, 1, 4.0);
    set(u("人員配置表"), u("過去計"), 2, 11, 9.0);
    set(u("人員配置表"), u("過去計"), 2, 13, 3.0);
    ASSERT_EQ(全条件読込(-1), 1);
    EXPECT_TRUE(Sw_過去累計使用);
    EXPECT_EQ(Member_Sum(2, 1), 5.0f);  // 4 from last month, 1 reserved on the 5th
    EXPECT_EQ(Member_Sum(2, 11), 10.0f);
    EXPECT_EQ(Member_Sum_K(2), 3.0f);
}

// With quiet 0 the stages show in the splash window, which closes at the end; a roster error
// leaves the stage text standing under its message.
TEST_F(ConditionTest, SplashShowsTheStagesUnlessQuiet)
{
    open(kGeneral);
    ASSERT_EQ(全条件読込(0), 1);
    EXPECT_TRUE(splashState().message.isEmpty());
    set(u("スケジュール"), u("Member_List"), 2, 2, QVariant());
    EXPECT_EQ(全条件読込(0), -1);
    EXPECT_EQ(splashState().message, u("個人別条件読込中"));
    DspSplash(QString());
}
