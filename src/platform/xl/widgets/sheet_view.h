#pragma once
// The grid of one worksheet: a table view that draws cells as the spreadsheet does (fills, fonts,
// borders per edge, text running over empty neighbours), keeps frozen panes in place with
// overlay views, and turns the user's keys into edits of the sheet.
#include "sheet_model.h"

#include <QStyledItemDelegate>
#include <QTableView>
#include <array>
#include <optional>

namespace xl::widgets {

class SheetView;

// Paints a cell's fill, gridlines and text; the edit box commits with Enter/Tab and moves on.
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CellDelegate(SheetView* view);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    // The cell's border edges, each centred on its edge line; the view calls it after all cells
    // are painted, so that a neighbour's fill cannot cover half of a line.
    void paintBorders(QPainter& painter, const QRect& cell, const CellStyle& style) const;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    SheetView* main_;
};

class SheetView : public QTableView {
    Q_OBJECT
public:
    enum class Pane { Main, Top, Left, Corner };
    // The main view of a sheet; it creates its frozen-pane overlays itself.
    explicit SheetView(SheetModel* model, QWidget* parent = nullptr);

    using QTableView::edit;
    SheetModel* sheetModel() const { return model_; }
    Worksheet& sheet() const { return model_->sheet(); }
    SheetView* mainView() { return main_; }

    // Widths, heights, hidden rows/columns, panes and zoom from the sheet.
    void applyLayout();
    // The view's selection follows the sheet's (the program selected something).
    void showSheetSelection();
    // Selects a block (1-based, inclusive) and shows its first cell.
    void selectArea(int top, int left, int bottom, int right, bool byUser);
    // The block the user has selected (the current cell when nothing is selected).
    Range selectedRange() const;
    // Moves the current cell by rows/columns and selects it.
    void moveCurrent(int rows, int columns);
    // Scrolls the current cell into view; a cell of the frozen panes brings the start of the
    // rows or columns beside it.
    void showCurrentCell();
    // Ends a cell edit in progress: its text is dropped.
    void cancelEdit();
    bool isEditing() const;

    // Detaches the view and its panes from the model before the sheet goes away.
    void release();
    // A mouse button is down over one of the panes (a block is being dragged out).
    bool isMouseSelecting() const { return main_->mouseDown_; }

    void copySelection();
    void pasteClipboard();
    void clearContents();
    // Copies the selection and clears it; nothing is copied when the clearing is refused.
    void cutSelection();
    // Moves the first rows (or columns) below the frozen panes by lines whole rows or columns.
    void scrollLines(Qt::Orientation orientation, int lines);
    // The size the view needs to show every used cell from A1 on, with its headers and scroll bars.
    QSize usedSize() const;

signals:
    // The mouse button went up after selecting in one of the panes.
    void mouseSelectionDone();
    // The text of a cell edit in progress, as it is typed; then the edit ended.
    void editTextChanged(const QString& text);
    void editEnded();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyboardSearch(const QString&) override {}

private:
    SheetView(SheetModel* model, SheetView* main, Pane pane);
    void setUp();
    void placeOverlays();
    int frozenWidth() const;
    int frozenHeight() const;
    void paintOverCells(QPainter& p);
    // The selection, cut down to the used cells when it spans whole rows or columns; nothing when
    // it holds no used cell.
    std::optional<Range> selectionInUse() const;
    SheetView* viewShowing(const QModelIndex& index);
    // The last row and the last column holding something shown (where Ctrl+End goes).
    QModelIndex lastUsedCell() const;
    // The first cell shown below and right of the frozen panes (where Ctrl+Home goes): A1 when
    // nothing is frozen.
    QModelIndex homeCell() const;

    SheetModel* model_;
    SheetView* main_;
    Pane pane_;
    std::array<SheetView*, 3> overlays_{};   // top, left, corner (main view only)
    CellDelegate* delegate_ = nullptr;
    std::map<int, int> sizedRows_, sizedColumns_;
    std::vector<int> hiddenRows_, hiddenColumns_;
    int lastRowScroll_ = 0, lastColumnScroll_ = 0;
    QPoint wheelRest_;   // wheel turns short of a notch
    bool mouseDown_ = false;
};

}  // namespace xl::widgets
