// 先月データ読込み: the last days and the counts of the period before the current one, read from
// the database of saved months that lies beside the workbook.
#include "workbook/macros.h"

#include "platform/db/db.h"
#include "platform/text/vb.h"
#include "workbook/recalc.h"
#include "workbook/template.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <algorithm>
#include <map>
#include <vector>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

constexpr int kLastDays = 10;
constexpr int kHeadingRows = 2;
constexpr int kTotalColumn = 11;
constexpr int kHolidayColumn = 13;
// What the save stores for a cell holding "*".
constexpr int kAnyShift = 999;

struct SavedDay {
    double id = 0;
    QDate date;
    int shift = 0;
    bool holiday = false;
};

std::vector<SavedDay> savedDays(const QString& path, const Period& p)
{
    db::Connection c;
    c.open(path, true);
    std::vector<SavedDay> out;
    if (!c.tableExists(u"T_勤務表"_s))
        return out;
    const QString sql = u"SELECT Id, 日付, 勤務No, 休平日 FROM T_勤務表 WHERE 日付 >= ? AND 日付 <= ?"_s;
    QSqlQuery q = c.run(sql, {p.first, p.last});
    while (c.next(q, sql))
        out.push_back({Val(q.value(0).toString()), QDate::fromString(q.value(1).toString(), Qt::ISODate),
                       q.value(2).toInt(), Val(q.value(3).toString()) > 0});
    return out;
}

// Roster row of each member number (the first row holding it).
std::map<double, int> rosterRows(xl::Workbook& book)
{
    xl::Worksheet& sched = book.worksheets(u"スケジュール"_s);
    const int members = std::clamp(int(cellNumber(sched.range(u"Member_Cnt"_s).value())), 0, kMaxMembers);
    const xl::Block list = sched.range(u"Member_List"_s).block();
    std::map<double, int> rows;
    for (int i = 1; i <= members; ++i)
        if (!XlText(list(i, 1)).trimmed().isEmpty())
            rows.emplace(Val(XlText(list(i, 1)).trimmed()), i);
    return rows;
}

QString abbreviation(const ShiftTypes& types, int shift, const QString& rest)
{
    if (shift == kAnyShift)
        return u"*"_s;
    return shift >= 1 && shift <= types.count ? types.abbreviations[shift - 1] : rest;
}

// 先月_結果: two heading rows with the dates and weekdays, then per member the last ten days.
xl::Block lastDays(const Period& prev, const std::vector<SavedDay>& days, const std::map<double, int>& rows,
                   const ShiftTypes& types, const QString& rest)
{
    xl::Block b(kHeadingRows + kMaxMembers, kLastDays);
    if (days.empty())
        return b;
    const QDate first = prev.last.addDays(1 - kLastDays);
    for (int k = 1; k <= kLastDays; ++k) {
        const QDate d = first.addDays(k - 1);
        b(1, k) = u"%1/%2"_s.arg(d.month()).arg(d.day());
        b(2, k) = Format(d, u"aaa"_s);
    }
    int members = 0;
    for (const auto& [id, row] : rows)
        members = std::max(members, row);
    for (int i = 1; i <= members; ++i)
        for (int k = 1; k <= kLastDays; ++k)
            b(kHeadingRows + i, k) = rest;
    for (const SavedDay& s : days) {
        const auto it = rows.find(s.id);
        const qint64 k = first.daysTo(s.date) + 1;
        if (it != rows.end() && k >= 1 && k <= kLastDays)
            b(kHeadingRows + it->second, int(k)) = abbreviation(types, s.shift, rest);
    }
    return b;
}

// 過去計: per member the count of each shift type, their total and the holidays worked.
xl::Block counts(const std::vector<SavedDay>& days, const std::map<double, int>& rows, const ShiftTypes& types)
{
    xl::Block b(kMaxMembers, kHolidayColumn);
    for (const auto& [id, row] : rows) {
        for (int t = 1; t <= types.count; ++t)
            b(row, t) = 0.0;
        b(row, kTotalColumn) = 0.0;
        b(row, kHolidayColumn) = 0.0;
    }
    for (const SavedDay& s : days) {
        const auto it = rows.find(s.id);
        if (it == rows.end() || s.shift < 1 || s.shift > types.count)
            continue;
        const int i = it->second;
        b(i, s.shift) = b(i, s.shift).toDouble() + 1;
        b(i, kTotalColumn) = b(i, kTotalColumn).toDouble() + 1;
        if (s.holiday)
            b(i, kHolidayColumn) = b(i, kHolidayColumn).toDouble() + 1;
    }
    return b;
}

}  // namespace

void loadLastMonth(xl::Workbook& book)
{
    // A book never saved has no folder, and a folder without a database has no saved month.
    const QString path = QDir(book.path()).filePath(u"集計.db"_s);
    if (book.path().isEmpty() || !QFileInfo::exists(path))
        return;
    xl::Worksheet& main = book.worksheets(u"Main"_s);
    const int year = int(cellNumber(main.range(u"年"_s).value()));
    const int month = int(cellNumber(main.range(u"月"_s).value()));
    if (!readPeriod(book).first.isValid())
        return;
    const Period prev = periodOf(year, month - 1, int(cellNumber(main.range(u"基準開始日"_s).value())));
    // Everything is read before the first cell changes, so a failing read leaves the sheet as it was.
    const std::vector<SavedDay> days = savedDays(path, prev);
    const std::map<double, int> rows = rosterRows(book);
    const ShiftTypes types = readShiftTypes(book);
    const QString rest = XlText(book.worksheets(u"基本設定"_s).range(u"Yasumi_Kigou"_s).value()).trimmed();

    book.names(u"先月_月"_s).setValue(days.empty() ? QVariant() : QVariant(double(month == 1 ? 12 : month - 1)));
    book.names(u"先月_結果"_s).setBlock(lastDays(prev, days, rows, types, rest));
    book.names(u"過去計"_s).setBlock(counts(days, rows, types));
}

}  // namespace workbook
