#include "optimise/shift_block.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "engine/workbook_access.h"
#include "shell/myexcel.h"

ShiftBlock::ShiftBlock()
    : range_(RangeB(QStringLiteral("人員配置表"), QStringLiteral("Time_Table")))
{
    xlSheet = &range_.worksheet();
    if (range_.rowCount() < Member_Cnt || range_.columnCount() < Day_Cnt)
        throw xl::Error(9, QStringLiteral("シート「人員配置表」の範囲「Time_Table」が%1人×%2日より小さくなっています！")
                               .arg(Member_Cnt)
                               .arg(Day_Cnt));
    block_ = range_.block();
}

void ShiftBlock::show(int m, int d)
{
    if (m < 1 || d < 1 || m > block_.rows() || d > block_.columns())
        vb::subscriptOutOfRange();
    block_(m, d) = TypeText2(Time_Table(m, d));
}

void ShiftBlock::write()
{
    xlSheet = &range_.worksheet();
    xlSetRetry(range_, QVariant::fromValue(block_));
}
