#include "sheet_model.h"

#include "platform/ui/guard.h"
#include "platform/ui/prompt.h"
#include "platform/xl/address.h"
#include "sheet_window.h"

#include <QDate>
#include <QDateTime>
#include <QFontMetrics>
#include <cmath>
#include <exception>

namespace xl::widgets {

namespace {

constexpr int kRowStep = 100;      // the table grows by this many rows beyond the used cells
constexpr int kColumnStep = 26;

int roundUp(int n, int step)
{
    return (n + step - 1) / step * step;
}

}  // namespace

int digitPixels()
{
    // A column width counts digits of the default font, the one the grid draws with.
    static const int pixels = std::max(7, QFontMetrics(cellFont(CellStyle{}, 100)).horizontalAdvance(QLatin1Char('0')));
    return pixels;
}

int columnPixels(double characters, int zoom)
{
    if (characters <= 0)
        return 0;
    const double digit = digitPixels();
    const double px = characters < 1 ? characters * (digit + 5.0) : characters * digit + 5.0;
    return std::max(1, int(std::lround(px * zoom / 100.0)));
}

int rowPixels(double points, int zoom)
{
    if (points <= 0)
        return 0;
    return std::max(1, int(std::lround(points * 96.0 / 72.0 * zoom / 100.0)));
}

QFont cellFont(const CellStyle& style, int zoom)
{
    QFont f = xl::cellFont(style);
    f.setPixelSize(std::max(1, int(std::lround(style.fontSize * 96.0 / 72.0 * zoom / 100.0))));
    return f;
}

void showSheetError(const QString& text)
{
    ui::showMessage(text, ui::vbOKOnly | ui::vbExclamation, programTitle());
}

SheetModel::SheetModel(Worksheet& sheet, QObject* parent) : QAbstractTableModel(parent), sheet_(&sheet)
{
    const SheetData& d = sheet.data();
    int lastRow = std::max(sheet.frozenRows(), sheet.selection().lastRow());
    int lastColumn = std::max(sheet.frozenColumns(), sheet.selection().lastColumn());
    if (!d.cells.empty()) {
        lastRow = std::max(lastRow, d.cells.rbegin()->first.first);
        for (const auto& [key, cell] : d.cells)
            lastColumn = std::max(lastColumn, key.second);
    }
    rows_ = std::min(kMaxRows, roundUp(lastRow + kRowStep, kRowStep));
    columns_ = std::min(kMaxColumns, roundUp(lastColumn + kColumnStep, kColumnStep));
}

int SheetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int SheetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns_;
}

QVariant SheetModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row() + 1, column = index.column() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return sheet_->textAt(row, column);
    case Qt::EditRole:
        return editText(row, column);
    case Qt::BackgroundRole: {
        QColor fill = sheet_->viewMarkAt(row, column);
        if (!fill.isValid())
            fill = sheet_->styleAt(row, column).fill;
        return fill.isValid() ? QVariant(fill) : QVariant();
    }
    case Qt::ForegroundRole: {
        const QColor color = sheet_->styleAt(row, column).fontColor;
        return QVariant(color.isValid() ? color : QColor(Qt::black));
    }
    case Qt::FontRole:
        return cellFont(sheet_->styleAt(row, column), sheet_->zoom());
    case BoldRole:
        return sheet_->styleAt(row, column).bold;
    case Qt::TextAlignmentRole: {
        const CellStyle& s = sheet_->styleAt(row, column);
        int h = Qt::AlignLeft;
        if (s.horizontalAlignment == kAlignCenter)
            h = Qt::AlignHCenter;
        else if (s.horizontalAlignment == kAlignRight)
            h = Qt::AlignRight;
        else if (s.horizontalAlignment == kAlignGeneral) {
            // General: numbers and dates to the right, truth values centred, text to the left.
            const int type = sheet_->valueAt(row, column).typeId();
            h = type == QMetaType::QString || type == QMetaType::UnknownType ? Qt::AlignLeft
                : type == QMetaType::Bool                                     ? Qt::AlignHCenter
                                                                              : Qt::AlignRight;
        }
        const int v = s.verticalAlignment == -4160 ? Qt::AlignTop : s.verticalAlignment == -4108 ? Qt::AlignVCenter : Qt::AlignBottom;
        return QVariant::fromValue(Qt::Alignment(h | v));
    }
    default:
        return {};
    }
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole)
        return orientation == Qt::Horizontal ? columnLetters(section + 1) : QString::number(section + 1);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

