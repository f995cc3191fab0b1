// Random legal tables from the samples, random exchanges: the swap check keeps an exchange
// exactly when the validator finds no broken rule of those the check covers, and the totals
// always equal a recount.
#include "swap_fixture.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "engine/rules.h"
#include "engine/totals.h"
#include "platform/text/vb.h"
#include "small_model.h"

using smallmodel::totalsMatchRecount;
using swapfx::SampleTest;
using validator::Rule;

namespace {

// Conditions the samples lack, so that every rule of the check takes part somewhere: patterns
// with "-" and "*", intervals, weekly limits, per-type counts, bans over "*" and without a list.
void addConditions(int seed)
{
    auto pattern = [](std::initializer_list<int> cells) {
        const int p = ++Kinsi_Pattern_Cnt;
        int n = 0;
        for (int c : cells)
            Kinsi_Pattern(p, ++n) = c;
        Kinsi_Pattern(p, 0) = n;
    };
    auto ban = [](int shift, int count, std::initializer_list<int> members) {
        組合せ記録& rec = Mem_Kinsi(++組合せ禁止数);
        rec = 組合せ記録{};
        rec.勤務 = shift;
        rec.人数 = count;
        for (int m : members) {
            ++rec.メンバー[0];
            rec.メンバー[size_t(rec.メンバー[0])] = int(MemNo(m));
            rec.memberIndex[size_t(rec.メンバー[0])] = m;
        }
    };
    switch (seed % 4) {
    case 1:
        pattern({2, 0, 2});
        Type_Span(1, 2) = 2;
        break;
    case 2:
        pattern({Type_Cnt, kAllShifts});
        ban(kAllShifts, 2, {1, 2, 3});
        break;
    case 3:
        基点曜日 = 3;
        週間勤務日数上限 = 4;
        Type_Count(1, 2) = 8;
        break;
    default:
        pattern({1, kAllShifts, 1});
        ban(2, 3, {});
        Type_Span(2, 2) = 3;
        break;
    }
}

struct Stats {
    int tables = 0, legal = 0, exchanges = 0, kept = 0;
};

class SwapProperty : public SampleTest, public ::testing::WithParamInterface<const char*> {
protected:
    bool loadSample(const char* f) { return load(f); }
};

TEST_P(SwapProperty, CheckAgreesWithTheValidator)
{
    const QString flags[] = {QString(), QStringLiteral("勤務日数判定要"), QStringLiteral("連続休み判定不要")};
    Stats stats;
    for (int seed = 1; seed <= 20; ++seed) {
        ASSERT_TRUE(loadSample(GetParam()));
        // Hour and day targets take part with either switch setting.
        if (seed % 2 == 0) {
            Sw_勤務日数調整 = false;
            for (int m = 1; m <= Member_Cnt; ++m)
                Member_Time(m) = float(8 * Member_DayOff(m));
        }
        addConditions(seed);
        作成状態 = seed % 3 == 0 ? 1 : -1;
        Randomize(std::uint64_t(seed) * 7919u);
        swapfx::fillRandomTable();
        ++stats.tables;
        ASSERT_TRUE(totalsMatchRecount());
        const QString flag = flags[seed % 3];
        const auto covered = swapfx::coveredRules(flag);
        const auto before = validator::only(validator::check(), covered);
        if (!before.empty())
            continue;
        ++stats.legal;
        for (int i = 0; i < 400; ++i) {
            const int d = std::max(1, Start_Day) + int(Int(Rnd() * (Day_Cnt - std::max(1, Start_Day) + 1)));
            const int a = 1 + int(Int(Rnd() * Member_Cnt));
            const int b = 1 + int(Int(Rnd() * Member_Cnt));
            if (a == b || Time_Table(a, d) == Time_Table(b, d))
                continue;
            ++stats.exchanges;
            勤務変更(a, b, d);
            long reason = -1;
            const int result = 交換可否判定(flag, d, a, b, reason);
            const auto after = validator::only(validator::check(), covered);
            EXPECT_EQ(result == 0, after.empty())
                << GetParam() << " seed " << seed << " flag " << flag.toStdString() << " day " << d << " members "
                << a << "," << b << " reason " << reason << "\n"
                << validator::describe(after).toStdString();
            if (result != 0 || !after.empty())
                勤務変更(a, b, d);
            else
                ++stats.kept;
            ASSERT_TRUE(totalsMatchRecount());
            if (HasFailure())
                return;
        }
    }
    // The samples must give enough legal tables and kept exchanges for the property to mean much.
    EXPECT_GE(stats.legal, 3) << GetParam();
    EXPECT_GE(stats.kept, 20) << GetParam();
    std::printf("%s: %d tables, %d legal, %d exchanges, %d kept\n", GetParam(), stats.tables, stats.legal,
                stats.exchanges, stats.kept);
}

INSTANTIATE_TEST_SUITE_P(Samples, SwapProperty,
                         ::testing::Values(kGeneral, kCare, kLarge));

}  // namespace
