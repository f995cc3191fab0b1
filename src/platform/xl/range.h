#pragma once
// A rectangle of cells on one worksheet, and the value block it reads and writes in one call.
// Range is a small value (sheet pointer and bounds): copy it freely; it stays valid as long as its
// workbook is open.
#include "book_data.h"

#include <QImage>
#include <QRect>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

namespace xl {

class Worksheet;
class Workbook;
class Application;

// Paste types and alignment numbers the callers pass.
inline constexpr int kPasteAll = -4104;
inline constexpr int kPasteValues = -4163;
inline constexpr int kPasteFormats = -4122;
inline constexpr int kAlignGeneral = 1;
inline constexpr int kAlignLeft = -4131;
inline constexpr int kAlignCenter = -4108;
inline constexpr int kAlignRight = -4152;
// Border indexes of Borders(i) and BorderAround's numbers.
inline constexpr int kDiagonalDown = 5, kDiagonalUp = 6;
inline constexpr int kEdgeLeft = 7, kEdgeTop = 8, kEdgeBottom = 9, kEdgeRight = 10;
inline constexpr int kInsideVertical = 11, kInsideHorizontal = 12;
inline constexpr int kLineNone = -4142, kContinuous = 1;
inline constexpr int kHairline = 1, kThin = 2, kMedium = -4138, kThick = 4;

// A 2-D block of values, 1-based like the spreadsheet's arrays: block(r, c), r in 1..rows().
// A QVariant may carry a Block (QVariant::fromValue), which is what Range::value() returns for a
// range of more than one cell and what setValue() accepts.
class Block {
public:
    Block() = default;
    Block(int rows, int columns) : rows_(rows), columns_(columns), cells_(size_t(rows) * columns) {}
    int rows() const { return rows_; }
    int columns() const { return columns_; }
    QVariant& operator()(int r, int c) { return cells_[size_t(r - 1) * columns_ + (c - 1)]; }
    const QVariant& operator()(int r, int c) const { return cells_[size_t(r - 1) * columns_ + (c - 1)]; }
    bool operator==(const Block&) const = default;

private:
    int rows_ = 0;
    int columns_ = 0;
    std::vector<QVariant> cells_;
};

// A value for one cell of a range (row and column 1-based within it).
struct CellValue {
    int row = 1;
    int column = 1;
    QVariant value;
};

class Interior;
class Font;
class Border;

// Whole columns and whole rows ("B:AZ", "3:5") are formatted and cleared through the cells that
// hold something (there are no column or row formats); values of more than 2^20 cells are not
// read or written as one block (Error 1004).
class Range {
public:
    // Bounds are 1-based and inclusive; the constructor does not check them (Worksheet does).
    Range(Worksheet* sheet, int top, int left, int bottom, int right)
        : sheet_(sheet), top_(top), left_(left), bottom_(bottom), right_(right) {}

    Worksheet& parent() const { return *sheet_; }
    Worksheet& worksheet() const { return *sheet_; }
    Workbook& workbook() const;
    Application& application() const;

    int row() const { return top_; }
    int column() const { return left_; }
    int lastRow() const { return bottom_; }
    int lastColumn() const { return right_; }
    int rowCount() const { return bottom_ - top_ + 1; }        // Rows.Count
    int columnCount() const { return right_ - left_ + 1; }     // Columns.Count
    qint64 count() const { return qint64(rowCount()) * columnCount(); }
    QRect area() const;                  // x = column, y = row, both 1-based
    bool operator==(const Range& o) const = default;

    // Cells(i, j): the cell i rows down and j columns right of the top-left cell, counted from 1;
    // it may lie outside this range but not outside the sheet (Error 1004).
    Range cells(int i, int j) const;
    Range offset(int rows, int columns) const;
    Range resize(int rows, int columns) const;

    // "$A$1", "$B$2:$K$12", "$B:$AZ", "$3:$5".
    QString address() const;
    // The defined name whose reference is exactly this range (this sheet's names first).
    // Throws Error 1004 when there is none.
    QString name() const;
    // Defines a workbook-level name for this range (replacing one of the same name).
    void setName(const QString& name) const;

    // One cell: its value (invalid QVariant = empty). More cells: a Block of all values.
    QVariant value() const;
    // A Block fills the range from its top-left (a one-row or one-column block is repeated along
    // the range, cells beyond a smaller block get "#N/A"); any other value fills every cell.
    void setValue(const QVariant& value) const;
    Block block() const;
    void setBlock(const Block& block) const;
    // Values for some cells of the range, each written as setValue writes one cell; the range's
    // other cells stay as they are. Error 1004 for a cell outside the range, before any write.
    void setCells(const std::vector<CellValue>& values) const;
    // The displayed text of the top-left cell.
    QString text() const;
    // Displayed texts of all cells, rows joined by CR LF and cells by tabs (the copied text).
    QString textBlock() const;
    QString formula() const;             // of the top-left cell; empty when none