Qt::ItemFlags SheetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // A cell the protection keeps the user from selecting cannot become current either.
    if (!sheet_->isUserSelectable(index.row() + 1, index.column() + 1))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool SheetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    const QString typed = value.toString();
    return userEdit(sheet_->cells(index.row() + 1, index.column() + 1), typed.isEmpty() ? QVariant() : QVariant(typed));
}

QString SheetModel::editText(int row, int column) const
{
    const SheetData& d = sheet_->data();
    const auto it = d.cells.find({row, column});
    if (it == d.cells.end())
        return {};
    if (!it->second.formula.isEmpty())
        return it->second.formula;
    const QVariant& v = it->second.value;
    switch (v.typeId()) {
    case QMetaType::Double: {
        const double x = v.toDouble();
        return x == std::floor(x) && std::abs(x) < 1e15 ? QString::number(qint64(x)) : QString::number(x, 'g', 15);
    }
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy/M/d"));
    case QMetaType::QDateTime: {
        const QDateTime t = v.toDateTime();
        return t.time() == QTime(0, 0) ? t.date().toString(QStringLiteral("yyyy/M/d"))
                                       : t.toString(QStringLiteral("yyyy/M/d H:mm:ss"));
    }
    default:
        return v.toString();
    }
}

bool SheetModel::guarded(const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const VbError& e) {
        showSheetError(e.description);
    } catch (...) {
        // Anything else (an event procedure's fault, exhausted memory) goes through the common
        // trap, so it never reaches the event loop.
        const std::exception_ptr error = std::current_exception();
        ui::guarded([&] { std::rethrow_exception(error); }, programTitle());
    }
    return false;
}

bool SheetModel::userEdit(const Range& target, const QVariant& typed)
{
    return guarded([&] { sheet_->userEdit(target, typed); });
}

bool SheetModel::undo(bool redo)
{
    Workbook& book = sheet_->parent();
    if (!(redo ? book.canRedo() : book.canUndo()))
        return false;
    return guarded([&] { redo ? book.redo() : book.undo(); });
}

void SheetModel::cellsChanged(const QRect& area)
{
    if (area.isEmpty())
        return;
    // Whole rows or columns do not make the table grow to the end of the sheet.
    ensureExtent(area.bottom() < kMaxRows ? area.bottom() : 0, area.right() < kMaxColumns ? area.right() : 0);
    const int top = area.top() - 1, left = area.left() - 1;
    const int bottom = std::min(area.bottom(), rows_) - 1, right = std::min(area.right(), columns_) - 1;
    if (top <= bottom && left <= right)
        emit dataChanged(index(top, left), index(bottom, right));
}

void SheetModel::refresh()
{
    if (rows_ > 0 && columns_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
}

void SheetModel::ensureExtent(int rows, int columns)
{
    if (rows > rows_ - kRowStep / 2 && rows_ < kMaxRows) {
        const int target = std::min(kMaxRows, roundUp(rows + kRowStep, kRowStep));
        beginInsertRows(QModelIndex(), rows_, target - 1);
        rows_ = target;
        endInsertRows();
    }
    if (columns > columns_ - kColumnStep / 2 && columns_ < kMaxColumns) {
        const int target = std::min(kMaxColumns, roundUp(columns + kColumnStep, kColumnStep));
        beginInsertColumns(QModelIndex(), columns_, target - 1);
        columns_ = target;
        endInsertColumns();
    }
}

}  // namespace xl::widgets
