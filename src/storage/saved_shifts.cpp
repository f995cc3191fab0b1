#include "storage/saved_shifts.h"

#include "shell/globals.h"
#include "shell/rs_db.h"

namespace {

QString iso(const QDate& d)
{
    return d.toString(Qt::ISODate);
}

// The first value of the query; nothing after the database's message.
std::optional<QVariant> readValue(const QString& sql)
{
    if (RsOpen(sql, false, {}, true, true) != 0)
        return std::nullopt;
    const QVariant v = rs.EndOfFile() ? QVariant() : rs.Fields(0).Value();
    RsClose();
    return v;
}

// The roster month whose period (starting on startDay) contains the day. Periods of consecutive
// months meet without a gap, and the period of two months back always begins before the day's
// month, so one of these three holds it.
QDate monthContaining(const QDate& day, long startDay)
{
    const QDate month(day.year(), day.month(), 1);
    for (int back = 0; back < 2; ++back) {
        const QDate m = month.addMonths(-back);
        if (periodFor(m.year(), m.month(), startDay).開始日 <= day)
            return m;
    }
    return month.addMonths(-2);
}

}  // namespace

QString periodWhere(const 期間& p)
{
    return QStringLiteral("WHERE 日付 >= '%1' AND 日付 <= '%2'").arg(iso(p.開始日), iso(p.終了日));
}

std::optional<std::vector<SavedPeriod>> readSavedPeriods()
{
    const std::optional<QVariant> last = readValue(QStringLiteral("SELECT max(日付) AS 最終日付 FROM Q_勤務表"));
    if (!last)
        return std::nullopt;
    std::vector<SavedPeriod> list;
    const QDate newest = QDate::fromString(last->toString(), Qt::ISODate);
    if (!newest.isValid())
        return list;
    const QDate first = monthContaining(newest, 基準開始日);
    for (int i = 1; i <= kListedPeriods; ++i) {
        const QDate m = first.addMonths(1 - i);
        SavedPeriod row{i, m.year(), m.month(), 基準開始日, periodFor(m.year(), m.month(), 基準開始日), 0};
        const std::optional<QVariant> count
            = readValue(QStringLiteral("SELECT count(勤務No) AS 個数 FROM Q_勤務表 ") + periodWhere(row.period));
        if (!count)
            return std::nullopt;
        row.件数 = long(count->toLongLong());
        if (row.件数 > 0)
            list.push_back(row);
    }
    return list;
}

bool 削除_勤務記録(const QDate& 開始日, const QDate& 終了日)
{
    QString sql = QStringLiteral("DELETE FROM T_勤務表");
    if (開始日.isValid())
        sql += QLatin1Char(' ') + periodWhere({開始日, 終了日});
    const bool ok = RsOpen(sql) == 0;
    RsClose();
    return ok;
}

bool deletePeriod(const 期間& p)
{
    if (!削除_勤務記録(p.開始日, p.終了日))
        return false;
    const std::optional<QVariant> left = readValue(QStringLiteral("SELECT count(*) FROM T_勤務表"));
    if (!left)
        return false;
    if (left->toLongLong() > 0)
        return true;
    const bool ok = RsOpen(QStringLiteral("DELETE FROM T_勤務種別")) == 0;
    RsClose();
    return ok;
}
