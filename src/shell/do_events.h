#pragma once
// Lets pending window events run from inside a long loop. The optimiser's loops ask for it before
// every trial (tens of thousands of times a pass), so it runs the event loop at most once every
// 25 ms; the caller still tests Sw_中止 itself every time.
void DoEvents();
// The next DoEvents runs the events whatever the time.
void resetDoEvents();
