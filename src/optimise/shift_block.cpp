#include "optimise/shift_block.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "engine/workbook_access.h"
#include "shell/myexcel.h"

#include <algorithm>

namespace {

// The grid as the last block left it on the sheet, with the workbook's stamp then.
struct KeptGrid {
    const xl::Worksheet* sheet = nullptr;
    int top = 0, left = 0, rows = 0, columns = 0;
    std::uint64_t stamp = 0;
    xl::Block cells;

    bool holds(const xl::Range& r) const
    {
        return sheet == &r.worksheet() && top == r.row() && left == r.column() && rows == r.rowCount()
            && columns == r.columnCount() && stamp == r.worksheet().parent().changeStamp();
    }
};

KeptGrid& keptGrid()
{
    static KeptGrid kept;
    return kept;
}

void keep(const xl::Range& r, const xl::Block& cells)
{
    keptGrid() = {&r.worksheet(), r.row(), r.column(), r.rowCount(), r.columnCount(),
                  r.worksheet().parent().changeStamp(), cells};
}

}  // namespace

void forgetKeptShiftBlock()
{
    keptGrid() = {};
}

ShiftBlock::ShiftBlock()
    : range_(RangeB(QStringLiteral("人員配置表"), QStringLiteral("Time_Table")))
{
    xlSheet = &range_.worksheet();
    if (range_.rowCount() < Member_Cnt || range_.columnCount() < Day_Cnt)
        throw xl::Error(9, QStringLiteral("シート「人員配置表」の範囲「Time_Table」が%1人×%2日より小さくなっています！")
                               .arg(Member_Cnt)
                               .arg(Day_Cnt));
    xl::Workbook& book = range_.worksheet().parent();
    if (keptGrid().holds(range_)) {
        // A read would first run the calculation the last write left pending.
        book.calculateIfPending();
        onSheet_ = keptGrid().cells;
    } else {
        onSheet_ = range_.block();
    }
    block_ = onSheet_;
    stamp_ = book.changeStamp();
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
    // Anything else that touched the workbook may have changed the grid: all of it is written.
    const bool written = stamp_ == range_.worksheet().parent().changeStamp()
                             ? writeChanges()
                             : xlSetRetry(range_, QVariant::fromValue(block_));
    if (!written) {
        forgetKeptShiftBlock();
        return;
    }
    // A cell holds what was written to it as the sheet converts it; writing it again changes nothing.
    onSheet_ = block_;
    stamp_ = range_.worksheet().parent().changeStamp();
    keep(range_, onSheet_);
}

// The rectangle around the cells that differ from the sheet's, written in one assignment.
bool ShiftBlock::writeChanges()
{
    int top = block_.rows() + 1, bottom = 0, left = block_.columns() + 1, right = 0;
    for (int r = 1; r <= block_.rows(); ++r)
        for (int c = 1; c <= block_.columns(); ++c)
            if (block_(r, c) != onSheet_(r, c)) {
                top = std::min(top, r);
                bottom = std::max(bottom, r);
                left = std::min(left, c);
                right = std::max(right, c);
            }
    if (bottom == 0)
        return true;
    xl::Block part(bottom - top + 1, right - left + 1);
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c)
            part(r - top + 1, c - left + 1) = block_(r, c);
    return xlSetRetry(range_.cells(top, left).resize(part.rows(), part.columns()), QVariant::fromValue(part));
}
