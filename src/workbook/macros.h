#pragma once
// The workbook's code: its macros, the shift sheet's event handlers and the recalculation,
// installed on a workbook (the file keeps none of them).
#include "platform/xl/xl.h"

#include <QString>

namespace workbook {

// The module the macros are registered in: "MyMainから起動.勤務Clear" and "勤務Clear" both run.
inline const QString kMacroModule = QStringLiteral("MyMainから起動");

// Installs the recalculation hook, the macros and the event handlers of 人員配置表 on book and
// recalculates it once (counts are never taken from the file). Keeps the book's Saved state.
// Calling it again on the same book replaces what it installed. A book whose sheets or names are
// not the template's is refused first (checkNames of template.h), with nothing installed.
void attach(xl::Workbook& book);

// The macros, also callable directly.
void clearShifts(xl::Workbook& book);          // 勤務Clear
void colourWorkCells(xl::Workbook& book);      // 勤務色置換
void colourRestCells(xl::Workbook& book);      // 休み色置換
void fixShiftSheet(xl::Workbook& book);        // MacroFixShift
void refreshShiftHeadings(xl::Workbook& book); // 人員配置表_シート見出し_Click
// 先月データ読込み: 先月_月, 先月_結果 and 過去計 from the period before the current one as saved in
// 集計.db beside the book; nothing changes for a book without a folder or a folder without one.
void loadLastMonth(xl::Workbook& book);

}  // namespace workbook
