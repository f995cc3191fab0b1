#pragma once
// The shift grid of sheet 人員配置表 (range "Time_Table", member by day) held in memory for one run:
// the cells an exchange or a fill changes go into the block, and the block goes back to the sheet
// in one assignment at the end. A block that follows another with nothing else touching the
// workbook in between starts from the grid the other left, without reading the sheet again; only
// the part that changed is written.
#include "platform/xl/xl.h"

#include <cstdint>
#include <vector>

class ShiftBlock {
public:
    // Reads the block and makes 人員配置表 the current sheet. A range smaller than the roster by
    // the period raises a data error (9) before anything has changed.
    ShiftBlock();
    ~ShiftBlock();
    ShiftBlock(const ShiftBlock&) = delete;
    ShiftBlock& operator=(const ShiftBlock&) = delete;
    // Cell (m, d) = the abbreviation of Time_Table(m, d); a rest day gets the empty text.
    void show(int m, int d);
    // The block back to the sheet, retried while the workbook refuses it.
    void write();

private:
    struct Shown {
        int row, column;
        QVariant before;   // what the sheet holds there
    };
    bool writeChanges();

    xl::Range range_;
    xl::Block block_;
    // The cells shown since the block last matched the sheet, once each.
    std::vector<Shown> shown_;
    std::vector<char> isShown_;
    // The workbook's stamp when the block last matched the sheet; 0 after a failed write.
    std::uint64_t stamp_ = 0;
};
