// The validator finds exactly the broken rule in small hand-made tables.
#include "validator.h"

#include "engine/model.h"
#include "engine/state.h"
#include "own_folder.h"
#include "shell/globals.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

using validator::Rule;
using validator::Violation;

namespace {

// Four members, ten days (from Friday 1 January 2027), shifts 1..3 of 8 hours, no rule binding.
void model()
{
    resetIntoOwnFolder<resetEngineState>();
    作成年 = 2027;
    作成月 = 1;
    基準開始日 = 1;
    Member_Cnt = 4;
    Day_Cnt = 10;
    Type_Cnt = 3;
    Start_Day = 1;
    テーブル再定義();
    for (int t = 1; t <= 3; ++t)
        Type_Table(t, 3) = QStringLiteral("8");
    for (int m = 1; m <= 4; ++m)
        Member_DayOff(m) = 10;
    連続勤務上限 = 連続休み上限 = 基点曜日 = 週間勤務日数上限 = 0;
    Sw_勤務日数調整 = true;
    Sw_初期値使用 = false;
}

void days(int m, std::initializer_list<int> shifts, int from = 1)
{
    for (int s : shifts)
        Time_Table(m, from++) = s;
}

void record(組合せ記録& rec, int shift, int count, std::initializer_list<int> members)
{
    rec.勤務 = shift;
    rec.人数 = count;
    int i = 0;
    for (int m : members) {
        ++i;
        rec.メンバー[size_t(i)] = 100 + m;
        rec.memberIndex[size_t(i)] = m;
    }
    rec.メンバー[0] = i;
}

TEST(Validator, EachRule)
{
    struct Case {
        const char* name;
        std::function<void()> setup;
        std::vector<Violation> expected;
    };
    const std::vector<Case> cases = {
        {"nothing binds", [] { days(1, {1, 2, 3}); }, {}},
        {"need short and over", [] { Need_Table(1, 2) = 1; Need_Table(2, 3) = 0; days(1, {0, 0, 2}); },
         {{Rule::Understaffed, 0, 2, 1}, {Rule::Overstaffed, 0, 3, 2}}},
        {"personal mask", [] { Member_Scdl(2, 4) = 2; days(2, {2}, 4); }, {{Rule::MemberSchedule, 2, 4, 2}}},
        {"successor, also from last month", [] {
             DayBefore_Table(2) = 4;
             days(1, {2, 3});
             Sw_初期値使用 = true;
             Past_Table(2, 1) = 2;
             days(2, {3});
         }, {{Rule::NextDayBan, 1, 2, 3}, {Rule::NextDayBan, 2, 1, 3}}},
        {"pattern with a trailing *", [] {
             Kinsi_Pattern_Cnt = 1;
             Kinsi_Pattern(1, 0) = 2;
             Kinsi_Pattern(1, 1) = 2;
             Kinsi_Pattern(1, 2) = kAllShifts;
             days(1, {2, 0, 2, 1});
         }, {{Rule::禁止パターン, 1, 3, 1}}},
        {"pattern on the last day reads the day after as rest", [] {
             Kinsi_Pattern_Cnt = 1;
             Kinsi_Pattern(1, 0) = 2;
             Kinsi_Pattern(1, 1) = 2;
             Kinsi_Pattern(1, 2) = 0;
             days(1, {2}, 10);
         }, {{Rule::禁止パターン, 1, 10, 1}}},
        {"required successor", [] {
             Hissu_Pattern_Cnt = 1;
             Hissu_Pattern(1, 1) = 2;
             Hissu_Pattern(1, 2) = 3;
             days(1, {2, 3, 0, 2, 1});
         }, {{Rule::必須パターン, 1, 5, 3}}},
        {"work run with last month", [] {
             連続勤務上限 = 3;
             Sw_初期値使用 = true;
             Past_Table(1, 1) = 1;
             Past_Table(1, 2) = 1;
             days(1, {1, 1});
         }, {{Rule::WorkRun, 1, 2, 0}}},
        {"rest run", [] {
             連続休み上限 = 4;
             for (int m = 1; m <= 4; ++m)
                 days(m, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
             days(3, {0, 0, 0, 0, 0}, 6);
         }, {{Rule::RestRun, 3, 10, 0}}},
        {"week begun last month", [] {
             基点曜日 = 1;  // Monday 28 December .. Sunday 3 January
             週間勤務日数上限 = 3;
             Past_Table(1, 4) = 1;
             Past_Table(1, 2) = 1;
             days(1, {1, 0, 1});
         }, {{Rule::週間勤務日数, 1, 1, 0}}},
        {"count per shift", [] { Type_Count(2, 2) = 1; days(4, {2, 0, 0, 2}); }, {{Rule::勤務回数, 4, 0, 2}}},
        {"interval", [] { Type_Span(2, 2) = 3; days(4, {2, 0, 2, 0, 0, 2}); }, {{Rule::ShiftSpacing, 4, 3, 2}}},
        {"bans: * over a list, no list", [] {
             組合せ禁止数 = 3;
             record(Mem_Kinsi(1), kAllShifts, 2, {1, 2});
             record(Mem_Kinsi(2), 3, 2, {});
             record(Mem_Kinsi(3), 1, 0, {1});  // binds nothing
             days(1, {1});
             days(2, {2, 3});
             days(3, {0, 3});
         }, {{Rule::組合せ禁止, 1, 1, kAllShifts}, {Rule::組合せ禁止, 2, 2, 3}}},
        {"musts and pairs", [] {
             組合せ必須数 = 2;
             record(Mem_Hissu(1), 1, 1, {1, 2});
             record(Mem_Hissu(2), 2, 2, {3, 4});
             Need_Table(1, 1) = 1;
             Need_Table(2, 2) = 2;
             days(3, {0, 2});
             days(4, {1});
         }, {{Rule::Understaffed, 0, 2, 2}, {Rule::組合せ必須, 1, 1, 1}, {Rule::PairRecord, 2, 2, 2}}},
        {"reservation", [] { Rsv_Table(2, 5) = 3; days(2, {1}, 5); }, {{Rule::Reservation, 2, 5, 1}}},
        {"targets: days always, hours without the day adjustment", [] {
             Member_DayOff(1) = 2;
             days(1, {1, 1, 1});
             Member_Time(2) = 16;
             days(2, {1, 1, 1});
             Sw_勤務日数調整 = false;
         }, {{Rule::WorkDays, 1, 0, 3}, {Rule::勤務時間, 2, 0, 0}}},
    };
    for (const Case& c : cases) {
        model();
        c.setup();
        auto found = validator::check();
        // Needs are 0 unless a case sets them: over-staffing is noise elsewhere.
        if (std::none_of(c.expected.begin(), c.expected.end(), [](const Violation& v) { return v.rule == Rule::Overstaffed; }))
            std::erase_if(found, [](const Violation& v) { return v.rule == Rule::Overstaffed; });
        EXPECT_EQ(found, c.expected) << c.name << "\n" << validator::describe(found).toStdString();
    }
}

TEST(Validator, DaysBeforeTheStartAreNotChecked)
{
    model();
    Need_Table(1, 2) = 1;
    Start_Day = 3;
    EXPECT_TRUE(validator::check().empty());
    EXPECT_EQ(validator::check({1, 0}).size(), 1u);
}

}  // namespace
