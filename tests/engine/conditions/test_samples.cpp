// Each shipped condition set reads into the model without a message, with the values a person
// reads off the file.
#include "conditions_fixture.h"

#include "engine/conditions.h"
#include "engine/convert.h"
#include "engine/model.h"
#include "platform/ui/prompt.h"

#include "text.h"

using condfx::ConditionTest;

namespace {

// The totals must be exactly the recount of the reserved cells (plus no seed).
void expectTotalsMatchTable()
{
    for (int m = 1; m <= Member_Cnt; ++m) {
        std::vector<int> perType(size_t(Type_Cnt) + 1, 0);
        int work = 0;
        for (int d = 1; d <= Day_Cnt; ++d)
            if (Time_Table(m, d) > 0) {
                ++perType[size_t(Time_Table(m, d))];
                ++work;
            }
        for (int t = 1; t <= Type_Cnt; ++t)
            EXPECT_EQ(Member_Sum(m, t), float(perType[size_t(t)])) << "member " << m << " type " << t;
        EXPECT_EQ(Member_Sum(m, 11), float(work)) << "member " << m;
        EXPECT_EQ(Member_WorkDays(m), float(work)) << "member " << m;
    }
}

}  // namespace

class EverySample : public ConditionTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EverySample, ReadsWithoutAMessage)
{
    open(GetParam());
    const int start = 全条件読込(-1);
    EXPECT_TRUE(ui::shownMessages().empty()) << lastTitle().toStdString() << ": " << lastText().toStdString();
    EXPECT_GE(start, 1);
    EXPECT_EQ(start, Start_Day);
    EXPECT_TRUE(基本情報読込済);
    for (int d = 1; d <= Day_Cnt; ++d) {
        int sum = 0;
        for (int t = 1; t <= Type_Cnt; ++t)
            sum += Need_Table(t, d);
        EXPECT_EQ(Need_Table(0, d), sum) << "day " << d;
        for (int m = 0; m <= Member_Cnt + 1; ++m)
            EXPECT_EQ(Time_Table(m, Day_Cnt + 1), 0);
    }
    expectTotalsMatchTable();
    // Combination records name roster members only, and their indexes match their numbers.
    for (int r = 1; r <= 組合せ禁止数; ++r) {
        const 組合せ記録& rec = Mem_Kinsi(r);
        EXPECT_TRUE(rec.勤務 == kAllShifts || (rec.勤務 >= 1 && rec.勤務 <= Type_Cnt)) << "ban " << r;
        for (int k = 1; k <= rec.メンバー[0]; ++k)
            if (rec.メンバー[size_t(k)] != 0) {
                EXPECT_EQ(rec.memberIndex[size_t(k)], MemIdx(rec.メンバー[size_t(k)])) << "ban " << r << " slot " << k;
            }
    }
    for (int r = 1; r <= 組合せ必須数; ++r)
        EXPECT_TRUE(Mem_Hissu(r).勤務 >= 1 && Mem_Hissu(r).勤務 <= Type_Cnt) << "must " << r;
}

INSTANTIATE_TEST_SUITE_P(Samples, EverySample,
                         ::testing::Values(kGeneral, kCare, kLarge, condfx::kNewFile));

