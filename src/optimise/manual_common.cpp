#include "optimise/manual_common.h"

#include "engine/conditions.h"
#include "engine/convert.h"
#include "engine/model.h"
#include "engine/shiftload.h"
#include "engine/totals.h"
#include "shell/myexcel.h"
#include "shell/period.h"

namespace {

const QString kShiftSheet = QStringLiteral("人員配置表");
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

bool 月再読込()
{
    if (全条件読込(-1) < 0)
        return false;
    // The condition reading has counted the reservations already; the sheet holds them too.
    if (!シフト表読込(1, Day_Cnt, -1, -1))
        return false;
    集計再計算();
    return true;
}

xl::Range 勤務セル(int m, int d)
{
    return openBook().worksheets(kShiftSheet).range(kGrid).cells(m, d);
}

QString 勤務記号(int s)
{
    return s == 0 ? Yasumi_Kigou : TypeText2(s);
}

int 期間日(int d)
{
    return 現在期間().日付(d).day();
}

std::optional<選択セル> 選択セル取得(const xl::Range& range)
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
    return 選択セル{row, column, sheet.cells(range.row(), range.column()).text()};
}

std::optional<選択セル> 現在の選択セル()
{
    if (!xlBook)
        return std::nullopt;
    xl::Worksheet* sheet = xlBook->findSheet(kShiftSheet);
    if (!sheet)
        return std::nullopt;
    return 選択セル取得(sheet->selection());
}

シート選択追従::シート選択追従(std::function<void(const 選択セル&)> selected)
    : book_(xlBook), selected_(std::move(selected))
{
    if (book_)
        book_->addObserver(this);
}

シート選択追従::~シート選択追従()
{
    if (book_ && bookAlive(book_))
        book_->removeObserver(this);
}

void シート選択追従::selectionChange(const xl::Range& target)
{
    if (const std::optional<選択セル> cell = 選択セル取得(target))
        selected_(*cell);
}

void シート選択追従::closing(xl::Workbook& book)
{
    book.removeObserver(this);
    book_ = nullptr;
}
