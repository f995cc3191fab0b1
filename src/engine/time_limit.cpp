#include "engine/time_limit.h"

#include "platform/os/clock.h"
#include "shell/globals.h"

#include <cmath>

qint64 残り時間(double limitMinutes, qint64 elapsedMs)
{
    return qint64(std::llround(limitMinutes * 60000.0)) - elapsedMs;
}

QString 残分表示(qint64 remainingMs)
{
    const qint64 seconds = remainingMs > 0 ? remainingMs / 1000 : 0;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

double 制限時間分()
{
    return LimitTime > 0 ? double(LimitTime) : 10.0;
}

qint64 作成経過時間()
{
    return 作成開始時刻 >= 0 ? os::elapsedMs() - 作成開始時刻 : 0;
}

qint64 残り時間()
{
    return 残り時間(制限時間分(), 作成経過時間());
}

bool 制限時間判定()
{
    if (制限時間超過 || 作成開始時刻 < 0 || 残り時間() >= 0)
        return false;
    Sw_中止 = true;
    制限時間超過 = true;
    return true;
}

QString 制限時間超過メッセージ()
{
    return QStringLiteral("制限時間の") + QString::number(制限時間分()) + QStringLiteral("分が過ぎました！\r\n処理を中止します。");
}
