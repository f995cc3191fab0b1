#include "xlsx_format.h"

#include "palette.h"
#include "values.h"

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QTime>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace xl::xlsx {

std::string columnLetters(int column)
{
    std::string s;
    while (column > 0) {
        const int r = (column - 1) % 26;
        s.insert(s.begin(), char('A' + r));
        column = (column - 1) / 26;
    }
    return s;
}

bool parseCellRef(std::string_view ref, int& row, int& column)
{
    size_t i = 0;
    if (i < ref.size() && ref[i] == '$')
        ++i;
    long long c = 0;
    const size_t letters = i;
    while (i < ref.size() && ((ref[i] >= 'A' && ref[i] <= 'Z') || (ref[i] >= 'a' && ref[i] <= 'z'))) {
        c = c * 26 + ((ref[i] & 0xDF) - 'A' + 1);
        if (c > kMaxColumns)
            return false;
        ++i;
    }
    if (i == letters)
        return false;
    if (i < ref.size() && ref[i] == '$')
        ++i;
    long long r = 0;
    const size_t digits = i;
    while (i < ref.size() && ref[i] >= '0' && ref[i] <= '9') {
        r = r * 10 + (ref[i] - '0');
        if (r > kMaxRows)
            return false;
        ++i;
    }
    if (i == digits || i != ref.size() || r < 1)
        return false;
    row = int(r);
    column = int(c);
    return true;
}

namespace {

struct BuiltinFormat {
    int id;
    const char16_t* code;
    bool stable;  // same meaning in every locale: written by id
};

// Ids 14, 22 and 27-36, 50-58 depend on the locale; they read as the Japanese forms.
const BuiltinFormat kBuiltinFormats[] = {
    {0, u"General", true},
    {1, u"0", true},
    {2, u"0.00", true},
    {3, u"#,##0", true},
    {4, u"#,##0.00", true},
    {5, u"\"¥\"#,##0;\"¥\"\\-#,##0", false},
    {6, u"\"¥\"#,##0;[Red]\"¥\"\\-#,##0", false},
    {7, u"\"¥\"#,##0.00;\"¥\"\\-#,##0.00", false},
    {8, u"\"¥\"#,##0.00;[Red]\"¥\"\\-#,##0.00", false},
    {9, u"0%", true},
    {10, u"0.00%", true},
    {11, u"0.00E+00", true},
    {12, u"# ?/?", true},
    {13, u"# ?\?/?\?", true},
    {14, u"yyyy/m/d", false},
    {15, u"d-mmm-yy", false},
    {16, u"d-mmm", false},
    {17, u"mmm-yy", false},
    {18, u"h:mm AM/PM", false},
    {19, u"h:mm:ss AM/PM", false},
    {20, u"h:mm", true},
    {21, u"h:mm:ss", true},
    {22, u"yyyy/m/d h:mm", false},
    {27, u"[$-411]ge.m.d", false},
    {28, u"[$-411]ggge\"年\"m\"月\"d\"日\"", false},
    {29, u"[$-411]ggge\"年\"m\"月\"d\"日\"", false},
    {30, u"m/d/yy", false},
    {31, u"yyyy\"年\"m\"月\"d\"日\"", false},
    {32, u"h\"時\"mm\"分\"", false},
    {33, u"h\"時\"mm\"分\"ss\"秒\"", false},
    {34, u"yyyy\"年\"m\"月\"", false},
    {35, u"m\"月\"d\"日\"", false},
    {36, u"[$-411]ge.m.d", false},
    {37, u"#,##0 ;(#,##0)", false},
    {38, u"#,##0 ;[Red](#,##0)", false},
    {39, u"#,##0.00;(#,##0.00)", false},
    {40, u"#,##0.00;[Red](#,##0.00)", false},
    {45, u"mm:ss", true},
    {46, u"[h]:mm:ss", true},
    {47, u"mm:ss.0", true},
    {48, u"##0.0E+0", true},
    {49, u"@", true},
    {50, u"[$-411]ge.m.d", false},
    {51, u"[$-411]ggge\"年\"m\"月\"d\"日\"", false},
    {52, u"yyyy\"年\"m\"月\"", false},
    {53, u"m\"月\"d\"日\"", false},
    {54, u"[$-411]ggge\"年\"m\"月\"d\"日\"", false},
    {55, u"yyyy\"年\"m\"月\"", false},
    {56, u"m\"月\"d\"日\"", false},
    {57, u"[$-411]ge.m.d", false},
    {58, u"[$-411]ggge\"年\"m\"月\"d\"日\"", false},
};

}  // namespace

QString builtinNumberFormat(int id)
{
    for (const auto& f : kBuiltinFormats)
        if (f.id == id)
            return QString::fromUtf16(f.code);
    return {};
}

int builtinNumberFormatId(const QString& code)
{
    if (code.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0 || code.isEmpty())
        return 0;
    for (const auto& f : kBuiltinFormats)
        if (f.stable && code == QString::fromUtf16(f.code))
            return f.id;
    return -1;
}

namespace {

// The date and time parts the first section of a format code shows.
struct DateParts {
    bool calendar = false;   // year, month, day, weekday or era
    bool clock = false;      // hours, minutes, seconds or elapsed time
};

DateParts dateParts(const QString& code)
{
    // Only the first section decides; quoted text, escaped characters, colours and locale tags
    // carry no date parts. [h], [m] and [s] (elapsed time) do. An "m" is minutes where the
    // format also shows hours or seconds and no day or year.
    DateParts p;
    bool months = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar ch = code[i];
        switch (ch.unicode()) {
        case ';':
            i = code.size();
            break;
        case '"':
            i = code.indexOf(QLatin1Char('"'), i + 1);
            if (i < 0)
                return {};
            break;
        case '\\':
        case '_':
        case '*':
            ++i;
            break;
        case '[': {
            const qsizetype end = code.indexOf(QLatin1Char(']'), i + 1);
            if (end < 0)
                return {};
            const QString inner = code.mid(i + 1, end - i - 1).toLower();
            if (!inner.isEmpty() && (inner[0] == QLatin1Char('h') || inner[0] == QLatin1Char('m')
                                     || inner[0] == QLatin1Char('s'))
                && inner.count(inner[0]) == inner.size())
                p.clock = true;
            i = end;
            break;
        }
        case 'G':
        case 'g':
            if (code.mid(i, 7).compare(QLatin1String("General"), Qt::CaseInsensitive) == 0) {
                i += 6;
                break;
            }
            p.calendar = true;  // Japanese era
            break;
        case 'a':
        case 'A':
            if (code.mid(i, 5).compare(QLatin1String("AM/PM"), Qt::CaseInsensitive) == 0) {
                i += 4;
                p.clock = true;
            } else if (code.mid(i, 3).compare(QLatin1String("A/P"), Qt::CaseInsensitive) == 0) {
                i += 2;
                p.clock = true;
            } else {
                p.calendar = true;  // weekday
            }
            break;
        case 'y': case 'Y': case 'd': case 'D':
            p.calendar = true;
            break;
        case 'm': case 'M':
            months = true;
            break;
        case 'h': case 'H': case 's': case 'S':
            p.clock = true;
            break;
        default:
            break;
        }
    }
    if (months && !p.clock)
        p.calendar = true;
    else if (months && !p.calendar)
        p.clock = true;
    return p;
}

}  // namespace

