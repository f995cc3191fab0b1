#include "storage/restore.h"

#include "engine/conditions.h"
#include "engine/convert.h"
#include "engine/model.h"
#include "engine/sheet_refresh.h"
#include "engine/start_conditions.h"
#include "engine/workbook_access.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "shell/status.h"
#include "storage/pivot.h"
#include "storage/saved_shifts.h"
#include "workbook/sheet_names.h"

#include <QScopeGuard>

namespace {

// The start-condition dialog's values, with the period's year, month and first day.
bool switchStartConditions(const SavedPeriod& row)
{
    StartConditions c = readStartConditions();
    c.年 = QString::number(row.年);
    c.月 = QString::number(row.月);
    c.基準開始日 = QString::number(row.基準開始日);
    return 開始条件設定(c);
}

// The block of members 1..Member_Cnt by days 1..Day_Cnt: each saved abbreviation at its member
// and day, empty text everywhere else (so no shift of another month stays on the sheet).
xl::Block restoreBlock(const 期間& p, const std::vector<QVariantList>& saved)
{
    xl::Block block(Member_Cnt, Day_Cnt);
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = 1; d <= Day_Cnt; ++d)
            block(m, d) = QString();
    for (const QVariantList& r : saved) {
        const int m = MemIdxOrM1(r[0].toInt());
        const int d = int(p.開始日.daysTo(QDate::fromString(r[1].toString(), Qt::ISODate))) + 1;
        if (m > 0 && d >= 1 && d <= Day_Cnt)
            block(m, d) = r[2].isNull() ? QString() : r[2].toString();
    }
    return block;
}

void replaceColours(const QString& macro)
{
    XlApp().run(stBookName + QStringLiteral("!") + macro);
}

}  // namespace

bool シフト復元_本シート(const SavedPeriod& row)
{
    // Whatever can fail is read before the month switches: the base information (the start
    // conditions carry the weights of the shift types read here) and the saved rows.
    if (!基本情報読込())
        return false;
    std::vector<QVariantList> saved;
    if (!readAllRows(QStringLiteral("SELECT Id, 日付, 略称 FROM Q_勤務表 ") + periodWhere(row.period)
                      + QStringLiteral(" ORDER BY Id, 日付"),
                  saved))
        return false;
    // The sizes of the new month can only be read once it is switched to. Should that fail, the
    // month shown before comes back, so that the sheet's shifts never stand under other dates.
    const StartConditions before = readStartConditions();
    const auto switchBack = [&before] {
        開始条件設定(before);
        基本情報読込();
    };
    if (!switchStartConditions(row) || !基本情報読込()) {
        switchBack();
        return false;
    }
    const auto done = qScopeGuard([] {
        xlAppSetting(true, true, true);
        DspSplash(QString());
    });
    const xl::Range grid = shiftBookRange(kRosterSheet, QStringLiteral("Time_Table"));
    xl::Worksheet& sheet = grid.worksheet();
    シート保護解除(&sheet);
    xlAppSetting(false, false, false);
    try {
        if (Member_Cnt > 0 && Day_Cnt > 0)
            grid.resize(Member_Cnt, Day_Cnt).setBlock(restoreBlock(row.period, saved));
    } catch (const VbError&) {
        switchBack();
        throw;
    }
    replaceColours(QStringLiteral("勤務色置換"));
    人員配置表更新();
    xlAppSetting(true, true, true);
    xlAppSetting(false, false, false);
    replaceColours(QStringLiteral("休み色置換"));
    シート保護(&sheet, true);
    return true;
}
