#include "platform/text/vb.h"

#include "platform/os/vb_error.h"

#include <QLocale>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>

namespace {

// A plain decimal ("12", "-3.25"): up to fifteen digits make an exact integer, and dividing it by
// an exact power of ten rounds once, as the general reading does. Nothing for any other text.
std::optional<double> plainDecimal(const QString& input)
{
    qsizetype i = input.startsWith(QLatin1Char('-')) ? 1 : 0;
    const bool negative = i == 1;
    std::int64_t v = 0;
    int digits = 0, decimals = 0;
    bool dot = false;
    for (; i < input.size(); ++i) {
        const QChar c = input.at(i);
        if (c == QLatin1Char('.') && !dot) {
            dot = true;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9') && digits < 15) {
            v = v * 10 + (c.unicode() - u'0');
            ++digits;
            decimals += dot;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double value = double(v) / kPowers[decimals];
    return negative ? -value : value;
}

}  // namespace

double Val(const QString& input)
{
    // Member numbers, counts, hours and scores are read without building any text.
    if (const std::optional<double> plain = plainDecimal(input))
        return *plain;
    QString s;
    s.reserve(input.size());
    for (QChar c : input)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            s.append(c);

    if (s.size() >= 2 && s.at(0) == QLatin1Char('&')) {
        const QChar kind = s.at(1).toUpper();
        const int base = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
        if (base == 0)
            return 0;
        std::int64_t v = 0;
        for (int i = 2; i < s.size(); ++i) {
            const char ch = s.at(i).toUpper().toLatin1();
            const int digit = (ch >= '0' && ch <= '9') ? ch - '0' : (ch >= 'A' && ch <= 'F') ? ch - 'A' + 10 : -1;
            if (digit < 0 || digit >= base)
                break;
            v = v * base + digit;
        }
        // VB reads a 16-bit hex literal as a signed Integer
        if (v <= 0xFFFF && v >= 0x8000)
            v -= 0x10000;
        return double(v);
    }

    int i = 0;
    QString num;
    if (i < s.size() && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-')))
        num.append(s.at(i++));
    bool digits = false, dot = false;
    for (; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits = true;
            num.append(c);
        } else if (c == QLatin1Char('.') && !dot) {
            dot = true;
            num.append(c);
        } else {
            break;
        }
    }
    if (!digits)
        return 0;
    if (i < s.size() && (s.at(i).toUpper() == QLatin1Char('E') || s.at(i).toUpper() == QLatin1Char('D'))) {
        int j = i + 1;
        QString exp = QStringLiteral("e");
        if (j < s.size() && (s.at(j) == QLatin1Char('+') || s.at(j) == QLatin1Char('-')))
            exp.append(s.at(j++));
        const int start = j;
        while (j < s.size() && s.at(j) >= QLatin1Char('0') && s.at(j) <= QLatin1Char('9'))
            exp.append(s.at(j++));
        if (j > start)
            num.append(exp);
    }
    return QLocale::c().toDouble(num);
}

double Int(double x)
{
    return std::floor(x);
}

QString typeName(NumberType type)
{
    switch (type) {
    case NumberType::Integer: return QStringLiteral("Integer");
    case NumberType::Long: return QStringLiteral("Long");
    case NumberType::Single: break;
    }
    return QStringLiteral("Single");
}

QString typeRange(NumberType type)
{
    switch (type) {
    case NumberType::Integer: return QStringLiteral("-32768 から 32767 まで");
    case NumberType::Long: return QStringLiteral("-2147483648 から 2147483647 まで");
    case NumberType::Single: break;
    }
    return QStringLiteral("±3.402823E+38 まで");
}

bool fitsIn(NumberType type, double v)
{
    switch (type) {
    case NumberType::Integer: {
        const double r = std::nearbyint(v);
        return r >= -32768.0 && r <= 32767.0;
    }
    case NumberType::Long: {
        const double r = std::nearbyint(v);
        return r >= -2147483648.0 && r <= 2147483647.0;
    }
    case NumberType::Single: break;
    }
    return std::fabs(v) <= double(std::numeric_limits<float>::max());
}

namespace {

void requireFit(NumberType type, double v)
{
    if (!fitsIn(type, v))
        throw VbError(6, QStringLiteral("オーバーフローしました。"));
}

}  // namespace

int toInteger(double v)
{
    requireFit(NumberType::Integer, v);
    return int(std::nearbyint(v));
}

qint32 toLong(double v)
{
    requireFit(NumberType::Long, v);
    return qint32(std::nearbyint(v));
}

float toSingle(double v)
{
    requireFit(NumberType::Single, v);
    return float(v);
}

QDate DateSerial(int year, int month, int day)
{
    // Months roll over into years first, then days are counted from the first of that month.
    const int m0 = month - 1;
    const int y = year + (m0 >= 0 ? m0 / 12 : -((11 - m0) / 12));
    const int m = ((m0 % 12) + 12) % 12 + 1;
    return QDate(y, m, 1).addDays(day - 1);
}

namespace {

const char16_t* const kWeekdayShort[] = {u"月", u"火", u"水", u"木", u"金", u"土", u"日"};

QString two(int v)
{
    return QString::number(v).rightJustified(2, QLatin1Char('0'));
}

// Date and time tokens: yyyy, mm/m (minutes right after an hour token), dd/d, hh/h, nn/n, ss/s,
// aaaa/aaa; anything else is copied.
QString formatDateTime(const QDateTime& t, const QString& p)
{
    QString out;
    bool afterHour = false;
    for (int i = 0; i < p.size();) {
        auto run = [&](QChar c) {
            int n = 0;
            while (i + n < p.size() && p.at(i + n).toLower() == c)
                ++n;
            return n;
        };
        const QChar c = p.at(i).toLower();
        int n = 1;
        if (c == QLatin1Char('y')) {
            n = run(c);
            out += n >= 4 ? QString::number(t.date().year()) : two(t.date().year() % 100);
        } else if (c == QLatin1Char('m')) {
            n = run(c);
            const int v = afterHour ? t.time().minute() : t.date().month();
            out += n >= 2 ? two(v) : QString::number(v);
        } else if (c == QLatin1Char('d')) {
            n = run(c);
            out += n >= 2 ? two(t.date().day()) : QString::number(t.date().day());
        } else if (c == QLatin1Char('h')) {
            n = run(c);
            out += n >= 2 ? two(t.time().hour()) : QString::number(t.time().hour());
            afterHour = true;
        } else if (c == QLatin1Char('n')) {
            n = run(c);
            out += n >= 2 ? two(t.time().minute()) : QString::number(t.time().minute());
        } else if (c == QLatin1Char('s')) {
            n = run(c);
            out += n >= 2 ? two(t.time().second()) : QString::number(t.time().second());
        } else if (c == QLatin1Char('a')) {
            n = run(c);
            const QString w = QString::fromUtf16(kWeekdayShort[t.date().dayOfWeek() - 1]);
            out += n >= 4 ? w + QStringLiteral("曜日") : w;
        } else {
            out += p.at(i);
        }
        if (c != QLatin1Char('h') && c != QLatin1Char(':') && c != QLatin1Char('m'))
            afterHour = false;
        i += n;
    }
    return out;
}

QString roundToText(double v, int decimals)
{
    // VB rounds halves away from zero in Format
    const double scale = std::pow(10.0, decimals);
    const double r = std::round(v * scale) / scale;
    return QString::number(r == 0 ? 0.0 : r, 'f', decimals);
}

}  // namespace

QString Format(const QDateTime& t, const QString& pattern)
{
    return formatDateTime(t, pattern);
}

QString Format(const QDate& d, const QString& pattern)
{
    return formatDateTime(QDateTime(d, QTime(0, 0)), pattern);
}

QString Format(double v, const QString& pattern)
{
    if (pattern == QLatin1String("0"))
        return roundToText(v, 0);
    // "0.0", "0.000": that many decimals; "0.0###": up to four, zeros beyond the first dropped.
    if (pattern.size() > 2 && pattern.startsWith(QLatin1String("0."))) {
        const QString places = pattern.mid(2);
        const int fixed = int(places.size() - places.count(QLatin1Char('#')));
        if (places == QString(fixed, QLatin1Char('0')) + QString(places.size() - fixed, QLatin1Char('#'))) {
            QString t = roundToText(v, int(places.size()));
            for (int drop = int(places.size()) - fixed; drop > 0 && t.endsWith(QLatin1Char('0')); --drop)
                t.chop(1);
            return t;
        }
    }
    if (pattern == QLatin1String("0%"))
        return roundToText(v * 100.0, 0) + QLatin1Char('%');
    if (pattern == QLatin1String("#")) {
        const QString t = roundToText(v, 0);
        return t == QLatin1String("0") ? QString() : t;
    }
    if (pattern == QLatin1String("#,##0")) {
        QString t = roundToText(std::fabs(v), 0);
        for (int i = t.size() - 3; i > 0; i -= 3)
            t.insert(i, QLatin1Char(','));
        return (std::round(v) < 0 ? QStringLiteral("-") : QString()) + t;
    }
    return QString::number(v);
}

QString Format(const QString& s, const QString& pattern)
{
    if (!pattern.isEmpty() && pattern.count(QLatin1Char('@')) == pattern.size())
        return s.size() >= pattern.size() ? s : s.rightJustified(pattern.size(), QLatin1Char(' '));
    return s;
}

namespace {
constexpr std::uint64_t kStartSeed = 0x5157564E45ull;

std::mt19937_64& generator()
{
    static std::mt19937_64 g{kStartSeed};
    return g;
}
}  // namespace

void resetRnd()
{
    generator().seed(kStartSeed);
}

void Randomize()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq seq{std::uint64_t(generator()()), std::uint64_t(now), std::uint64_t(now >> 32)};
    generator().seed(seq);
}

void Randomize(std::uint64_t seed)
{
    generator().seed(seed);
}

double Rnd()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator());
}
