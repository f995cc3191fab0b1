#include "platform/os/clock.h"

#include <QElapsedTimer>
#include <QThread>

namespace os {

namespace {

class SystemClock final : public Clock {
public:
    SystemClock() { started_.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 elapsedMs() const override { return started_.elapsed(); }
    void sleepMs(qint64 ms) override
    {
        if (ms > 0)
            QThread::msleep(static_cast<unsigned long>(ms));
    }

private:
    QElapsedTimer started_;
};

Clock& systemClock()
{
    static SystemClock clock;
    return clock;
}

Clock* g_clock = nullptr;

Clock& current()
{
    return g_clock ? *g_clock : systemClock();
}

}  // namespace

QDateTime now()
{
    return current().now();
}

QDate today()
{
    return current().now().date();
}

qint64 elapsedMs()
{
    return current().elapsedMs();
}

void sleepMs(qint64 ms)
{
    current().sleepMs(ms);
}

void setClock(Clock* clock)
{
    g_clock = clock;
}

}  // namespace os
