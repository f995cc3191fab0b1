// Reason codes and the member totals.
#include "rules_fixture.h"

#include "engine/model.h"
#include "engine/reason.h"
#include "engine/totals.h"
#include "platform/os/vb_error.h"
#include "platform/text/vb.h"

using namespace rulesfx;

namespace {

TEST(ReasonCode, PackingAndNames)
{
    EXPECT_EQ(理由コード作成(20, 3, 0), 3020);
    EXPECT_EQ(理由コード作成(100, 3, 7), 7003100);
    EXPECT_EQ(理由コード作成(20, 0, 7), 7000020);
    EXPECT_THROW(理由コード作成(20, 0, 3000), VbError);

    makeModel(8, 5);
    long reason = 0, c = 0, b = 0;
    EXPECT_EQ(理由コード分解(7003100, reason, c, b), QStringLiteral("連続休み数"));
    EXPECT_EQ(reason, 100);
    EXPECT_EQ(c, 107);
    EXPECT_EQ(b, 103);
    EXPECT_EQ(理由コード分解(20, reason, c, b), QStringLiteral("不可勤務"));
    EXPECT_EQ(c, -1);
    EXPECT_EQ(b, -1);
    for (long unknown : {0L, 15L, 181L, 3055L}) {
        EXPECT_EQ(理由コード分解(unknown, reason, c, b), QString()) << unknown;
        EXPECT_EQ(reason, unknown % 1000);
    }
    for (long shared : {60L, 61L, 62L, 66L})
        EXPECT_EQ(理由コード分解(shared, reason, c, b), QStringLiteral("勤務日数超過"));
    EXPECT_EQ(理由コード分解(67, reason, c, b), 理由コード分解(150, reason, c, b));
    // Row beyond the roster gives -1.
    EXPECT_EQ(理由コード分解(理由コード作成(20, 9, 0), reason, c, b), QStringLiteral("不可勤務"));
    EXPECT_EQ(b, -1);
}

TEST(Totals, ExchangesMoveTotals)
{
    makeModel(3, 7);
    Holiday_Chk(3) = 1;
    Holiday_Chk(4) = -1;  // only a positive mark is a holiday
    Type_Table(2, TYPE_時間) = QStringLiteral("16.5");
    row(1, QStringLiteral("日夜夜夜"));
    row(2, QStringLiteral("夜夜日-"));

    struct Case {
        const char* name;
        int a, b, d;
    };
    const Case cases[] = {
        {"rest and rest", 3, 2, 4},
        {"equal shifts", 1, 2, 2},
        {"holiday work moves to the resting member", 1, 3, 3},
        {"negative holiday mark moves nothing of Member_Sum_K", 1, 2, 4},
        {"work for work", 1, 2, 1},
    };
    for (const Case& c : cases) {
        const float k1 = Member_Sum_K(c.a), k2 = Member_Sum_K(c.b);
        const int before1 = Time_Table(c.a, c.d), before2 = Time_Table(c.b, c.d);
        勤務変更(c.a, c.b, c.d);
        EXPECT_EQ(Time_Table(c.a, c.d), before2) << c.name;
        EXPECT_EQ(Time_Table(c.b, c.d), before1) << c.name;
        EXPECT_TRUE(totalsMatchRecount()) << c.name;
        if (c.d == 3) {
            EXPECT_EQ(Member_Sum_K(c.a), k1 - 1) << c.name;
            EXPECT_EQ(Member_Sum_K(c.b), k2 + 1) << c.name;
        }
        勤務変更(c.b, c.a, c.d);
        EXPECT_EQ(Time_Table(c.a, c.d), before1) << c.name << " undone";
        EXPECT_TRUE(totalsMatchRecount()) << c.name << " undone";
    }
}

TEST(Totals, RandomExchangesKeepTotalsEqualToRecount)
{
    Randomize(4711);
    makeModel(6, 14);
    for (int d = 1; d <= 14; ++d) {
        Holiday_Chk(d) = d % 7 == 3 ? 1 : 0;
        for (int m = 1; m <= 6; ++m)
            place(m, d, int(Int(Rnd() * 4)));
    }
    // Last month's totals are a seed the exchanges only add to.
    const float seed = 5;
    for (int m = 1; m <= 6; ++m)
        Member_Sum(m, 1) += seed;
    for (int i = 0; i < 2000; ++i) {
        const int a = 1 + int(Int(Rnd() * 6)), b = 1 + int(Int(Rnd() * 6)), d = 1 + int(Int(Rnd() * 14));
        勤務変更(a, b, d);
    }
    for (int m = 1; m <= 6; ++m)
        Member_Sum(m, 1) -= seed;
    EXPECT_TRUE(totalsMatchRecount());
}

TEST(Totals, ClearAndStanding)
{
    makeModel(4, 10);
    row(1, QStringLiteral("日日"));
    集計クリア();
    EXPECT_EQ(Member_Sum.UBound(1), 5);
    EXPECT_EQ(Member_Sum.UBound(2), 13);
    EXPECT_EQ(Member_Sum_TTIME.UBound(), 5);
    EXPECT_EQ(Member_WorkDays(1), 0);

    makeModel(4, 10);
    Member_DayOff(1) = 2;   // on target
    Member_DayOff(2) = 3;   // one under
    Member_DayOff(3) = 1;   // one over
    Member_DayOff(4) = 10;  // target = the period: always on target
    row(1, QStringLiteral("日日"));
    row(2, QStringLiteral("日日"));
    row(3, QStringLiteral("日日"));
    QString text;
    EXPECT_EQ(出勤日数過不足一覧(text), -1.0f);
    EXPECT_EQ(text, QStringLiteral("  2        102 1\r\n  3        103-1\r\n"));
    Member_DayOff(3) = 2;
    EXPECT_EQ(出勤日数過不足一覧(text), 1.0f);
    Member_DayOff(2) = 2;
    EXPECT_EQ(出勤日数過不足一覧(text), 0.0f);
    EXPECT_EQ(text, QString());
}

}  // namespace
