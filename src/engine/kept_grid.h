#pragma once
// The shift grid as the program last left it on the sheet, with the workbook's stamp then. While
// the stamp is still the workbook's, the sheet holds exactly these cells (as written: a cell
// holds what was written to it as the sheet converts it, and writing it again changes nothing),
// so the next block of the grid can start from them instead of reading the sheet.
#include "platform/xl/xl.h"

#include <cstdint>
#include <optional>

// The kept cells of grid, taken out; nothing when the workbook changed since or grid is another range.
std::optional<xl::Block> takeKeptGrid(const xl::Range& grid);
// Keeps cells as what grid holds at the workbook's stamp.
void keepGrid(const xl::Range& grid, std::uint64_t stamp, xl::Block cells);
// Cell (row, column) of grid was written with value, the workbook's stamp being before until then:
// the kept cells follow, if they were the sheet's.
void keptGridCellWritten(const xl::Range& grid, std::uint64_t before, int row, int column, const QVariant& value);
void forgetKeptGrid();
