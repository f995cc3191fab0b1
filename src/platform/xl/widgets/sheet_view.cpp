#include "sheet_view.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>

namespace xl::widgets {

namespace {

constexpr qint64 kLargeSelection = 1000000;
const QColor kGridColor(0xD4, 0xD4, 0xD4);
const QColor kSelectionShade(0x21, 0x73, 0x46, 40);
const QColor kSelectionFrame(0x21, 0x73, 0x46);

bool hasValue(const SheetData& d, int row, int column)
{
    const auto it = d.cells.find({row, column});
    return it != d.cells.end() && it->second.value.isValid();
}

// A left-aligned text wider than its cell runs on over empty cells to its right (the view
// draws it then, not the delegate).
bool runsOver(const Worksheet& ws, const QModelIndex& index, int cellWidth)
{
    const int row = index.row() + 1, column = index.column() + 1;
    const CellStyle& s = ws.styleAt(row, column);
    if (s.wrapText || column >= kMaxColumns || !(index.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignLeft))
        return false;
    if (hasValue(ws.data(), row, column + 1))
        return false;
    const QString text = index.data(Qt::DisplayRole).toString();
    return !text.isEmpty() && QFontMetrics(cellFont(s, ws.zoom())).horizontalAdvance(text) > cellWidth - 5;
}

int textFlags(const QModelIndex& index, const CellStyle& s)
{
    return int(index.data(Qt::TextAlignmentRole).value<Qt::Alignment>()) | (s.wrapText ? Qt::TextWordWrap : 0);
}

}  // namespace

// ---- CellDelegate ----

CellDelegate::CellDelegate(SheetView* view) : QStyledItemDelegate(view), main_(view) {}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect r = option.rect;
    const QVariant fill = index.data(Qt::BackgroundRole);
    painter->fillRect(r, fill.isValid() ? fill.value<QColor>() : QColor(Qt::white));
    if (!fill.isValid()) {
        painter->setPen(kGridColor);
        painter->drawLine(r.right(), r.top(), r.right(), r.bottom());
        painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    }
    const Worksheet& ws = main_->sheet();
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty() && !runsOver(ws, index, r.width())) {
        const CellStyle& s = ws.styleAt(index.row() + 1, index.column() + 1);
        painter->save();
        painter->setClipRect(r.adjusted(0, 0, -1, -1));
        painter->setFont(index.data(Qt::FontRole).value<QFont>());
        painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
        painter->drawText(r.adjusted(2, 0, -3, -1), textFlags(index, s), text);
        painter->restore();
    }
    if ((option.state & QStyle::State_Selected) && index != main_->currentIndex())
        painter->fillRect(r, kSelectionShade);
}

void CellDelegate::paintBorders(QPainter& p, const QRect& rc, const CellStyle& s) const
{
    drawBorderEdge(p, s.left, true, rc.left() - 1, rc.top() - 1, rc.bottom());
    drawBorderEdge(p, s.right, true, rc.right(), rc.top() - 1, rc.bottom());
    drawBorderEdge(p, s.top, false, rc.top() - 1, rc.left() - 1, rc.right());
    drawBorderEdge(p, s.bottom, false, rc.bottom(), rc.left() - 1, rc.right());
}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setFont(index.data(Qt::FontRole).value<QFont>());
    connect(editor, &QLineEdit::textChanged, main_->mainView(), &SheetView::editTextChanged);
    return editor;
}

void CellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* le = qobject_cast<QLineEdit*>(editor))
        le->setText(index.data(Qt::EditRole).toString());
}

void CellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    editor->setGeometry(option.rect.adjusted(1, 1, -2, -2));   // the cell's borders stay in sight
}

void CellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* le = qobject_cast<QLineEdit*>(editor))
        model->setData(index, le->text(), Qt::EditRole);
}

