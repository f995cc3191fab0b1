#include "workbook/holidays.h"

#include <unordered_map>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

// The n-th Monday of the month.
int nthMonday(int year, int month, int n)
{
    const int first = QDate(year, month, 1).dayOfWeek();   // 1 = Monday
    return 1 + (8 - first) % 7 + 7 * (n - 1);
}

int vernalEquinox(int year)
{
    return int(20.8431 + 0.242194 * (year - 1980)) - (year - 1980) / 4;
}

int autumnalEquinox(int year)
{
    return int(23.2488 + 0.242194 * (year - 1980)) - (year - 1980) / 4;
}

// Holidays named by the law (before substitute and citizens' holidays).
QString namedHoliday(const QDate& d)
{
    const int y = d.year(), m = d.month(), day = d.day();
    if (y < 2000)
        return {};
    switch (m) {
    case 1:
        if (day == 1) return u"元日"_s;
        if (day == nthMonday(y, 1, 2)) return u"成人の日"_s;
        break;
    case 2:
        if (day == 11) return u"建国記念の日"_s;
        if (day == 23 && y >= 2020) return u"天皇誕生日"_s;
        break;
    case 3:
        if (day == vernalEquinox(y)) return u"春分の日"_s;
        break;
    case 4:
        if (day == 29) return u"昭和の日"_s;
        if (y == 2019 && day == 30) return u"国民の休日"_s;
        break;
    case 5:
        if (y == 2019 && day == 1) return u"即位の日"_s;
        if (y == 2019 && day == 2) return u"国民の休日"_s;
        if (day == 3) return u"憲法記念日"_s;
        if (day == 4) return u"みどりの日"_s;
        if (day == 5) return u"こどもの日"_s;
        break;
    case 7:
        if (y == 2020 && day == 23) return u"海の日"_s;
        if (y == 2020 && day == 24) return u"スポーツの日"_s;
        if (y == 2021 && day == 22) return u"海の日"_s;
        if (y == 2021 && day == 23) return u"スポーツの日"_s;
        if (y != 2020 && y != 2021 && day == nthMonday(y, 7, 3)) return u"海の日"_s;
        break;
    case 8:
        if (y == 2020 && day == 10) return u"山の日"_s;
        if (y == 2021 && day == 8) return u"山の日"_s;
        if (y >= 2016 && y != 2020 && y != 2021 && day == 11) return u"山の日"_s;
        break;
    case 9:
        if (day == nthMonday(y, 9, 3)) return u"敬老の日"_s;
        if (day == autumnalEquinox(y)) return u"秋分の日"_s;
        break;
    case 10:
        if (y == 2019 && day == 22) return u"即位礼正殿の儀"_s;
        if (y != 2020 && y != 2021 && day == nthMonday(y, 10, 2))
            return y >= 2020 ? u"スポーツの日"_s : u"体育の日"_s;
        break;
    case 11:
        if (day == 3) return u"文化の日"_s;
        if (day == 23) return u"勤労感謝の日"_s;
        break;
    case 12:
        if (day == 23 && y <= 2018) return u"天皇誕生日"_s;
        break;
    default:
        break;
    }
    return {};
}

QString computedHolidayName(const QDate& date)
{
    QString name = namedHoliday(date);
    if (!name.isEmpty())
        return name;
    // Substitute holiday: the first non-holiday after a holiday that fell on a Sunday.
    for (QDate d = date.addDays(-1); !namedHoliday(d).isEmpty(); d = d.addDays(-1))
        if (d.dayOfWeek() == 7)
            return u"振替休日"_s;
    // Citizens' holiday: a weekday other than Sunday between two holidays.
    if (date.dayOfWeek() != 7 && !namedHoliday(date.addDays(-1)).isEmpty()
        && !namedHoliday(date.addDays(1)).isEmpty())
        return u"国民の休日"_s;
    return {};
}

}  // namespace

QString holidayName(const QDate& date)
{
    if (!date.isValid())
        return {};
    // The recalculation shades every day cell of every grid: each date is worked out once.
    static std::unordered_map<qint64, QString> known;
    const auto [it, added] = known.try_emplace(date.toJulianDay());
    if (added)
        it->second = computedHolidayName(date);
    return it->second;
}

}  // namespace workbook
