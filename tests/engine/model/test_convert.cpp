// The conversion and lookup helpers over the model's tables.
#include "engine/convert.h"
#include "engine/model.h"
#include "engine/state.h"

#include "text.h"

#include <gtest/gtest.h>
#include <random>

namespace {

class ConvertTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetEngineState();
        Type_Cnt = 4;
        Member_Cnt = 3;
        Type_Table.ReDim(Type_Cnt + 1, 20);
        const char* abbreviations[] = {"日", "夜", "明", "夜"};  // two share 夜
        for (int t = 1; t <= 4; ++t) {
            Type_Table(t, TYPE_勤務) = u("勤務") + QString::number(t);
            Type_Table(t, TYPE_略称) = u(abbreviations[t - 1]);
            Type_Table(t, TYPE_時間) = t == 1 ? u("7.5") : u("8");
        }
        Yasumi_Kigou = u("明");  // the rest symbol shared with type 3
        Member_List.ReDim(Member_Cnt + 1, 4);
        Member_List(1, 1) = u("101");
        Member_List(2, 1) = u("0102");
        Member_List(3, 1) = u("103");
        Member_List(2, 2) = u("鈴木");
        Member_DayOff.ReDim(Member_Cnt + 1);
    }
    void TearDown() override { resetEngineState(); }
};

}  // namespace

TEST_F(ConvertTest, TypeLookups)
{
    EXPECT_EQ(TypeIdx(u("日")), 1);
    EXPECT_EQ(TypeIdx(u("夜")), 4);  // the later type wins
    EXPECT_EQ(TypeIdx(u("明")), 0);  // the rest symbol, even though type 3 has it
    EXPECT_EQ(TypeIdx(u("*")), kAllShifts);
    EXPECT_EQ(TypeIdx(u("早")), 0);
    EXPECT_EQ(TypeIdx(QString()), 0);
    EXPECT_EQ(TypeText2(0), QString());
    EXPECT_EQ(TypeText2(2), u("夜"));
    EXPECT_EQ(TypeText2(5), u("-1"));
    EXPECT_EQ(TypeName1(1), u("勤務1"));
    EXPECT_EQ(TypeName1V(QVariant()), QString());
    EXPECT_EQ(TypeName1V(2.0), u("勤務2"));
    EXPECT_EQ(TypeVal3(1), 7.5f);
    EXPECT_EQ(AllTypeMask(), 15);
}

TEST_F(ConvertTest, MemberLookups)
{
    EXPECT_EQ(MemIdx(102), 2);  // numbers compare by value
    EXPECT_EQ(MemIdx(104), 0);
    EXPECT_EQ(MemIdxOrM1(104), -1);
    EXPECT_EQ(MemIdxOrM1(103), 3);
    EXPECT_EQ(MemNo(0), -1);
    EXPECT_EQ(MemNo(Member_Cnt + 1), -1);
    EXPECT_EQ(MemNo(2), 102);
    EXPECT_EQ(MemName(2), u("鈴木"));
    for (auto [target, rounded] : std::initializer_list<std::pair<float, int>>{{2.5f, 2}, {3.5f, 4}, {21.4f, 21}, {-0.5f, 0}}) {
        Member_DayOff(1) = target;
        EXPECT_EQ(MemDayOffInt(1), rounded) << target;
    }
}

TEST_F(ConvertTest, GroupLookupTakesTheFirstMatchAndClearsNull)
{
    職制_Ex.ReDim(3, 2);
    職制_Ex(1, 1) = u("師長");
    職制_Ex(2, 1) = u("看護師");
    職制_Ex(3, 1) = u("看護師");
    QVariant v = u("看護師");
    EXPECT_EQ(ListIdx(v), 2);
    QVariant none;
    EXPECT_EQ(ListIdx(none), 0);
    EXPECT_EQ(none, QVariant(QString()));
    QVariant other = u("助手");
    EXPECT_EQ(ListIdx(other), 0);
}

TEST_F(ConvertTest, BitsAndSums)
{
    EXPECT_EQ(BitCount(5, 3), 2);
    EXPECT_EQ(BitCount(5, 0), 0);
    EXPECT_EQ(BitCount(1023, 10), 10);
    EXPECT_EQ(BitCount(-1, 31), 31);
    vb::TwoDimArray<int> need(5, 3);
    for (int i = 1; i <= 4; ++i)
        need(i, 2) = i * 10;
    EXPECT_EQ(SumUnmasked(0b0101, 4, 2, need), 20 + 40);
    EXPECT_EQ(SumUnmasked(0, 4, 2, need), 100);
}