bool CellDelegate::eventFilter(QObject* object, QEvent* event)
{
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        int rows = 0, columns = 0;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            rows = key->modifiers() & Qt::ShiftModifier ? -1 : 1;
            break;
        case Qt::Key_Tab:
            columns = 1;
            break;
        case Qt::Key_Backtab:
            columns = -1;
            break;
        case Qt::Key_Escape:
            emit closeEditor(editor, RevertModelCache);
            return true;
        default:
            return QStyledItemDelegate::eventFilter(object, event);
        }
        emit commitData(editor);
        if (!main_->model())
            return true;   // the commit closed the workbook
        emit closeEditor(editor, NoHint);
        main_->mainView()->moveCurrent(rows, columns);
        return true;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

// ---- SheetView ----

SheetView::SheetView(SheetModel* model, QWidget* parent) : QTableView(parent), model_(model), main_(this), pane_(Pane::Main)
{
    setUp();
    overlays_ = {new SheetView(model, this, Pane::Top), new SheetView(model, this, Pane::Left),
                 new SheetView(model, this, Pane::Corner)};
    auto* top = overlays_[0];
    auto* left = overlays_[1];
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, top->horizontalScrollBar(), &QScrollBar::setValue);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, left->verticalScrollBar(), &QScrollBar::setValue);
    // With frozen panes, scrolling stops at whole rows and columns below and beside them.
    auto snap = [](QScrollBar* bar, QHeaderView* header, int frozen, int& last) {
        const int value = bar->value();
        const int at = frozen > 0 ? header->logicalIndexAt(value + frozen - header->offset()) : -1;
        if (at >= 0 && header->sectionPosition(at) - frozen != value) {
            const int before = header->sectionPosition(at) - frozen;
            int target = value > last ? before + header->sectionSize(at) : before;
            if (target > bar->maximum())
                target = before;
            last = target;
            bar->setValue(std::max(0, target));
            return;
        }
        last = value;
    };
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this, snap] { snap(verticalScrollBar(), verticalHeader(), frozenHeight(), lastRowScroll_); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this, snap] { snap(horizontalScrollBar(), horizontalHeader(), frozenWidth(), lastColumnScroll_); });
    // A user who scrolls to the end of the table gets more rows and columns.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
        if (v > 0 && v == verticalScrollBar()->maximum())
            model_->ensureExtent(model_->rowCount() + 1, 0);
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
        if (v > 0 && v == horizontalScrollBar()->maximum())
            model_->ensureExtent(0, model_->columnCount() + 1);
    });
    for (QHeaderView* h : {horizontalHeader(), verticalHeader()})
        connect(h, &QHeaderView::geometriesChanged, this, &SheetView::placeOverlays);
    // Rows and columns added to the table take their sheet sizes and hidden state.
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { applyLayout(); });
    connect(model, &QAbstractItemModel::columnsInserted, this, [this] { applyLayout(); });
    applyLayout();
}

SheetView::SheetView(SheetModel* model, SheetView* main, Pane pane) : QTableView(main), model_(model), main_(main), pane_(pane)
{
    setUp();
    setSelectionModel(main->selectionModel());
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAutoScroll(false);
    setFrameShape(QFrame::NoFrame);
    hide();
}

void SheetView::setUp()
{
    setModel(model_);
    delegate_ = new CellDelegate(this);
    setItemDelegate(delegate_);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerPixel);
    setEditTriggers(AnyKeyPressed | EditKeyPressed | DoubleClicked);
    setSelectionMode(ContiguousSelection);
    setTabKeyNavigation(true);   // Tab moves to the next cell, as Enter moves down
    for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setMinimumSectionSize(0);
        h->setHighlightSections(true);
    }
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
}

