#pragma once
// Whether a generation or optimiser run is active, and the end of the program. Long runs let
// window events through, so while one is active the commands that re-read or resize the shared
// model are refused, and a close waits for the run to stop.
#include <functional>

// Marks a generation or optimiser run for its lifetime; runs nest (the generation calls the
// optimiser).
class RunScope {
public:
    RunScope();
    ~RunScope();
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;
};
bool RunActive();
// Called once the outermost run has ended (the main window's close that waited for it).
void setRunEndedHook(std::function<void()> hook);
// While a run is active: says so (OK only) and returns true, and the caller does nothing.
bool RefuseDuringRun();

// Set by End; nothing of the program may run after it.
inline bool AppEnded = false;
// Ends the program: the installed ending leaves the event loop (qvmain); without one (tests)
// only AppEnded is set.
void End();
void setEnding(std::function<void()> ending);

// No run, not ended, no hooks (part of the shell's reset).
void resetLifecycle();
