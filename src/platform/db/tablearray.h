#pragma once
// A two-dimensional array of values with both lower bounds 0, as a whole table travels between
// the database and the program: rows 1..n hold the records, (0, 0) the row count.
#include "platform/os/vberror.h"

#include <QVariant>
#include <vector>

namespace db {

class TableArray {
public:
    TableArray() = default;
    TableArray(int upperRow, int upperCol) { ReDim(upperRow, upperCol); }

    // Bounds 0..upperRow by 0..upperCol; the contents are discarded.
    void ReDim(int upperRow, int upperCol)
    {
        rows_ = upperRow + 1;
        cols_ = upperCol + 1;
        cells_.assign(static_cast<size_t>(rows_) * static_cast<size_t>(cols_), QVariant());
    }
    // Upper bound of dimension 1 (rows) or 2 (columns); -1 when never dimensioned.
    int UBound(int dimension) const { return (dimension == 1 ? rows_ : cols_) - 1; }
    bool isEmpty() const { return cells_.empty(); }

    QVariant& operator()(int row, int col) { return cells_[index(row, col)]; }
    const QVariant& operator()(int row, int col) const { return cells_[index(row, col)]; }

private:
    size_t index(int row, int col) const
    {
        if (row < 0 || col < 0 || row >= rows_ || col >= cols_)
            throw VbError(9, QStringLiteral("インデックスが有効範囲にありません。"));
        return static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col);
    }

    int rows_ = 0;
    int cols_ = 0;
    std::vector<QVariant> cells_;
};

}  // namespace db
