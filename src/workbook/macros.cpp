#include "workbook/macros.h"

#include "workbook/condition_file.h"
#include "workbook/layout.h"
#include "workbook/recalc.h"
#include "workbook/sheet_names.h"
#include "workbook/template.h"
#include "workbook/views.h"

#include <map>
#include <memory>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

const QString kShift = kRosterSheet;

xl::Range grid(xl::Workbook& book)
{
    return book.worksheets(kShift).range(u"Time_Table"_s);
}

int memberCount(xl::Workbook& book)
{
    return std::clamp(int(cellNumber(book.worksheets(u"スケジュール"_s).range(u"Member_Cnt"_s).value())), 0,
                      kMaxMembers);
}

QString restSymbol(xl::Workbook& book)
{
    return XlText(book.worksheets(u"基本設定"_s).range(u"Yasumi_Kigou"_s).value()).trimmed();
}

void setFill(xl::Worksheet& ws, int row, int col, const QColor& color)
{
    if (ws.styleAt(row, col).fill != color)
        ws.cells(row, col).interior().setColor(color);
}

// The workbook's events: on the shift sheet the selected grid cell for the manual tools, the row
// and column highlight, and the Dirty flag of a user edit; a view sheet drawn when it is shown.
class ShiftSheetEvents : public xl::WorkbookObserver {
public:
    explicit ShiftSheetEvents(xl::Workbook& book) : book_(book) {}

    void selectionChange(const xl::Range& target) override
    {
        if (target.worksheet().name() != kShift)
            return;
        const xl::Range g = grid(book_);
        const int row = target.row(), col = target.column();
        if (row < g.row() || row > g.lastRow() || col < g.column() || col > g.lastColumn())
            return;
        // Moving around is no change of the book: the shut-down must not ask to save for it.
        const bool wasSaved = book_.saved();
        xl::Worksheet& ws = target.worksheet();
        ws.range(u"行番号"_s).setValue(double(row - g.row() + 1));
        ws.range(u"列番号"_s).setValue(double(col - g.column() + 1));
        ws.range(u"SelRow"_s).setValue(double(row));
        paintSelection(book_);
        book_.setSaved(wasSaved);
    }

    void sheetActivate(xl::Worksheet& sheet) override
    {
        if (!isViewSheet(sheet.name()))
            return;
        const bool wasSaved = book_.saved();
        recalculateView(sheet, readShiftTypes(book_), readPeriod(book_), memberCount(book_));
        book_.setSaved(wasSaved);
    }

    void sheetChange(const xl::Range& target) override
    {
        if (target.worksheet().name() == kShift)
            target.worksheet().range(u"Dirty"_s).setValue(true);
    }

    void closing(xl::Workbook& book) override;

private:
    xl::Workbook& book_;
};

std::map<xl::Workbook*, std::unique_ptr<ShiftSheetEvents>>& handlers()
{
    static std::map<xl::Workbook*, std::unique_ptr<ShiftSheetEvents>> map;
    return map;
}

void ShiftSheetEvents::closing(xl::Workbook& book)
{
    book.removeObserver(this);
    handlers().erase(&book);   // destroys this
}

}  // namespace

void clearShifts(xl::Workbook& book)
{
    xl::Range g = grid(book);
    g.clearContents();
    g.borderAround(xl::kLineNone);
    xl::Worksheet& ws = g.worksheet();
    const Period p = readPeriod(book);
    for (int i = 1; i <= g.rowCount(); ++i) {
        for (int d = 1; d <= g.columnCount(); ++d) {
            const xl::CellStyle& s = ws.styleAt(g.row() + i - 1, g.column() + d - 1);
            const QColor shade = dayShade(p, d);
            const xl::BorderEdge thin{xl::kContinuous, xl::kThin, layout::kGridLine};
            if (s.fill != shade || s.left != thin || s.top != thin || s.bottom != thin || s.right != thin) {
                xl::CellStyle c = s;
                c.fill = shade;
                c.left = c.top = c.bottom = c.right = thin;
                ws.cells(g.row() + i - 1, g.column() + d - 1).setStyle(c);
            }
        }
    }
}

