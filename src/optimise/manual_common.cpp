#include "optimise/manual_common.h"

#include "engine/conditions.h"
#include "engine/convert.h"
#include "engine/model.h"
#include "engine/shift_load.h"
#include "engine/totals.h"
#include "shell/excel_layer.h"
#include "shell/period.h"
#include "workbook/sheet_names.h"

namespace {

const QString kShiftSheet = kRosterSheet;
const QString kGrid = QStringLiteral("Time_Table");

xl::Workbook& openBook()
{
    if (!xlBook)
        throw xl::Error(91, QStringLiteral("オブジェクト変数が設定されていません。"));
    return *xlBook;
}

// Destroying an Application drops its workbooks without telling their observers.
bool bookAlive(const xl::Workbook* book)
{
    for (xl::Application* app : xl::Application::instances())
        for (int i = 1; i <= app->workbooks().count(); ++i)
            if (&app->workbooks().item(i) == book)
                return true;
    return false;
}

}  // namespace

bool reloadMonth()
{
    if (全条件読込(-1) < 0)
        return false;
    // The condition reading has counted the reservations already; the sheet holds them too.
    if (!シフト表読込(1, Day_Cnt, -1, -1))
        return false;
    recalculateTotals();
    return true;
}

xl::Range shiftCell(int m, int d)
{
    return openBook().worksheets(kShiftSheet).range(kGrid).cells(m, d);
}

QString shiftSymbol(int s)
{
    return s == 0 ? Yasumi_Kigou : TypeText2(s);
}

int dayOfMonth(int d)
{
    return currentPeriod().日付(d).day();
}

std::optional<SelectedCell> selectedCell(const xl::Range& range)
{
    xl::Worksheet& sheet = range.worksheet();
    if (sheet.name() != kShiftSheet)
        return std::nullopt;
    const std::optional<xl::Range> grid = sheet.parent().findName(kGrid, &sheet);
    if (!grid || &grid->worksheet() != &sheet)
        return std::nullopt;
    const int row = range.row() - grid->row() + 1;
    const int column = range.column() - grid->column() + 1;
    if (row < 1 || column < 1 || row > grid->rowCount() || column > grid->columnCount())
        return std::nullopt;
    return SelectedCell{row, column, sheet.cells(range.row(), range.column()).text()};
}

std::optional<SelectedCell> currentSelection()
{
    if (!xlBook)
        return std::nullopt;
    xl::Worksheet* sheet = xlBook->findSheet(kShiftSheet);
    if (!sheet)
        return std::nullopt;
    return selectedCell(sheet->selection());
}

SheetSelectionFollower::SheetSelectionFollower(std::function<void(const SelectedCell&)> selected)
    : book_(xlBook), selected_(std::move(selected))
{
    if (book_)
        book_->addObserver(this);
}

SheetSelectionFollower::~SheetSelectionFollower()
{
    if (book_ && bookAlive(book_))
        book_->removeObserver(this);
}

void SheetSelectionFollower::selectionChange(const xl::Range& target)
{
    if (const std::optional<SelectedCell> cell = selectedCell(target))
        selected_(*cell);
}

void SheetSelectionFollower::closing(xl::Workbook& book)
{
    book.removeObserver(this);
    book_ = nullptr;
}
