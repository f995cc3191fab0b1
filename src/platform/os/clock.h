#pragma once
// The program's one clock. Whatever shows, logs or stamps the date or time reads now() or
// today(); every elapsed-time measure reads elapsedMs(), which never goes back (nothing breaks at
// midnight or when the system time is set); every fixed pause goes through sleepMs(). A test
// installs its own clock, so it sets the date and lets waits pass without sleeping.
#include <QDateTime>

namespace os {

class Clock {
public:
    virtual ~Clock() = default;
    // Local wall time.
    virtual QDateTime now() const = 0;
    // Milliseconds since an arbitrary start, monotonic.
    virtual qint64 elapsedMs() const = 0;
    // Blocks the calling thread for ms milliseconds (nothing for ms <= 0).
    virtual void sleepMs(qint64 ms) = 0;
};

QDateTime now();
QDate today();
qint64 elapsedMs();
void sleepMs(qint64 ms);

// Makes clock the program's clock (it is not owned and must outlive its use); nullptr brings
// back the system's.
void setClock(Clock* clock);

}  // namespace os
