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
bool 月再読込();

// Cell (m, d) of range Time_Table of sheet 人員配置表 of the open workbook.
xl::Range 勤務セル(int m, int d);
// The text a cell of shift s shows: its abbreviation, the rest symbol for 0.
QString 勤務記号(int s);
// Day d of the period as its day of the month.
int 期間日(int d);

// A selected grid cell: member row and period day (both from 1) and the text it holds.
struct 選択セル {
    int member = 0;
    int day = 0;
    QString text;
};

// The grid cell range lies in, when it is a cell of Time_Table on 人員配置表.
std::optional<選択セル> 選択セル取得(const xl::Range& range);
// The cell currently selected on 人員配置表, when it is a grid cell.
std::optional<選択セル> 現在の選択セル();

// Reports every selection of a grid cell of the open workbook to a window while it lives; a
// closed workbook stops the reports.
class シート選択追従 : private xl::WorkbookObserver {
public:
    explicit シート選択追従(std::function<void(const 選択セル&)> selected);
    ~シート選択追従() override;
    シート選択追従(const シート選択追従&) = delete;
    シート選択追従& operator=(const シート選択追従&) = delete;

private:
    void selectionChange(const xl::Range& target) override;
    void closing(xl::Workbook& book) override;

    xl::Workbook* book_ = nullptr;
    std::function<void(const 選択セル&)> selected_;
};
