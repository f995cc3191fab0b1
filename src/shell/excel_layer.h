#pragma once
// How the program talks to its workbook: the shared spreadsheet objects, retrying
// calls, the speed switches, named-range access, sheet selection and the roster sheet's protection.
#include "platform/xl/xl.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The shared spreadsheet objects: the application, the open workbook and the current sheet.
inline std::unique_ptr<xl::Application> xlApp;
inline xl::Workbook* xlBook = nullptr;
inline xl::Worksheet* xlSheet = nullptr;
// The application, created when there is none yet.
xl::Application& XlApp();
// The newest export's own application (a window of its own, left open for the user). Earlier
// exports stay open beside it; resetXlGlobals releases them all.
inline xl::Application* xlApp2 = nullptr;
// A new application for an export, which becomes xlApp2; those whose window the user has closed
// are released first.
xl::Application& newExportApplication();
void resetXlGlobals();

// Retrying calls: one call tried up to 10 times with DoWait(100) after each failure (back to
// back while Sw_中止 is set). True when a try succeeded; after the tenth failure a MemLog line
// names the call and its last error, and the caller goes on.
bool xlRetry(const QString& what, const std::function<void()>& call);
// Runs a macro ("book!Macro"); app nullptr = xlApp.
bool xlRunRetry(xl::Application* app, const QString& macro);
// Range.Value = value.
bool xlSetRetry(xl::Range range, const QVariant& value);
// The same for a block of values, without wrapping it in a QVariant.
bool xlSetRetry(xl::Range range, const xl::Block& block);
// The same for some cells of the range.
bool xlSetRetry(xl::Range range, const std::vector<xl::CellValue>& cells);
// Worksheet.Calculate.
bool xlSheetCallRetry(xl::Worksheet& sheet);
// Range.Copy (inside the spreadsheet layer, not the system clipboard).
bool xlObjCallRetry(const xl::Range& range);
// Range.Application.CutCopyMode = value.
bool xlAppPropRetry(const xl::Range& range, int value);
// Range.PasteSpecial(pasteType).
bool 範囲値貼付(xl::Range range, int pasteType);

// Sets screen updating, automatic calculation and events, each only when it differs; errors are
// ignored.
void xlAppSetting(bool screenUpdating, bool calculationAuto, bool enableEvents);
// Saves the three switches (one level only) and turns them off; restores them.
struct XlSavedSwitches {
    bool screenUpdating = true;
    bool enableEvents = true;
    int calculation = xl::kCalculationAutomatic;
};
inline XlSavedSwitches xlSavedSwitches;
void xlSpeedUp();
void xlSpeedRestore();
// The same for an application of its own (an export's).
void xlSpeedUp(xl::Application& app);
void xlSpeedRestore(xl::Application& app);

// xlSpeedUp and xlSpeedRestore in a scope: the switches saved and switched off at construction,
// put back at destruction (errors ignored), so a run leaves them as it found them, also after an
// error. It keeps what its own xlSpeedUp saved, and what an enclosing pair saved is put back
// after it, so scopes nest and a pair inside the scope cannot change what it restores.
class XlSwitchesGuard {
public:
    // The program's application, as XlApp() finds it at each end.
    XlSwitchesGuard();
    explicit XlSwitchesGuard(xl::Application& app);
    // Switches nothing at construction and all three on at destruction: for a step that turns
    // them off and on piece by piece and leaves them on however it ends.
    struct OnAtEnd {};
    explicit XlSwitchesGuard(OnAtEnd);
    ~XlSwitchesGuard();
    XlSwitchesGuard(const XlSwitchesGuard&) = delete;
    XlSwitchesGuard& operator=(const XlSwitchesGuard&) = delete;

private:
    xl::Application* app_ = nullptr;
    bool onAtEnd_ = false;
    XlSavedSwitches outer_;
    XlSavedSwitches own_;
};
// Clears fills and font colours of the columns firstColumn.. of range and empties every cell that
// holds exactly the rest symbol the caller gives. False on success, true on an error;
// the switches and the alert switch are restored in every case.
bool xlSpeedRun(const xl::Range& range, int firstColumn, const QString& restSymbol);

// The value of a named range of a sheet of xlBook as text; throws xl::Error when the sheet or the
// range is missing.
QString xlDtGet(const QString& sheetName, const QString& rangeName);
// Writes the text into the named range; every error is ignored.
void xlDtSet(const QString& sheetName, const QString& rangeName, const QString& value);
// Whether the range resolves on that sheet of the active workbook.
bool xlRangeExist(const QString& rangeName, const QString& sheetName);
// "$D$5:$AH$54" for the block of rows x columns starting at cell.
QString RangeAddr(const xl::Range& cell, long rows, long columns);
// Makes the sheet of xlBook the current and active one, and selects rangeName unless "".
void SheetSelect(const QString& sheetName, const QString& rangeName = {});
// Ends a cell edit in progress in the sheet window (through the application's edit hook) before
// the program touches the workbook; nothing happens while there is no application.
void SndESC();
// Protects the sheet (the roster sheet 人員配置表 of the active workbook for nullptr): contents,
// drawings and scenarios, formatting of rows and columns allowed; every cell selectable or none.
void シート保護(xl::Worksheet* sheet = nullptr, bool allowSelect = true);
void シート保護解除(xl::Worksheet* sheet = nullptr);
// Maximises the sheet window when 基本設定!自動画面最大化 is true, else restores it.
void 自動画面最大化設定();
// The sheet's range of that name, or nothing on any error.
std::optional<xl::Range> GetRangeObj(xl::Worksheet* sheet, const QString& rangeName);

// A cell value as a Boolean (numbers: not 0; "True"/"False"); throws xl::Error 13 otherwise.
bool cellAsBool(const QVariant& value);

// The displayed texts of the range, result[i][j] for i = 1..rows, j = 1..columns; row 0 and
// column 0 empty. Read straight from the cells: the system clipboard is left alone.
void RangeToArray(const xl::Range& range, std::vector<std::vector<QString>>& result);