void SheetView::applyLayout()
{
    if (pane_ != Pane::Main)
        return;
    Worksheet& ws = sheet();
    const SheetData& d = ws.data();
    const int zoom = ws.zoom();
    QFont headerFont = cellFont(CellStyle{}, zoom);
    headerFont.setPixelSize(std::max(6, headerFont.pixelSize() - 2));
    const int columnDefault = columnPixels(d.defaultColumnWidth, zoom);
    const int rowDefault = rowPixels(d.defaultRowHeight, zoom);
    std::map<int, int> columns, rows;
    for (const auto& [c, w] : d.columnWidths)
        if (c <= model_->columnCount())
            columns[c - 1] = columnPixels(w, zoom);
    for (const auto& [r, h] : d.rowHeights)
        if (r <= model_->rowCount())
            rows[r - 1] = rowPixels(h, zoom);

    std::vector<SheetView*> views{this};
    views.insert(views.end(), overlays_.begin(), overlays_.end());
    for (SheetView* v : views) {
        QHeaderView* hh = v->horizontalHeader();
        QHeaderView* vh = v->verticalHeader();
        hh->setFont(headerFont);
        vh->setFont(headerFont);
        hh->setDefaultSectionSize(columnDefault);
        vh->setDefaultSectionSize(rowDefault);
        hh->setFixedHeight(std::max(rowPixels(15, zoom), QFontMetrics(headerFont).height() + 4));
        for (const auto& [c, px] : sizedColumns_)
            if (!columns.count(c) && c < model_->columnCount())
                hh->resizeSection(c, columnDefault);
        for (const auto& [r, px] : sizedRows_)
            if (!rows.count(r) && r < model_->rowCount())
                vh->resizeSection(r, rowDefault);
        for (const auto& [c, px] : columns)
            hh->resizeSection(c, px);
        for (const auto& [r, px] : rows)
            vh->resizeSection(r, px);
        for (int c : hiddenColumns_)
            v->setColumnHidden(c - 1, false);
        for (int r : hiddenRows_)
            v->setRowHidden(r - 1, false);
        for (int c : d.hiddenColumns)
            if (c <= model_->columnCount())
                v->setColumnHidden(c - 1, true);
        for (int r : d.hiddenRows)
            if (r <= model_->rowCount())
                v->setRowHidden(r - 1, true);
    }
    sizedColumns_ = std::move(columns);
    sizedRows_ = std::move(rows);
    hiddenColumns_ = d.hiddenColumns;
    hiddenRows_ = d.hiddenRows;
    placeOverlays();
    viewport()->update();
}

int SheetView::frozenWidth() const
{
    const int n = std::min(sheet().frozenColumns(), model_->columnCount());
    return n > 0 ? horizontalHeader()->sectionPosition(n - 1) + horizontalHeader()->sectionSize(n - 1) : 0;
}

int SheetView::frozenHeight() const
{
    const int n = std::min(sheet().frozenRows(), model_->rowCount());
    return n > 0 ? verticalHeader()->sectionPosition(n - 1) + verticalHeader()->sectionSize(n - 1) : 0;
}

void SheetView::placeOverlays()
{
    if (pane_ != Pane::Main)
        return;
    const int fw = frameWidth();
    const int vw = verticalHeader()->width(), hh = horizontalHeader()->height();
    const int w = frozenWidth(), h = frozenHeight();
    const QRect vp = viewport()->geometry();
    auto place = [&](SheetView* v, bool shown, int width, int height) {
        v->setVisible(shown);
        if (!shown)
            return;
        v->verticalHeader()->setFixedWidth(vw);
        v->setGeometry(fw, fw, vw + width, hh + height);
        v->raise();
    };
    place(overlays_[0], h > 0, std::max(0, vp.width()), std::min(h, vp.height()));
    place(overlays_[1], w > 0, std::min(w, vp.width()), std::max(0, vp.height()));
    place(overlays_[2], h > 0 && w > 0, std::min(w, vp.width()), std::min(h, vp.height()));
    overlays_[0]->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
    overlays_[1]->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void SheetView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    placeOverlays();
}

