// The condition model's tables: sizes, zeroing, the spare slots and the bounds.
#include "engine/model.h"
#include "engine/state.h"
#include "shell/globals.h"
#include "shell/mylog.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetEngineState();
        AppPath = QDir::homePath();
        Member_Cnt = 4;
        Day_Cnt = 30;
        Type_Cnt = 3;
        テーブル再定義();
    }
    void TearDown() override { resetEngineState(); }
};

}  // namespace

TEST_F(ModelTest, EveryTableRunsFromZeroToCountPlusOne)
{
    EXPECT_EQ(Time_Table.UBound(1), 5);
    EXPECT_EQ(Time_Table.UBound(2), 31);
    EXPECT_EQ(Past_Table.UBound(2), 11);
    EXPECT_EQ(Member_Sum.UBound(2), 13);
    EXPECT_EQ(Need_Table.UBound(1), 5);  // t + 2
    EXPECT_EQ(Type_Table.UBound(2), 20);
    EXPECT_EQ(DayBefore_Table.UBound(), 4);
    EXPECT_EQ(Kinsi_Pattern.UBound(1), 11);
    EXPECT_EQ(Hissu_Pattern.UBound(2), 4);
    EXPECT_EQ(最適化比重.UBound(), 15);
    EXPECT_EQ(Mem_Kinsi.UBound(), 16);
    EXPECT_EQ(Mem_Hissu.UBound(), 301);
    EXPECT_EQ(Mem_Hissu_grp.UBound(), 301);
    EXPECT_EQ(Holiday_Chk.UBound(), 31);
    EXPECT_EQ(Member_Sum_TTIME.UBound(), MEM_MAX + 1);
    EXPECT_EQ(Mem_Kinsi(16).メンバー.size(), 102u);
}

TEST_F(ModelTest, RedefiningEmptiesEvenAtTheSameSize)
{
    Time_Table(2, 3) = 2;
    Member_List(1, 2) = QStringLiteral("佐藤");
    Member_Sum(4, 11) = 7;
    Mem_Kinsi(3).勤務 = 2;
    Mem_Kinsi(3).メンバー[1] = 101;
    Mem_Hissu_grp(1).職制 = QStringLiteral("新人");
    Holiday_Chk(31) = 9;
    const int lines = BootLogCount();
    テーブル再定義();
    EXPECT_EQ(BootLogCount(), lines + 7);
    EXPECT_EQ(Time_Table(2, 3), 0);
    EXPECT_TRUE(Member_List(1, 2).isEmpty());
    EXPECT_EQ(Member_Sum(4, 11), 0.0f);
    EXPECT_EQ(Mem_Kinsi(3).勤務, 0);
    EXPECT_EQ(Mem_Kinsi(3).メンバー[1], 0);
    EXPECT_TRUE(Mem_Hissu_grp(1).職制.isEmpty());
    EXPECT_EQ(Holiday_Chk(31), 0);
}

TEST_F(ModelTest, AnIndexOutsideTheBoundsIsRunTimeError9)
{
    for (auto access : std::initializer_list<void (*)()>{
             [] { Time_Table(6, 1) = 1; },
             [] { Time_Table(1, 32) = 1; },
             [] { Time_Table(-1, 0) = 1; },
             [] { Member_Sum(1, 14) = 1; },
             [] { Mem_Kinsi(17).勤務 = 1; },
             [] { Holiday_Chk(32) = 1; },
         }) {
        try {
            access();
            ADD_FAILURE() << "no error";
        } catch (const VbError& e) {
            EXPECT_EQ(e.number, 9);
        }
    }
}

TEST_F(ModelTest, ClearMemberSumLeavesTheSpareSlots)
{
    for (int i = 0; i <= 5; ++i)
        for (int j = 0; j <= 13; ++j)
            Member_Sum(i, j) = 1;
    Member_Sum_K(2) = 3;
    Member_Sum_K(5) = 3;
    ClearMemberSum();
    EXPECT_EQ(Member_Sum(1, 1), 0.0f);
    EXPECT_EQ(Member_Sum(4, 13), 0.0f);
    EXPECT_EQ(Member_Sum_K(2), 0.0f);
    EXPECT_EQ(Member_Sum(0, 5), 1.0f);
    EXPECT_EQ(Member_Sum(3, 0), 1.0f);
    EXPECT_EQ(Member_Sum(5, 5), 1.0f);
    EXPECT_EQ(Member_Sum_K(5), 3.0f);
}

TEST_F(ModelTest, WorkArraysAtTheirLargestSizes)
{
    Time_Table(1, 1) = 3;
    maximiseWorkArrays();
    EXPECT_EQ(Time_Table.UBound(1), 51);
    EXPECT_EQ(Time_Table.UBound(2), 32);
    EXPECT_EQ(Time_Table(1, 1), 0);
    EXPECT_EQ(Past_Table.UBound(2), 31);
    EXPECT_EQ(Need_Table.UBound(1), 11);
    EXPECT_EQ(Holiday_Chk.UBound(), 32);
    EXPECT_EQ(Member_RndIdx.UBound(), 51);
}
