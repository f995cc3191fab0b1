#pragma once
// The shift grid of sheet 人員配置表 (range "Time_Table", member by day) held in memory for one run:
// the cells an exchange or a fill changes go into the block, and the block goes back to the sheet
// in one assignment at the end. Between blocks that follow one another with nothing else touching
// the workbook, the grid is not read again, and only the part that changed is written.
#include "platform/xl/xl.h"

#include <cstdint>

class ShiftBlock {
public:
    // Reads the block and makes 人員配置表 the current sheet. A range smaller than the roster by
    // the period raises a data error (9) before anything has changed.
    ShiftBlock();
    // Cell (m, d) = the abbreviation of Time_Table(m, d); a rest day gets the empty text.
    void show(int m, int d);
    // The block back to the sheet, retried while the workbook refuses it.
    void write();

private:
    bool writeChanges();

    xl::Range range_;
    xl::Block block_;
    // The grid as the sheet holds it, and the workbook's stamp when that was last known.
    xl::Block onSheet_;
    std::uint64_t stamp_ = 0;
};

// Forgets the grid kept between blocks.
void forgetKeptShiftBlock();
