#include "optimise/shift_block.h"

#include "engine/convert.h"
#include "engine/kept_grid.h"
#include "engine/model.h"
#include "engine/workbook_access.h"
#include "shell/excel_layer.h"
#include "workbook/sheet_names.h"

#include <algorithm>
#include <utility>

ShiftBlock::ShiftBlock()
    : range_(shiftBookRange(kRosterSheet, QStringLiteral("Time_Table")))
{
    xlSheet = &range_.worksheet();
    if (range_.rowCount() < Member_Cnt || range_.columnCount() < Day_Cnt)
        throw xl::Error(9, QStringLiteral("シート「人員配置表」の範囲「Time_Table」が%1人×%2日より小さくなっています！")
                               .arg(Member_Cnt)
                               .arg(Day_Cnt));
    xl::Workbook& book = range_.worksheet().parent();
    if (std::optional<xl::Block> kept = takeKeptGrid(range_)) {
        // A read would first run the calculation the last write left pending.
        book.calculateIfPending();
        block_ = std::move(*kept);
    } else {
        block_ = range_.block();
    }
    stamp_ = book.changeStamp();
    isShown_.assign(size_t(block_.rows()) * size_t(block_.columns()), 0);
}

ShiftBlock::~ShiftBlock()
{
    // Nothing shown since the last read or write: the sheet holds this block while the stamp stands.
    if (stamp_ != 0 && shown_.empty())
        keepGrid(range_, stamp_, std::move(block_));
}

void ShiftBlock::show(int m, int d)
{
    if (m < 1 || d < 1 || m > block_.rows() || d > block_.columns())
        vb::subscriptOutOfRange();
    char& shown = isShown_[size_t(m - 1) * size_t(block_.columns()) + size_t(d - 1)];
    if (!shown) {
        shown = 1;
        shown_.push_back({m, d, block_(m, d)});
    }
    block_(m, d) = TypeText2(Time_Table(m, d));
}

void ShiftBlock::write()
{
    xlSheet = &range_.worksheet();
    xl::Workbook& book = range_.worksheet().parent();
    // Anything else that touched the workbook may have changed the grid: all of it is written.
    const bool written = stamp_ != 0 && stamp_ == book.changeStamp() ? writeChanges()
                                                                      : xlSetRetry(range_, block_);
    for (const Shown& s : shown_)
        isShown_[size_t(s.row - 1) * size_t(block_.columns()) + size_t(s.column - 1)] = 0;
    shown_.clear();
    // A cell holds what was written to it as the sheet converts it; writing it again changes nothing.
    stamp_ = written ? book.changeStamp() : 0;
}

// The shown cells that differ from the sheet's, written in one step.
bool ShiftBlock::writeChanges()
{
    std::vector<xl::CellValue> changed;
    for (const Shown& s : shown_)
        if (block_(s.row, s.column) != s.before)
            changed.push_back({s.row, s.column, block_(s.row, s.column)});
    return changed.empty() || xlSetRetry(range_, changed);
}
