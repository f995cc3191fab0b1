#pragma once
// One sheet of a workbook: sparse cells, layout, protection, selection, and the entry points the
// sheet window calls for the user's edits and selection.
#include "book_data.h"
#include "range.h"

#include <QColor>
#include <QRect>
#include <QString>
#include <vector>

namespace xl {

class Workbook;

inline constexpr int kSelectAny = 0;            // EnableSelection: no restrictions
inline constexpr int kSelectUnlocked = 1;       // only unlocked cells
inline constexpr int kSelectNone = -4142;       // nothing
inline constexpr int kSheetVisible = -1;
inline constexpr int kSheetHidden = 0;          // the user may show it again
inline constexpr int kSheetVeryHidden = 2;      // only the program shows it again
inline constexpr int kPortrait = 1;
inline constexpr int kLandscape = 2;
inline constexpr int kPaperA4 = 9;

// A fill the sheet window draws over an area (x = column, y = row, both 1-based) in place of the
// cells' own: an aid to the eye such as the selected cell's row and column. It is no format of
// the cells, so neither the file nor a picture of the sheet carries it.
struct ViewMark {
    QRect area;
    QColor fill;
    bool operator==(const ViewMark&) const = default;
};

class Worksheet {
public:
    Worksheet(Workbook* book, int index) : book_(book), index_(index) {}
    Worksheet(const Worksheet&) = delete;
    Worksheet& operator=(const Worksheet&) = delete;

    Workbook& parent() const { return *book_; }
    int index() const { return index_ + 1; }     // 1-based position in the workbook
    QString name() const;
    // Throws Error 1004 for an empty or too long name, one with : \ / ? * [ ], or one another
    // sheet has (ignoring case). Defined names referring to this sheet follow the new name.
    void setName(const QString& name);

    // An address ("A1", "B2:K12", "B:AZ", "3:5", "$A$1", "ThisSheet!A1") or a defined name that
    // refers to this sheet (its own names first, then the workbook's; "ThisSheet!Name" too).
    // Error 1004 otherwise.
    Range range(const QString& reference);
    // The block spanning two ranges (Range(cell1, cell2)).
    Range range(const Range& first, const Range& last);
    Range cells(int row, int column);     // Error 1004 outside the sheet
    Range usedRange();                    // the smallest block holding every stored cell

    // Visible: kSheetVisible, kSheetHidden or kSheetVeryHidden. Error 1004 for another value and
    // for hiding the last shown sheet; hiding the active sheet activates the next shown one.
    int visible() const;
    void setVisible(int state);

    // Printing (PageSetup): Error 1004 for an orientation, zoom or page count out of range.
    const PageSetup& pageSetup() const;
    void setPageSetup(const PageSetup& setup);
    // The print area ("$A$1:$AV$67") and the rows printed on every page ("$3:$4"), kept as the
    // sheet's names Print_Area and Print_Titles; "" when there is none, and "" removes it.
    QString printArea() const;
    void setPrintArea(const QString& address);
    QString printTitleRows() const;
    void setPrintTitleRows(const QString& rows);

    // Makes this the workbook's active sheet, and has its window bring it and its active cell
    // into view (also when it was active already); Error 1004 when hidden.
    void activate();
    void select();                        // the same, as the spreadsheet's Sheet.Select
    void calculate();                     // runs the workbook's recalculation now

    // Protection. Program writes always succeed; protection only limits the user in the window.
    void protect(bool drawingObjects = true, bool contents = true, bool scenarios = true,
                 bool userInterfaceOnly = false, bool allowFormattingColumns = false,
                 bool allowFormattingRows = false);
    void unprotect();
    bool protectContents() const;
    bool protectionMode() const;          // UserInterfaceOnly
    const SheetProtection& protection() const;
    int enableSelection() const;
    void setEnableSelection(int mode);    // kSelectAny, kSelectUnlocked, kSelectNone
    bool isUserEditable(int row, int column) const;
    bool isUserSelectable(int row, int column) const;

    // Layout (rows and columns 1-based).
    double columnWidth(int column) const;            // characters
    void setColumnWidth(int column, double width);
    double rowHeight(int row) const;                 // points
    void setRowHeight(int row, double points);
    bool columnHidden(int column) const;
    void setColumnHidden(int column, bool hidden);
    bool rowHidden(int row) const;
    void setRowHidden(int row, bool hidden);
    int frozenRows() const;
    int frozenColumns() const;
    void freezePanes(int rows, int columns);         // 0, 0 unfreezes
    int zoom() const;
    void setZoom(int percent);

    // The current selection (A1 until something is selected) and its active cell.
    Range selection();
    // The window's entry points. userEdit writes what the user typed (text is converted as typed
    // entries are) into every cell of target; it throws Error 1004 when a cell is not editable
    // by the user and then changes nothing. It fires the change event when events are on.
    void userEdit(const Range& target, const QVariant& typed);
    void userSelect(const Range& target);

    // The marks the window draws now; setting them repaints the areas left and marked.
    void setViewMarks(std::vector<ViewMark> marks);
    const std::vector<ViewMark>& viewMarks() const { return marks_; }
    // The fill of the last mark over the cell; invalid when no mark covers it.
    QColor viewMarkAt(int row, int column) const;

    // Read access for the window and the picture: the sheet's cells and layout, recalculated
    // first when automatic calculation is pending.
    const SheetData& data() const;
    const CellStyle& styleAt(int row, int column) const;
    QVariant valueAt(int row, int column) const;
    QString textAt(int row, int column) const;

private:
    friend class Workbook;
    friend class Range;
    friend class Interior;
    friend class Font;
    friend class Border;
    SheetData& sheet() const;             // raw, no recalculation
    const SheetData& view() const;        // the same for reads, which change nothing
    // The same for cell writes that count what they change themselves: changed(area) after cells
    // of area changed.
    SheetData& writable() const;
    void changed(const QRect& area) const;
    void checkCell(int row, int column) const;
    // Error 1004 naming the first cell of target the user may not change.
    void checkUserEditable(const Range& target);
    void setSelection(const Range& target);
    QString sheetName(const QString& name) const;
    void setSheetName(const QString& name, const QString& address);

    Workbook* book_;
    int index_;
    int selTop_ = 1, selLeft_ = 1, selBottom_ = 1, selRight_ = 1;
    std::vector<ViewMark> marks_;
};

}  // namespace xl
