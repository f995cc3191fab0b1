#include "shell/period.h"

#include "platform/text/vb.h"
#include "shell/globals.h"

int 期間::日数() const
{
    if (!開始日.isValid() || !終了日.isValid() || 終了日 < 開始日)
        return 0;
    return int(開始日.daysTo(終了日)) + 1;
}

期間 期間取得(long year, long month, long startDay)
{
    // Both ends from the same rule, so that one period ends where the next begins.
    return {DateSerial(int(year), int(month), int(startDay)), DateSerial(int(year), int(month) + 1, int(startDay) - 1)};
}

期間 現在期間()
{
    return 期間取得(作成年, 作成月, 基準開始日);
}
