#include "engine/reason.h"

#include "engine/convert.h"
#include "platform/os/vb_error.h"

#include <cstdint>
#include <limits>

long 理由コード作成(int a, int b, int c)
{
    const std::int64_t code = std::int64_t(c) * 1000000 + std::int64_t(b) * 1000 + a;
    if (code > std::numeric_limits<std::int32_t>::max() || code < std::numeric_limits<std::int32_t>::min())
        throw VbError(6, QStringLiteral("オーバーフローしました。"));
    return long(code);
}

namespace {

QString reasonText(long a)
{
    switch (a) {
    case 10: return QStringLiteral("必須パターン");
    case 20: return QStringLiteral("不可勤務");
    case 30: return QStringLiteral("連続不可 前日");
    case 31: return QStringLiteral("連続不可 翌日");
    case 40: return QStringLiteral("禁止パターン 当日");
    case 41: return QStringLiteral("禁止パターン 前日");
    case 50: return QStringLiteral("連続勤務日数");
    case 60:
    case 61:
    case 62:
    case 66: return QStringLiteral("勤務日数超過");
    case 65: return QStringLiteral("勤務日数不足");
    case 67:
    case 150: return QStringLiteral("週間勤務日数");
    case 70: return QStringLiteral("予約済み");
    case 80: return QStringLiteral("メンバー組合せ");
    case 90: return QStringLiteral("必須メンバー");
    case 100: return QStringLiteral("連続休み数");
    case 110: return QStringLiteral("勤務最少間隔");
    case 120: return QStringLiteral("勤務不集中");
    case 130: return QStringLiteral("勤務回数 上限");
    case 140: return QStringLiteral("勤務回数 下限");
    case 160: return QStringLiteral("ユーザースクリプト");
    case 170: return QStringLiteral("フレックス要員");
    case 180: return QStringLiteral("優先割り当て");
    default: return {};
    }
}

}  // namespace

QString 理由コード分解(long code, long& reasonNo, long& memberNoC, long& memberNoB)
{
    // The parts stay far below 500, so integer division gives what rounding would.
    const long c = code / 1000000;
    const long b = (code / 1000) % 1000;
    memberNoC = MemNo(c);
    memberNoB = MemNo(b);
    reasonNo = code % 1000;
    return reasonText(reasonNo);
}