// A notch of the wheel moves the system's wheel lines (three) of whole rows, or of columns for a
// sideways wheel or with Shift, whatever their heights.
void SheetView::wheelEvent(QWheelEvent* event)
{
    if (pane_ != Pane::Main) {
        QCoreApplication::sendEvent(main_->viewport(), event);
        return;
    }
    QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ShiftModifier)
        delta = QPoint(delta.y() ? delta.y() : delta.x(), 0);
    wheelRest_ += delta;
    const int lines = QApplication::wheelScrollLines();
    const int rows = wheelRest_.y() / 120, columns = wheelRest_.x() / 120;
    wheelRest_ -= QPoint(columns * 120, rows * 120);
    if (rows)
        scrollLines(Qt::Vertical, -rows * lines);
    if (columns)
        scrollLines(Qt::Horizontal, -columns * lines);
    event->accept();
}

void SheetView::scrollLines(Qt::Orientation orientation, int lines)
{
    const bool vertical = orientation == Qt::Vertical;
    QHeaderView* header = vertical ? verticalHeader() : horizontalHeader();
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    const int frozenPixels = vertical ? frozenHeight() : frozenWidth();
    const int frozen = vertical ? sheet().frozenRows() : sheet().frozenColumns();
    int at = header->logicalIndexAt(frozenPixels);
    if (at < 0)
        return;
    const int step = lines < 0 ? -1 : 1;
    for (int moved = 0; moved != lines;) {
        const int next = at + step;
        if (next < frozen || next >= header->count())
            break;
        at = next;
        if (!header->isSectionHidden(at))
            moved += step;
    }
    const int target = header->sectionPosition(at) - frozenPixels;
    if (target > bar->maximum())   // more rows or columns for a user who scrolls past the end
        model_->ensureExtent(vertical ? model_->rowCount() + 1 : 0, vertical ? 0 : model_->columnCount() + 1);
    bar->setValue(std::clamp(target, 0, bar->maximum()));
}

void SheetView::scrollTo(const QModelIndex& index, ScrollHint)
{
    if (pane_ != Pane::Main) {
        main_->scrollTo(index);
        return;
    }
    if (!index.isValid())
        return;
    // Cells behind the frozen panes do not count as visible.
    auto fit = [](QScrollBar* bar, int pos, int size, int frozen, int page) {
        int offset = bar->value();
        if (pos - offset < frozen)
            offset = pos - frozen;
        else if (pos + size - offset > page)
            offset = std::min(pos - frozen, pos + size - page);
        bar->setValue(std::max(0, offset));
    };
    if (index.row() >= sheet().frozenRows())
        fit(verticalScrollBar(), verticalHeader()->sectionPosition(index.row()), rowHeight(index.row()), frozenHeight(),
            viewport()->height());
    if (index.column() >= sheet().frozenColumns())
        fit(horizontalScrollBar(), horizontalHeader()->sectionPosition(index.column()), columnWidth(index.column()),
            frozenWidth(), viewport()->width());
}

SheetView* SheetView::viewShowing(const QModelIndex& index)
{
    const bool row = index.row() < sheet().frozenRows(), column = index.column() < sheet().frozenColumns();
    return row && column ? overlays_[2] : row ? overlays_[0] : column ? overlays_[1] : this;
}

void SheetView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (pane_ != Pane::Main || !current.isValid())
        return;
    // Keys go to the pane that shows the current cell, so an edit box opens where it is seen.
    bool focused = hasFocus();
    for (SheetView* v : overlays_)
        focused = focused || v->hasFocus();
    SheetView* shows = viewShowing(current);
    if (focused && !shows->hasFocus())
        shows->setFocus();
}

void SheetView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, hint);
    emit main_->editEnded();
}

QModelIndex SheetView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (action == MoveEnd && (modifiers & Qt::ControlModifier))
        return lastUsedCell();
    if (action == MoveHome && (modifiers & Qt::ControlModifier))
        return homeCell();
    return QTableView::moveCursor(action, modifiers);
}

