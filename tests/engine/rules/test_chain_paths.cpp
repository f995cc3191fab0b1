// A required chain laid whichever path staffs its first shift, its follow-up days tested against
// the combination bans and the run limit past the period's end, and the conflicts that lie wholly
// in fixed cells laid and named instead of failing every try.
#include "rules_fixture.h"

#include "engine/day_placement.h"
#include "engine/rules.h"
#include "engine/rules_candidate.h"

using namespace rulesfx;

// A pair record on 夜 lays both members' 明, reserved and counted, as a single member's would be.
// The partner is tested with the first member's chain laid, so a ban on both holding 明 fails the
// day.
TEST(ChainPaths, PairRecordLaysBothChains)
{
    nightModel(4, 10);
    addMust(2, 2, {1, 2});
    Need_Table(2, 5) = 1;
    Member_Scdl(3, 5) = Member_Scdl(4, 5) = 2;
    ASSERT_EQ(日別配置(5, 1), 1.0f) << dayPlacementLog.toStdString();
    for (int m : {1, 2}) {
        EXPECT_EQ(Time_Table(m, 5), 2) << m;
        EXPECT_EQ(Time_Table(m, 6), 3) << m;
        EXPECT_EQ(Rsv_Table(m, 5), 2) << m;
        EXPECT_EQ(Rsv_Table(m, 6), 3) << m;
    }
    EXPECT_TRUE(totalsMatchRecount());

    nightModel(4, 10);
    addMust(2, 2, {1, 2});
    addBan(3, 2, {1, 2});
    Need_Table(2, 5) = 1;
    Member_Scdl(3, 5) = Member_Scdl(4, 5) = 2;
    EXPECT_EQ(日別配置(5, 1), 0.0f);
    EXPECT_TRUE(dayPlacementLog.contains(QStringLiteral("メンバー組合せ必須エラー\r\n必須パターンエラー")))
        << dayPlacementLog.toStdString();
    EXPECT_EQ(Time_Table(1, 6), 0) << "a failed try leaves no chain behind";
}

// A must record's member on 夜 gets the whole chain at once, not only the reserved first day.
TEST(ChainPaths, MustRecordLaysTheChain)
{
    nightModel(4, 10);
    addMust(2, 1, {1, 2});
    Need_Table(2, 3) = 1;
    ASSERT_EQ(日別配置(3, 1), 1.0f);
    const int m = Time_Table(1, 3) == 2 ? 1 : 2;
    EXPECT_EQ(Time_Table(m, 4), 3);
    EXPECT_EQ(Rsv_Table(m, 4), 3);
    EXPECT_TRUE(totalsMatchRecount());
}

// "Not both on 明": a second 夜 the day after which the first member holds 明 is refused, and so
// is a carried 明 beside another member's.
TEST(ChainPaths, FollowUpDaysKeepTheBans)
{
    nightModel(3, 10);
    addBan(3, 2, {1, 2});
    row(3, QStringLiteral("日日"));  // more work days: ranked after members 1 and 2
    Need_Table(2, 5) = 2;
    ASSERT_EQ(日別配置(5, 1), 1.0f);
    EXPECT_EQ((Time_Table(1, 5) == 2) + (Time_Table(2, 5) == 2), 1) << "1 and 2 would both hold 明 on day 6";
    EXPECT_EQ(Time_Table(3, 5), 2);

    nightModel(3, 10);
    addBan(3, 2, {1, 2});
    place(1, 5, 3);
    EXPECT_EQ(carriedShiftRefusal(2, 3, 5), RefusalReason::組み合わせ禁止);
    EXPECT_EQ(carriedShiftRefusal(3, 3, 5), RefusalReason::None);
}