bool isDateFormat(const QString& code)
{
    const DateParts p = dateParts(code);
    return p.calendar || p.clock;
}

bool isTimeFormat(const QString& code)
{
    const DateParts p = dateParts(code);
    return p.clock && !p.calendar;
}

namespace {
constexpr double kMsPerDay = 86400000.0;
constexpr double kMaxSerial = 2958466.0;  // 10000-01-01
}  // namespace

// The days are counted by the cells' own count, which keeps the file's 29 February 1900.
double dateToSerial(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDate)
        return xl::dateToSerial(value.toDate());
    if (value.typeId() == QMetaType::QTime)
        return value.toTime().msecsSinceStartOfDay() / kMsPerDay;
    const QDateTime dt = value.toDateTime();
    return xl::dateToSerial(dt.date()) + dt.time().msecsSinceStartOfDay() / kMsPerDay;
}

QVariant serialToDate(double serial)
{
    if (!(serial >= 0 && serial < kMaxSerial))
        return {};
    qint64 days = qint64(std::floor(serial));
    qint64 ms = std::llround((serial - double(days)) * kMsPerDay);
    if (ms >= qint64(kMsPerDay)) {
        ++days;
        ms = 0;
    }
    const QDate date = xl::serialToDate(double(days));
    if (ms == 0)
        return date;
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

namespace {
constexpr int kNone = -4142, kContinuous = 1, kDash = -4115, kDot = -4118, kDouble = -4119,
              kDashDot = 4, kDashDotDot = 5, kSlantDashDot = 13;
constexpr int kHairline = 1, kThin = 2, kMedium = -4138, kThick = 4;

struct BorderName {
    const char* name;
    int lineStyle;
    int weight;
};
// Read direction: each file style to the line style and weight a spreadsheet reports for it.
const BorderName kBorderNames[] = {
    {"hair", kContinuous, kHairline},       {"thin", kContinuous, kThin},
    {"medium", kContinuous, kMedium},       {"thick", kContinuous, kThick},
    {"dashed", kDash, kThin},               {"mediumDashed", kDash, kMedium},
    {"dotted", kDot, kThin},                {"double", kDouble, kThick},
    {"dashDot", kDashDot, kThin},           {"mediumDashDot", kDashDot, kMedium},
    {"dashDotDot", kDashDotDot, kThin},     {"mediumDashDotDot", kDashDotDot, kMedium},
    {"slantDashDot", kSlantDashDot, kMedium},
};
}  // namespace

const char* borderStyleName(const BorderEdge& edge)
{
    const bool heavy = edge.weight == kMedium || edge.weight == kThick;
    switch (edge.lineStyle) {
    case kNone:
    case 0:
        return nullptr;
    case kDash: return heavy ? "mediumDashed" : "dashed";
    case kDot: return "dotted";
    case kDouble: return "double";
    case kDashDot: return heavy ? "mediumDashDot" : "dashDot";
    case kDashDotDot: return heavy ? "mediumDashDotDot" : "dashDotDot";
    case kSlantDashDot: return "slantDashDot";
    default:
        switch (edge.weight) {
        case kHairline: return "hair";
        case kMedium: return "medium";
        case kThick: return "thick";
        default: return "thin";
        }
    }
}

BorderEdge borderFromStyleName(std::string_view name)
{
    BorderEdge e;
    for (const auto& b : kBorderNames)
        if (name == b.name) {
            e.lineStyle = b.lineStyle;
            e.weight = b.weight;
        }
    return e;
}

namespace {
struct AlignName {
    const char* name;
    int value;
};
const AlignName kHorizontal[] = {{"left", -4131},   {"center", -4108},          {"right", -4152},
                                 {"fill", 5},       {"justify", -4130},         {"centerContinuous", 7},
                                 {"distributed", -4117}};
const AlignName kVertical[] = {{"top", -4160}, {"center", -4108}, {"justify", -4130}, {"distributed", -4117}};
}  // namespace

const char* horizontalName(int alignment)
{
    for (const auto& a : kHorizontal)
        if (a.value == alignment)
            return a.name;
    return nullptr;
}

int horizontalFromName(std::string_view name)
{
    for (const auto& a : kHorizontal)
        if (name == a.name)
            return a.value;
    return 1;
}

const char* verticalName(int alignment)
{
    for (const auto& a : kVertical)
        if (a.value == alignment)
            return a.name;
    return nullptr;
}

int verticalFromName(std::string_view name)
{
    for (const auto& a : kVertical)
        if (name == a.name)
            return a.value;
    return -4107;
}

std::string argbHex(const QColor& color)
{
    static const char* digits = "0123456789ABCDEF";
    std::string s = "FF";
    for (int v : {color.red(), color.green(), color.blue()}) {
        s += digits[(v >> 4) & 15];
        s += digits[v & 15];
    }
    return s;
}

QColor colorFromArgb(std::string_view hex)
{
    if (hex.size() == 8)
        hex.remove_prefix(2);
    unsigned v = 0;
    if (hex.size() != 6 || std::from_chars(hex.data(), hex.data() + 6, v, 16).ptr != hex.data() + 6)
        return {};
    return QColor::fromRgb(QRgb(v));
}

QColor indexedColor(int index)
{
    // The file's indexed colours: 0..7 repeat the first eight entries, 8..63 are the palette.
    if (index < 0 || index >= 64)
        return {};
    return colorFromIndex(index < 8 ? index + 1 : index - 7);
}

QColor applyTint(const QColor& color, double tint)
{
    if (tint == 0 || !color.isValid())
        return color;
    float h, s, l;
    color.getHslF(&h, &s, &l);
    l = tint < 0 ? float(l * (1 + tint)) : float(l * (1 - tint) + tint);
    // Kept to 8 bits a channel, as the file stores it, so that the colour survives a save.
    return QColor::fromRgb(QColor::fromHslF(h < 0 ? 0 : h, s, std::clamp(l, 0.0f, 1.0f)).rgb());
}

double columnWidthToFile(double characters)
{
    if (characters <= 0)
        return 0;
    return std::trunc((characters + 5.0 / 7.0) * 256.0) / 256.0;
}

double columnWidthFromFile(double fileWidth)
{
    const double c = std::round((fileWidth - 5.0 / 7.0) * 100.0) / 100.0;
    return c > 0 ? c : 0;
}

namespace {
bool isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

void appendEscapedCode(std::string& out, unsigned code)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "_x%04X_", code);
    out += buf;
}
}  // namespace