QModelIndex SheetView::homeCell() const
{
    int row = sheet().frozenRows(), column = sheet().frozenColumns();
    while (row + 1 < model_->rowCount() && main_->isRowHidden(row))
        ++row;
    while (column + 1 < model_->columnCount() && main_->isColumnHidden(column))
        ++column;
    return model_->index(row, column);
}

QModelIndex SheetView::lastUsedCell() const
{
    const Worksheet& ws = sheet();
    int row = 1, column = 1;
    for (const auto& [at, cell] : ws.data().cells) {
        if (ws.rowHidden(at.first) || ws.columnHidden(at.second))
            continue;
        row = std::max(row, at.first);
        column = std::max(column, at.second);
    }
    model_->ensureExtent(row, column);
    return model_->index(row - 1, column - 1);
}

QSize SheetView::usedSize() const
{
    const QModelIndex last = lastUsedCell();
    const QHeaderView* hh = horizontalHeader();
    const QHeaderView* vh = verticalHeader();
    const int width = vh->sizeHint().width() + hh->sectionPosition(last.column()) + hh->sectionSize(last.column());
    const int height = hh->height() + vh->sectionPosition(last.row()) + vh->sectionSize(last.row());
    return QSize(width + 2 * frameWidth() + verticalScrollBar()->sizeHint().width(),
                 height + 2 * frameWidth() + horizontalScrollBar()->sizeHint().height());
}

void SheetView::showSheetSelection()
{
    if (pane_ != Pane::Main)
        return;
    const Range sel = sheet().selection();
    if (selectedRange() == sel && currentIndex() == model_->index(sel.row() - 1, sel.column() - 1))
        return;
    selectArea(sel.row(), sel.column(), sel.lastRow(), sel.lastColumn(), false);
}

void SheetView::selectArea(int top, int left, int bottom, int right, bool byUser)
{
    // Whole rows or columns select to the end of the table, which does not grow for them.
    model_->ensureExtent(top == 1 && bottom == kMaxRows ? 0 : bottom, left == 1 && right == kMaxColumns ? 0 : right);
    const QModelIndex topLeft = model_->index(top - 1, left - 1);
    const QModelIndex bottomRight = model_->index(std::min(bottom, model_->rowCount()) - 1,
                                                  std::min(right, model_->columnCount()) - 1);
    selectionModel()->setCurrentIndex(topLeft, byUser ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(topLeft, bottomRight), QItemSelectionModel::ClearAndSelect);
    scrollTo(topLeft);
}

Range SheetView::selectedRange() const
{
    const QItemSelection sel = selectionModel()->selection();
    if (sel.isEmpty()) {
        const QModelIndex c = currentIndex();
        const int row = c.isValid() ? c.row() + 1 : 1, column = c.isValid() ? c.column() + 1 : 1;
        return Range(&sheet(), row, column, row, column);
    }
    int top = INT_MAX, left = INT_MAX, bottom = 0, right = 0;
    for (const QItemSelectionRange& r : sel) {
        top = std::min(top, r.top() + 1);
        left = std::min(left, r.left() + 1);
        bottom = std::max(bottom, r.bottom() + 1);
        right = std::max(right, r.right() + 1);
    }
    // Whole rows or columns picked at the headers stand for them in the whole sheet.
    if (top == 1 && bottom >= model_->rowCount())
        bottom = kMaxRows;
    if (left == 1 && right >= model_->columnCount())
        right = kMaxColumns;
    return Range(&sheet(), top, left, bottom, right);
}

