#pragma once
// Saved periods written into a new workbook of an application of its own, left open for the user
// (who may save it under a name of their choosing): a shift table per period, a cross-tab of the
// shifts per member over the whole span, and the span's saved rows.
#include <vector>

namespace xl { class Application; }
struct SavedPeriod;

// Which sheets an export makes; each ticked kind takes the next sheet, in the order シフト表,
// クロス集計, 期間データ.
struct ExportKinds {
    bool クロス集計 = false;
    bool シフト表 = false;
    bool 期間データ = false;
};

// span: the selected periods, newest first. Nothing ticked: a message, and no workbook. An empty
// span: nothing. Every row is read before the new workbook is made, so a database failure (after
// its message) makes none. Returns the new application (xlApp2), nullptr when none was made.
xl::Application* シフト復元_別シート(const std::vector<SavedPeriod>& span, const ExportKinds& kinds);
