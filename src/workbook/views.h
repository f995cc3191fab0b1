#pragma once
// The five view sheets of the published site. Each shows one page, chosen by its index cell,
// drawn from the shift grid and the conditions; they are laid out to be read as pictures on a
// phone, inside the ranges the site pictures.
#include "platform/xl/xl.h"

namespace workbook {

struct ShiftTypes;
struct Period;

// Whether the sheet is one of the five views: シフト別 (page = shift type, A4 = most staff on a
// day), シフト一覧 (1 names on lines, 2 names joined by "／"), 日別要員 (page = day - 1,
// YoinMax = most names in a row), 時間帯別 (page = day - 1) and 個人別 (page = roster row).
bool isViewSheet(const QString& name);
// Redraws the view sheet for the page its index cell names.
void recalculateView(xl::Worksheet& view, const ShiftTypes& types, const Period& period, int memberCnt);

}  // namespace workbook
