#include "range.h"

#include "address.h"
#include "application.h"
#include "error.h"
#include "palette.h"
#include "values.h"
#include "workbook.h"
#include "worksheet.h"

#include <QDateTime>
#include <QRect>
#include <QStringList>
#include <map>
#include <utility>

namespace xl {

namespace {

// Value blocks larger than this are refused; whole rows and columns are formatted and cleared
// through their stored cells only.
constexpr qint64 kMaxBlockCells = qint64(1) << 20;

using Cells = std::map<std::pair<int, int>, Cell>;

// Per style index: does the style keep typed text as text ("@")?
std::vector<char> textStyles(const std::vector<CellStyle>& styles)
{
    std::vector<char> text(styles.size());
    for (size_t i = 0; i < styles.size(); ++i)
        text[i] = styles[i].numberFormat == QLatin1String("@");
    return text;
}

bool isText(const std::vector<char>& textStyles, int style)
{
    return size_t(style) < textStyles.size() && textStyles[size_t(style)];
}

bool isBlank(const Cell& c)
{
    return !c.value.isValid() && c.style == 0 && c.formula.isEmpty();
}

// Every cell of the area, created when missing; cells left holding nothing are dropped again.
template <class F>
void forEveryCell(Cells& cells, int top, int left, int bottom, int right, F&& f)
{
    for (int r = top; r <= bottom; ++r) {
        auto it = cells.lower_bound({r, left});
        for (int c = left; c <= right; ++c) {
            if (it == cells.end() || it->first.first != r || it->first.second != c)
                it = cells.emplace_hint(it, std::pair{r, c}, Cell{});
            f(r, c, it->second);
            it = isBlank(it->second) ? cells.erase(it) : std::next(it);
        }
    }
}

// Runs write on cell; true when it changed the cell's value (its type included), formula or style.
template <class F>
bool changes(Cell& cell, F&& write)
{
    // The writes set the value without reading the one they replace.
    const QVariant value = std::exchange(cell.value, QVariant());
    const int style = cell.style;
    const bool formula = !cell.formula.isEmpty();
    write();
    return formula || style != cell.style || value.typeId() != cell.value.typeId() || value != cell.value;
}

// The stored cells of the area only.
template <class F>
void forStoredCells(Cells& cells, int top, int left, int bottom, int right, F&& f)
{
    if (qint64(bottom) - top + 1 > qint64(cells.size())) {
        for (auto it = cells.begin(); it != cells.end();) {
            const auto [r, c] = it->first;
            if (r >= top && r <= bottom && c >= left && c <= right) {
                f(r, c, it->second);
                if (isBlank(it->second)) {
                    it = cells.erase(it);
                    continue;
                }
            }
            ++it;
        }
        return;
    }
    for (int r = top; r <= bottom; ++r) {
        for (auto it = cells.lower_bound({r, left}); it != cells.end() && it->first.first == r && it->first.second <= right;) {
            f(r, it->first.second, it->second);
            it = isBlank(it->second) ? cells.erase(it) : std::next(it);
        }
    }
}

Error badArea(const QString& what)
{
    return Error(1004, QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。 (%1)").arg(what));
}

}  // namespace

Workbook& Range::workbook() const
{
    return sheet_->parent();
}

Application& Range::application() const
{
    return sheet_->parent().application();
}

QRect Range::area() const
{
    return QRect(left_, top_, columnCount(), rowCount());
}

void Range::written(bool values) const
{
    sheet_->book_->cellsWritten(*sheet_, area(), values);
}

// A write that changed nothing is no change for what reads the workbook; it is a write all the same.
void Range::wrote(bool changed, bool values) const
{
    if (changed)
        sheet_->changed(area());
    written(values);
}

// A date written into a General cell takes a date format, as it does when typed, so that it
// shows and is stored as a date.
void Range::giveDateFormat(Cell& cell) const
{
    const int type = cell.value.typeId();
    if (type != QMetaType::QDate && type != QMetaType::QDateTime)
        return;
    Workbook& book = *sheet_->book_;
    CellStyle style = book.data_.styles[size_t(cell.style)];
    if (style.numberFormat.compare(QLatin1String("General"), Qt::CaseInsensitive) != 0)
        return;
    const bool withTime = type == QMetaType::QDateTime && cell.value.toDateTime().time() != QTime(0, 0);
    style.numberFormat = withTime ? QStringLiteral("yyyy/m/d h:mm") : QStringLiteral("yyyy/m/d");
    cell.style = book.internStyle(style);
}

bool Range::wholeLines() const
{
    return (top_ == 1 && bottom_ == kMaxRows) || (left_ == 1 && right_ == kMaxColumns) || count() > kMaxBlockCells;
}

void Range::checkBlockSize() const
{
    if (count() > kMaxBlockCells)
        throw badArea(QStringLiteral("range %1 is too large to handle cell by cell").arg(address()));
}

Range Range::cells(int i, int j) const
{
    const int r = top_ + i - 1, c = left_ + j - 1;
    sheet_->checkCell(r, c);
    return Range(sheet_, r, c, r, c);
}

Range Range::offset(int rows, int columns) const
{
    sheet_->checkCell(top_ + rows, left_ + columns);
    sheet_->checkCell(bottom_ + rows, right_ + columns);
    return Range(sheet_, top_ + rows, left_ + columns, bottom_ + rows, right_ + columns);
}

Range Range::resize(int rows, int columns) const
{
    if (rows < 1 || columns < 1)
        throw badArea(QStringLiteral("Resize(%1, %2)").arg(rows).arg(columns));
    sheet_->checkCell(top_ + rows - 1, left_ + columns - 1);
    return Range(sheet_, top_, left_, top_ + rows - 1, left_ + columns - 1);
}

QString Range::address() const
{
    return areaAddress(Area{top_, left_, bottom_, right_});
}

QString Range::name() const
{
    const Area mine{top_, left_, bottom_, right_};
    const QString sheetName = sheet_->name();
    QString workbookLevel;
    for (const DefinedName& d : sheet_->book_->data_.names) {
        const SheetRef ref = splitSheetRef(d.refersTo);
        const bool here = ref.sheet.isEmpty() ? d.sheet == sheet_->index_
                                              : ref.sheet.compare(sheetName, Qt::CaseInsensitive) == 0;
        if (!here || parseArea(ref.rest) != mine)
            continue;
        if (d.sheet == sheet_->index_)
            return d.name;
        if (d.sheet == -1 && workbookLevel.isEmpty())
            workbookLevel = d.name;
    }
    if (workbookLevel.isEmpty())
        throw badArea(QStringLiteral("no name refers to %1").arg(address()));
    return workbookLevel;
}

void Range::setName(const QString& name) const
{
    sheet_->book_->defineName(name, *this);
}

QVariant Range::value() const
{
    if (count() == 1)
        return sheet_->valueAt(top_, left_);
    return QVariant::fromValue(block());
}

Block Range::block() const
{
    checkBlockSize();
    sheet_->book_->ensureCalculated();
    Block b(rowCount(), columnCount());
    const Cells& cells = sheet_->view().cells;
    for (int r = top_; r <= bottom_; ++r)
        for (auto it = cells.lower_bound({r, left_}); it != cells.end() && it->first.first == r && it->first.second <= right_; ++it)
            b(r - top_ + 1, it->first.second - left_ + 1) = it->second.value;
    return b;
}

void Range::setValue(const QVariant& value) const
{
    if (value.typeId() == qMetaTypeId<Block>()) {
        setBlock(*static_cast<const Block*>(value.constData()));
        return;
    }
    if (value.typeId() == QMetaType::QVariantList || value.typeId() == QMetaType::QStringList) {
        const QVariantList list = value.toList();
        Block row(1, int(list.size()));
        for (int j = 0; j < int(list.size()); ++j)
            row(1, j + 1) = list[j];
        setBlock(row);
        return;
    }
    const QVariant typed = cellValue(value);
    if (!typed.isValid() && wholeLines()) {
        clearContents();
        return;
    }
    checkBlockSize();
    const QVariant asText = cellValue(value, true);
    const auto text = textStyles(sheet_->book_->data_.styles);
    bool changed = false;
    forEveryCell(sheet_->writable().cells, top_, left_, bottom_, right_,
                 [&](int, int, Cell& cell) { changed |= putValue(cell, text, typed, asText); });
    wrote(changed, true);
}

bool Range::putValue(Cell& cell, const std::vector<char>& textStyles, const QVariant& typed,
                     const QVariant& asText) const
{
    return changes(cell, [&] {
        cell.value = isText(textStyles, cell.style) ? asText : typed;
        cell.formula.clear();
        giveDateFormat(cell);
    });
}

void Range::setBlock(const Block& block) const
{
    checkBlockSize();
    if (block.rows() < 1 || block.columns() < 1)
        throw Error(13, QStringLiteral("型が一致しません。 (Type mismatch: an empty array)"));
    const int br = block.rows(), bc = block.columns();
    // Converted first, so that a value no cell can hold changes nothing.
    std::vector<QVariant> typed(size_t(br) * bc);
    for (int i = 1; i <= br; ++i)
        for (int j = 1; j <= bc; ++j)
            typed[size_t(i - 1) * bc + (j - 1)] = cellValue(block(i, j));
    const QVariant notAvailable = QStringLiteral("#N/A");
    const bool fits = br == rowCount() && bc == columnCount();
    const auto text = textStyles(sheet_->book_->data_.styles);
    bool changed = false;
    forEveryCell(sheet_->writable().cells, top_, left_, bottom_, right_, [&](int r, int c, Cell& cell) {
        int i = r - top_ + 1, j = c - left_ + 1;
        if (br == 1 && bc == 1)
            i = j = 1;
        else if (br == 1 && j <= bc)
            i = 1;
        else if (bc == 1 && i <= br)
            j = 1;
        changed |= changes(cell, [&] {
            cell.formula.clear();
            if (i > br || j > bc) {
                cell.value = notAvailable;
            } else if (isText(text, cell.style)) {
                cell.value = cellValue(block(i, j), true);
            } else {
                // Each converted value goes to one cell only when the block fits the range.
                QVariant& value = typed[size_t(i - 1) * bc + (j - 1)];
                cell.value = fits ? std::move(value) : value;
                giveDateFormat(cell);
            }
        });
    });
    wrote(changed, true);
}

void Range::setCells(const std::vector<CellValue>& values) const
{
    int top = bottom_ + 1, bottom = 0, left = right_ + 1, right = 0;
    std::vector<std::pair<QVariant, QVariant>> typed;   // as a value and as a text
    typed.reserve(values.size());
    for (const CellValue& v : values) {
        if (v.row < 1 || v.column < 1 || v.row > rowCount() || v.column > columnCount())
            throw badArea(QStringLiteral("cell %1, %2 lies outside %3").arg(v.row).arg(v.column).arg(address()));
        typed.emplace_back(cellValue(v.value), cellValue(v.value, true));
        top = std::min(top, top_ + v.row - 1);
        bottom = std::max(bottom, top_ + v.row - 1);
        left = std::min(left, left_ + v.column - 1);
        right = std::max(right, left_ + v.column - 1);
    }
    if (values.empty())
        return;
    const auto text = textStyles(sheet_->book_->data_.styles);
    bool changed = false;
    for (size_t k = 0; k < values.size(); ++k) {
        const int r = top_ + values[k].row - 1, c = left_ + values[k].column - 1;
        forEveryCell(sheet_->writable().cells, r, c, r, c,
                     [&](int, int, Cell& cell) { changed |= putValue(cell, text, typed[k].first, typed[k].second); });
    }
    Range(sheet_, top, left, bottom, right).wrote(changed, true);
}

QString Range::text() const
{
    return sheet_->textAt(top_, left_);
}

QString Range::textBlock() const
{
    checkBlockSize();
    QString out;
    for (int r = top_; r <= bottom_; ++r) {
        for (int c = left_; c <= right_; ++c) {
            if (c > left_)
                out += QLatin1Char('\t');
            out += sheet_->textAt(r, c);
        }
        out += QStringLiteral("\r\n");
    }
    return out;
}

QString Range::formula() const
{
    const Cells& cells = sheet_->view().cells;
    const auto it = cells.find({top_, left_});
    return it == cells.end() ? QString() : it->second.formula;
}

void Range::clearContents() const
{
    bool any = false;
    forStoredCells(sheet_->writable().cells, top_, left_, bottom_, right_, [&](int, int, Cell& cell) {
        any = any || cell.value.isValid() || !cell.formula.isEmpty();
        cell.value = QVariant();
        cell.formula.clear();
    });
    if (any)
        wrote(true, true);
}

void Range::copy() const
{
    checkBlockSize();
    Application::Copied copied;
    copied.rows = rowCount();
    copied.columns = columnCount();
    const Block values = block();
    copied.values.reserve(size_t(count()));
    copied.styles.reserve(size_t(count()));
    for (int r = top_; r <= bottom_; ++r) {
        for (int c = left_; c <= right_; ++c) {
            copied.values.push_back(values(r - top_ + 1, c - left_ + 1));
            copied.styles.push_back(sheet_->styleAt(r, c));
        }
    }
    copied.text = textBlock();
    copied.active = true;
    application().copied_ = std::move(copied);
}

void Range::pasteSpecial(int pasteType) const
{
    if (pasteType != kPasteAll && pasteType != kPasteValues && pasteType != kPasteFormats)
        throw badArea(QStringLiteral("PasteSpecial: paste type %1 is not supported").arg(pasteType));
    const Application::Copied& copied = application().copied_;
    if (!copied.active)
        throw badArea(QStringLiteral("PasteSpecial: nothing has been copied"));
    const Range target = resize(copied.rows, copied.columns);
    const auto copiedValues = copied.values;   // the copy may come from the target itself
    const auto copiedStyles = copied.styles;
    Workbook& book = *sheet_->book_;
    forEveryCell(sheet_->sheet().cells, target.top_, target.left_, target.bottom_, target.right_,
                 [&](int r, int c, Cell& cell) {
                     const size_t k = size_t(r - target.top_) * copied.columns + (c - target.left_);
                     if (pasteType != kPasteFormats) {
                         cell.value = copiedValues[k];
                         cell.formula.clear();
                     }
                     if (pasteType != kPasteValues)
                         cell.style = book.internStyle(copiedStyles[k]);
                 });
    target.written(pasteType != kPasteFormats);
}

void Range::pasteText(const QString& text) const
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return;
    std::vector<QStringList> rows;
    int columns = 1;
    for (const QString& line : lines) {
        rows.push_back(line.split(QLatin1Char('\t')));
        columns = std::max(columns, int(rows.back().size()));
    }
    Block block(int(rows.size()), columns);
    for (int i = 0; i < int(rows.size()); ++i)
        for (int j = 0; j < int(rows[size_t(i)].size()); ++j)
            block(i + 1, j + 1) = rows[size_t(i)][j];
    resize(block.rows(), block.columns()).setBlock(block);
}

bool Range::replace(const QString& what, const QString& replacement) const
{
    const QVariant typed = cellValue(replacement);
    const QVariant asText = cellValue(replacement, true);
    const auto text = textStyles(sheet_->book_->data_.styles);
    bool any = false;
    if (what.isEmpty()) {
        if (!typed.isValid())
            return true;
        checkBlockSize();
        forEveryCell(sheet_->sheet().cells, top_, left_, bottom_, right_, [&](int, int, Cell& cell) {
            if (cell.value.isValid() || !cell.formula.isEmpty())
                return;
            cell.value = isText(text, cell.style) ? asText : typed;
            giveDateFormat(cell);
            any = true;
        });
        if (any)
            written(true);
        return true;
    }
    forStoredCells(sheet_->sheet().cells, top_, left_, bottom_, right_, [&](int, int, Cell& cell) {
        if (!cell.value.isValid() || formatValue(cell.value, QStringLiteral("General")).compare(what, Qt::CaseInsensitive) != 0)
            return;
        cell.value = isText(text, cell.style) ? asText : typed;
        cell.formula.clear();
        giveDateFormat(cell);
        any = true;
    });
    if (any)
        written(true);
    return true;
}

void Range::changeStyle(const std::function<void(CellStyle&)>& change) const
{
    Workbook& book = *sheet_->book_;
    std::map<int, int> done;   // old style -> new style, so each distinct style changes once
    bool changed = false;
    auto apply = [&](int, int, Cell& cell) {
        auto it = done.find(cell.style);
        if (it == done.end()) {
            CellStyle s = book.data_.styles[size_t(cell.style)];
            change(s);
            it = done.emplace(cell.style, book.internStyle(s)).first;
        }
        changed |= cell.style != it->second;
        cell.style = it->second;
    };
    SheetData& sheet = sheet_->writable();
    if (wholeLines())
        forStoredCells(sheet.cells, top_, left_, bottom_, right_, apply);
    else
        forEveryCell(sheet.cells, top_, left_, bottom_, right_, apply);
    wrote(changed, false);
}

const CellStyle& Range::topLeftStyle() const
{
    return sheet_->styleAt(top_, left_);
}

void Range::borderAround(int lineStyle, int weight, int colorIndex, const QColor& color) const
{
    const QColor c = color.isValid() ? color : colorIndex >= 1 && colorIndex <= 56 ? colorFromIndex(colorIndex) : QColor(Qt::black);
    for (int index = kEdgeLeft; index <= kEdgeRight; ++index)
        Border(*this, index).apply([&](BorderEdge& e) { e = BorderEdge{lineStyle, weight, c}; });
}

int Range::horizontalAlignment() const { return topLeftStyle().horizontalAlignment; }
int Range::verticalAlignment() const { return topLeftStyle().verticalAlignment; }
bool Range::wrapText() const { return topLeftStyle().wrapText; }
QString Range::numberFormat() const { return topLeftStyle().numberFormat; }
bool Range::locked() const { return topLeftStyle().locked; }
CellStyle Range::style() const { return topLeftStyle(); }

void Range::setHorizontalAlignment(int alignment) const
{
    if (alignment != kAlignGeneral && alignment != kAlignLeft && alignment != kAlignCenter && alignment != kAlignRight)
        throw badArea(QStringLiteral("HorizontalAlignment %1").arg(alignment));
    changeStyle([&](CellStyle& s) { s.horizontalAlignment = alignment; });
}

void Range::setNumberFormat(const QString& format) const
{
    changeStyle([&](CellStyle& s) { s.numberFormat = format.isEmpty() ? QStringLiteral("General") : format; });
}

void Range::setLocked(bool locked) const
{
    changeStyle([&](CellStyle& s) { s.locked = locked; });
}

void Range::setStyle(const CellStyle& style) const
{
    changeStyle([&](CellStyle& s) { s = style; });
}

double Range::columnWidth() const
{
    return sheet_->columnWidth(left_);
}

void Range::setColumnWidth(double width) const
{
    for (int c = left_; c <= right_; ++c)
        sheet_->setColumnWidth(c, width);
}

double Range::rowHeight() const
{
    return sheet_->rowHeight(top_);
}

void Range::setRowHeight(double points) const
{
    for (int r = top_; r <= bottom_; ++r)
        sheet_->setRowHeight(r, points);
}

void Range::setHidden(bool hidden) const
{
    if (left_ == 1 && right_ == kMaxColumns) {
        for (int r = top_; r <= bottom_; ++r)
            sheet_->setRowHidden(r, hidden);
    } else if (top_ == 1 && bottom_ == kMaxRows) {
        for (int c = left_; c <= right_; ++c)
            sheet_->setColumnHidden(c, hidden);
    } else {
        throw badArea(QStringLiteral("Hidden applies to whole rows or columns, not %1").arg(address()));
    }
}

void Range::select() const
{
    sheet_->setSelection(*this);
}

void Range::forEachCell(const std::function<void(int row, int column, const Cell&)>& visit) const
{
    const Cells& cells = sheet_->view().cells;
    if (qint64(rowCount()) > qint64(cells.size())) {
        for (const auto& [key, cell] : cells)
            if (key.first >= top_ && key.first <= bottom_ && key.second >= left_ && key.second <= right_)
                visit(key.first, key.second, cell);
        return;
    }
    for (int r = top_; r <= bottom_; ++r)
        for (auto it = cells.lower_bound({r, left_}); it != cells.end() && it->first.first == r && it->first.second <= right_; ++it)
            visit(r, it->first.second, it->second);
}

// Interior, Font, Border

Interior::Interior(const Range& r) : r_(r) {}
QColor Interior::color() const { return r_.topLeftStyle().fill; }
void Interior::setColor(const QColor& color)
{
    r_.changeStyle([&](CellStyle& s) { s.fill = color; });
}
int Interior::colorIndex() const { return colorIndexOf(color(), kColorIndexNone); }
void Interior::setColorIndex(int index)
{
    if (index != kColorIndexNone && index != kColorIndexAutomatic && (index < 1 || index > 56))
        throw badArea(QStringLiteral("ColorIndex %1").arg(index));
    setColor(colorFromIndex(index));
}

Font::Font(const Range& r) : r_(r) {}
QColor Font::color() const { return r_.topLeftStyle().fontColor; }
void Font::setColor(const QColor& color)
{
    r_.changeStyle([&](CellStyle& s) { s.fontColor = color; });
}
int Font::colorIndex() const { return colorIndexOf(color(), kColorIndexAutomatic); }
void Font::setColorIndex(int index)
{
    if (index != kColorIndexNone && index != kColorIndexAutomatic && (index < 1 || index > 56))
        throw badArea(QStringLiteral("ColorIndex %1").arg(index));
    setColor(colorFromIndex(index));
}
bool Font::bold() const { return r_.topLeftStyle().bold; }
void Font::setBold(bool bold)
{
    r_.changeStyle([&](CellStyle& s) { s.bold = bold; });
}
double Font::size() const { return r_.topLeftStyle().fontSize; }
QString Font::name() const { return r_.topLeftStyle().fontName; }
void Font::setName(const QString& family)
{
    r_.changeStyle([&](CellStyle& s) { s.fontName = family; });
}

Border::Border(const Range& r, int index) : r_(r), index_(index)
{
    if (index < kDiagonalDown || index > kInsideHorizontal)
        throw Error(9, QStringLiteral("インデックスが有効範囲にありません。 (Subscript out of range: Borders(%1))").arg(index));
}

BorderEdge Border::edge() const
{
    Worksheet& ws = r_.parent();
    switch (index_) {
    case kEdgeLeft: return r_.topLeftStyle().left;
    case kEdgeTop: return r_.topLeftStyle().top;
    case kEdgeBottom: return ws.styleAt(r_.lastRow(), r_.column()).bottom;
    case kEdgeRight: return ws.styleAt(r_.row(), r_.lastColumn()).right;
    case kInsideVertical: return r_.columnCount() > 1 ? r_.topLeftStyle().right : BorderEdge{};
    case kInsideHorizontal: return r_.rowCount() > 1 ? r_.topLeftStyle().bottom : BorderEdge{};
    default: return BorderEdge{};
    }
}

// An edge between two cells belongs to both: the cell beside the range gets the same line on its
// facing side, so that either cell reads and draws it alike.
void Border::apply(const std::function<void(BorderEdge&)>& change)
{
    Worksheet* ws = &r_.parent();
    const int t = r_.row(), l = r_.column(), b = r_.lastRow(), rt = r_.lastColumn();
    auto edit = [&](int top, int left, int bottom, int right, BorderEdge CellStyle::*side) {
        if (top > bottom || left > right || top < 1 || left < 1 || bottom > kMaxRows || right > kMaxColumns)
            return;
        Range(ws, top, left, bottom, right).changeStyle([&](CellStyle& s) { change(s.*side); });
    };
    switch (index_) {
    case kEdgeLeft:
        edit(t, l, b, l, &CellStyle::left);
        edit(t, l - 1, b, l - 1, &CellStyle::right);
        break;
    case kEdgeTop:
        edit(t, l, t, rt, &CellStyle::top);
        edit(t - 1, l, t - 1, rt, &CellStyle::bottom);
        break;
    case kEdgeBottom:
        edit(b, l, b, rt, &CellStyle::bottom);
        edit(b + 1, l, b + 1, rt, &CellStyle::top);
        break;
    case kEdgeRight:
        edit(t, rt, b, rt, &CellStyle::right);
        edit(t, rt + 1, b, rt + 1, &CellStyle::left);
        break;
    case kInsideVertical:
        edit(t, l, b, rt - 1, &CellStyle::right);
        edit(t, l + 1, b, rt, &CellStyle::left);
        break;
    case kInsideHorizontal:
        edit(t, l, b - 1, rt, &CellStyle::bottom);
        edit(t + 1, l, b, rt, &CellStyle::top);
        break;
    default:
        break;   // diagonals: cells carry none
    }
}

int Border::lineStyle() const { return edge().lineStyle; }
void Border::setLineStyle(int style)
{
    apply([&](BorderEdge& e) {
        if (style == kLineNone)
            e = BorderEdge{};
        else
            e.lineStyle = style;
    });
}
int Border::weight() const { return edge().weight; }
void Border::setWeight(int weight)
{
    apply([&](BorderEdge& e) {
        e.weight = weight;
        if (e.lineStyle == kLineNone)
            e.lineStyle = kContinuous;
    });
}
int Border::colorIndex() const
{
    const BorderEdge e = edge();
    return e.lineStyle == kLineNone ? kColorIndexNone : colorIndexOf(e.color, kColorIndexAutomatic);
}
void Border::setColorIndex(int index)
{
    if (index != kColorIndexNone && index != kColorIndexAutomatic && (index < 1 || index > 56))
        throw badArea(QStringLiteral("ColorIndex %1").arg(index));
    if (index == kColorIndexNone) {
        setLineStyle(kLineNone);
        return;
    }
    setColor(index == kColorIndexAutomatic ? QColor(Qt::black) : colorFromIndex(index));
}
QColor Border::color() const { return edge().color; }
void Border::setColor(const QColor& color)
{
    apply([&](BorderEdge& e) {
        e.color = color.isValid() ? color : QColor(Qt::black);
        if (e.lineStyle == kLineNone)
            e.lineStyle = kContinuous;
    });
}

void Border::setThemeColor(int theme)
{
    // The default theme's colours in ThemeColor order (lt1, dk1, lt2, dk2, accents, links).
    static const QRgb kTheme[] = {0xFFFFFF, 0x000000, 0xE7E6E6, 0x44546A, 0x4472C4, 0xED7D31,
                                  0xA5A5A5, 0xFFC000, 0x5B9BD5, 0x70AD47, 0x0563C1, 0x954F72};
    if (theme < 1 || theme > int(std::size(kTheme)))
        throw badArea(QStringLiteral("ThemeColor %1").arg(theme));
    setColor(QColor(kTheme[theme - 1]));
}

void Border::setTintAndShade(double tint)
{
    if (tint < -1 || tint > 1)
        throw badArea(QStringLiteral("TintAndShade %1").arg(tint));
    apply([&](BorderEdge& e) {
        const QColor c = e.color.isValid() ? e.color : QColor(Qt::black);
        const double l = c.lightnessF();
        const double shaded = tint < 0 ? l * (1 + tint) : l * (1 - tint) + tint;
        e.color = QColor::fromHslF(c.hslHueF(), c.hslSaturationF(), std::clamp(shaded, 0.0, 1.0));
        if (e.lineStyle == kLineNone)
            e.lineStyle = kContinuous;
    });
}

}  // namespace xl
