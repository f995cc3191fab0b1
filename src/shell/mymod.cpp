#include "shell/mymod.h"

#include "platform/os/clock.h"
#include "platform/text/vb.h"
#include "platform/xl/address.h"
#include "shell/globals.h"

#include <QCoreApplication>
#include <cmath>
#include <utility>

void DoWait(long& ms)
{
    if (ms < 1)
        return;
    for (;;) {
        if (Sw_中止)
            return;
        QCoreApplication::processEvents();
        os::sleepMs(10);
        ms -= 10;
        if (ms < 1)
            return;
    }
}

void WaitMs(long& ms)
{
    do {
        os::sleepMs(10);
        ms -= 10;
        QCoreApplication::processEvents();
    } while (ms > 0);
}

namespace {
float lastRnd = 0;
}

void resetMyRnd()
{
    lastRnd = 0;
}

void MyRandomize()
{
    Randomize();
}

float MyRnd(double x)
{
    if (x != 0) {
        // Rounded down to a float below 1, so that Int(n * MyRnd) stays below n.
        float r = float(Rnd());
        if (r >= 1.0f)
            r = std::nextafter(1.0f, 0.0f);
        lastRnd = r;
    }
    return lastRnd;
}

void ShuffleIdx(std::vector<int>& idx, int n)
{
    if (n < 1)
        return;
    if (idx.size() < size_t(n) + 1)
        idx.resize(size_t(n) + 1);
    for (int i = 1; i <= n; ++i)
        idx[size_t(i)] = i;
    // The generator is seeded once at start; seeding again before each swap would repeat pairs.
    for (int k = 1; k <= 2 * n; ++k) {
        const int a = int(Int(n * double(MyRnd(1)))) + 1;
        const int b = int(Int(n * double(MyRnd(1)))) + 1;
        std::swap(idx[size_t(a)], idx[size_t(b)]);
    }
}

long BitValue(long n)
{
    return n < 1 || n > 62 ? 0 : 1L << (n - 1);
}

bool BitTest(long x, long bit)
{
    if (bit < 1)
        return false;
    const long q = long(std::floor(double(x) / double(bit)));
    return q % 2 != 0;
}

long BitAnd(long a, long b)
{
    return (a & b) & 0xFFFF;
}

QString ColName(long col)
{
    return xl::columnLetters(int(col));
}
