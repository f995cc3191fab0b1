#pragma once
// The program's one timer of a scope, and the time spent in the rule checks, measured only while a
// benchmark switches it on (otherwise one test of a flag per check).
#include <QElapsedTimer>
#include <QtGlobal>
#include <optional>

// Adds the time from construction to destruction to a counter.
class SpanTimer {
public:
    explicit SpanTimer(qint64& total) : total_(total) { clock_.start(); }
    ~SpanTimer() { total_ += clock_.nsecsElapsed(); }
    SpanTimer(const SpanTimer&) = delete;
    SpanTimer& operator=(const SpanTimer&) = delete;

private:
    qint64& total_;
    QElapsedTimer clock_;
};

struct RuleTiming {
    static inline bool enabled = false;
    static inline qint64 ns = 0;
    static inline int depth = 0;
};

// A rule check's span; nested checks count once, in the outermost.
class RuleTimer {
public:
    RuleTimer()
    {
        if (RuleTiming::enabled && RuleTiming::depth++ == 0)
            span_.emplace(RuleTiming::ns);
    }
    ~RuleTimer()
    {
        if (RuleTiming::enabled)
            --RuleTiming::depth;
    }
    RuleTimer(const RuleTimer&) = delete;
    RuleTimer& operator=(const RuleTimer&) = delete;

private:
    std::optional<SpanTimer> span_;
};