// A month ending 日 夜 under a run limit of 2: 明 on the next month's first day makes three.
TEST(ChainPaths, ChainDaysPastTheEndCountInTheRun)
{
    nightModel(2, 10);
    連続勤務上限 = 2;
    place(1, 9, 1);
    EXPECT_EQ(必須パターン可否(2, 1, 10), -3);
    EXPECT_EQ(勤務不可理由(1, 2, 10), QStringLiteral("必須パターンエラー"));
    EXPECT_EQ(必須パターン可否(2, 2, 10), 2) << "no work before: 夜 明 is a run of two";
    // A chain ending inside the period adds nothing.
    EXPECT_EQ(必須パターン可否(2, 2, 9), 2);

    // 日 requires 夜, which requires 明: a 日 carried onto the last day brings 夜 and 明 behind it.
    nightModel(2, 10);
    連続勤務上限 = 2;
    addRequired(1, 2);
    EXPECT_EQ(carriedShiftRefusal(1, 2, 10), RefusalReason::None);
    place(1, 9, 1);
    EXPECT_EQ(carriedShiftRefusal(1, 2, 10), RefusalReason::連続勤務日数オーバー);
}

// Last month's 夜 carries 明 onto day 1 over the run limit; reserved 夜 and 日 around a banned
// "明 *"; a member excluded from every shift resting before a reserved 明 under "- 明". Each is
// named once and laid (or kept), and the day is staffed.
TEST(FixedConflicts, AreNamedAndLaidInsteadOfFailingTries)
{
    nightModel(3, 20);
    連続勤務上限 = 3;
    past(1, QStringLiteral("夜日日"));
    addPattern(QStringLiteral("明*"));
    reserve(2, 12, 2);
    reserve(2, 14, 1);
    addPattern(QStringLiteral("-明"));
    reserve(3, 7, 3);
    Member_Scdl(3, 6) = 7;
    // Chosen cells are no conflicts: a 夜 placed by the run on day 17 before a reserved 日.
    place(1, 17, 2);
    reserve(1, 19, 1);
    findFixedConflicts();
    ASSERT_EQ(fixedConflicts.size(), 3u) << fixedConflictLines().toStdString();
    EXPECT_EQ(fixedConflictLines(), QStringLiteral("101 職員1 01/01 明：連続勤務日数オーバー\r\n"
                                                   "102 職員2 01/13 明：禁止パターン\r\n"
                                                   "103 職員3 01/06 休：禁止パターン\r\n"));
    EXPECT_EQ(Time_Table(2, 12), 2) << "the table is left as it was";
    EXPECT_EQ(Rsv_Table(2, 13), 3) << "but for the named follower, laid";
    EXPECT_EQ(Time_Table(1, 18), 0);

    for (int d : {1, 6, 13}) {
        EXPECT_EQ(日別配置(d, 1), 1.0f) << d << "\n" << dayPlacementLog.toStdString();
    }
    EXPECT_EQ(Time_Table(1, 1), 3);
    EXPECT_EQ(Time_Table(2, 13), 3);
    EXPECT_EQ(Time_Table(3, 6), 0);
    // The run's own 夜 on day 17 still fails its follower's try.
    EXPECT_EQ(日別配置(18, 1), 0.0f);
    EXPECT_TRUE(dayPlacementLog.contains(QStringLiteral("必須パターン引継不可"))) << dayPlacementLog.toStdString();
}

// Reservations alone over the weekly limit or closer than a shift's shortest interval are named
// once each: on the day the week first goes over, and on the second of the two close days, or on
// a carried follower that is one of them.
TEST(FixedConflicts, WeeklyLimitAndIntervalOfReservationsAreNamedOnce)
{
    nightModel(3, 20);
    基点曜日 = 1;  // weeks from Monday: 01/04 .. 01/10
    週間勤務日数上限 = 2;
    for (int d : {4, 5, 6, 7})
        reserve(1, d, 3);
    Type_Span(1, 2) = 3;
    reserve(2, 11, 1);
    reserve(2, 12, 1);
    findFixedConflicts();
    const QString lines = fixedConflictLines();
    EXPECT_EQ(fixedConflicts.size(), 2u) << lines.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("101 職員1 01/06 ")) && lines.contains(QStringLiteral("週間勤務日数不可")))
        << lines.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("102 職員2 01/12 ")) && lines.contains(QStringLiteral("最少勤務間隔")))
        << lines.toStdString();

    // A carried 明 too close to a reserved 明 is named once, at the follower.
    nightModel(3, 20);
    Type_Span(3, 2) = 3;
    reserve(1, 5, 2);
    reserve(1, 8, 3);
    findFixedConflicts();
    EXPECT_EQ(fixedConflictLines(), QStringLiteral("101 職員1 01/06 明：最少勤務間隔 明\r\n"));
}