void SheetView::moveCurrent(int rows, int columns)
{
    if (!model())
        return;
    const QModelIndex from = currentIndex().isValid() ? currentIndex() : model_->index(0, 0);
    int row = from.row(), column = from.column();
    auto step = [&](int& pos, int delta, int count, bool vertical) {
        for (int next = pos + delta; delta != 0 && next >= 0 && next < count; next += delta) {
            if (vertical ? isRowHidden(next) : isColumnHidden(next))
                continue;
            pos = next;
            return;
        }
    };
    step(row, rows, model_->rowCount(), true);
    step(column, columns, model_->columnCount(), false);
    const QModelIndex to = model_->index(row, column);
    if (!(model_->flags(to) & Qt::ItemIsSelectable))
        return;
    selectionModel()->setCurrentIndex(to, QItemSelectionModel::ClearAndSelect);
    scrollTo(to);
}

void SheetView::showCurrentCell()
{
    if (pane_ != Pane::Main) {
        main_->showCurrentCell();
        return;
    }
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    if (current.row() < sheet().frozenRows())
        verticalScrollBar()->setValue(0);
    if (current.column() < sheet().frozenColumns())
        horizontalScrollBar()->setValue(0);
    scrollTo(current);
}

bool SheetView::isEditing() const
{
    if (state() == EditingState)
        return true;
    if (pane_ == Pane::Main)
        for (SheetView* v : overlays_)
            if (v->state() == EditingState)
                return true;
    return false;
}

void SheetView::cancelEdit()
{
    std::vector<SheetView*> views{main_};
    views.insert(views.end(), main_->overlays_.begin(), main_->overlays_.end());
    for (SheetView* v : views)
        if (v->state() == EditingState)
            if (QWidget* editor = v->indexWidget(v->currentIndex()))
                v->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

bool SheetView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // The edit box opens in the pane that shows the cell, never under a frozen pane.
    if (index.isValid() && trigger != NoEditTriggers) {
        SheetView* shows = main_->viewShowing(index);
        if (shows != this) {
            shows->setFocus();
            return shows->edit(index, trigger, event);
        }
    }
    const bool byUser = trigger == AnyKeyPressed || trigger == EditKeyPressed || trigger == DoubleClicked;
    if (byUser && index.isValid()) {
        // Typing starts an edit: a printable key, or the input method composing Japanese text.
        if (trigger == AnyKeyPressed && !(event && event->type() == QEvent::InputMethod)) {
            const auto* key = event && event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
            if (!key || key->text().isEmpty() || !key->text().at(0).isPrint()
                || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
                return false;
        }
        if (!sheet().isUserEditable(index.row() + 1, index.column() + 1)) {
            showSheetError(kProtectedCellMessage);
            return false;
        }
    }
    const bool opened = QTableView::edit(index, trigger, event);
    if (opened && (trigger == EditKeyPressed || trigger == DoubleClicked))
        if (auto* le = qobject_cast<QLineEdit*>(indexWidget(index))) {
            le->deselect();
            le->end(false);
        }
    return opened;
}

void SheetView::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Copy) {
        copySelection();
        return;
    }
    if (event == QKeySequence::Paste) {
        pasteClipboard();
        return;
    }
    if (event == QKeySequence::Cut) {
        cutSelection();
        return;
    }
    if (event == QKeySequence::Undo) {
        model_->undo(false);
        return;
    }
    if (event == QKeySequence::Redo || (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier)) {
        model_->undo(true);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Delete:
        clearContents();
        return;
    case Qt::Key_Backspace:   // starts an edit of the current cell with its text removed
        if (edit(currentIndex(), EditKeyPressed, event))
            if (auto* le = qobject_cast<QLineEdit*>(main_->viewShowing(currentIndex())->indexWidget(currentIndex())))
                le->clear();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        main_->moveCurrent(event->modifiers() & Qt::ShiftModifier ? -1 : 1, 0);
        return;
    case Qt::Key_Tab:
        main_->moveCurrent(0, 1);
        return;
    case Qt::Key_Backtab:
        main_->moveCurrent(0, -1);
        return;
    case Qt::Key_Home:
        QTableView::keyPressEvent(event);
        // Also when the cursor was there already, or its cell cannot be selected: the view
        // goes back to the top left.
        if (event->modifiers() & Qt::ControlModifier) {
            main_->verticalScrollBar()->setValue(0);
            main_->horizontalScrollBar()->setValue(0);
        }
        return;
    default:
        QTableView::keyPressEvent(event);
    }
}

