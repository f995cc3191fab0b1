#include "engine/time_limit.h"

#include "platform/os/clock.h"
#include "shell/globals.h"

#include <algorithm>
#include <cmath>

qint64 timeRemainingMs(double limitMinutes, qint64 elapsedMs)
{
    // A limit beyond what the clock counts (a Single reaches 3.4E+38 minutes) is as good as none.
    constexpr double kLongest = 9.0e18;
    return qint64(std::llround(std::clamp(limitMinutes * 60000.0, -kLongest, kLongest))) - elapsedMs;
}

QString remainingText(qint64 remainingMs)
{
    const qint64 seconds = remainingMs > 0 ? remainingMs / 1000 : 0;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

double timeLimitMinutes()
{
    return LimitTime > 0 ? double(LimitTime) : 10.0;
}

qint64 generationElapsedMs()
{
    return 作成開始時刻 >= 0 ? os::elapsedMs() - 作成開始時刻 : 0;
}

qint64 timeRemainingMs()
{
    return timeRemainingMs(timeLimitMinutes(), generationElapsedMs());
}

bool checkTimeLimit()
{
    if (timeLimitExceeded || 作成開始時刻 < 0 || timeRemainingMs() >= 0)
        return false;
    Sw_中止 = true;
    timeLimitExceeded = true;
    return true;
}

QString timeLimitMessage()
{
    return QStringLiteral("制限時間の") + QString::number(timeLimitMinutes()) + QStringLiteral("分が過ぎました！\r\n処理を中止します。");
}