// The record and sequence rules the fixed cells break by themselves: a pair on 夜 split by a
// reservation and by an exclusion, reservations over a count limit, a reserved day after a
// reserved 夜 that is not its 明, and a must whose members are all excluded on a day that needs
// its shift. Each is named once and no try fails on it.
TEST(FixedConflicts, RecordsCountsAndChainsOfFixedCellsAreNamed)
{
    nightModel(4, 20);
    addMust(2, 2, {1, 2});
    reserve(1, 3, 2);
    reserve(2, 3, 1);
    reserve(1, 8, 2);
    Member_Scdl(2, 8) = 2;
    Need_Table(2, 8) = 1;
    Type_Count(1, 2) = 2;
    for (int d : {10, 11, 12, 13})
        reserve(3, d, 1);
    reserve(4, 15, 2);
    reserve(4, 16, 1);
    addMust(1, 1, {3, 4});
    Need_Table(1, 18) = Need_Table(1, 19) = 1;
    Member_Scdl(3, 18) = Member_Scdl(4, 18) = 1;
    Member_Scdl(3, 19) = 1;  // member 4 may still take it
    findFixedConflicts();
    EXPECT_EQ(fixedConflictLines(), QStringLiteral("103 職員3 01/12 日：勤務回数オーバー\r\n"
                                                   "104 職員4 01/16 日：必須パターンエラー\r\n"
                                                   "101 職員1・102 職員2 01/03 夜：メンバー組合せ必須エラー\r\n"
                                                   "101 職員1・102 職員2 01/08 夜：メンバー組合せ必須エラー\r\n"
                                                   "103 職員3・104 職員4 01/18 日：組合せ必須メンバー該当者無し\r\n"));

    for (int d : {3, 8, 16, 18, 19}) {
        EXPECT_EQ(日別配置(d, 1), 1.0f) << d << "\n" << dayPlacementLog.toStdString();
    }
    EXPECT_EQ(Time_Table(2, 8), 0) << "the excluded partner stays off 夜";
    EXPECT_EQ(Time_Table(4, 16), 1);
    EXPECT_EQ(Time_Table(4, 19), 1) << "a must that can be met still is";
}

// The pair path keeps a pair on a chain's later shift: a partner on a 夜 the run laid itself, on
// the day the other member holds the 明 of the run's own chain, fails the day instead of being
// passed over as a fixed cell; and a 夜 whose 明 would lie beside the partner's 夜 is refused.
TEST(FixedConflicts, PairOnAChainsShiftIsKeptAgainstTheRunsOwnChains)
{
    nightModel(3, 10);
    addMust(3, 2, {1, 2});
    findFixedConflicts();
    placeWithChain(1, 2, 5);
    placeWithChain(2, 2, 6);
    Need_Table(2, 6) = Need_Table(3, 6) = 1;
    EXPECT_EQ(日別配置(6, 1), 0.0f);
    EXPECT_TRUE(dayPlacementLog.contains(QStringLiteral("メンバー組合せ必須エラー"))) << dayPlacementLog.toStdString();

    nightModel(3, 10);
    addMust(3, 2, {1, 2});
    findFixedConflicts();
    placeWithChain(1, 2, 8);
    EXPECT_EQ(refusalCode(2, 2, 7), RefusalReason::必須パターンエラー);
    EXPECT_EQ(refusalCode(2, 2, 8), RefusalReason::None) << "both on 明 on the 9th";
}