// The general ward, January 2027, read by hand from its file.
TEST_F(ConditionTest, GeneralWardGivesTheValuesOfItsFile)
{
    open(kGeneral);
    ASSERT_EQ(全条件読込(-1), 1);
    EXPECT_EQ(Day_Cnt, 31);
    EXPECT_EQ(Type_Cnt, 3);
    EXPECT_EQ(Member_Cnt, 20);

    EXPECT_EQ(Type_Table(1, TYPE_勤務), u("日勤"));
    EXPECT_EQ(Type_Table(2, TYPE_略称), u("準"));
    EXPECT_EQ(Type_Table(1, TYPE_時間), u("7.5"));
    EXPECT_EQ(Type_Table(0, 0), u("3"));
    EXPECT_EQ(Type_Count(1, 2), 0);
    EXPECT_EQ(Type_Count(2, 2), 8);
    EXPECT_EQ(Type_Color(3, 2), 37);
    // 翌日禁止: after 準 no 日; after 深 neither 日 nor 準.
    EXPECT_EQ(DayBefore_Table(1), 0);
    EXPECT_EQ(DayBefore_Table(2), 1);
    EXPECT_EQ(DayBefore_Table(3), 3);

    EXPECT_EQ(連続勤務上限, 5);
    EXPECT_EQ(連続休み上限, 4);
    EXPECT_EQ(Yasumi_Kigou, u("休"));
    EXPECT_EQ(Kinsi_Pattern_Cnt, 2);
    EXPECT_EQ(Kinsi_Pattern(1, 0), 3);
    EXPECT_EQ(Kinsi_Pattern(1, 1), 3);
    EXPECT_EQ(Kinsi_Pattern(2, 3), 2);
    EXPECT_EQ(Hissu_Pattern_Cnt, 0);
    EXPECT_TRUE(Sw_勤務日数調整);
    EXPECT_FALSE(Sw_勤務時間調整);
    EXPECT_TRUE(Sw_自動再挑戦);
    EXPECT_EQ(指定勤務, (QStringList{QString(), u("1"), u("2"), u("3")}));
    EXPECT_EQ(最適化比重(1), 1.0f);
    EXPECT_EQ(最適化比重(4), 0.0f);
    EXPECT_EQ(最適化比重(12), 1.0f);

    EXPECT_EQ(Member_List(1, 1), u("101"));
    EXPECT_EQ(Member_List(1, 2), u("佐藤 花子"));
    EXPECT_EQ(Member_List(20, 3), u("新人"));
    EXPECT_EQ(Member_DayOff(7), 19.0f);  // 31 days less 12 planned rest days
    // Holidays of January 2027: New Year's Day, the weekends, Coming of Age Day (the 11th).
    for (int d : {1, 2, 3, 9, 10, 11, 16, 17, 23, 24, 30, 31})
        EXPECT_EQ(Holiday_Chk(d), 9) << "day " << d;
    for (int d : {4, 5, 8, 12, 29})
        EXPECT_EQ(Holiday_Chk(d), 0) << "day " << d;

    EXPECT_EQ(Need_Table(1, 1), 5);    // New Year's Day, a holiday
    EXPECT_EQ(Need_Table(1, 2), 6);    // a Saturday
    EXPECT_EQ(Need_Table(1, 4), 10);
    EXPECT_EQ(Need_Table(0, 4), 14);

    // Two sheet bans, then the group ban 深夜 over the three 新人.
    ASSERT_EQ(組合せ禁止数, 3);
    EXPECT_EQ(Mem_Kinsi(1).勤務, 2);
    EXPECT_EQ(Mem_Kinsi(1).人数, 2);
    EXPECT_EQ(Mem_Kinsi(1).メンバー[0], 2);
    EXPECT_EQ(Mem_Kinsi(1).メンバー[1], 118);
    EXPECT_EQ(Mem_Kinsi(1).メンバー[2], 119);
    EXPECT_EQ(Mem_Kinsi(1).memberIndex[2], 19);
    EXPECT_EQ(Mem_Kinsi(3).勤務, 3);
    EXPECT_EQ(Mem_Kinsi(3).メンバー[0], 3);
    EXPECT_EQ(Mem_Kinsi(3).メンバー[3], 120);
    EXPECT_EQ(Mem_Kinsi(3).memberIndex[1], 18);
    EXPECT_EQ(組合せ禁止数_grp, 1);
    EXPECT_EQ(Mem_Kinsi_grp(1).職制, u("新人"));
    EXPECT_EQ(組合せ必須数, 0);

    // Reservations: member 2 日 on the 5th, member 8 準 on the 15th, member 10 深 on the 22nd.
    EXPECT_EQ(Rsv_Table(2, 5), 1);
    EXPECT_EQ(Rsv_Table(8, 15), 2);
    EXPECT_EQ(Rsv_Table(10, 22), 3);
    EXPECT_EQ(Rsv_Table_Copy(10, 22), 3);
    EXPECT_EQ(Time_Table(8, 15), 2);
    EXPECT_EQ(Member_Sum(8, 2), 1.0f);
    EXPECT_EQ(Member_Sum(8, 11), 1.0f);
    EXPECT_EQ(Member_WorkDays(1), 0.0f);
    EXPECT_EQ(named(u("人員配置表"), u("Time_Table")).cells(8, 15).value().toString(), u("準"));
    EXPECT_EQ(予約罫線色, 3);
    EXPECT_EQ(全不可罫線色, 5);

    EXPECT_FALSE(Sw_初期値使用);
    EXPECT_FALSE(Sw_過去累計使用);
    for (int m = 1; m <= Member_Cnt; ++m)
        EXPECT_EQ(Time_Table(m, 0), 0);
}

// The large unit carries last month over: its final ten days and a group must over the leaders.
TEST_F(ConditionTest, LargeUnitReadsLastMonthAndGroupMusts)
{
    open(kLarge);
    ASSERT_EQ(全条件読込(-1), 1);
    EXPECT_EQ(Type_Cnt, 6);
    EXPECT_EQ(Member_Cnt, 45);
    EXPECT_EQ(Type_Table(6, TYPE_時間), u("4"));

    // 先月_結果 row 3 (member 1): 日,休,準,深,休,日,早,遅,休,日 from 12/22 to 12/31.
    EXPECT_TRUE(Sw_初期値使用);
    EXPECT_EQ(Past_Table(1, 1), 1);   // 12/31 日
    EXPECT_EQ(Past_Table(1, 2), 0);   // 12/30 休
    EXPECT_EQ(Past_Table(1, 3), 3);   // 12/29 遅
    EXPECT_EQ(Past_Table(1, 10), 1);  // 12/22 日
    EXPECT_EQ(Past_Table(2, 4), 3);
    EXPECT_EQ(Time_Table(1, 0), 1);
    EXPECT_EQ(Time_Table(3, 0), 0);

    // The sheet must (日勤, 1 of members 1001..1009), then the group must 準夜 over the leaders.
    ASSERT_EQ(組合せ必須数, 2);
    EXPECT_EQ(Mem_Hissu(1).勤務, 1);
    EXPECT_EQ(Mem_Hissu(1).人数, 1);
    EXPECT_EQ(Mem_Hissu(1).メンバー[0], 9);
    EXPECT_EQ(Mem_Hissu(1).メンバー[9], 1009);
    EXPECT_EQ(Mem_Hissu(2).勤務, 4);
    EXPECT_EQ(Mem_Hissu(2).メンバー[0], 9);
    EXPECT_EQ(Mem_Hissu(2).memberIndex[9], 9);
    EXPECT_EQ(組合せ必須数_grp, 1);
    // Three sheet bans and two group bans over the 新人.
    EXPECT_EQ(組合せ禁止数, 5);
    EXPECT_EQ(Mem_Kinsi(5).勤務, 4);
    EXPECT_EQ(職制_Ex(1, 1).toString(), u("リーダー"));
    QVariant group = u("新人");
    EXPECT_EQ(ListIdx(group), 3);
}