std::string escapeText(const QString& text, bool attribute)
{
    const QByteArray u = text.toUtf8();
    const char* p = u.constData();
    const qsizetype n = u.size();
    std::string out;
    out.reserve(size_t(n) + 8);
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(p[i]);
        switch (c) {
        case '&': out += "&amp;"; continue;
        case '<': out += "&lt;"; continue;
        case '>': out += "&gt;"; continue;
        case '"': out += "&quot;"; continue;
        case '\n': out += attribute ? "&#10;" : "\n"; continue;
        case '\t': out += attribute ? "&#9;" : "\t"; continue;
        case '\r': out += "&#13;"; continue;  // a raw CR would be read as a line end
        case '_':
            if (i + 6 < n && p[i + 1] == 'x' && isHex(p[i + 2]) && isHex(p[i + 3]) && isHex(p[i + 4])
                && isHex(p[i + 5]) && p[i + 6] == '_')
                appendEscapedCode(out, '_');
            else
                out += '_';
            continue;
        default:
            break;
        }
        if (c < 0x20) {
            appendEscapedCode(out, c);
        } else if (c == 0xEF && i + 2 < n && static_cast<unsigned char>(p[i + 1]) == 0xBF
                   && (static_cast<unsigned char>(p[i + 2]) == 0xBE || static_cast<unsigned char>(p[i + 2]) == 0xBF)) {
            appendEscapedCode(out, static_cast<unsigned char>(p[i + 2]) == 0xBE ? 0xFFFE : 0xFFFF);
            i += 2;
        } else {
            out += char(c);
        }
    }
    return out;
}

