#pragma once
// What the three manual tools (the exchange list, the assignability test and the re-adjustment)
// share: the month reloaded from the sheet before each test, the grid cell of a member and day,
// and the cell the user selects on the shift sheet, heard from the workbook's selection event.
#include "platform/xl/xl.h"

#include <QString>
#include <functional>
#include <optional>

// The conditions and the table as the sheet holds them now, hand edits included, each assignment
// counted once in the member totals. False when they could not be read (the message was shown).
bool reloadMonth();

// Cell (m, d) of range Time_Table of sheet 人員配置表 of the open workbook.
xl::Range shiftCell(int m, int d);
// The text a cell of shift s shows: its abbreviation, the rest symbol for 0.
QString shiftSymbol(int s);
// Day d of the period as its day of the month.
int dayOfMonth(int d);

// A selected grid cell: member row and period day (both from 1) and the text it holds.
struct SelectedCell {
    int member = 0;
    int day = 0;
    QString text;
};

// The grid cell range lies in, when it is a cell of Time_Table on 人員配置表.
std::optional<SelectedCell> selectedCell(const xl::Range& range);
// The cell currently selected on 人員配置表, when it is a grid cell.
std::optional<SelectedCell> currentSelection();

// Reports every selection of a grid cell of the open workbook to a window while it lives; a
// closed workbook stops the reports.
class SheetSelectionFollower : private xl::WorkbookObserver {
public:
    explicit SheetSelectionFollower(std::function<void(const SelectedCell&)> selected);
    ~SheetSelectionFollower() override;
    SheetSelectionFollower(const SheetSelectionFollower&) = delete;
    SheetSelectionFollower& operator=(const SheetSelectionFollower&) = delete;

private:
    void selectionChange(const xl::Range& target) override;
    void closing(xl::Workbook& book) override;

    xl::Workbook* book_ = nullptr;
    std::function<void(const SelectedCell&)> selected_;
};
