#pragma once
// Waits that keep the windows alive, the random helpers over the program's one generator, and
// small bit and column helpers.
#include <QString>
#include <vector>

// Waits about ms milliseconds in 10 ms steps, letting window events run before each step.
// Returns at once while Sw_中止 is set. Counts the caller's variable down (it ends at 0 or below,
// or where the stop request cut it short).
void DoWait(long& ms);
inline void DoWait(long&& ms)
{
    DoWait(ms);
}
// Like DoWait, but ignores Sw_中止 and always makes at least one step.
void WaitMs(long& ms);
inline void WaitMs(long&& ms)
{
    WaitMs(ms);
}

// Mixes the clock into the generator's state (never resets it, so repeated calls stay random).
void MyRandomize();
// x > 0 (or x < 0): the next number in [0, 1); x = 0: the last number again.
float MyRnd(double x = 1);
// MyRnd(0) answers 0 again, as before any draw.
void resetMyRnd();
// idx(1..n) = a random permutation of 1..n (2n random swaps); n < 1 leaves idx as it is.
// idx is grown to n + 1 elements when it is shorter.
void ShuffleIdx(std::vector<int>& idx, int n);

// 2^(n - 1) for n = 1..62, else 0.
long BitValue(long n);
// True when the bit of value bit is set in x (two's complement for a negative x); false for bit < 1.
bool BitTest(long x, long bit);
// The AND of the low 16 bits of a and b.
long BitAnd(long a, long b);
// The spreadsheet column letters of col (1 -> A, 27 -> AA, 703 -> AAA); "" for col < 1.
QString ColName(long col);
