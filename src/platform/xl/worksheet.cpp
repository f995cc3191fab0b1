#include "worksheet.h"

#include "address.h"
#include "application.h"
#include "error.h"
#include "values.h"
#include "workbook.h"

#include <algorithm>

namespace xl {

namespace {

Error badReference(const QString& what)
{
    return Error(1004, QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。 (Bad reference \"%1\")").arg(what));
}

void setFlag(std::vector<int>& sorted, int value, bool on)
{
    const auto it = std::lower_bound(sorted.begin(), sorted.end(), value);
    const bool present = it != sorted.end() && *it == value;
    if (on && !present)
        sorted.insert(it, value);
    else if (!on && present)
        sorted.erase(it);
}

bool hasFlag(const std::vector<int>& sorted, int value)
{
    return std::binary_search(sorted.begin(), sorted.end(), value);
}

}  // namespace

SheetData& Worksheet::sheet() const
{
    // Raw access for changes that do not say what they changed: it counts as a change.
    book_->touch();
    return book_->data_.sheets[size_t(index_)];
}

SheetData& Worksheet::writable() const
{
    return book_->data_.sheets[size_t(index_)];
}

void Worksheet::changed(const QRect& area) const
{
    book_->touchCells(index_, area);
}

const SheetData& Worksheet::view() const
{
    return book_->data_.sheets[size_t(index_)];
}

QString Worksheet::name() const
{
    return view().name;
}

void Worksheet::setName(const QString& name)
{
    static const QString forbidden = QStringLiteral(":\\/?*[]");
    bool valid = !name.trimmed().isEmpty() && name.size() <= 31 && !name.startsWith(QLatin1Char('\''))
                 && !name.endsWith(QLatin1Char('\''));
    for (QChar c : name)
        if (forbidden.contains(c))
            valid = false;
    if (!valid)
        throw Error(1004, QStringLiteral("シート名 \"%1\" は使えません。 (A sheet name has 1 to 31 characters and none of : \\ / ? * [ ])").arg(name));
    if (Worksheet* other = book_->findSheet(name); other && other != this)
        throw Error(1004, QStringLiteral("シート名 \"%1\" は既にあります。 (Another sheet has this name)").arg(name));
    const QString old = sheet().name;
    if (old == name)
        return;
    if (!old.isEmpty()) {
        for (DefinedName& d : book_->data_.names) {
            const SheetRef ref = splitSheetRef(d.refersTo);
            if (!ref.sheet.isEmpty() && ref.sheet.compare(old, Qt::CaseInsensitive) == 0)
                d.refersTo = quoteSheetName(name) + QLatin1Char('!') + ref.rest;
        }
    }
    sheet().name = name;
    book_->saved_ = false;
    book_->viewChanged(*this);
}

Range Worksheet::range(const QString& reference)
{
    const SheetRef ref = splitSheetRef(reference);
    if (!ref.sheet.isEmpty() && ref.sheet.compare(name(), Qt::CaseInsensitive) != 0)
        throw badReference(reference);
    if (const auto area = parseArea(ref.rest))
        return Range(this, area->top, area->left, area->bottom, area->right);
    if (const auto named = book_->findName(ref.rest, this); named && &named->parent() == this)
        return *named;
    throw badReference(reference);
}

Range Worksheet::range(const Range& first, const Range& last)
{
    if (&first.parent() != this || &last.parent() != this)
        throw badReference(first.address() + QLatin1Char(':') + last.address());
    return Range(this, std::min(first.row(), last.row()), std::min(first.column(), last.column()),
                 std::max(first.lastRow(), last.lastRow()), std::max(first.lastColumn(), last.lastColumn()));
}

void Worksheet::checkCell(int row, int column) const
{
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        throw Error(1004, QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。 (Cell %1, %2 lies outside the sheet)")
                              .arg(row).arg(column));
}

Range Worksheet::cells(int row, int column)
{
    checkCell(row, column);
    return Range(this, row, column, row, column);
}

Range Worksheet::usedRange()
{
    const auto& cells = view().cells;
    if (cells.empty())
        return Range(this, 1, 1, 1, 1);
    int top = cells.begin()->first.first, bottom = cells.rbegin()->first.first;
    int left = kMaxColumns, right = 1;
    for (const auto& [key, cell] : cells) {
        left = std::min(left, key.second);
        right = std::max(right, key.second);
    }
    return Range(this, top, left, bottom, right);
}

int Worksheet::visible() const
{
    return view().visible;
}

void Worksheet::setVisible(int state)
{
    if (state != kSheetVisible && state != kSheetHidden && state != kSheetVeryHidden)
        throw Error(1004, QStringLiteral("Visible の値が正しくありません。 (Visible must be -1, 0 or 2, not %1)").arg(state));
    if (state == sheet().visible)
        return;
    if (state != kSheetVisible) {
        Worksheet* next = nullptr;
        for (int i = 1; i <= book_->worksheetCount() && !next; ++i) {
            Worksheet& other = book_->worksheets((index_ + i) % book_->worksheetCount() + 1);
            if (&other != this && other.visible() == kSheetVisible)
                next = &other;
        }
        if (!next)
            throw Error(1004, QStringLiteral("表示されているシートをすべて非表示にすることはできません。 (The last shown sheet cannot be hidden)"));
        if (book_->data_.activeSheet == index_)
            next->activate();
    }
    sheet().visible = state;
    book_->saved_ = false;
    book_->viewChanged(*this);
}

const PageSetup& Worksheet::pageSetup() const
{
    return view().pageSetup;
}

void Worksheet::setPageSetup(const PageSetup& setup)
{
    const bool valid = (setup.orientation == kPortrait || setup.orientation == kLandscape)
        && (setup.zoom == 0 || (setup.zoom >= 10 && setup.zoom <= 400)) && setup.fitToPagesWide >= 0
        && setup.fitToPagesWide <= 32767 && setup.fitToPagesTall >= 0 && setup.fitToPagesTall <= 32767
        && setup.paperSize >= 0;
    if (!valid)
        throw Error(1004, QStringLiteral("ページ設定の値が正しくありません。 (Orientation 1 or 2, Zoom 0 or 10..400, page counts 0..32767)"));
    sheet().pageSetup = setup;
    book_->saved_ = false;
}

QString Worksheet::printArea() const
{
    return sheetName(QStringLiteral("Print_Area"));
}

void Worksheet::setPrintArea(const QString& address)
{
    setSheetName(QStringLiteral("Print_Area"), address);
}

QString Worksheet::printTitleRows() const
{
    return sheetName(QStringLiteral("Print_Titles"));
}

void Worksheet::setPrintTitleRows(const QString& rows)
{
    const auto area = parseArea(rows);
    if (!rows.isEmpty() && (!area || area->left != 1 || area->right != kMaxColumns))
        throw badReference(rows);
    setSheetName(QStringLiteral("Print_Titles"), rows);
}

// The address a name of this sheet's own refers to, without the sheet.
QString Worksheet::sheetName(const QString& name) const
{
    for (const DefinedName& d : book_->data_.names)
        if (d.sheet == index_ && d.name.compare(name, Qt::CaseInsensitive) == 0)
            return splitSheetRef(d.refersTo).rest;
    return {};
}

void Worksheet::setSheetName(const QString& name, const QString& address)
{
    if (!address.isEmpty()) {
        const auto area = parseArea(address);
        if (!area)
            throw badReference(address);
        book_->defineName(name, Range(this, area->top, area->left, area->bottom, area->right), this);
    } else if (!sheetName(name).isEmpty()) {
        book_->deleteName(name, this);
    }
}

void Worksheet::activate()
{
    if (book_->data_.activeSheet != index_) {
        if (sheet().visible != kSheetVisible)
            throw Error(1004, QStringLiteral("非表示のシート \"%1\" は選択できません。 (A hidden sheet cannot be activated)").arg(name()));
        book_->data_.activeSheet = index_;
        book_->viewChanged(*this);
        if (book_->eventsOn())
            book_->notify([&](WorkbookObserver* o) { o->sheetActivate(*this); });
    }
    book_->notify([&](WorkbookObserver* o) { o->shown(*this); });
}

void Worksheet::select()
{
    activate();
}

void Worksheet::calculate()
{
    book_->calculate();
}

void Worksheet::protect(bool drawingObjects, bool contents, bool scenarios, bool userInterfaceOnly,
                        bool allowFormattingColumns, bool allowFormattingRows)
{
    SheetProtection& p = sheet().protection;
    p.protectedSheet = true;
    p.drawingObjects = drawingObjects;
    p.contents = contents;
    p.scenarios = scenarios;
    p.userInterfaceOnly = userInterfaceOnly;
    p.allowFormattingColumns = allowFormattingColumns;
    p.allowFormattingRows = allowFormattingRows;
    book_->saved_ = false;
    book_->viewChanged(*this);
}

void Worksheet::unprotect()
{
    SheetProtection& p = sheet().protection;
    if (!p.protectedSheet)
        return;
    p.protectedSheet = false;
    p.userInterfaceOnly = false;
    book_->saved_ = false;
    book_->viewChanged(*this);
}

bool Worksheet::protectContents() const
{
    const SheetProtection& p = view().protection;
    return p.protectedSheet && p.contents;
}

bool Worksheet::protectionMode() const
{
    const SheetProtection& p = view().protection;
    return p.protectedSheet && p.userInterfaceOnly;
}

const SheetProtection& Worksheet::protection() const
{
    return view().protection;
}

int Worksheet::enableSelection() const
{
    return view().protection.enableSelection;
}

void Worksheet::setEnableSelection(int mode)
{
    if (mode != kSelectAny && mode != kSelectUnlocked && mode != kSelectNone)
        throw Error(1004, QStringLiteral("EnableSelection の値が正しくありません。 (EnableSelection must be 0, 1 or -4142, not %1)").arg(mode));
    sheet().protection.enableSelection = mode;
    book_->saved_ = false;
    book_->viewChanged(*this);
}

bool Worksheet::isUserEditable(int row, int column) const
{
    return !protectContents() || !styleAt(row, column).locked;
}

bool Worksheet::isUserSelectable(int row, int column) const
{
    const SheetProtection& p = view().protection;
    if (!p.protectedSheet || p.enableSelection == kSelectAny)
        return true;
    if (p.enableSelection == kSelectNone)
        return false;
    return !styleAt(row, column).locked;
}

double Worksheet::columnWidth(int column) const
{
    const SheetData& s = view();
    const auto it = s.columnWidths.find(column);
    return it == s.columnWidths.end() ? s.defaultColumnWidth : it->second;
}

void Worksheet::setColumnWidth(int column, double width)
{
    checkCell(1, column);
    if (width < 0 || width > 255)
        throw Error(1004, QStringLiteral("列幅 %1 は使えません。 (A column width lies between 0 and 255)").arg(width));
    sheet().columnWidths[column] = width;
    book_->saved_ = false;
    book_->viewChanged(*this);
}

double Worksheet::rowHeight(int row) const
{
    const SheetData& s = view();
    const auto it = s.rowHeights.find(row);
    return it == s.rowHeights.end() ? s.defaultRowHeight : it->second;
}

void Worksheet::setRowHeight(int row, double points)
{
    checkCell(row, 1);
    if (points < 0 || points > 409)
        throw Error(1004, QStringLiteral("行の高さ %1 は使えません。 (A row height lies between 0 and 409)").arg(points));
    sheet().rowHeights[row] = points;
    book_->saved_ = false;
    book_->viewChanged(*this);
}

bool Worksheet::columnHidden(int column) const
{
    return hasFlag(view().hiddenColumns, column);
}

void Worksheet::setColumnHidden(int column, bool hidden)
{
    checkCell(1, column);
    setFlag(sheet().hiddenColumns, column, hidden);
    book_->saved_ = false;
    book_->viewChanged(*this);
}

bool Worksheet::rowHidden(int row) const
{
    return hasFlag(view().hiddenRows, row);
}

void Worksheet::setRowHidden(int row, bool hidden)
{
    checkCell(row, 1);
    setFlag(sheet().hiddenRows, row, hidden);
    book_->saved_ = false;
    book_->viewChanged(*this);
}

int Worksheet::frozenRows() const
{
    return view().frozenRows;
}

int Worksheet::frozenColumns() const
{
    return view().frozenColumns;
}

void Worksheet::freezePanes(int rows, int columns)
{
    if (rows < 0 || columns < 0 || rows >= kMaxRows || columns >= kMaxColumns)
        throw Error(1004, QStringLiteral("ウィンドウ枠を固定できません。 (Bad frozen panes %1, %2)").arg(rows).arg(columns));
    sheet().frozenRows = rows;
    sheet().frozenColumns = columns;
    book_->saved_ = false;
    book_->viewChanged(*this);
}

int Worksheet::zoom() const
{
    return view().zoom;
}

void Worksheet::setZoom(int percent)
{
    if (percent < 10 || percent > 400)
        throw Error(1004, QStringLiteral("倍率 %1 は使えません。 (Zoom lies between 10 and 400)").arg(percent));
    sheet().zoom = percent;
    book_->saved_ = false;
    book_->viewChanged(*this);
}

Range Worksheet::selection()
{
    return Range(this, selTop_, selLeft_, selBottom_, selRight_);
}

void Worksheet::setSelection(const Range& target)
{
    selTop_ = target.row();
    selLeft_ = target.column();
    selBottom_ = target.lastRow();
    selRight_ = target.lastColumn();
    book_->viewChanged(*this);
    if (book_->eventsOn())
        book_->notify([&](WorkbookObserver* o) { o->selectionChange(target); });
}

void Worksheet::setViewMarks(std::vector<ViewMark> marks)
{
    if (marks == marks_)
        return;
    std::swap(marks, marks_);
    // Only the window hears of it: the book itself is unchanged.
    for (const auto* list : {&marks, &marks_})
        for (const ViewMark& m : *list)
            book_->notify([&](WorkbookObserver* o) { o->cellsChanged(*this, m.area); });
}

QColor Worksheet::viewMarkAt(int row, int column) const
{
    for (auto it = marks_.rbegin(); it != marks_.rend(); ++it)
        if (it->area.contains(column, row))
            return it->fill;
    return {};
}

void Worksheet::checkUserEditable(const Range& target)
{
    if (!protectContents())
        return;
    for (int r = target.row(); r <= target.lastRow(); ++r)
        for (int c = target.column(); c <= target.lastColumn(); ++c)
            if (!isUserEditable(r, c))
                throw Error(1004, QStringLiteral("変更しようとしているセルは保護されています。 (The cell %1 is protected)")
                                      .arg(Range(this, r, c, r, c).address()));
}

void Worksheet::userEdit(const Range& target, const QVariant& typed)
{
    if (&target.parent() != this)
        throw badReference(target.address());
    checkUserEditable(target);
    const Workbook::UserAction action;
    Workbook::EditStep before = book_->takeStep(index_, QRect(target.column(), target.row(), target.columnCount(), target.rowCount()));
    Range(target).setValue(typed);
    book_->recordUserEdit(std::move(before));
    if (book_->eventsOn())
        book_->notify([&](WorkbookObserver* o) { o->sheetChange(target); });
}

void Worksheet::userSelect(const Range& target)
{
    if (&target.parent() != this)
        throw badReference(target.address());
    const Workbook::UserAction action;
    setSelection(target);
}

const SheetData& Worksheet::data() const
{
    book_->ensureCalculated();
    return view();
}

const CellStyle& Worksheet::styleAt(int row, int column) const
{
    const SheetData& s = view();
    const auto it = s.cells.find({row, column});
    const int style = it == s.cells.end() ? 0 : it->second.style;
    return book_->data_.styles[size_t(style)];
}

QVariant Worksheet::valueAt(int row, int column) const
{
    book_->ensureCalculated();
    const SheetData& s = view();
    const auto it = s.cells.find({row, column});
    return it == s.cells.end() ? QVariant() : it->second.value;
}

QString Worksheet::textAt(int row, int column) const
{
    return formatValue(valueAt(row, column), styleAt(row, column).numberFormat);
}

}  // namespace xl