// A named follower excuses only its own rule: member 1's 明 after a reserved 夜 is excluded and
// laid, and the run's 日 before the 夜 still counts it towards the run limit; member 2's 夜 the day
// before still meets a ban on two 明 with it. Another rule the fixed cells break there is named
// as well, and a pair named as split excuses no other pair of its members.
TEST(FixedConflicts, NamedFollowerExcusesOnlyItsOwnRule)
{
    nightModel(3, 20);
    連続勤務上限 = 3;
    reserve(1, 11, 2);
    Member_Scdl(1, 12) = 7;
    addBan(3, 2, {1, 2});
    findFixedConflicts();
    EXPECT_EQ(fixedConflictLines(), QStringLiteral("101 職員1 01/12 明：個人不可条件と一致\r\n"));
    EXPECT_EQ(Time_Table(1, 12), 3);
    EXPECT_TRUE(totalsMatchRecount());
    place(1, 9, 1);
    EXPECT_EQ(refusalCode(1, 1, 10), RefusalReason::連続勤務日数オーバー);
    EXPECT_EQ(refusalCode(2, 2, 11), RefusalReason::必須パターンエラー);
    EXPECT_EQ(日別配置(12, 1), 1.0f) << dayPlacementLog.toStdString();

    // A run the fixed cells alone take over the limit at the excluded follower is named too.
    nightModel(3, 20);
    連続勤務上限 = 2;
    reserve(1, 10, 1);
    reserve(1, 11, 2);
    Member_Scdl(1, 12) = 7;
    findFixedConflicts();
    EXPECT_EQ(fixedConflictLines(), QStringLiteral("101 職員1 01/12 明：個人不可条件と一致\r\n"
                                                   "101 職員1 01/12 明：連続勤務日数オーバー\r\n"));

    // A pair on 夜 named as split leaves its member's other pair, on 日, to be kept.
    nightModel(3, 10);
    addMust(2, 2, {1, 2});
    addMust(1, 2, {2, 3});
    reserve(1, 5, 2);
    Member_Scdl(2, 5) = 2;
    reserve(3, 5, 1);
    findFixedConflicts();
    EXPECT_EQ(fixedConflicts.size(), 1u) << fixedConflictLines().toStdString();
    EXPECT_EQ(日別配置(5, 1), 1.0f) << dayPlacementLog.toStdString();
    EXPECT_EQ(Time_Table(2, 5), 1);
}

// Conflicts the fixed cells make through a follower: a pair on 夜 whose partner's 明 is excluded
// (or reserved for 日) the day after the other member's reserved 夜; a must on 夜 whose members all
// have 明 excluded the day after; a must on 夜 on the 2nd whose members all carry 明 on the 1st
// from last month under "明 *". Each is named once and its day staffed by the others.
TEST(FixedConflicts, ConflictsThroughAFollowerAreNamed)
{
    nightModel(5, 20);
    addMust(2, 2, {1, 2});
    reserve(1, 5, 2);
    Member_Scdl(2, 6) = 4;
    reserve(1, 9, 2);
    reserve(2, 10, 1);
    addMust(2, 1, {3, 4});
    Need_Table(2, 14) = 1;
    Member_Scdl(3, 15) = Member_Scdl(4, 15) = 4;
    addPattern(QStringLiteral("明*"));
    past(3, QStringLiteral("夜"));
    past(4, QStringLiteral("夜"));
    Need_Table(2, 2) = 1;
    findFixedConflicts();
    EXPECT_EQ(fixedConflictLines(), QStringLiteral("101 職員1・102 職員2 01/05 夜：メンバー組合せ必須エラー\r\n"
                                                   "101 職員1・102 職員2 01/09 夜：メンバー組合せ必須エラー\r\n"
                                                   "103 職員3・104 職員4 01/02 夜：組合せ必須メンバー該当者無し\r\n"
                                                   "103 職員3・104 職員4 01/14 夜：組合せ必須メンバー該当者無し\r\n"));
    for (int d : {1, 2, 5, 6, 9, 14}) {
        EXPECT_EQ(日別配置(d, 1), 1.0f) << d << "\n" << dayPlacementLog.toStdString();
    }
}
