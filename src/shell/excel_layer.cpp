#include "shell/excel_layer.h"

#include "platform/ui/guard.h"
#include "shell/mylog.h"
#include "shell/mymod.h"
#include "workbook/sheet_names.h"

#include <exception>

namespace {

// Runs one step whose errors are ignored; says whether it ran through.
template <class F>
bool ignoring(F step)
{
    try {
        step();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

xl::Worksheet& rosterSheet(xl::Worksheet* sheet)
{
    return sheet ? *sheet : XlApp().worksheets(kRosterSheet);
}

std::vector<std::unique_ptr<xl::Application>>& exportApps()
{
    static std::vector<std::unique_ptr<xl::Application>> apps;
    return apps;
}

xl::Workbook& book()
{
    if (!xlBook)
        throw xl::Error(91, QStringLiteral("オブジェクト変数が設定されていません。"));
    return *xlBook;
}

}  // namespace

xl::Application& XlApp()
{
    if (!xlApp)
        xlApp = std::make_unique<xl::Application>();
    return *xlApp;
}

xl::Application& newExportApplication()
{
    auto& apps = exportApps();
    std::erase_if(apps, [](const std::unique_ptr<xl::Application>& app) { return app->hasQuit(); });
    apps.push_back(std::make_unique<xl::Application>());
    xlApp2 = apps.back().get();
    return *xlApp2;
}

void resetXlGlobals()
{
    xlSheet = nullptr;
    xlBook = nullptr;
    xlApp2 = nullptr;
    exportApps().clear();
    xlApp.reset();
    xlSavedSwitches = XlSavedSwitches{};
}

bool xlRetry(const QString& what, const std::function<void()>& call)
{
    QString last;
    for (int attempt = 1; attempt <= 10; ++attempt) {
        try {
            call();
            return true;
        } catch (...) {
            last = ui::errorText(std::current_exception());
        }
        DoWait(100);
    }
    MemLog(what + QStringLiteral(" 10回失敗: ") + last);
    return false;
}

bool xlRunRetry(xl::Application* app, const QString& macro)
{
    return xlRetry(QStringLiteral("xlRunRetry ") + macro, [&] { (app ? *app : XlApp()).run(macro); });
}

bool xlSetRetry(xl::Range range, const QVariant& value)
{
    return xlRetry(QStringLiteral("xlSetRetry ") + range.address(), [&] { range.setValue(value); });
}

bool xlSetRetry(xl::Range range, const xl::Block& block)
{
    return xlRetry(QStringLiteral("xlSetRetry ") + range.address(), [&] { range.setBlock(block); });
}

bool xlSetRetry(xl::Range range, const std::vector<xl::CellValue>& cells)
{
    return xlRetry(QStringLiteral("xlSetRetry ") + range.address(), [&] { range.setCells(cells); });
}

bool xlSheetCallRetry(xl::Worksheet& sheet)
{
    return xlRetry(QStringLiteral("xlSheetCallRetry ") + sheet.name(), [&] { sheet.calculate(); });
}

bool xlObjCallRetry(const xl::Range& range)
{
    return xlRetry(QStringLiteral("xlObjCallRetry ") + range.address(), [&] { range.copy(); });
}

bool xlAppPropRetry(const xl::Range& range, int value)
{
    return xlRetry(QStringLiteral("xlAppPropRetry ") + range.address(),
                   [&] { range.application().setCutCopyMode(value); });
}

bool 範囲値貼付(xl::Range range, int pasteType)
{
    return xlRetry(QStringLiteral("範囲値貼付 ") + range.address(), [&] { range.pasteSpecial(pasteType); });
}

void xlAppSetting(bool screenUpdating, bool calculationAuto, bool enableEvents)
{
    xl::Application& app = XlApp();
    ignoring([&] {
        if (app.screenUpdating() != screenUpdating)
            app.setScreenUpdating(screenUpdating);
    });
    ignoring([&] {
        const int target = calculationAuto ? xl::kCalculationAutomatic : xl::kCalculationManual;
        if (app.calculation() != target)
            app.setCalculation(target);
    });
    ignoring([&] {
        if (app.enableEvents() != enableEvents)
            app.setEnableEvents(enableEvents);
    });
}

void xlSpeedUp()
{
    xlSpeedUp(XlApp());
}

void xlSpeedRestore()
{
    xlSpeedRestore(XlApp());
}

void xlSpeedUp(xl::Application& app)
{
    ignoring([&] {
        xlSavedSwitches.screenUpdating = app.screenUpdating();
        xlSavedSwitches.enableEvents = app.enableEvents();
        xlSavedSwitches.calculation = app.calculation();
    });
    ignoring([&] { app.setScreenUpdating(false); });
    ignoring([&] { app.setEnableEvents(false); });
    ignoring([&] { app.setCalculation(xl::kCalculationManual); });
}

void xlSpeedRestore(xl::Application& app)
{
    ignoring([&] { app.setEnableEvents(xlSavedSwitches.enableEvents); });
    ignoring([&] { app.setCalculation(xlSavedSwitches.calculation); });
    ignoring([&] { app.setScreenUpdating(xlSavedSwitches.screenUpdating); });
}

XlSwitchesGuard::XlSwitchesGuard()
    : outer_(xlSavedSwitches)
{
    xlSpeedUp();
    own_ = xlSavedSwitches;
}

XlSwitchesGuard::XlSwitchesGuard(xl::Application& app)
    : app_(&app), outer_(xlSavedSwitches)
{
    xlSpeedUp(app);
    own_ = xlSavedSwitches;
}

XlSwitchesGuard::XlSwitchesGuard(OnAtEnd)
    : onAtEnd_(true)
{
}

XlSwitchesGuard::~XlSwitchesGuard()
{
    if (onAtEnd_) {
        try {
            xlAppSetting(true, true, true);
        } catch (...) {
        }
        return;
    }
    xlSavedSwitches = own_;
    try {
        if (app_)
            xlSpeedRestore(*app_);
        else
            xlSpeedRestore();
    } catch (...) {
        // Nothing may leave a destructor; the switches stay as they are.
    }
    xlSavedSwitches = outer_;
}

bool xlSpeedRun(const xl::Range& range, int firstColumn, const QString& restSymbol)
{
    xlSpeedUp();
    xlAppSetting(false, false, false);
    // Every way out restores the switches and the alerts.
    struct Restore {
        ~Restore()
        {
            ignoring([] { XlApp().setDisplayAlerts(true); });
            xlSpeedRestore();
        }
    } restore;
    const bool cleared = ignoring([&] {
        const int n = range.columnCount();
        xl::Range block = range.offset(0, firstColumn - 1).resize(range.rowCount(), n - firstColumn + 1);
        XlApp().setDisplayAlerts(false);
        block.interior().setColorIndex(xl::kColorIndexNone);
        block.font().setColorIndex(xl::kColorIndexAutomatic);
        // Whole cells only: an abbreviation containing the rest symbol stays as it is.
        block.replace(restSymbol, QString());
    });
    return !cleared;
}

bool cellAsBool(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType: return false;
    case QMetaType::Bool: return value.toBool();
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong: return value.toDouble() != 0;
    default: break;
    }
    const QString s = value.toString().trimmed();
    if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double d = s.toDouble(&ok);
    if (ok)
        return d != 0;
    throw xl::Error(13, QStringLiteral("型が一致しません。"));
}

QString xlDtGet(const QString& sheetName, const QString& rangeName)
{
    return XlText(book().worksheets(sheetName).range(rangeName).value());
}

void xlDtSet(const QString& sheetName, const QString& rangeName, const QString& value)
{
    ignoring([&] { book().worksheets(sheetName).range(rangeName).setValue(value); });
}

bool xlRangeExist(const QString& rangeName, const QString& sheetName)
{
    return ignoring([&] { XlApp().worksheets(sheetName).range(rangeName); });
}

QString RangeAddr(const xl::Range& cell, long rows, long columns)
{
    return cell.address() + QLatin1Char(':') + cell.offset(int(rows - 1), int(columns - 1)).address();
}

void SheetSelect(const QString& sheetName, const QString& rangeName)
{
    xlSheet = &book().worksheets(sheetName);
    xlSheet->activate();
    if (!rangeName.isEmpty())
        xlSheet->range(rangeName).select();
}

void SndESC()
{
    if (xlApp)
        xlApp->cancelCellEdit();
}

void シート保護(xl::Worksheet* sheet, bool allowSelect)
{
    xl::Worksheet& ws = rosterSheet(sheet);
    ignoring([&] { ws.protect(true, true, true, false, true, true); });
    ignoring([&] { ws.setEnableSelection(allowSelect ? xl::kSelectAny : xl::kSelectNone); });
}

void シート保護解除(xl::Worksheet* sheet)
{
    ignoring([&] { rosterSheet(sheet).unprotect(); });
}

void 自動画面最大化設定()
{
    const bool maximise = cellAsBool(book().worksheets(QStringLiteral("基本設定")).range(QStringLiteral("自動画面最大化")).value());
    XlApp().setWindowState(maximise ? xl::kMaximized : xl::kNormal);
}

std::optional<xl::Range> GetRangeObj(xl::Worksheet* sheet, const QString& rangeName)
{
    if (!sheet)
        return std::nullopt;
    std::optional<xl::Range> found;
    ignoring([&] { found = sheet->range(rangeName); });
    return found;
}

void RangeToArray(const xl::Range& range, std::vector<std::vector<QString>>& result)
{
    const int rows = range.rowCount();
    const int columns = range.columnCount();
    const xl::Worksheet& sheet = range.parent();
    result.assign(size_t(rows) + 1, std::vector<QString>(size_t(columns) + 1));
    for (int i = 1; i <= rows; ++i)
        for (int j = 1; j <= columns; ++j)
            result[size_t(i)][size_t(j)] = sheet.textAt(range.row() + i - 1, range.column() + j - 1);
}
