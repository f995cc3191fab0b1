#pragma once
// Arrays with VB's bounds: each dimension runs from 0 to its upper bound, ReDim gives new bounds
// and discards the contents. An index outside the bounds raises run-time error 9, as VB did,
// instead of touching memory it does not own.
#include "platform/os/vb_error.h"

#include <vector>

namespace vb {

[[noreturn]] inline void subscriptOutOfRange()
{
    throw VbError(9, QStringLiteral("インデックスが有効範囲にありません。"));
}

template <typename T>
class OneDimArray {
public:
    OneDimArray() = default;
    explicit OneDimArray(int upper) { ReDim(upper); }

    // Bounds 0..upper, every element the default value (upper -1 leaves no element).
    void ReDim(int upper)
    {
        if (upper < -1)
            subscriptOutOfRange();
        cells_.assign(static_cast<size_t>(upper + 1), T{});
    }
    // -1 when never dimensioned.
    int UBound() const { return static_cast<int>(cells_.size()) - 1; }
    bool isEmpty() const { return cells_.empty(); }

    T& operator()(int i) { return cells_[index(i)]; }
    const T& operator()(int i) const { return cells_[index(i)]; }

private:
    size_t index(int i) const
    {
        if (i < 0 || static_cast<size_t>(i) >= cells_.size())
            subscriptOutOfRange();
        return static_cast<size_t>(i);
    }

    std::vector<T> cells_;
};

template <typename T>
class TwoDimArray {
public:
    TwoDimArray() = default;
    TwoDimArray(int upperRow, int upperCol) { ReDim(upperRow, upperCol); }

    // Bounds 0..upperRow by 0..upperCol; the contents are discarded.
    void ReDim(int upperRow, int upperCol)
    {
        if (upperRow < -1 || upperCol < -1)
            subscriptOutOfRange();
        rows_ = upperRow + 1;
        cols_ = upperCol + 1;
        cells_.assign(static_cast<size_t>(rows_) * static_cast<size_t>(cols_), T{});
    }
    // Upper bound of dimension 1 (rows) or 2 (columns); -1 when never dimensioned.
    int UBound(int dimension) const { return (dimension == 1 ? rows_ : cols_) - 1; }
    bool isEmpty() const { return cells_.empty(); }

    T& operator()(int row, int col) { return cells_[index(row, col)]; }
    const T& operator()(int row, int col) const { return cells_[index(row, col)]; }

private:
    size_t index(int row, int col) const
    {
        if (row < 0 || col < 0 || row >= rows_ || col >= cols_)
            subscriptOutOfRange();
        return static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col);
    }

    int rows_ = 0;
    int cols_ = 0;
    std::vector<T> cells_;
};

}  // namespace vb
