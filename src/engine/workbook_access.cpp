#include "engine/workbook_access.h"

#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "workbook/sheet_names.h"

namespace {

QString missingText(const QString& sheet, const QString& name)
{
    if (sheet.isEmpty())
        return QStringLiteral("ワークブックに名前「%1」がありません！").arg(name);
    if (name.isEmpty())
        return QStringLiteral("シート「%1」がありません！").arg(sheet);
    return QStringLiteral("シート「%1」に名前「%2」がありません！").arg(sheet, name);
}

xl::Worksheet& sheetOf(xl::Workbook& book, const QString& sheetName, const QString& rangeName)
{
    if (xl::Worksheet* ws = book.findSheet(sheetName))
        return *ws;
    throw MissingRangeError(sheetName, rangeName);
}

xl::Range rangeOn(xl::Worksheet& sheet, const QString& sheetName, const QString& rangeName)
{
    try {
        return sheet.range(rangeName);
    } catch (const xl::Error&) {
        throw MissingRangeError(sheetName, rangeName);
    }
}

xl::Workbook& activeBook(const QString& sheetName, const QString& rangeName)
{
    if (xl::Workbook* book = XlApp().activeWorkbook())
        return *book;
    throw MissingRangeError(sheetName, rangeName);
}

}  // namespace

MissingRangeError::MissingRangeError(QString sheet_, QString name_)
    : xl::Error(1004, missingText(sheet_, name_)), sheet(std::move(sheet_)), name(std::move(name_))
{
}

xl::Range activeBookRange(const QString& sheetName, const QString& rangeName)
{
    return rangeOn(sheetOf(activeBook(sheetName, rangeName), sheetName, rangeName), sheetName, rangeName);
}

xl::Range bookLevelRange(const QString& rangeName)
{
    try {
        return XlApp().range(rangeName);
    } catch (const xl::Error&) {
        throw MissingRangeError({}, rangeName);
    }
}

xl::Range shiftBookRange(const QString& sheetName, const QString& rangeName)
{
    if (!xlBook)
        throw MissingRangeError(sheetName, rangeName);
    return rangeOn(sheetOf(*xlBook, sheetName, rangeName), sheetName, rangeName);
}

bool RangeExist(xl::Worksheet& sheet, const QString& rangeName)
{
    try {
        return !sheet.range(rangeName).name().isEmpty();
    } catch (const std::exception&) {
        return false;
    }
}

bool runLastMonthMacro(xl::Application& app, const std::function<void()>& announce)
{
    if (!GetRangeBool(kRosterSheet, QStringLiteral("過去累計使用")))
        return false;
    announce();
    try {
        app.run(stBookName + QStringLiteral("!先月データ読込み"));
    } catch (const std::exception&) {
    }
    return true;
}

bool GetRangeBool(const QString& sheetName, const QString& rangeName)
{
    try {
        return cellAsBool(shiftBookRange(sheetName, rangeName).value());
    } catch (const std::exception&) {
        return false;
    }
}

void SetRangeValue(const QString& sheetName, const QString& rangeName, bool value)
{
    try {
        shiftBookRange(sheetName, rangeName).setValue(value);
    } catch (const std::exception&) {
    }
}
