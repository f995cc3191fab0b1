#include "values.h"

#include "error.h"
#include "platform/text/time_of_day.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>
#include <cmath>

namespace xl {

namespace {

const QDate kEpoch(1899, 12, 30);
const QDate kFirstRealDay(1900, 3, 1);   // before it the count includes a 29 February 1900

double serialOf(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDateTime) {
        const QDateTime dt = v.toDateTime();
        return dateToSerial(dt.date()) + dt.time().msecsSinceStartOfDay() / 86400000.0;
    }
    if (v.typeId() == QMetaType::QDate)
        return dateToSerial(v.toDate());
    return v.toDouble();
}

bool isDateValue(const QVariant& v)
{
    return v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime;
}

// Rounds half away from zero, as the spreadsheet does when it shows fewer decimals.
double roundTo(double v, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(v * scale) / scale;
}

QString generalNumber(double v)
{
    if (v == 0)
        return QStringLiteral("0");
    const double a = std::fabs(v);
    if (a >= 1e11 || a < 1e-9) {
        QString s = QString::number(v, 'E', 5);          // 1.23457E+11
        const int e = int(s.indexOf(QLatin1Char('E')));
        QString mant = s.left(e);
        while (mant.endsWith(QLatin1Char('0')))
            mant.chop(1);
        if (mant.endsWith(QLatin1Char('.')))
            mant.chop(1);
        QString exp = s.mid(e + 1);                       // +11 / -010
        const QChar sign = exp.at(0);
        exp = exp.mid(1);
        while (exp.size() > 2 && exp.startsWith(QLatin1Char('0')))
            exp.remove(0, 1);
        return mant + QLatin1Char('E') + sign + exp;
    }
    const int before = std::max(1, int(std::floor(std::log10(a))) + 1);
    const int decimals = std::max(0, 10 - before);
    QString s = QString::number(roundTo(v, decimals), 'f', decimals);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}

// The format without quoted literals and [..] prefixes, for classifying it.
QString bareFormat(const QString& f)
{
    QString out;
    bool quoted = false;
    int bracket = 0;
    for (int i = 0; i < f.size(); ++i) {
        const QChar c = f.at(i);
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (quoted) {
        } else if (c == QLatin1Char('\\')) {
            ++i;
        } else if (c == QLatin1Char('[')) {
            ++bracket;
        } else if (c == QLatin1Char(']')) {
            bracket = std::max(0, bracket - 1);
        } else if (bracket == 0) {
            out += c.toLower();
        }
    }
    return out;
}

bool isDateFormat(const QString& bare)
{
    if (bare.contains(QLatin1Char('y')) || bare.contains(QLatin1Char('d')) || bare.contains(QLatin1Char('a')))
        return true;
    return bare.contains(QLatin1Char('m')) && !bare.contains(QLatin1Char('0')) && !bare.contains(QLatin1Char('#'));
}

QString formatDate(const QDateTime& dt, const QString& f)
{
    const QDate d = dt.date();
    const QTime t = dt.time();
    bool afterHour = false;   // "m" right after an hour means minutes
    static const char16_t* kShort[] = {u"日", u"月", u"火", u"水", u"木", u"金", u"土"};
    static const char16_t* kLong[] = {u"日曜日", u"月曜日", u"火曜日", u"水曜日", u"木曜日", u"金曜日", u"土曜日"};
    const int dow = d.dayOfWeek() % 7;   // Sunday = 0
    QString out;
    int i = 0;
    auto run = [&](QChar c) {
        int n = 0;
        while (i + n < f.size() && f.at(i + n).toLower() == c)
            ++n;
        return n;
    };
    while (i < f.size()) {
        const QChar c = f.at(i);
        const QChar lc = c.toLower();
        if (c == QLatin1Char('"')) {
            const int end = int(f.indexOf(QLatin1Char('"'), i + 1));
            out += f.mid(i + 1, end < 0 ? -1 : end - i - 1);
            i = end < 0 ? int(f.size()) : end + 1;
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 < f.size())
                out += f.at(i + 1);
            i += 2;
        } else if (c == QLatin1Char('[')) {
            const int end = int(f.indexOf(QLatin1Char(']'), i));
            i = end < 0 ? int(f.size()) : end + 1;
        } else if (lc == QLatin1Char('y')) {
            const int n = run(lc);
            out += n <= 2 ? QStringLiteral("%1").arg(d.year() % 100, 2, 10, QLatin1Char('0'))
                          : QString::number(d.year());
            i += n;
        } else if (lc == QLatin1Char('h') || lc == QLatin1Char('s')) {
            const int n = run(lc);
            const int v = lc == QLatin1Char('h') ? t.hour() : t.second();
            out += n >= 2 ? QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')) : QString::number(v);
            afterHour = lc == QLatin1Char('h');
            i += n;
            continue;
        } else if (lc == QLatin1Char('m')) {
            const int n = run(lc);
            const int v = afterHour ? t.minute() : d.month();
            out += n >= 2 ? QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')) : QString::number(v);
            i += n;
        } else if (lc == QLatin1Char('d')) {
            const int n = run(lc);
            out += n >= 2 ? QStringLiteral("%1").arg(d.day(), 2, 10, QLatin1Char('0')) : QString::number(d.day());
            i += n;
        } else if (lc == QLatin1Char('a')) {
            const int n = run(lc);
            out += QString::fromUtf16(n >= 4 ? kLong[dow] : kShort[dow]);
            i += n;
        } else {
            out += c;
            ++i;
            continue;   // separators keep an hour's claim on the next "m"
        }
        afterHour = false;
    }
    return out;
}