QString unescapeText(const char* utf8)
{
    if (!utf8)
        return {};
    QString s = QString::fromUtf8(utf8);
    if (!std::strstr(utf8, "_x"))
        return s;
    auto hex = [&](qsizetype i) { return s[i].unicode() < 0x80 && isHex(char(s[i].unicode())); };
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('_') && i + 6 < s.size() && s[i + 1] == QLatin1Char('x') && hex(i + 2) && hex(i + 3)
            && hex(i + 4) && hex(i + 5) && s[i + 6] == QLatin1Char('_')) {
            out += QChar(char16_t(QStringView(s).mid(i + 2, 4).toUInt(nullptr, 16)));
            i += 6;
            continue;
        }
        out += s[i];
    }
    return out;
}

namespace {

bool isBuiltinName(QStringView name)
{
    static const char* const builtin[] = {"Print_Area", "Print_Titles", "_FilterDatabase", "Criteria",
                                          "Extract", "Consolidate_Area", "Sheet_Title"};
    return std::any_of(std::begin(builtin), std::end(builtin),
                       [&](const char* b) { return name.compare(QLatin1String(b), Qt::CaseInsensitive) == 0; });
}

const QLatin1String kBuiltinPrefix("_xlnm.");

}  // namespace

QString nameFromFile(const QString& fileName)
{
    if (fileName.startsWith(kBuiltinPrefix) && isBuiltinName(QStringView(fileName).mid(kBuiltinPrefix.size())))
        return fileName.mid(kBuiltinPrefix.size());
    return fileName;
}

QString nameToFile(const QString& name)
{
    return isBuiltinName(name) ? kBuiltinPrefix + name : name;
}

QString bookProblem(const BookData& book)
{
    if (book.sheets.empty())
        return QStringLiteral("ブックにシートがありません。");
    QSet<QString> sheetNames;
    for (const SheetData& s : book.sheets) {
        const QString& n = s.name;
        static const QString forbidden = QStringLiteral(":\\/?*[]");
        const bool bad = n.isEmpty() || n.size() > 31 || n.startsWith(QLatin1Char('\'')) || n.endsWith(QLatin1Char('\''))
            || std::any_of(n.begin(), n.end(), [](QChar ch) { return forbidden.contains(ch); });
        if (bad)
            return QStringLiteral("シート名 '%1' は使えません (シート名は 1～31 文字で、: \\ / ? * [ ] を含まず、' で始まりも終わりもしません)。").arg(n);
        if (sheetNames.contains(n.toLower()))
            return QStringLiteral("シート名 '%1' が重複しています (大文字と小文字は区別されません)。").arg(n);
        sheetNames.insert(n.toLower());
    }
    if (std::none_of(book.sheets.begin(), book.sheets.end(), [](const SheetData& s) { return s.visible == -1; }))
        return QStringLiteral("表示されているシートがありません。");
    QSet<QString> names;
    for (const DefinedName& d : book.names) {
        if (d.name.isEmpty() || d.sheet < -1 || d.sheet >= int(book.sheets.size()))
            return QStringLiteral("名前 '%1' の範囲が正しくありません。").arg(d.name);
        const QString key = QString::number(d.sheet) + QLatin1Char('!') + d.name.toLower();
        if (names.contains(key))
            return QStringLiteral("名前 '%1' が重複しています。").arg(d.name);
        names.insert(key);
    }
    for (const SheetData& s : book.sheets)
        for (const auto& [key, cell] : s.cells)
            if (cell.style < 0 || size_t(cell.style) >= book.styles.size())
                return QStringLiteral("シート '%1' のセルの書式番号 %2 がありません。").arg(s.name).arg(cell.style);
    return {};
}

void appendNumber(std::string& out, double value)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

void appendInt(std::string& out, long long value)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

}  // namespace xl::xlsx
