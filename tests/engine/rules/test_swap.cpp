// The swap check on an exchanged table: reason codes, the flags, and the exchanged cell counted once.
#include "rules_fixture.h"

#include "engine/model.h"
#include "engine/reason.h"
#include "engine/rules.h"
#include "engine/totals.h"

#include <functional>
#include <random>

using namespace rulesfx;

namespace {

// Exchanges a and b on day d, asks the check, and undoes a refused exchange.
long swapReason(const QString& flag, int d, int a, int b)
{
    勤務変更(a, b, d);
    long reason = -1;
    const int result = 交換可否判定(flag, d, a, b, reason);
    EXPECT_EQ(result == 0, reason == 0);
    if (result != 0)
        勤務変更(a, b, d);
    return reason;
}

const QString kNone;
const QString kTargets = QStringLiteral("勤務日数判定要");
const QString kNoRest = QStringLiteral("連続休み判定不要");

TEST(SwapCheck, ReasonCodesNameTheFailingMember)
{
    struct Case {
        const char* name;
        std::function<void()> setup;  // members 1 (日 on day 5) and 2 (rest on day 5)
        long expected;
    };
    const Case cases[] = {
        {"allowed", [] {}, 0},
        {"B may not take the shift", [] { Member_Scdl(2, 5) = 1; }, 理由コード作成(20, 0, 2)},
        {"previous day, B", [] { place(2, 4, 2); DayBefore_Table(2) = 1; }, 理由コード作成(30, 0, 2)},
        {"next day, B", [] { place(2, 6, 3); DayBefore_Table(1) = 4; }, 理由コード作成(31, 0, 2)},
        {"pattern through the day before, B", [] { addPattern(QStringLiteral("日日")); place(2, 4, 1); }, 理由コード作成(40, 0, 2)},
        {"pattern starting on the day, B", [] { addPattern(QStringLiteral("日夜")); place(2, 6, 2); }, 理由コード作成(41, 0, 2)},
        {"reserved cell of A", [] { Rsv_Table(1, 5) = 1; }, 理由コード作成(70, 1, 0)},
        {"reserved cell of B names A", [] { Rsv_Table(2, 5) = 1; }, 理由コード作成(70, 1, 0)},
        {"ban names A", [] { addBan(1, 1, {2}); }, 理由コード作成(80, 1, 0)},
        {"must names both", [] { addMust(1, 1, {1, 3}); Need_Table(1, 5) = 1; }, 理由コード作成(90, 1, 2)},
        {"rest run names both", [] { 連続休み上限 = 3; row(1, QStringLiteral("----"), 1); row(1, QStringLiteral("-"), 6); }, 理由コード作成(100, 1, 2)},
        {"interval, B", [] { Type_Span(1, 2) = 3; place(2, 3, 1); }, 理由コード作成(110, 0, 2)},
        {"count, B", [] { Type_Count(1, 2) = 1; place(2, 9, 1); }, 理由コード作成(130, 0, 2)},
        {"weekly, B", [] { 基点曜日 = 1; 週間勤務日数上限 = 1; place(2, 6, 2); }, 理由コード作成(150, 0, 2)},
    };
    for (const Case& c : cases) {
        makeModel(3, 10);
        place(1, 5, 1);
        c.setup();
        EXPECT_EQ(swapReason(kNone, 5, 1, 2), c.expected) << c.name;
        EXPECT_TRUE(totalsMatchRecount()) << c.name;
    }
}

TEST(SwapCheck, RestRunFlag)
{
    makeModel(3, 10);
    連続休み上限 = 2;
    row(1, QStringLiteral("日-日-日"));
    row(2, QStringLiteral("日日-日日"));
    // Member 1 would rest on days 2..4, one more than the limit.
    EXPECT_EQ(swapReason(kNone, 3, 1, 2), 理由コード作成(100, 1, 2));
    EXPECT_EQ(swapReason(kNoRest, 3, 1, 2), 0);
}

// Decision: the exchanged cell is counted once (work run, weekly days, count per shift, targets).
TEST(SwapCheck, ExchangedCellCountedOnce)
{
    // Giving member 1 a rest day between two work runs is never refused for the run length.
    makeModel(2, 10);
    連続勤務上限 = 3;
    row(1, QStringLiteral("日日日日日日日"));
    EXPECT_EQ(swapReason(kNone, 4, 1, 2), 0);
    EXPECT_EQ(Time_Table(1, 4), 0);
    // Taking a work day that makes a run of exactly the limit is fine; one more is not.
    makeModel(2, 10);
    連続勤務上限 = 3;
    row(2, QStringLiteral("日-日"));
    place(1, 2, 1);
    EXPECT_EQ(swapReason(kNone, 2, 1, 2), 0);  // member 2 now works days 1..3
    place(1, 4, 1);
    EXPECT_EQ(swapReason(kNone, 4, 1, 2), 理由コード作成(50, 0, 2));

    // Weekly: exactly at the limit passes.
    makeModel(2, 10);
    基点曜日 = 1;  // week of day 4 = 4..10
    週間勤務日数上限 = 2;
    place(2, 5, 1);
    place(1, 4, 1);
    EXPECT_EQ(swapReason(kTargets, 4, 1, 2), 0);
    place(2, 6, 1);
    EXPECT_EQ(swapReason(kTargets, 4, 2, 1), 0);  // back to member 1
    EXPECT_EQ(swapReason(kTargets, 4, 1, 2), 理由コード作成(67, 0, 2));
    EXPECT_EQ(swapReason(kNone, 4, 1, 2), 理由コード作成(150, 0, 2));

    // Count per shift: a member may be brought up to exactly the maximum.
    makeModel(2, 10);
    Type_Count(1, 2) = 2;
    place(2, 1, 1);
    place(1, 2, 1);
    EXPECT_EQ(swapReason(kNone, 2, 1, 2), 0);
    place(1, 3, 1);
    EXPECT_EQ(swapReason(kNone, 3, 1, 2), 理由コード作成(130, 0, 2));
}

TEST(SwapCheck, TargetsSwitchMatrix)
{
    struct Case {
        const char* name;
        bool dayAdjust, hourAdjust;
        int state;
        float dayOffB, timeB;  // member 2 receives 日 (8 hours) on day 1, having worked day 2
        long expected;
    };
    const Case cases[] = {
        {"at the target, state 1", false, false, 1, 2, 0, 0},
        {"at the target, state -1 (no longer refused)", false, false, -1, 2, 0, 0},
        {"one over the target", false, false, -1, 1, 0, 理由コード作成(61, 0, 2)},
        {"one over, state 1: row 10", false, false, 1, 1, 0, 理由コード作成(62, 0, 2)},
        {"hours exactly at the limit", false, false, 1, 30, 16, 0},
        {"hours over, state 1", false, false, 1, 30, 15, 理由コード作成(60, 0, 2)},
        {"hours over, state -1", false, false, -1, 30, 15, 理由コード作成(61, 0, 2)},
        {"hours over, day switch on: no hour test", true, false, 1, 30, 15, 0},
        {"days over, day switch on, hour switch off", true, false, 1, 1, 0, 理由コード作成(62, 0, 2)},
        {"days over, both switches on: no target test", true, true, 1, 1, 0, 0},
    };
    for (const Case& c : cases) {
        makeModel(2, 10);
        Sw_勤務日数調整 = c.dayAdjust;
        Sw_勤務時間調整 = c.hourAdjust;
        作成状態 = c.state;
        place(1, 1, 1);
        place(2, 2, 1);
        Member_DayOff(2) = c.dayOffB;
        Member_Time(2) = c.timeB;
        EXPECT_EQ(swapReason(kTargets, 1, 1, 2), c.expected) << c.name;
        // Without the flag the targets are not tested at all.
        if (c.expected != 0) {
            EXPECT_EQ(swapReason(kNone, 1, 1, 2), 0) << c.name;
        }
    }
    作成状態 = 0;
}

// Decisions: bans and musts mean on the swap side what they mean for generation.
TEST(SwapCheck, CombinationRecordsAsGenerationReadsThem)
{
    struct Case {
        const char* name;
        std::function<void()> setup;  // member 1 日 on day 1, member 2 rest; exchange 1 <-> 2
        long expected;
    };
    const Case cases[] = {
        {"* ban over members 2, 3", [] { addBan(kAllShifts, 2, {2, 3}); place(3, 1, 2); }, 理由コード作成(80, 1, 0)},
        {"ban without a list", [] { addBan(1, 3, {}); place(3, 1, 1); }, 0},
        {"ban without a list reached", [] { addBan(1, 1, {}); }, 理由コード作成(80, 1, 0)},
        {"ban with number 0 binds nothing", [] { addBan(1, 0, {2}); }, 0},
        {"empty ban record binds nothing", [] { addBan(0, 0, {}); }, 0},
        {"must on a day that does not need the shift", [] { addMust(1, 1, {1, 3}); }, 0},
        {"* must met by another work shift", [] { addMust(kAllShifts, 1, {1, 3}); Need_Table(0, 1) = 2; place(3, 1, 2); }, 0},
        {"* must broken", [] { addMust(kAllShifts, 1, {1, 3}); Need_Table(0, 1) = 2; }, 理由コード作成(90, 1, 2)},
    };
    for (const Case& c : cases) {
        makeModel(3, 7);
        place(1, 1, 1);
        c.setup();
        EXPECT_EQ(swapReason(kNone, 1, 1, 2), c.expected) << c.name;
    }
}

// A table read back from the sheet holds its chains without reservations: an exchange that splits
// a required succession of either member is refused last, naming the member whose row breaks.
TEST(SwapCheck, RequiredSuccessionsHoldWithoutReservations)
{
    struct Case {
        const char* name;
        std::function<void()> setup;  // 夜 -> 明 required; member 1 works 夜 明 on days 5, 6
        int day;                      // exchange of members 1 and 2 on this day
        long expected;
    };
    const Case cases[] = {
        {"the follower taken away", [] {}, 6, 理由コード作成(10, 1, 0)},
        {"the start given to a member without the follower", [] {}, 5, 理由コード作成(10, 0, 2)},
        {"the start given to a member who holds the follower", [] { place(2, 6, 3); }, 5, 0},
        {"a rest run is tested before", [] { 連続休み上限 = 1; }, 5, 理由コード作成(100, 1, 2)},
        {"any work shift as the follower", [] { Hissu_Pattern(1, 2) = kAllShifts; place(2, 6, 1); }, 5, 0},
        {"the follower beyond the period", [] { place(1, 10, 2); }, 10, 0},
        {"last month's start, used", [] { past(1, QStringLiteral("夜")); place(1, 1, 3); }, 1, 理由コード作成(10, 1, 0)},
        {"last month's start, not used",
         [] { past(1, QStringLiteral("夜")); Sw_初期値使用 = false; place(1, 1, 3); }, 1, 0},
    };
    for (const Case& c : cases) {
        makeModel(3, 10);
        addRequired(2, 3);
        row(1, QStringLiteral("夜明"), 5);
        c.setup();
        EXPECT_EQ(swapReason(kNone, c.day, 1, 2), c.expected) << c.name;
        EXPECT_EQ(swapReason(kTargets, c.day, 2, 1) == 0, c.expected == 0) << c.name;
    }
    long reasonNo = 0, c = 0, b = 0;
    EXPECT_EQ(理由コード分解(理由コード作成(10, 1, 0), reasonNo, c, b), QStringLiteral("必須パターン"));
}

// The reasonless check the exchange loops use runs the same tests in another order: on random
// tables under every kind of limit it must allow exactly what the full check allows.
TEST(SwapCheck, ReasonlessCheckAllowsExactlyWhatTheFullCheckAllows)
{
    std::mt19937 rng(2027);
    auto pick = [&rng](int n) { return int(rng() % unsigned(n)); };
    const QString patterns[] = {QStringLiteral("日日日"), QStringLiteral("夜*"), QStringLiteral("夜-日"),
                                QStringLiteral("*夜"), QStringLiteral("明-")};
    int allowed = 0, refused = 0;
    for (int round = 0; round < 40; ++round) {
        makeModel(6, 14);
        for (int m = 1; m <= 6; ++m)
            for (int d = 1; d <= 14; ++d)
                if (pick(3) != 0)
                    place(m, d, 1 + pick(3));
        for (int m = 1; m <= 6; ++m) {
            Member_DayOff(m) = float(6 + pick(8));
            Member_Time(m) = pick(2) ? float(60 + 8 * pick(6)) : 0;
            Member_Scdl(m, 1 + pick(14)) = 1 << pick(3);
            Rsv_Table(m, 1 + pick(14)) = pick(4) == 0 ? 1 : 0;
        }
        連続勤務上限 = pick(2) ? 3 + pick(3) : 0;
        連続休み上限 = pick(2) ? 2 + pick(2) : 0;
        if (pick(2)) {
            基点曜日 = 1 + pick(7);
            週間勤務日数上限 = 3 + pick(3);
        }
        Type_Span(1 + pick(3), 2) = pick(3);
        Type_Count(1 + pick(3), 2) = 3 + pick(4);
        DayBefore_Table(1 + pick(3)) = 1 << pick(3);
        for (int k = pick(3); k > 0; --k)
            addPattern(patterns[pick(5)]);
        if (pick(2))
            addBan(1 + pick(3), 1 + pick(2), {1 + pick(6), 1 + pick(6), 1 + pick(6)});
        if (pick(2)) {
            addMust(1 + pick(3), 1, {1 + pick(6), 1 + pick(6)});
            for (int d = 1; d <= 14; ++d)
                Need_Table(1 + pick(3), d) = pick(2);
        }
        Sw_勤務日数調整 = pick(2);
        Sw_勤務時間調整 = pick(2);
        作成状態 = pick(2) ? 1 : -1;
        if (pick(2))
            addRequired(2, 3);
        for (const QString& flag : {kNone, kTargets, kNoRest})
            for (int d = 1; d <= 14; ++d)
                for (int a = 1; a <= 6; ++a)
                    for (int b = a + 1; b <= 6; ++b) {
                        勤務変更(a, b, d);
                        long reason = 0;
                        const bool full = 交換可否判定(flag, d, a, b, reason) == 0;
                        ASSERT_EQ(exchangeAllowed(flag, d, a, b), full)
                            << "round " << round << " day " << d << " members " << a << "," << b;
                        (full ? allowed : refused) += 1;
                        勤務変更(a, b, d);
                    }
    }
    // Both outcomes were met often enough to mean something.
    EXPECT_GT(allowed, 1000);
    EXPECT_GT(refused, 1000);
    作成状態 = 0;
}

}  // namespace
