#include "engine/kept_grid.h"

#include <utility>

namespace {

struct KeptGrid {
    const xl::Worksheet* sheet = nullptr;
    QRect area;
    std::uint64_t stamp = 0;
    xl::Block cells;

    bool holds(const xl::Range& r, std::uint64_t at) const
    {
        return sheet == &r.worksheet() && area == r.area() && stamp == at;
    }
};

KeptGrid& kept()
{
    static KeptGrid grid;
    return grid;
}

}  // namespace

std::optional<xl::Block> takeKeptGrid(const xl::Range& grid)
{
    if (!kept().holds(grid, grid.worksheet().parent().changeStamp()))
        return std::nullopt;
    xl::Block cells = std::move(kept().cells);
    forgetKeptGrid();
    return cells;
}

void keepGrid(const xl::Range& grid, std::uint64_t stamp, xl::Block cells)
{
    kept() = {&grid.worksheet(), grid.area(), stamp, std::move(cells)};
}

void keptGridCellWritten(const xl::Range& grid, std::uint64_t before, int row, int column, const QVariant& value)
{
    KeptGrid& k = kept();
    if (!k.holds(grid, before) || row < 1 || column < 1 || row > k.cells.rows() || column > k.cells.columns()) {
        forgetKeptGrid();
        return;
    }
    k.cells(row, column) = value;
    k.stamp = grid.worksheet().parent().changeStamp();
}

void forgetKeptGrid()
{
    kept() = {};
}