void SheetView::release()
{
    for (SheetView* v : overlays_)
        if (v)
            v->setModel(nullptr);
    setModel(nullptr);
}

void SheetView::mousePressEvent(QMouseEvent* event)
{
    main_->mouseDown_ = true;
    QTableView::mousePressEvent(event);
}

void SheetView::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    if (main_->mouseDown_) {
        main_->mouseDown_ = false;
        emit main_->mouseSelectionDone();
    }
}

void SheetView::copySelection()
{
    const auto target = selectionInUse();
    QApplication::clipboard()->setText(target ? target->textBlock() : QString());
}

void SheetView::pasteClipboard()
{
    QString text = QApplication::clipboard()->text();
    if (text.isEmpty())
        return;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    std::vector<QStringList> cells;
    int columns = 1;
    for (const QString& line : lines) {
        cells.push_back(line.split(QLatin1Char('\t')));
        columns = std::max(columns, int(cells.back().size()));
    }
    const int rows = int(cells.size());
    const Range sel = selectedRange();
    if (rows == 1 && columns == 1) {   // one value fills the selection (short of whole columns)
        const Range target = sel.count() > kLargeSelection ? Range(&sheet(), sel.row(), sel.column(), sel.row(), sel.column()) : sel;
        model_->userEdit(target, cells[0][0].isEmpty() ? QVariant() : QVariant(cells[0][0]));
        return;
    }
    if (sel.row() + rows - 1 > kMaxRows || sel.column() + columns - 1 > kMaxColumns) {
        showSheetError(QStringLiteral("貼り付け先がシートの範囲を超えています。"));
        return;
    }
    Block block(rows, columns);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < int(cells[size_t(i)].size()); ++j)
            if (!cells[size_t(i)][j].isEmpty())
                block(i + 1, j + 1) = cells[size_t(i)][j];
    const Range target(&sheet(), sel.row(), sel.column(), sel.row() + rows - 1, sel.column() + columns - 1);
    if (model_->userEdit(target, QVariant::fromValue(block)) && model()) {
        model_->ensureExtent(target.lastRow(), target.lastColumn());
        selectionModel()->select(QItemSelection(model_->index(target.row() - 1, target.column() - 1),
                                                model_->index(target.lastRow() - 1, target.lastColumn() - 1)),
                                 QItemSelectionModel::ClearAndSelect);
    }
}

std::optional<Range> SheetView::selectionInUse() const
{
    const Range target = selectedRange();
    if (target.count() <= kLargeSelection)
        return target;
    // Whole rows or columns: only the used cells hold anything to copy or clear.
    const Range used = sheet().usedRange();
    const int top = std::max(target.row(), used.row()), left = std::max(target.column(), used.column());
    const int bottom = std::min(target.lastRow(), used.lastRow()), right = std::min(target.lastColumn(), used.lastColumn());
    if (top > bottom || left > right)
        return std::nullopt;
    return Range(&sheet(), top, left, bottom, right);
}

void SheetView::cutSelection()
{
    const auto target = selectionInUse();
    const QString text = target ? target->textBlock() : QString();
    if (target && !model_->userEdit(*target, QVariant()))
        return;
    QApplication::clipboard()->setText(text);
}

void SheetView::clearContents()
{
    if (const auto target = selectionInUse())
        model_->userEdit(*target, QVariant());
}

