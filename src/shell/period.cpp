#include "shell/period.h"

#include "shell/globals.h"
#include "workbook/recalc.h"

int 期間::dayCount() const
{
    if (!開始日.isValid() || !終了日.isValid() || 終了日 < 開始日)
        return 0;
    return int(開始日.daysTo(終了日)) + 1;
}

期間 periodFor(long year, long month, long startDay)
{
    // The workbook's own rule, so that the sheet, last month's data and the database agree.
    const workbook::Period p = workbook::periodOf(int(year), int(month), int(startDay));
    return {p.first, p.last};
}

期間 currentPeriod()
{
    return periodFor(作成年, 作成月, 基準開始日);
}
