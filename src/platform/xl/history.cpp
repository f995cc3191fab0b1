// Undo and Redo of the user's own edits.
#include "error.h"
#include "workbook.h"
#include "worksheet.h"

namespace xl {

namespace {

int userActions = 0;   // one UI thread; a workbook may close inside an action

using Cells = std::map<std::pair<int, int>, Cell>;

bool inArea(const std::pair<int, int>& at, const QRect& area)
{
    return at.first >= area.top() && at.first <= area.bottom() && at.second >= area.left() && at.second <= area.right();
}

// The stored cells of an area, row by row (or over the whole map when that is shorter).
template <class F>
void forCellsIn(Cells& cells, const QRect& area, F&& f)
{
    if (qint64(area.height()) > qint64(cells.size())) {
        for (auto& [at, cell] : cells)
            if (inArea(at, area))
                f(at, cell);
        return;
    }
    for (int r = area.top(); r <= area.bottom(); ++r)
        for (auto it = cells.lower_bound({r, area.left()}); it != cells.end() && it->first.first == r && it->first.second <= area.right(); ++it)
            f(it->first, it->second);
}

}  // namespace

Workbook::UserAction::UserAction()
{
    ++userActions;
}

Workbook::UserAction::~UserAction()
{
    --userActions;
}

bool Workbook::UserAction::active()
{
    return userActions > 0;
}

Workbook::EditStep Workbook::takeStep(int sheet, const QRect& area)
{
    EditStep step{sheet, area, {}, {}};
    forCellsIn(data_.sheets[size_t(sheet)].cells, area, [&](const std::pair<int, int>& at, const Cell& cell) {
        step.cells.emplace_back(at, cell);
    });
    return step;
}

void Workbook::recordUserEdit(EditStep before)
{
    // Typing a date gives a General cell a date format: undoing the entry takes it back.
    Cells was(before.cells.begin(), before.cells.end());
    forCellsIn(data_.sheets[size_t(before.sheet)].cells, before.area, [&](const std::pair<int, int>& at, const Cell& cell) {
        const auto it = was.find(at);
        const int old = it == was.end() ? 0 : it->second.style;
        if (old != cell.style)
            before.formats.push_back({at, {old, cell.style}});
    });
    undo_.push_back(std::move(before));
    if (undo_.size() > kUndoSteps)
        undo_.erase(undo_.begin());
    redo_.clear();
}

void Workbook::undo()
{
    stepBack(undo_, redo_);
}

void Workbook::redo()
{
    stepBack(redo_, undo_);
}

// Puts back the newest step of from and keeps what it replaced as the newest step of to.
void Workbook::stepBack(std::vector<EditStep>& from, std::vector<EditStep>& to)
{
    if (from.empty())
        throw Error(1004, QStringLiteral("元に戻せる操作がありません。 (Nothing to undo or redo)"));
    const EditStep step = from.back();
    Worksheet& ws = *sheets_[size_t(step.sheet)];
    const QRect& a = step.area;
    const Range target(&ws, a.top(), a.left(), a.bottom(), a.right());
    ws.checkUserEditable(target);
    ws.activate();   // the step's sheet comes to the front, as the spreadsheet does

    const UserAction action;
    EditStep replaced = takeStep(step.sheet, a);
    for (const auto& [at, styles] : step.formats)
        replaced.formats.push_back({at, {styles.second, styles.first}});
    Cells& cells = ws.sheet().cells;
    forCellsIn(cells, a, [](const std::pair<int, int>&, Cell& cell) {
        cell.value = QVariant();
        cell.formula.clear();
    });
    for (const auto& [at, cell] : step.cells) {
        Cell& c = cells[at];
        c.value = cell.value;
        c.formula = cell.formula;
    }
    for (const auto& [at, styles] : step.formats) {
        const auto it = cells.find(at);
        if (it != cells.end() && it->second.style == styles.second)
            it->second.style = styles.first;
    }
    std::erase_if(cells, [&](const auto& entry) {
        const Cell& c = entry.second;
        return inArea(entry.first, a) && !c.value.isValid() && c.formula.isEmpty() && c.style == 0;
    });
    from.pop_back();
    to.push_back(std::move(replaced));
    cellsWritten(ws, a, true);
    ws.userSelect(target);
    if (eventsOn())
        notify([&](WorkbookObserver* o) { o->sheetChange(target); });
}

}  // namespace xl
