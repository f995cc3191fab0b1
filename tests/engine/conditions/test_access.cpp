// The three ways to a named range, and the small accessors built on them.
#include "conditions_fixture.h"

#include "engine/conditions.h"
#include "engine/convert.h"
#include "engine/model.h"
#include "engine/workbook_access.h"
#include "shell/excel_layer.h"

#include "text.h"

using condfx::ConditionTest;

TEST_F(ConditionTest, EachWayReachesOnlyWhatItShould)
{
    open(kGeneral);
    // S: a sheet-level name on its own sheet, not on another one.
    EXPECT_EQ(activeBookRange(u("要員設定"), u("Need_Table")).address(), u("$D$5:$AH$14"));
    EXPECT_THROW(activeBookRange(u("基本設定"), u("Need_Table")), MissingRangeError);
    // A: a workbook-level name resolves through the application; a sheet-level one must not.
    EXPECT_EQ(bookLevelRange(u("最適化比重")).worksheet().name(), u("基本設定"));
    try {
        bookLevelRange(u("Need_Table"));
        ADD_FAILURE() << "a sheet-level name resolved through the application";
    } catch (const MissingRangeError& e) {
        EXPECT_TRUE(e.sheet.isEmpty());
        EXPECT_EQ(e.name, u("Need_Table"));
        EXPECT_EQ(e.description, u("ワークブックに名前「Need_Table」がありません！"));
    }
    // B: the program's own workbook, even while another workbook is the active one.
    XlApp().workbooks().add();
    ASSERT_NE(XlApp().activeWorkbook(), xlBook);
    EXPECT_NO_THROW(shiftBookRange(u("人員配置表"), u("Time_Table")));
    EXPECT_THROW(activeBookRange(u("人員配置表"), u("Day_Cnt")), MissingRangeError);
    EXPECT_THROW(bookLevelRange(u("最適化比重")), MissingRangeError);
}

TEST_F(ConditionTest, RangeExistNeedsADefinedName)
{
    open(kGeneral);
    xl::Worksheet& schedule = xlBook->worksheets(u("スケジュール"));
    EXPECT_TRUE(RangeExist(schedule, u("予定休み区分")));
    EXPECT_TRUE(RangeExist(schedule, u("AO8")));   // the named cell by its address
    EXPECT_FALSE(RangeExist(schedule, u("A1")));   // a cell without a name
    EXPECT_FALSE(RangeExist(schedule, u("存在しない名前")));
    EXPECT_FALSE(RangeExist(schedule, u("Need_Table")));  // another sheet's name
}

TEST_F(ConditionTest, SwitchesOfSheetMainReadAndWrite)
{
    open(kGeneral);
    EXPECT_FALSE(GetRangeBool(u("main"), u("ベストシフト作成")));
    SetRangeValue(u("main"), u("ベストシフト作成"), true);
    EXPECT_TRUE(GetRangeBool(u("Main"), u("ベストシフト作成")));
    EXPECT_EQ(named(u("Main"), u("ベストシフト作成")).value(), QVariant(true));
    // Errors are answered with false and ignored.
    EXPECT_FALSE(GetRangeBool(u("main"), u("存在しない名前")));
    EXPECT_FALSE(GetRangeBool(u("存在しないシート"), u("ベストシフト作成")));
    set(u("Main"), u("バックグラウンド動作"), 1, 1, u("たぶん"));
    EXPECT_FALSE(GetRangeBool(u("main"), u("バックグラウンド動作")));
    EXPECT_NO_THROW(SetRangeValue(u("main"), u("存在しない名前"), true));
}

// Shift names resolve through the sheet's list; the current sheet is left on 基本設定.
TEST_F(ConditionTest, TypeIdxOrgLooksUpTheSheetList)
{
    open(kGeneral);
    ASSERT_EQ(全条件読込(-1), 1);
    xlSheet = nullptr;
    EXPECT_EQ(TypeIdxOrg(u("準夜")), 2);
    ASSERT_NE(xlSheet, nullptr);
    EXPECT_EQ(xlSheet->name(), u("基本設定"));
    EXPECT_EQ(TypeIdxOrg(u("*")), kAllShifts);
    EXPECT_EQ(TypeIdxOrg(u("夜勤")), -1);
}
