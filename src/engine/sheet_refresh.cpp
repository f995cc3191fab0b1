#include "engine/sheet_refresh.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "shell/excel_layer.h"
#include "shell/mylog.h"
#include "shell/mymod.h"
#include "shell/status.h"
#include "workbook/sheet_names.h"

#include <functional>

namespace {

// Frames the member-days that test true, inside one error trap that ends in the memory log.
void frameCells(long colour, const QString& name, const QString& message, const std::function<bool(int, int)>& framed)
{
    if (colour == 0) {
        xlAppSetting(true, true, true);
        return;
    }
    int number = 0;
    QString description;
    try {
        xlAppSetting(false, false, false);
        if (!xlSheet)
            throw VbError(91, QStringLiteral("オブジェクト変数が設定されていません。"));
        const xl::Range grid = xlSheet->range(QStringLiteral("Time_Table"));
        DspSplash(message);
        for (int i = 1; i <= Member_Cnt; ++i)
            for (int d = 1; d <= Day_Cnt; ++d)
                if (framed(i, d))
                    grid.cells(i, d).borderAround(xl::kContinuous, xl::kThick, int(colour));
    } catch (const VbError& e) {
        number = e.number;
        description = e.description;
    }
    MemLog(QString::number(number) + QLatin1Char(' ') + description + QStringLiteral("\r\n\r\n") + name);
    xlAppSetting(true, true, true);
}

}  // namespace

QString 人員配置表範囲()
{
    const QString letters = ColName(Day_Cnt + 3);
    const int lastRow = Member_Cnt + 4;
    if (!xlBook)
        throw VbError(91, QStringLiteral("オブジェクト変数が設定されていません。"));
    xlSheet = &xlBook->worksheets(kRosterSheet);
    return QStringLiteral("D5:") + letters + QString::number(lastRow);
}

void xlRangeReplace(const xl::Range& range, const QString& what, const QString& replacement)
{
    xl::Application& app = range.application();
    const XlSwitchesGuard frozen(app);
    const bool alerts = app.displayAlerts();
    try {
        app.setDisplayAlerts(false);
        range.replace(what, replacement);
    } catch (const std::exception&) {
    }
    app.setDisplayAlerts(alerts);
}

void 人員配置表更新()
{
    XlApp().setCalculation(xl::kCalculationManual);
    const QString address = 人員配置表範囲();
    xl::Worksheet& sheet = *xlSheet;
    const xl::SheetProtection before = sheet.protection();
    if (before.protectedSheet)
        sheet.unprotect();
    xlRangeReplace(sheet.range(address), QString(), Yasumi_Kigou);
    if (before.protectedSheet) {
        sheet.protect(before.drawingObjects, before.contents, before.scenarios, before.userInterfaceOnly,
                      before.allowFormattingColumns, before.allowFormattingRows);
        sheet.setEnableSelection(before.enableSelection);
    }
    xlSheetCallRetry(sheet);
}

void 予約強調表示(long colour)
{
    frameCells(colour, QStringLiteral("予約強調表示"), QStringLiteral("予約強調処理中"),
               [](int i, int d) { return Rsv_Table_Copy(i, d) != 0; });
}

void 全勤務不可強調表示(long colour)
{
    const long all = AllTypeMask();
    frameCells(colour, QStringLiteral("全勤務不可強調表示"), QStringLiteral("全勤務不可強調表示"),
               [all](int i, int d) { return Member_Scdl(i, d) == all; });
}
