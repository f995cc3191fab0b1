#include "../support/manual_clock.h"
#include "pass_counter.h"
#include "platform/text/vb.h"
#include "shell/globals.h"
#include "shell/mymod.h"
#include "shell/state.h"

#include <QCoreApplication>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

class WaitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetShellState();
        counter.arm();
    }
    void TearDown() override { resetShellState(); }
    PassCounter counter;
    ManualClock clock;
};

}  // namespace

TEST_F(WaitTest, DoWaitWaitsAboutTheTimeAndKeepsEventsRunning)
{
    for (long asked : {15L, 100L, 1000L}) {
        counter.passes = 0;
        const qint64 before = clock.elapsedMs();
        long ms = asked;
        DoWait(ms);
        const qint64 waited = clock.elapsedMs() - before;
        EXPECT_GE(waited, asked);
        EXPECT_LT(waited, asked + 10);
        EXPECT_EQ(ms, asked - waited);  // the caller's variable counts down what was waited
        // The window stays responsive: events run at least every 10 ms of the wait.
        EXPECT_GE(counter.passes, int((waited + 9) / 10)) << asked;
    }
    // Nothing to wait: no time passes and no event runs.
    for (long asked : {0L, -5L}) {
        counter.passes = 0;
        long ms = asked;
        DoWait(ms);
        EXPECT_EQ(ms, asked);
        EXPECT_EQ(counter.passes, 0);
    }
    EXPECT_EQ(clock.elapsedMs(), 20 + 100 + 1000);
}

TEST_F(WaitTest, DoWaitReturnsAtOnceOnStop)
{
    Sw_中止 = true;
    long ms = 1000;
    DoWait(ms);
    EXPECT_EQ(counter.passes, 0);
    EXPECT_EQ(ms, 1000);
    EXPECT_EQ(clock.elapsedMs(), 0);
}

TEST_F(WaitTest, DoWaitStopsWhenAHandlerSetsTheStopFlag)
{
    // An event handler running inside the wait (a cancel button) ends it early.
    struct Stopper : QObject {
        bool event(QEvent* e) override
        {
            if (e->type() != QEvent::User)
                return QObject::event(e);
            Sw_中止 = true;
            return true;
        }
    } stopper;
    QCoreApplication::postEvent(&stopper, new QEvent(QEvent::User));
    long ms = 5000;
    DoWait(ms);
    EXPECT_GT(clock.elapsedMs(), 0);
    EXPECT_LE(clock.elapsedMs(), 10);
    EXPECT_EQ(ms, 5000 - clock.elapsedMs());
}

TEST_F(WaitTest, WaitMsIgnoresStopAndAlwaysWaits)
{
    Sw_中止 = true;
    for (long asked : {25L, 0L, -20L}) {
        counter.passes = 0;
        const qint64 before = clock.elapsedMs();
        long ms = asked;
        WaitMs(ms);
        const qint64 waited = clock.elapsedMs() - before;
        EXPECT_GT(waited, 0) << asked;
        EXPECT_GE(waited, asked);
        EXPECT_LE(waited, std::max(asked, 0L) + 10);
        EXPECT_EQ(ms, asked - waited);
        EXPECT_GE(counter.passes, 1) << asked;
    }
}

TEST(RandomHelpers, ReseedRepeatAndShuffle)
{
    // MyRnd(0) repeats the last number.
    Randomize(12345);
    const float r = MyRnd(1);
    EXPECT_GE(r, 0.0f);
    EXPECT_LT(r, 1.0f);
    EXPECT_EQ(MyRnd(0), r);
    // Seeding from the clock again must not repeat the sequence.
    MyRandomize();
    const float a = MyRnd(1);
    MyRandomize();
    EXPECT_NE(MyRnd(1), a);

    std::vector<int> one(2, 0);
    ShuffleIdx(one, 1);
    EXPECT_EQ(one[1], 1);

    std::vector<int> untouched{7, 8};
    ShuffleIdx(untouched, 0);
    EXPECT_EQ(untouched, (std::vector<int>{7, 8}));

    // Every order of three turns up, and every result is a permutation.
    std::vector<std::vector<int>> seen;
    for (int round = 0; round < 1000; ++round) {
        std::vector<int> idx;  // grown to fit
        ShuffleIdx(idx, 3);
        ASSERT_EQ(idx.size(), 4u);
        std::vector<int> body(idx.begin() + 1, idx.end());
        std::vector<int> sorted = body;
        std::sort(sorted.begin(), sorted.end());
        ASSERT_EQ(sorted, (std::vector<int>{1, 2, 3}));
        if (std::find(seen.begin(), seen.end(), body) == seen.end())
            seen.push_back(body);
    }
    EXPECT_EQ(seen.size(), 6u);
}

TEST(BitHelpers, ValuesTestsAndAnd)
{
    EXPECT_EQ(BitValue(0), 0);
    EXPECT_EQ(BitValue(1), 1);
    EXPECT_EQ(BitValue(10), 512);
    EXPECT_EQ(BitAnd(0x1FFFF, 0x10001), 1);
    EXPECT_EQ(BitAnd(-1, 0x12345), 0x2345);
    struct Case {
        long x, bit;
        bool set;
    } cases[] = {{5, 1, true}, {5, 2, false}, {5, 4, true}, {-1, 1, true}, {-1, 1024, true}, {-2, 1, false},
                 {-3, 2, false}, {1023, 512, true}, {7, 0, false}};
    for (const Case& c : cases)
        EXPECT_EQ(BitTest(c.x, c.bit), c.set) << c.x << " " << c.bit;
}