    void clearContents() const;
    // Copy keeps the range (values, formats and texts) in its Application, not on the system
    // clipboard. PasteSpecial puts the copied cells at this range's top-left cell.
    void copy() const;
    void pasteSpecial(int pasteType = kPasteAll) const;
    // Pastes a text block (rows split at CR LF or LF, cells at tabs) as typed entries.
    void pasteText(const QString& text) const;
    // Replaces every cell whose whole text equals what (ignoring case) by replacement; an empty
    // what fills every empty cell (no value, no formula) with replacement.
    bool replace(const QString& what, const QString& replacement) const;

    Interior interior() const;
    Font font() const;
    Border borders(int index) const;
    void borderAround(int lineStyle = kContinuous, int weight = kThin,
                      int colorIndex = -4105, const QColor& color = QColor()) const;

    int horizontalAlignment() const;
    void setHorizontalAlignment(int alignment) const;
    int verticalAlignment() const;
    bool wrapText() const;
    QString numberFormat() const;
    void setNumberFormat(const QString& format) const;
    bool locked() const;
    void setLocked(bool locked) const;
    // The whole style of the top-left cell, and every cell's style at once.
    CellStyle style() const;
    void setStyle(const CellStyle& style) const;

    double columnWidth() const;          // of the first column, in characters
    void setColumnWidth(double width) const;   // every column of the range
    double rowHeight() const;            // of the first row, in points
    void setRowHeight(double points) const;    // every row of the range
    void setHidden(bool hidden) const;         // the whole rows (a row range) or columns (a column range)
    // Columns.AutoFit: each column as wide as its longest displayed text.
    void autoFitColumns() const;

    void select() const;
    // CopyPicture: the range as displayed (texts, fills, font colours, borders, widths and
    // heights, gridlines), at screen resolution. Needs a QGuiApplication (Error 1004 otherwise).
    QImage copyPicture() const;

    // Visits the cells of the range that hold something, row by row.
    void forEachCell(const std::function<void(int row, int column, const Cell&)>& visit) const;

private:
    friend class Interior;
    friend class Font;
    friend class Border;
    friend class Worksheet;
    void changeStyle(const std::function<void(CellStyle&)>& change) const;
    const CellStyle& topLeftStyle() const;
    void written(bool values) const;
    void wrote(bool changed, bool values) const;
    void checkBlockSize() const;
    bool wholeLines() const;
    void giveDateFormat(Cell& cell) const;
    // One cell written as a value is: the text form into a text-formatted cell; true when it changed.
    bool putValue(Cell& cell, const std::vector<char>& textStyles, const QVariant& typed, const QVariant& asText) const;

    Worksheet* sheet_;
    int top_, left_, bottom_, right_;
};

// Interior, Font and Borders(i) act on their range's cells.
class Interior {
public:
    explicit Interior(const Range& r);
    QColor color() const;                 // invalid: no fill
    void setColor(const QColor& color);   // invalid: no fill
    int colorIndex() const;               // kColorIndexNone when there is no fill
    void setColorIndex(int index);        // 1..56 or kColorIndexNone
private:
    Range r_;
};

class Font {
public:
    explicit Font(const Range& r);
    QColor color() const;                 // invalid: automatic
    void setColor(const QColor& color);
    int colorIndex() const;               // kColorIndexAutomatic for automatic
    void setColorIndex(int index);        // 1..56, kColorIndexAutomatic or kColorIndexNone
    bool bold() const;
    void setBold(bool bold);
    double size() const;
    QString name() const;
    void setName(const QString& family);
private:
    Range r_;
};

// One edge family of a range: 7..10 the outline, 11/12 the inside lines. The diagonals 5 and 6 are
// accepted and read back as no line; cells carry no diagonal lines.
class Border {
public:
    Border(const Range& r, int index);
    int lineStyle() const;
    void setLineStyle(int style);
    int weight() const;
    void setWeight(int weight);
    int colorIndex() const;
    void setColorIndex(int index);
    QColor color() const;
    void setColor(const QColor& color);
    // A colour of the default theme, numbered as ThemeColor counts (1 = background white,
    // 2 = text black, 3, 4 = the second pair, 5..10 accents, 11, 12 link colours).
    void setThemeColor(int theme);
    // Darkens (-1..0) or lightens (0..1) the edge's current colour, as TintAndShade does.
    void setTintAndShade(double tint);
private:
    friend class Range;
    void apply(const std::function<void(BorderEdge&)>& change);
    BorderEdge edge() const;
    Range r_;
    int index_;
};

inline Interior Range::interior() const { return Interior(*this); }
inline Font Range::font() const { return Font(*this); }
inline Border Range::borders(int index) const { return Border(*this, index); }

}  // namespace xl

Q_DECLARE_METATYPE(xl::Block)
