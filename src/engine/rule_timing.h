#pragma once
// Time spent in the rule checks, measured only while a benchmark switches it on (otherwise one
// test of a flag per check). Nested checks count once, in the outermost.
#include <QtGlobal>
#include <chrono>

struct RuleTiming {
    static inline bool enabled = false;
    static inline qint64 ns = 0;
    static inline int depth = 0;
};

class RuleTimer {
public:
    RuleTimer()
    {
        if (RuleTiming::enabled && RuleTiming::depth++ == 0)
            start_ = std::chrono::steady_clock::now();
    }
    ~RuleTimer()
    {
        if (RuleTiming::enabled && --RuleTiming::depth == 0)
            RuleTiming::ns += std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start_).count();
    }
    RuleTimer(const RuleTimer&) = delete;
    RuleTimer& operator=(const RuleTimer&) = delete;

private:
    std::chrono::steady_clock::time_point start_;
};