void colourWorkCells(xl::Workbook& book)
{
    const ShiftTypes types = readShiftTypes(book);
    const Period p = readPeriod(book);
    xl::Range g = grid(book);
    const xl::Block b = g.block();
    xl::Worksheet& ws = g.worksheet();
    for (int i = 1; i <= g.rowCount(); ++i) {
        for (int d = 1; d <= g.columnCount(); ++d) {
            const int t = types.indexOf(XlText(b(i, d)).trimmed());
            if (t <= 0)
                continue;
            const QColor c = types.colors[t - 1];
            setFill(ws, g.row() + i - 1, g.column() + d - 1, c.isValid() ? c : dayShade(p, d));
        }
    }
}

void colourRestCells(xl::Workbook& book)
{
    const QString rest = restSymbol(book);
    if (rest.isEmpty())
        return;
    const double index = cellNumber(book.worksheets(u"基本設定"_s).range(u"Color_Yasumi"_s).value());
    const QColor colour = index >= 1 && index <= 56 ? xl::colorFromIndex(int(index)) : QColor();
    const Period p = readPeriod(book);
    xl::Range g = grid(book);
    const xl::Block b = g.block();
    xl::Worksheet& ws = g.worksheet();
    for (int i = 1; i <= g.rowCount(); ++i)
        for (int d = 1; d <= g.columnCount(); ++d)
            if (XlText(b(i, d)).trimmed() == rest)
                setFill(ws, g.row() + i - 1, g.column() + d - 1, colour.isValid() ? colour : dayShade(p, d));
}

void fixShiftSheet(xl::Workbook& book)
{
    book.calculate();
    const int members = memberCount(book);
    const int days = readPeriod(book).dayCount();
    const QString rest = restSymbol(book);
    xl::Range g = grid(book);
    // A month with shifts shows every rest day with the rest symbol; an empty grid stays empty.
    if (!rest.isEmpty() && members > 0 && days > 0
        && cellNumber(g.worksheet().range(u"shift_データ数"_s).value()) > 0) {
        xl::Range used = g.resize(members, days);
        xl::Block b = used.block();
        bool changed = false;
        for (int i = 1; i <= members; ++i)
            for (int d = 1; d <= days; ++d)
                if (XlText(b(i, d)).trimmed().isEmpty()) {
                    b(i, d) = rest;
                    changed = true;
                }
        if (changed)
            used.setBlock(b);
    }
    colourWorkCells(book);
    colourRestCells(book);
    book.calculate();
}

void refreshShiftHeadings(xl::Workbook& book)
{
    book.calculate();
    paintSelection(book);
}

void attach(xl::Workbook& book)
{
    checkNames(book);
    const bool wasSaved = book.saved();
    book.setRecalculation([](xl::Workbook& b) { recalculate(b); });
    auto reg = [&](const QString& name, void (*proc)(xl::Workbook&)) {
        book.registerMacro(kMacroModule, name, [proc](xl::Workbook& b) {
            proc(b);
            return QVariant();
        });
    };
    reg(u"勤務Clear"_s, clearShifts);
    reg(u"勤務色置換"_s, colourWorkCells);
    reg(u"休み色置換"_s, colourRestCells);
    reg(u"MacroFixShift"_s, fixShiftSheet);
    reg(u"人員配置表_シート見出し_Click"_s, refreshShiftHeadings);
    reg(u"先月データ読込み"_s, loadLastMonth);
    condition_file::registerMacros(book);

    auto& map = handlers();
    if (auto it = map.find(&book); it != map.end()) {
        book.removeObserver(it->second.get());
        map.erase(it);
    }
    auto events = std::make_unique<ShiftSheetEvents>(book);
    book.addObserver(events.get());
    map.emplace(&book, std::move(events));

    book.calculate();
    book.setSaved(wasSaved);
}

}  // namespace workbook