QString formatNumber(double v, const QString& bare)
{
    const bool percent = bare.contains(QLatin1Char('%'));
    const bool grouped = bare.contains(QLatin1Char(','));
    const int dot = int(bare.indexOf(QLatin1Char('.')));
    int decimals = 0;
    if (dot >= 0)
        for (int i = dot + 1; i < bare.size() && (bare.at(i) == QLatin1Char('0') || bare.at(i) == QLatin1Char('#')); ++i)
            ++decimals;
    if (percent)
        v *= 100;
    v = roundTo(v, decimals);
    QLocale c = QLocale::c();
    c.setNumberOptions(grouped ? QLocale::NumberOptions() : QLocale::OmitGroupSeparator);
    QString s = c.toString(v, 'f', decimals);
    if (s.startsWith(QLatin1Char('-')) && s.mid(1).remove(QLatin1Char('0')).remove(QLatin1Char('.')).remove(QLatin1Char(',')).isEmpty())
        s.remove(0, 1);   // no "-0"
    return percent ? s + QLatin1Char('%') : s;
}

}  // namespace

double dateToSerial(const QDate& date)
{
    // Serial 0 is the time-only day 1899-12-30; January and February 1900 carry the count's
    // phantom 29 February.
    const qint64 days = kEpoch.daysTo(date);
    return double(date >= QDate(1900, 1, 1) && date < kFirstRealDay ? days - 1 : days);
}

QDate serialToDate(double serial)
{
    const qint64 n = qint64(std::floor(serial));
    return n >= 1 && n < 61 ? kEpoch.addDays(n + 1) : kEpoch.addDays(n);
}

QString formatValue(const QVariant& value, const QString& numberFormat)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case QMetaType::QString:
        return value.toString();
    default:
        break;
    }
    QString section = numberFormat;
    if (const int semi = int(section.indexOf(QLatin1Char(';'))); semi >= 0)
        section = section.left(semi);
    const QString bare = bareFormat(section);
    const bool general = bare.isEmpty() || bare == QLatin1String("general") || bare == QLatin1String("@");
    if (general) {
        if (isDateValue(value)) {
            const QDateTime dt = value.typeId() == QMetaType::QDate ? QDateTime(value.toDate(), QTime(0, 0))
                                                                  : value.toDateTime();
            return formatDate(dt, dt.time() == QTime(0, 0) ? QStringLiteral("yyyy/m/d") : QStringLiteral("yyyy/m/d h:mm"));
        }
        return generalNumber(value.toDouble());
    }
    if (isDateFormat(bare)) {
        const double serial = serialOf(value);
        if (serial < 0 || serial > 2958465)
            return QStringLiteral("#######");
        // Shown to the second, so round there first: 0.35416666 is 8:30, not 8:29:59.
        const qint64 seconds = text::wholeSeconds(serial);
        const qint64 day = seconds / 86400;
        return formatDate(QDateTime(serialToDate(double(day)), QTime(0, 0).addSecs(int(seconds - day * 86400))), section);
    }
    return formatNumber(serialOf(value), bare);
}

QVariant cellValue(const QVariant& value, bool keepText)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return value;
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar: {
        const double d = value.toDouble();
        if (!std::isfinite(d))
            throw Error(13, QStringLiteral("型が一致しません。 (Type mismatch: not a finite number)"));
        return d;
    }
    case QMetaType::QTime:
        return value.toTime().msecsSinceStartOfDay() / 86400000.0;
    case QMetaType::QString:
        break;
    default:
        throw Error(13, QStringLiteral("型が一致しません。 (Type mismatch: a cell cannot hold %1)")
                            .arg(QString::fromLatin1(value.typeName())));
    }
    const QString s = value.toString();
    if (s.isEmpty())
        return QVariant();
    if (keepText)
        return s;
    if (s.startsWith(QLatin1Char('\'')))
        return s.size() == 1 ? QVariant() : QVariant(s.mid(1));
    const char16_t c0 = s.at(0).unicode();
    if ((c0 >= u'0' && c0 <= u'9') || c0 == u'-' || c0 == u'+' || c0 == u'.' || c0 == u' ') {
        const QString t = s.trimmed();
        bool ok = false;
        const double d = QLocale::c().toDouble(t, &ok);
        if (ok && std::isfinite(d))
            return d;
        static const QRegularExpression date(QStringLiteral("^(\\d{4})[/-](\\d{1,2})[/-](\\d{1,2})$"));
        if (const auto m = date.match(t); m.hasMatch()) {
            const QDate dt(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
            if (dt.isValid())
                return dt;
        }
        return s;
    }
    if (s.size() == 4 && s.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0)
        return true;
    if (s.size() == 5 && s.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0)
        return false;
    return value;
}

}  // namespace xl

QString XlText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType: return {};
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong: return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QDate: return value.toDate().toString(QStringLiteral("yyyy/MM/dd"));
    case QMetaType::QDateTime: return value.toDateTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    default: return value.toString();
    }
}
