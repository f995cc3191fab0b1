#pragma once
// The model's table put on the shift sheet as a finished run leaves it, for the manual tools.
#include "engine/model.h"
#include "engine/sheet_refresh.h"
#include "optimise/manual_common.h"
#include "optimise/shift_block.h"
#include "shell/excel_layer.h"

// Every cell of Time_Table shown on 人員配置表, the sheet refreshed with calculation back on, and
// the month read back from it; false when it could not be read.
inline bool putTableOnSheet()
{
    ShiftBlock block;
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = 1; d <= Day_Cnt; ++d)
            block.show(m, d);
    block.write();
    人員配置表更新();
    xlAppSetting(true, true, true);
    return reloadMonth();
}
