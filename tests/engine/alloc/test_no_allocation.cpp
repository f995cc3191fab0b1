// The rule checks run millions of times per generation: they must not allocate.
#include "engine/model.h"
#include "engine/rules.h"
#include "engine/state.h"
#include "engine/totals.h"
#include "platform/text/vb.h"
#include "own_folder.h"
#include "shell/globals.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
std::atomic<bool> counting{false};
}  // namespace

// A sanitizer build brings its own allocator, which these replacements would bypass.
#if defined(__SANITIZE_ADDRESS__)
#define QV_COUNT_ALLOCATIONS 0
#else
#define QV_COUNT_ALLOCATIONS 1
// Qt allocates through malloc, the standard library through operator new: count both (glibc).
extern "C" void* __libc_malloc(std::size_t);
extern "C" void* __libc_calloc(std::size_t, std::size_t);
extern "C" void* __libc_realloc(void*, std::size_t);

extern "C" void* malloc(std::size_t size)
{
    if (counting)
        ++allocations;
    return __libc_malloc(size);
}

extern "C" void* calloc(std::size_t n, std::size_t size)
{
    if (counting)
        ++allocations;
    return __libc_calloc(n, size);
}

extern "C" void* realloc(void* p, std::size_t size)
{
    if (counting)
        ++allocations;
    return __libc_realloc(p, size);
}

void* operator new(std::size_t size)
{
    if (counting)
        ++allocations;
    if (void* p = __libc_malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

#endif

namespace {

void buildModel()
{
    resetIntoOwnFolder<resetEngineState>();
    作成年 = 2027;
    作成月 = 1;
    基準開始日 = 1;
    Member_Cnt = 20;
    Day_Cnt = 31;
    Type_Cnt = 4;
    Start_Day = 1;
    テーブル再定義();
    集計クリア();
    for (int t = 1; t <= Type_Cnt; ++t) {
        Type_Table(t, TYPE_略称) = QString::number(t);
        Type_Table(t, TYPE_時間) = QStringLiteral("7.5");
        Type_Span(t, 2) = t;
        Type_Count(t, 2) = 10;
        DayBefore_Table(t) = t == 2 ? 1 : 0;
    }
    for (int m = 1; m <= Member_Cnt; ++m) {
        Member_DayOff(m) = 22;
        Member_Time(m) = 170;
    }
    Sw_勤務日数調整 = false;
    Sw_初期値使用 = true;
    連続勤務上限 = 5;
    連続休み上限 = 3;
    基点曜日 = 1;
    週間勤務日数上限 = 5;
    Kinsi_Pattern_Cnt = 1;
    Kinsi_Pattern(1, 0) = 3;
    Kinsi_Pattern(1, 1) = 2;
    Kinsi_Pattern(1, 2) = 0;
    Kinsi_Pattern(1, 3) = kAllShifts;
    Hissu_Pattern_Cnt = 1;
    Hissu_Pattern(1, 1) = 2;
    Hissu_Pattern(1, 2) = 3;
    組合せ禁止数 = 1;
    Mem_Kinsi(1).勤務 = kAllShifts;
    Mem_Kinsi(1).人数 = 3;
    Mem_Kinsi(1).メンバー[0] = 3;
    for (int i = 1; i <= 3; ++i)
        Mem_Kinsi(1).memberIndex[size_t(i)] = i;
    組合せ必須数 = 1;
    Mem_Hissu(1).勤務 = 1;
    Mem_Hissu(1).人数 = 1;
    Mem_Hissu(1).メンバー[0] = 3;
    for (int i = 1; i <= 3; ++i) {
        Mem_Hissu(1).メンバー[size_t(i)] = 100 + i;
        Mem_Hissu(1).memberIndex[size_t(i)] = 3 + i;
    }
    Randomize(99);
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = 1; d <= 20; ++d) {
            const int s = int(Int(Rnd() * 5));
            Time_Table(m, d) = s;
            if (s > 0)
                勤務集計加算(m, s, d);
        }
}

TEST(RuleChecks, AllocateNothing)
{
    if (!QV_COUNT_ALLOCATIONS)
        GTEST_SKIP() << "allocation counting is off under the address sanitizer";
    buildModel();
    long reason = 0;
    const QString flags[] = {QString(), QStringLiteral("勤務日数判定要"), QStringLiteral("連続休み判定不要")};
    long sink = 0;
    // The counter sees allocations at all.
    counting = true;
    sink += QString::number(sink + 1234567).size();
    counting = false;
    ASSERT_GT(allocations.load(), 0);
    allocations = 0;
    counting = true;
    for (int d = 1; d <= Day_Cnt; ++d)
        for (int m = 1; m <= Member_Cnt; ++m) {
            for (int s = 1; s <= Type_Cnt; ++s) {
                sink += int(refusalCode(m, s, d));
                sink += 勤務可否判定(s, d, m, Day_Cnt);
            }
            const int b = 1 + m % Member_Cnt;
            for (const QString& flag : flags) {
                勤務変更(m, b, d);
                sink += 交換可否判定(flag, d, m, b, reason);
                勤務変更(b, m, d);
            }
        }
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_NE(sink, 0);
}

}  // namespace