void SheetView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    QPainter p(viewport());
    paintOverCells(p);
    // The edge of a frozen pane.
    const QRect r = viewport()->rect();
    p.setPen(QColor(0x70, 0x70, 0x70));
    if (pane_ == Pane::Top || pane_ == Pane::Corner)
        p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    if (pane_ == Pane::Left || pane_ == Pane::Corner)
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

// Second pass over the painted cells: texts running over empty neighbours, borders centred on the
// cell edges (so a neighbour's fill cannot cover them), and the frame of the selection.
void SheetView::paintOverCells(QPainter& p)
{
    const Worksheet& ws = sheet();
    const SheetData& d = ws.data();
    const QRect area = viewport()->rect();
    int r0 = rowAt(0), r1 = rowAt(area.height() - 1), c0 = columnAt(0), c1 = columnAt(area.width() - 1);
    if (r0 < 0 || c0 < 0)
        return;
    if (r1 < 0)
        r1 = model_->rowCount() - 1;
    if (c1 < 0)
        c1 = model_->columnCount() - 1;
    r0 = std::max(0, r0 - 1);
    c0 = std::max(0, c0 - 1);
    r1 = std::min(model_->rowCount() - 1, r1 + 1);
    c1 = std::min(model_->columnCount() - 1, c1 + 1);
    auto cellRect = [&](int r, int c) {
        return QRect(columnViewportPosition(c), rowViewportPosition(r), columnWidth(c), rowHeight(r));
    };
    const auto& styles = d.cells;
    for (int r = r0; r <= r1; ++r) {
        if (isRowHidden(r))
            continue;
        for (auto it = styles.lower_bound({r + 1, c0 + 1}); it != styles.end() && it->first.first == r + 1 && it->first.second <= c1 + 1; ++it) {
            const int c = it->first.second - 1;
            if (isColumnHidden(c))
                continue;
            const QModelIndex index = model_->index(r, c);
            const QRect rc = cellRect(r, c);
            if (it->second.value.isValid() && runsOver(ws, index, rc.width())) {
                const CellStyle& s = ws.styleAt(r + 1, c + 1);
                int right = rc.right();
                const QFont font = cellFont(s, ws.zoom());
                const int need = rc.left() + QFontMetrics(font).horizontalAdvance(index.data().toString()) + 5;
                for (int n = c + 1; right < need && n < model_->columnCount() && !hasValue(d, r + 1, n + 1); ++n)
                    right += columnWidth(n);
                const QRect textRect(rc.left(), rc.top(), right - rc.left(), rc.height());
                p.save();
                p.setClipRect(textRect.adjusted(0, 0, -1, -1));
                p.setFont(font);
                p.setPen(index.data(Qt::ForegroundRole).value<QColor>());
                p.drawText(textRect.adjusted(2, 0, -3, -1), textFlags(index, s), index.data().toString());
                p.restore();
            }
        }
    }
    for (int r = r0; r <= r1; ++r) {
        if (isRowHidden(r))
            continue;
        for (auto it = styles.lower_bound({r + 1, c0 + 1}); it != styles.end() && it->first.first == r + 1 && it->first.second <= c1 + 1; ++it) {
            const int c = it->first.second - 1;
            if (isColumnHidden(c) || it->second.style == 0)
                continue;
            delegate_->paintBorders(p, cellRect(r, c), ws.styleAt(r + 1, c + 1));
        }
    }
    const Range sel = selectedRange();
    if (sel.row() - 1 <= r1 && sel.lastRow() - 1 >= r0 && sel.column() - 1 <= c1 && sel.lastColumn() - 1 >= c0) {
        const QRect first = cellRect(sel.row() - 1, sel.column() - 1);
        const QRect last = cellRect(std::min(sel.lastRow(), model_->rowCount()) - 1, std::min(sel.lastColumn(), model_->columnCount()) - 1);
        QPen pen(kSelectionFrame);
        pen.setWidth(2);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(first.topLeft(), last.bottomRight()).adjusted(0, 0, -1, -1));
    }
}

}  // namespace xl::widgets