TEST_F(ConvertTest, SortColsIsStableAndLeavesFieldZero)
{
    // Keys 3, 1, 3, 2 in field 1; field 2 tells the positions apart; field 0 marks the slot.
    const int keys[] = {3, 1, 3, 2};
    for (bool ascending : {true, false}) {
        vb::TwoDimArray<int> t(5, 3);
        for (int p = 1; p <= 4; ++p) {
            t(p, 0) = 100 + p;
            t(p, 1) = keys[p - 1];
            t(p, 2) = p;
            t(p, 3) = -p;  // above k: stays
        }
        SortCols(t, 2, 1, 1, 4, ascending);
        const std::vector<std::pair<int, int>> expected = ascending
            ? std::vector<std::pair<int, int>>{{1, 2}, {2, 4}, {3, 1}, {3, 3}}
            : std::vector<std::pair<int, int>>{{3, 1}, {3, 3}, {2, 4}, {1, 2}};
        for (int p = 1; p <= 4; ++p) {
            EXPECT_EQ(t(p, 1), expected[size_t(p - 1)].first) << ascending << " " << p;
            EXPECT_EQ(t(p, 2), expected[size_t(p - 1)].second) << ascending << " " << p;
            EXPECT_EQ(t(p, 0), 100 + p);
            EXPECT_EQ(t(p, 3), -p);
        }
    }
    vb::TwoDimArray<int> one(2, 1);
    one(1, 1) = 5;
    SortCols(one, 1, 1, 1, 1, true);
    EXPECT_EQ(one(1, 1), 5);
}

// The sort by moving rows one place at a time, as the ranking tables were first sorted: the
// reference every other way of sorting must agree with.
static void sortByMoves(vb::TwoDimArray<int>& table, int k, int key, int start, int count, bool ascending)
{
    for (int i = start + 1; i <= start + count - 1; ++i)
        for (int j = i; j >= start + 1; --j) {
            const int a = table(j, key);
            const int b = table(j - 1, key);
            if (ascending ? a < b : a > b)
                SwapCols(table, j, j - 1, k);
        }
}

TEST_F(ConvertTest, SortColsOrdersAsMovingRowsOnePlaceAtATime)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 400; ++round) {
        const int rows = 1 + int(rng() % 60), k = 1 + int(rng() % 10), key = int(rng() % unsigned(k + 2));
        const int start = int(rng() % 3), count = int(rng() % unsigned(rows + 1));
        const bool ascending = rng() % 2 == 0;
        vb::TwoDimArray<int> table(start + rows + 1, 11);
        for (int r = 0; r <= start + rows; ++r)
            for (int c = 0; c <= 11; ++c)
                table(r, c) = int(rng() % 7);  // few values: many equal keys
        vb::TwoDimArray<int> want = table;
        sortByMoves(want, k, key, start, count, ascending);
        SortCols(table, k, key, start, count, ascending);
        for (int r = 0; r <= start + rows; ++r)
            for (int c = 0; c <= 11; ++c)
                ASSERT_EQ(table(r, c), want(r, c)) << "round " << round << " at " << r << "," << c;
    }
}

TEST(ConvertText, PaddingAndSmallConversions)
{
    EXPECT_EQ(FmtPad(7, 3, u("左詰")), u("7  "));
    EXPECT_EQ(FmtPad(7, 3, u("右詰")), u("  7"));
    EXPECT_EQ(FmtPad(1234, 3, u("左詰")), u("1234"));
    EXPECT_EQ(TrimSpaces(u("  a    b  c ")), u("a b c"));
    EXPECT_EQ(ZeroToBlank(0.0), QString());
    EXPECT_EQ(ZeroToBlank(u("abc")), QString());
    EXPECT_EQ(ZeroToBlank(12.0), u("12"));
    EXPECT_EQ(NzStr(QVariant()), QString());
    EXPECT_EQ(NzStr(3.0), u("3"));
    EXPECT_FALSE(NullIfEmpty(QString()).isValid());
    EXPECT_EQ(NullIfEmpty(u("x")), QVariant(u("x")));
    EXPECT_EQ(IntToBool(-1), 1);
    EXPECT_EQ(IntToBool(0), 0);
    EXPECT_EQ(MaxV(2, 2), 2);
    EXPECT_EQ(MaxV(1, 5), 5);
    EXPECT_EQ(MinV(1, 5), 1);
    EXPECT_TRUE(IsZero(0));
    EXPECT_EQ(ArrayDims(vb::TwoDimArray<QVariant>()), 0);
    EXPECT_EQ(ArrayDims(vb::TwoDimArray<QVariant>(0, 3)), 2);
    EXPECT_EQ(ArrayDims(vb::OneDimArray<int>(4)), 1);
}
