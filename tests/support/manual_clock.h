#pragma once
// A clock that moves only when told: the program's clock for as long as it exists. Sleeps pass
// at once and are recorded; the wall time moves with them. With a step, every reading of the
// elapsed time also moves it by that step, so that a time limit becomes a count of readings.
#include "platform/os/clock.h"

#include <utility>
#include <vector>

class ManualClock final : public os::Clock {
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2027, 1, 15), QTime(9, 0)))
        : start_(std::move(start))
    {
        os::setClock(this);
    }
    ~ManualClock() override { os::setClock(nullptr); }
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    QDateTime now() const override { return start_.addMSecs(elapsed_); }
    qint64 elapsedMs() const override
    {
        elapsed_ += step_;
        return elapsed_;
    }
    void sleepMs(qint64 ms) override
    {
        if (ms <= 0)
            return;
        sleeps.push_back(ms);
        elapsed_ += ms;
    }
    void advance(qint64 ms) { elapsed_ += ms; }
    void advanceOnRead(qint64 ms) { step_ = ms; }

    std::vector<qint64> sleeps;

private:
    QDateTime start_;
    mutable qint64 elapsed_ = 0;
    qint64 step_ = 0;
};
