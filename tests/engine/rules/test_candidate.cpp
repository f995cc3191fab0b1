// Candidate ranking and the fallback chooser.
#include "rules_fixture.h"

#include "engine/model.h"
#include "engine/rules_candidate.h"

using namespace rulesfx;

namespace {

vb::TwoDimArray<int> candidates(std::initializer_list<int> members)
{
    vb::TwoDimArray<int> table(int(members.size()) + 1, 7);
    int k = 0;
    for (int m : members)
        table(++k, 1) = m;
    return table;
}

TEST(CandidateRanking, Keys)
{
    makeModel(4, 10);
    // Members 1 and 2 far above the average: the count is capped at 8, so they rank alike.
    Member_Sum(1, 11) = 9;
    Member_Sum(1, 1) = 9;
    Member_Sum(2, 11) = 12;
    Member_Sum(2, 1) = 12;
    auto table = candidates({1, 2, 3, 4});
    候補評価(table, 4, 5, 1);
    EXPECT_EQ(table(1, 4), table(2, 4));
    EXPECT_EQ(table(3, 4), 2 * 500 * (0 - 0) + int(-500 * (2 * (0 - 5.25) + (0 - 5.25))));
    EXPECT_EQ(table(3, 5), table(3, 4));  // a rest run of 4 days and no limit: neither bonus nor penalty

    // Row 6: the same shift too close gives -20000 and lowers row 5 by as much; otherwise the
    // caller's value stays and counts.
    makeModel(3, 10);
    Type_Span(1, 2) = 3;
    row(1, QStringLiteral("---日"));
    row(2, QStringLiteral("夜夜夜-"));
    row(3, QStringLiteral("-日-日"));
    table = candidates({1, 2, 3});
    table(2, 6) = 7;
    候補評価(table, 3, 5, 1);
    EXPECT_EQ(table(1, 6), -20000);
    EXPECT_EQ(table(2, 6), 7);
    EXPECT_EQ(table(1, 2), 1);  // one work day directly before
    EXPECT_EQ(table(2, 3), 1);  // one rest day directly before
    EXPECT_EQ(table(1, 5), 1000 + table(1, 4) - 20000);
    EXPECT_EQ(table(2, 5), -1000 + table(2, 4) + 7);
}

// Last month's totals as large as a Single holds: every member is far below the average and ranks
// alike, with the key at its bound and nothing overflowing (the sanitizer build checks that).
TEST(CandidateRanking, HugeTotalsStillRank)
{
    makeModel(2, 10);
    Member_Sum(1, 11) = 3e38f;
    auto table = candidates({1, 2});
    候補評価(table, 2, 5, 1);
    EXPECT_EQ(table(1, 4), table(2, 4));
    EXPECT_EQ(table(2, 4), 1000000000);
}

TEST(CandidateRanking, RestLimitAndBlockedDaysAhead)
{
    makeModel(2, 10);
    row(1, QStringLiteral("日"));
    row(2, QStringLiteral("日---"));
    for (int d = 6; d <= 7; ++d)
        Member_Scdl(2, d) = 1023;
    auto table = candidates({1, 2});
    // Without a rest limit nobody gets the "limit reached" bonus.
    候補評価(table, 2, 5, 1);
    const int base = table(2, 4);
    EXPECT_LT(base, 20000);
    EXPECT_EQ(table(2, 5), base + 200);  // days 6 and 7 allow no shift
    連続休み上限 = 3;
    候補評価(table, 2, 5, 1);
    EXPECT_EQ(table(2, 4), base + 20000);
    EXPECT_EQ(table(2, 5), base + 20000 + 1000 + 200);
}

TEST(CandidateRanking, HolidayListsOnlyOnHolidays)
{
    makeModel(3, 10);
    Holiday_Chk(2) = 1;
    Holiday_Chk(3) = 1;
    row(1, QStringLiteral("-日日"));  // two holidays worked
    row(2, QStringLiteral("-日"));    // one
    auto table = candidates({1, 2, 3});
    候補評価(table, 3, 5, 1);  // day 5 is a working day
    const int plain1 = table(1, 5), plain3 = table(3, 5);
    Holiday_Chk(5) = 1;
    候補評価(table, 3, 5, 1);
    EXPECT_EQ(table(1, 5), plain1 - 1000);  // most holiday work
    EXPECT_EQ(table(3, 5), plain3 + 1000);  // least
}

TEST(FallbackChooser, ReasonsTiesAndNegativeScores)
{
    makeModel(3, 10);
    auto table = candidates({1, 2, 3});
    // Everybody refused: -1 and one line per candidate in list order.
    for (int m = 1; m <= 3; ++m)
        Member_Scdl(m, 5) = 1;
    Member_DayOff(2) = 0;
    QString text = QStringLiteral("前\r\n");
    EXPECT_EQ(不可理由一覧(5, 1, table, 3, text), -1);
    EXPECT_EQ(text, QStringLiteral("前\r\n  1:101→個人不可条件と一致\r\n  2:102→出勤日数オーバー\r\n"
                                   "  3:103→個人不可条件と一致\r\n"));
    // Equal scores: the later candidate.
    makeModel(3, 10);
    text.clear();
    EXPECT_EQ(不可理由一覧(5, 1, table, 3, text), 3);
    EXPECT_EQ(text, QString());
    // A harder member wins: shifts 夜 and 明 forbidden on the day.
    Member_Scdl(1, 5) = 6;
    EXPECT_EQ(不可理由一覧(5, 1, table, 3, text), 1);
    // A passing candidate with a negative score is still chosen.
    makeModel(1, 10, 1);
    Need_Table(1, 5) = 20;
    auto one = candidates({1});
    EXPECT_EQ(不可理由一覧(5, 1, one, 1, text), 1);
}

TEST(Counting, MembersAndCandidatesOnAShift)
{
    makeModel(3, 5);
    row(1, QStringLiteral("日"));
    row(3, QStringLiteral("日"));
    Time_Table(0, 1) = 1;
    Time_Table(4, 1) = 1;  // the spare rows are never counted
    EXPECT_EQ(勤務回数(1, 1), 2);
    auto table = candidates({3, 2});
    EXPECT_EQ(割当人数(1, 1, table, 2), 1);
    EXPECT_EQ(割当人数(1, 1, table, 0), 0);
    EXPECT_EQ(日付文字列(31, QStringLiteral("mm/dd")), QStringLiteral("01/31"));
    EXPECT_EQ(日付文字列(33, QStringLiteral("mm/dd")), QStringLiteral("02/02"));
}

}  // namespace
