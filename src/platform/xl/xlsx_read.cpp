// Reading the workbook file. Everything is read into a fresh BookData which is returned only when
// the whole file was understood; any problem throws xl::Error naming the file and the problem.
#include "platform/xl/error.h"
#include "platform/xl/xlsx.h"
#include "xlsx_format.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <cmath>
#include <charconv>
#include <cstring>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <unordered_map>
#include <zip.h>

namespace xl {

namespace {

using namespace xlsx;

constexpr zip_uint64_t kMaxPartSize = 1024ull * 1024 * 1024;

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

Error damaged(const QString& path, const QString& problem)
{
    return Error(1004, QStringLiteral("'%1' は壊れているため開けません: %2").arg(shown(path), problem));
}

// --- XML helpers: element and attribute names are compared without their namespace prefix,
// since some programs write the spreadsheet namespace with one.

const char* localName(const char* name)
{
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

bool named(const pugi::xml_node& n, const char* name)
{
    return std::strcmp(localName(n.name()), name) == 0;
}

pugi::xml_node child(const pugi::xml_node& n, const char* name)
{
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && named(c, name))
            return c;
    return {};
}

template <typename F>
void forEach(const pugi::xml_node& n, const char* name, F&& f)
{
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && named(c, name))
            f(c);
}

const char* attr(const pugi::xml_node& n, const char* name)
{
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
        if (std::strcmp(localName(a.name()), name) == 0)
            return a.value();
    return nullptr;
}

// The relationship id attribute (r:id), whatever the prefix.
const char* relId(const pugi::xml_node& n)
{
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
        const char* name = a.name();
        if (std::strchr(name, ':') && std::strcmp(localName(name), "id") == 0)
            return a.value();
    }
    return nullptr;
}

bool boolAttr(const pugi::xml_node& n, const char* name, bool fallback)
{
    const char* v = attr(n, name);
    if (!v)
        return fallback;
    return std::strcmp(v, "1") == 0 || std::strcmp(v, "true") == 0;
}

std::optional<double> number(const char* s)
{
    if (!s)
        return std::nullopt;
    while (*s == ' ')
        ++s;
    const char* end = s + std::strlen(s);
    while (end > s && end[-1] == ' ')
        --end;
    if (*s == '+')
        ++s;
    double v = 0;
    const auto r = std::from_chars(s, end, v);
    // "inf" and "nan" parse too, but no cell holds them.
    if (r.ec != std::errc() || r.ptr != end || s == end || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// A number written in full whose value no double holds ("1e999", "-1e309", "1e-999").
bool outOfRange(const char* s)
{
    if (!s)
        return false;
    while (*s == ' ')
        ++s;
    if (*s == '+')
        ++s;
    const char* end = s + std::strlen(s);
    while (end > s && end[-1] == ' ')
        --end;
    double v = 0;
    const auto r = std::from_chars(s, end, v);
    return r.ec == std::errc::result_out_of_range && r.ptr == end;
}

std::optional<double> numAttr(const pugi::xml_node& n, const char* name)
{
    return number(attr(n, name));
}

int intAttr(const pugi::xml_node& n, const char* name, int fallback)
{
    const auto v = numAttr(n, name);
    return v && *v >= -2147483648.0 && *v <= 2147483647.0 ? int(*v) : fallback;
}

// --- The package (the zip) ---

class Package {
public:
    Package(const QByteArray& bytes, const QString& path) : path_(path), bytes_(bytes)
    {
        zip_error_t err;
        zip_error_init(&err);
        zip_source_t* src = zip_source_buffer_create(bytes_.constData(), zip_uint64_t(bytes_.size()), 0, &err);
        if (src)
            zip_ = zip_open_from_source(src, ZIP_RDONLY | ZIP_CHECKCONS, &err);
        if (!zip_) {
            const int code = zip_error_code_zip(&err);
            if (src)
                zip_source_free(src);
            zip_error_fini(&err);
            if (code == ZIP_ER_NOZIP)
                throw Error(1004, QStringLiteral("'%1' はブックのファイルではないか、壊れています (ZIP 形式として読めません)。").arg(shown(path)));
            throw damaged(path, QStringLiteral("ZIP 形式の誤り (%1)").arg(QString::number(code)));
        }
        zip_error_fini(&err);
    }
    ~Package()
    {
        if (zip_)
            zip_discard(zip_);
    }
    Package(const Package&) = delete;
    Package& operator=(const Package&) = delete;

    bool has(const std::string& name) const { return zip_name_locate(zip_, name.c_str(), ZIP_FL_NOCASE) >= 0; }

    std::string read(const std::string& name) const
    {
        const zip_int64_t index = zip_name_locate(zip_, name.c_str(), ZIP_FL_NOCASE);
        if (index < 0)
            throw damaged(path_, QStringLiteral("%1 がありません。").arg(QString::fromStdString(name)));
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(zip_, zip_uint64_t(index), 0, &st) < 0 || !(st.valid & ZIP_STAT_SIZE) || st.size > kMaxPartSize)
            throw damaged(path_, QStringLiteral("%1 を読めません。").arg(QString::fromStdString(name)));
        std::string data(size_t(st.size), '\0');
        zip_file_t* f = zip_fopen_index(zip_, zip_uint64_t(index), 0);
        if (!f)
            throw damaged(path_, QStringLiteral("%1 を読めません (%2)。").arg(QString::fromStdString(name), QString::fromUtf8(zip_strerror(zip_))));
        const zip_int64_t got = zip_fread(f, data.data(), st.size);
        const QString why = got < 0 ? QString::fromUtf8(zip_file_strerror(f)) : QString();
        zip_fclose(f);
        if (got != zip_int64_t(st.size))
            throw damaged(path_, QStringLiteral("%1 を読めません (%2)。").arg(QString::fromStdString(name), why));
        return data;
    }

    // Parses a part; the document keeps the text buffer it was parsed in place from.
    pugi::xml_node xml(const std::string& name, pugi::xml_document& doc) const
    {
        std::string data = read(name);
        const auto r = doc.load_buffer(data.data(), data.size(), pugi::parse_default | pugi::parse_ws_pcdata_single);
        if (!r)
            throw damaged(path_, QStringLiteral("%1 の XML が正しくありません (%2, 位置 %3)。")
                                     .arg(QString::fromStdString(name), QString::fromUtf8(r.description()))
                                     .arg(r.offset));
        return doc.document_element();
    }

private:
    QString path_;
    QByteArray bytes_;
    zip_t* zip_ = nullptr;
};

struct Relationship {
    std::string type;    // last segment of the type URI ("worksheet", "styles", ...)
    std::string target;  // part name inside the package, without a leading slash
};

std::string resolveTarget(const std::string& baseDir, const std::string& target)
{
    QString t = QString::fromStdString(target);
    if (t.startsWith(QLatin1Char('/')))
        t = t.mid(1);
    else
        t = QString::fromStdString(baseDir) + t;
    return QDir::cleanPath(t).toStdString();
}

std::string directoryOf(const std::string& part)
{
    const size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// The relationships of a part, by id. A missing .rels file means none.
std::unordered_map<std::string, Relationship> relationships(const Package& pkg, const std::string& part)
{
    const std::string dir = directoryOf(part);
    const std::string relsName = dir + "_rels/" + part.substr(dir.size()) + ".rels";
    std::unordered_map<std::string, Relationship> rels;
    if (!pkg.has(relsName))
        return rels;
    pugi::xml_document doc;
    const pugi::xml_node root = pkg.xml(relsName, doc);
    forEach(root, "Relationship", [&](const pugi::xml_node& r) {
        const char* id = attr(r, "Id");
        const char* type = attr(r, "Type");
        const char* target = attr(r, "Target");
        const char* mode = attr(r, "TargetMode");
        if (!id || !type || !target || (mode && std::strcmp(mode, "External") == 0))
            return;
        std::string t = type;
        t = t.substr(t.rfind('/') + 1);
        rels[id] = {t, resolveTarget(dir, target)};
    });
    return rels;
}

std::optional<std::string> targetOfType(const std::unordered_map<std::string, Relationship>& rels, const char* type)
{
    for (const auto& [id, r] : rels)
        if (r.type == type)
            return r.target;
    return std::nullopt;
}

// --- Colours ---

struct Theme {
    std::vector<QColor> colors;  // in the order the cells refer to them
};

Theme readTheme(const Package& pkg, const std::optional<std::string>& part)
{
    Theme theme;
    if (!part || !pkg.has(*part))
        return theme;
    pugi::xml_document doc;
    const pugi::xml_node root = pkg.xml(*part, doc);
    const pugi::xml_node scheme = child(child(root, "themeElements"), "clrScheme");
    std::vector<QColor> raw;
    for (pugi::xml_node c = scheme.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        const pugi::xml_node v = c.first_child();
        const char* hex = named(v, "srgbClr") ? attr(v, "val") : named(v, "sysClr") ? attr(v, "lastClr") : nullptr;
        raw.push_back(hex ? colorFromArgb(hex) : QColor());
    }
    // Cells count light 1, dark 1, light 2, dark 2; the scheme lists dark before light.
    theme.colors = raw;
    if (raw.size() >= 4) {
        std::swap(theme.colors[0], theme.colors[1]);
        std::swap(theme.colors[2], theme.colors[3]);
    }
    return theme;
}

QColor readColor(const pugi::xml_node& n, const Theme& theme)
{
    if (!n || boolAttr(n, "auto", false))
        return {};
    QColor c;
    if (const char* rgb = attr(n, "rgb"))
        c = colorFromArgb(rgb);
    else if (const char* idx = attr(n, "indexed"))
        c = indexedColor(std::atoi(idx));
    else if (const char* th = attr(n, "theme")) {
        const int i = std::atoi(th);
        if (i >= 0 && size_t(i) < theme.colors.size())
            c = theme.colors[size_t(i)];
    }
    if (const auto tint = numAttr(n, "tint"))
        c = applyTint(c, *tint);
    return c;
}

// --- Styles ---

QString styleKey(const CellStyle& s)
{
    auto color = [](const QColor& c) { return c.isValid() ? QString::number(c.rgba(), 16) : QStringLiteral("-"); };
    QString key = color(s.fill) + QLatin1Char('|') + color(s.fontColor) + QLatin1Char('|') + QString::number(s.bold)
        + QLatin1Char('|') + QString::number(s.fontSize, 'g', 17) + QLatin1Char('|') + s.fontName + QLatin1Char('|')
        + QString::number(s.horizontalAlignment) + QLatin1Char('|') + QString::number(s.verticalAlignment)
        + QLatin1Char('|') + QString::number(s.wrapText) + QLatin1Char('|') + QString::number(s.locked);
    for (const BorderEdge* e : {&s.left, &s.top, &s.bottom, &s.right})
        key += QLatin1Char('|') + QString::number(e->lineStyle) + QLatin1Char(',') + QString::number(e->weight)
            + QLatin1Char(',') + color(e->color);
    return key + QLatin1Char('|') + s.numberFormat;
}

struct Styles {
    std::vector<int> styleOfXf;   // file cell format -> index in BookData::styles
    std::vector<bool> dateOfXf;   // whether its number format shows a calendar date
};

Styles readStyles(const Package& pkg, const std::optional<std::string>& part, const Theme& theme, BookData& book)
{
    Styles out;
    if (!part || !pkg.has(*part)) {
        out.styleOfXf.push_back(0);
        out.dateOfXf.push_back(false);
        return out;
    }
    pugi::xml_document doc;
    const pugi::xml_node root = pkg.xml(*part, doc);

    std::unordered_map<int, QString> formats;
    forEach(child(root, "numFmts"), "numFmt", [&](const pugi::xml_node& f) {
        const char* code = attr(f, "formatCode");
        if (code)
            formats[intAttr(f, "numFmtId", -1)] = unescapeText(code);
    });

    struct Font {
        bool bold = false;
        double size = 11;
        QColor color;
        QString name;
    };
    std::vector<Font> fonts;
    forEach(child(root, "fonts"), "font", [&](const pugi::xml_node& f) {
        Font font;
        if (const pugi::xml_node b = child(f, "b"))
            font.bold = boolAttr(b, "val", true);
        if (const auto sz = numAttr(child(f, "sz"), "val"))
            font.size = *sz;
        font.color = readColor(child(f, "color"), theme);
        if (const char* name = attr(child(f, "name"), "val"))
            font.name = unescapeText(name);
        fonts.push_back(font);
    });
    // The first font is the workbook's default: its name and colour are "automatic".
    const Font defaultFont = fonts.empty() ? Font{} : fonts.front();

    std::vector<QColor> fills;
    forEach(child(root, "fills"), "fill", [&](const pugi::xml_node& f) {
        const pugi::xml_node p = child(f, "patternFill");
        const char* type = attr(p, "patternType");
        QColor c;
        if (p && type && std::strcmp(type, "none") != 0 && std::strcmp(type, "gray125") != 0)
            c = readColor(child(p, "fgColor"), theme);
        fills.push_back(c);
    });

    std::vector<std::array<BorderEdge, 4>> borders;
    forEach(child(root, "borders"), "border", [&](const pugi::xml_node& b) {
        std::array<BorderEdge, 4> edges;
        const char* tags[4][2] = {{"left", "start"}, {"top", nullptr}, {"bottom", nullptr}, {"right", "end"}};
        for (int i = 0; i < 4; ++i) {
            pugi::xml_node e = child(b, tags[i][0]);
            if (!e && tags[i][1])
                e = child(b, tags[i][1]);
            const char* style = attr(e, "style");
            if (!style)
                continue;
            edges[size_t(i)] = borderFromStyleName(style);
            const QColor c = readColor(child(e, "color"), theme);
            if (c.isValid())
                edges[size_t(i)].color = c;
        }
        borders.push_back(edges);
    });

    std::unordered_map<QString, int> known;
    for (size_t i = 0; i < book.styles.size(); ++i)
        known.try_emplace(styleKey(book.styles[i]), int(i));
    forEach(child(root, "cellXfs"), "xf", [&](const pugi::xml_node& x) {
        CellStyle s;
        const int fmt = intAttr(x, "numFmtId", 0);
        const auto custom = formats.find(fmt);
        if (custom != formats.end())
            s.numberFormat = custom->second == kBooleanFormat ? s.numberFormat : custom->second;
        else if (const QString code = builtinNumberFormat(fmt); !code.isNull())
            s.numberFormat = code;
        const int font = intAttr(x, "fontId", 0);
        if (font >= 0 && size_t(font) < fonts.size()) {
            const Font& f = fonts[size_t(font)];
            s.bold = f.bold;
            s.fontSize = f.size;
            if (f.color != defaultFont.color)
                s.fontColor = f.color;
            if (f.name != defaultFont.name)
                s.fontName = f.name;
        }
        const int fill = intAttr(x, "fillId", 0);
        if (fill >= 0 && size_t(fill) < fills.size())
            s.fill = fills[size_t(fill)];
        const int border = intAttr(x, "borderId", 0);
        if (border >= 0 && size_t(border) < borders.size()) {
            const auto& e = borders[size_t(border)];
            s.left = e[0];
            s.top = e[1];
            s.bottom = e[2];
            s.right = e[3];
        }
        if (const pugi::xml_node a = child(x, "alignment")) {
            if (const char* h = attr(a, "horizontal"))
                s.horizontalAlignment = horizontalFromName(h);
            if (const char* v = attr(a, "vertical"))
                s.verticalAlignment = verticalFromName(v);
            s.wrapText = boolAttr(a, "wrapText", false);
        }
        if (const pugi::xml_node p = child(x, "protection"))
            s.locked = boolAttr(p, "locked", true);

        // Files from other programs may hold thousands of cell formats, many of them equal here.
        const auto [it, inserted] = known.try_emplace(styleKey(s), int(book.styles.size()));
        if (inserted)
            book.styles.push_back(s);
        out.styleOfXf.push_back(it->second);
        // A time of day stays the fraction of a day the sheets compute with: as a date, 0:00
        // and 24:00 would be days of 1899.
        out.dateOfXf.push_back(isDateFormat(s.numberFormat) && !isTimeFormat(s.numberFormat));
    });
    if (out.styleOfXf.empty()) {
        out.styleOfXf.push_back(0);
        out.dateOfXf.push_back(false);
    }
    return out;
}

// --- Strings ---

QString richText(const pugi::xml_node& si)
{
    // Plain <t>, or runs <r><t>; phonetic guides (<rPh>) are not part of the text.
    QString s;
    for (pugi::xml_node c = si.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        if (named(c, "t"))
            s += unescapeText(c.child_value());
        else if (named(c, "r"))
            s += unescapeText(child(c, "t").child_value());
    }
    return s;
}

std::vector<QString> readSharedStrings(const Package& pkg, const std::optional<std::string>& part)
{
    std::vector<QString> strings;
    if (!part || !pkg.has(*part))
        return strings;
    pugi::xml_document doc;
    const pugi::xml_node root = pkg.xml(*part, doc);
    forEach(root, "si", [&](const pugi::xml_node& si) { strings.push_back(richText(si)); });
    return strings;
}

// --- Formulas ---

// A shared formula is stored once; the other cells of its range take it with their relative
// references moved by their offset from the first cell.
QString shiftFormula(const QString& f, int dRow, int dColumn)
{
    QString out;
    out.reserve(f.size() + 8);
    const qsizetype n = f.size();
    auto isWordChar = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.') || c == QLatin1Char('$'); };
    for (qsizetype i = 0; i < n;) {
        const QChar c = f[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            qsizetype j = i + 1;
            while (j < n) {
                if (f[j] == c) {
                    if (j + 1 < n && f[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += QStringView(f).mid(i, std::min(j + 1, n) - i);
            i = j + 1;
            continue;
        }
        if (c == QLatin1Char('[')) {
            const qsizetype j = f.indexOf(QLatin1Char(']'), i);
            const qsizetype end = j < 0 ? n : j + 1;
            out += QStringView(f).mid(i, end - i);
            i = end;
            continue;
        }
        if (!isWordChar(c)) {
            out += c;
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < n && isWordChar(f[j]))
            ++j;
        const QString word = f.mid(i, j - i);
        const bool followedByCallOrSheet = j < n && (f[j] == QLatin1Char('(') || f[j] == QLatin1Char('!'));
        int row = 0, column = 0;
        const QByteArray latin = word.toLatin1();
        if (!followedByCallOrSheet && word.size() <= 10 && parseCellRef(std::string_view(latin.constData(), size_t(latin.size())), row, column)) {
            const qsizetype dollar2 = word.indexOf(QLatin1Char('$'), 1);
            const bool absColumn = word.startsWith(QLatin1Char('$'));
            const bool absRow = dollar2 > 0;
            const int newColumn = absColumn ? column : column + dColumn;
            const int newRow = absRow ? row : row + dRow;
            if (newColumn < 1 || newColumn > kMaxColumns || newRow < 1 || newRow > kMaxRows) {
                out += QLatin1String("#REF!");
            } else {
                if (absColumn)
                    out += QLatin1Char('$');
                out += QString::fromStdString(columnLetters(newColumn));
                if (absRow)
                    out += QLatin1Char('$');
                out += QString::number(newRow);
            }
        } else {
            out += word;
        }
        i = j;
    }
    return out;
}

// --- Sheets ---

void readPageSetup(const pugi::xml_node& worksheet, PageSetup& p)
{
    if (boolAttr(child(child(worksheet, "sheetPr"), "pageSetUpPr"), "fitToPage", false))
        p.zoom = 0;
    const pugi::xml_node setup = child(worksheet, "pageSetup");
    if (!setup)
        return;
    if (const char* orientation = attr(setup, "orientation"))
        p.orientation = std::strcmp(orientation, "landscape") == 0 ? 2 : 1;
    p.paperSize = std::max(0, intAttr(setup, "paperSize", 0));
    const int scale = intAttr(setup, "scale", 100);
    if (p.zoom != 0 && scale >= 10 && scale <= 400)
        p.zoom = scale;
    p.fitToPagesWide = std::clamp(intAttr(setup, "fitToWidth", 1), 0, 32767);
    p.fitToPagesTall = std::clamp(intAttr(setup, "fitToHeight", 1), 0, 32767);
}

struct SharedFormula {
    int row, column;
    QString text;
};

void readSheetView(const pugi::xml_node& worksheet, SheetData& sheet)
{
    const pugi::xml_node view = child(child(worksheet, "sheetViews"), "sheetView");
    if (!view)
        return;
    sheet.zoom = intAttr(view, "zoomScale", 100);
    if (sheet.zoom < 10 || sheet.zoom > 400)
        sheet.zoom = 100;
    if (const pugi::xml_node pane = child(view, "pane")) {
        const char* state = attr(pane, "state");
        if (state && (std::strcmp(state, "frozen") == 0 || std::strcmp(state, "frozenSplit") == 0)) {
            sheet.frozenColumns = std::clamp(intAttr(pane, "xSplit", 0), 0, kMaxColumns - 1);
            sheet.frozenRows = std::clamp(intAttr(pane, "ySplit", 0), 0, kMaxRows - 1);
        }
    }
}

void readSheetFormat(const pugi::xml_node& worksheet, SheetData& sheet)
{
    const pugi::xml_node fmt = child(worksheet, "sheetFormatPr");
    if (!fmt)
        return;
    if (const auto w = numAttr(fmt, "defaultColWidth"))
        sheet.defaultColumnWidth = columnWidthFromFile(*w);
    else if (const auto base = numAttr(fmt, "baseColWidth"); base && *base > 0 && *base < 256) {
        // The default column is the base width plus padding, rounded up to 8 pixels.
        const double px = std::ceil((*base * 7 + 5) / 8) * 8;
        sheet.defaultColumnWidth = std::round((px - 5) / 7 * 100) / 100;
    }
    if (const auto h = numAttr(fmt, "defaultRowHeight"))
        sheet.defaultRowHeight = *h;
}

void readColumns(const pugi::xml_node& worksheet, SheetData& sheet)
{
    forEach(child(worksheet, "cols"), "col", [&](const pugi::xml_node& col) {
        const int first = std::clamp(intAttr(col, "min", 0), 0, kMaxColumns);
        const int last = std::clamp(intAttr(col, "max", first), 0, kMaxColumns);
        const auto width = numAttr(col, "width");
        const char* custom = attr(col, "customWidth");
        std::optional<double> chars;
        if (width) {
            const double w = columnWidthFromFile(*width);
            if (custom ? boolAttr(col, "customWidth", false) : std::abs(w - sheet.defaultColumnWidth) > 0.005)
                chars = w;
        }
        const bool hidden = boolAttr(col, "hidden", false);
        for (int c = std::max(first, 1); c <= last; ++c) {
            if (chars)
                sheet.columnWidths[c] = *chars;
            if (hidden)
                sheet.hiddenColumns.push_back(c);
        }
    });
}

// What one sheet part's cells need besides the cell itself.
struct SheetReader {
    const Styles& styles;
    const std::vector<QString>& strings;
    const QString& path;
    const QString partName;
    std::unordered_map<int, SharedFormula> shared;

    [[noreturn]] void fail(const QString& what) const { throw damaged(path, what.arg(partName)); }
};

QVariant cellValue(SheetReader& in, const pugi::xml_node& c, size_t xfIndex)
{
    const char* type = attr(c, "t");
    const pugi::xml_node v = child(c, "v");
    const char* text = v ? v.child_value() : nullptr;
    if (type && std::strcmp(type, "s") == 0) {
        const auto i = number(text);
        if (!i || *i < 0 || *i >= double(in.strings.size()))
            in.fail(QStringLiteral("%1 の共有文字列の番号が正しくありません。"));
        return in.strings[size_t(*i)];
    }
    if (type && std::strcmp(type, "inlineStr") == 0)
        return richText(child(c, "is"));
    if (!v)
        return {};
    if (type && std::strcmp(type, "str") == 0)
        return unescapeText(text);
    if (type && std::strcmp(type, "b") == 0)
        return std::strcmp(text, "1") == 0 || std::strcmp(text, "true") == 0;
    if (type && std::strcmp(type, "e") == 0)
        return QString::fromUtf8(text);
    if (type && std::strcmp(type, "d") == 0) {
        const QDateTime dt = QDateTime::fromString(QString::fromUtf8(text), Qt::ISODateWithMs);
        if (!dt.isValid())
            return QString::fromUtf8(text);
        return dt.time().msecsSinceStartOfDay() == 0 ? QVariant(dt.date()) : QVariant(QDateTime(dt.date(), dt.time()));
    }
    if (const auto d = number(text)) {
        QVariant date;
        if (in.styles.dateOfXf[xfIndex])
            date = serialToDate(*d);
        return date.isValid() ? date : QVariant(*d);
    }
    // A number cell beyond what a double holds: kept as text, it would stop every calculation
    // that reads it, far from here.
    if (outOfRange(text))
        in.fail(QStringLiteral("%1 のセル ") + QString::fromUtf8(attr(c, "r")) + QStringLiteral(" の数値「")
                + QString::fromUtf8(text) + QStringLiteral("」は扱える範囲を超えています。"));
    return QString::fromUtf8(text);
}

// The cell's formula with its '=', or empty. A truth constant TRUE() or FALSE() is not kept
// as a formula: it turns the cell into the truth value it shows.
QString cellFormula(SheetReader& in, const pugi::xml_node& c, Cell& cell, int row, int column)
{
    const pugi::xml_node f = child(c, "f");
    if (!f)
        return {};
    const char* ft = attr(f, "t");
    QString formula = unescapeText(f.child_value());
    if (ft && std::strcmp(ft, "shared") == 0) {
        const int si = intAttr(f, "si", -1);
        if (!formula.isEmpty())
            in.shared[si] = {row, column, formula};
        else if (const auto m = in.shared.find(si); m != in.shared.end())
            formula = shiftFormula(m->second.text, row - m->second.row, column - m->second.column);
    }
    // Some programs store a plain TRUE or FALSE as the formula TRUE() or FALSE(), caching the
    // truth value or 1 and 0; kept as a formula, an edit of the cell would turn the flag into
    // that text, and 1 and 0 are no truth values to the sheets.
    const QStringView call = QStringView(formula).mid(formula.startsWith(QLatin1Char('=')) ? 1 : 0);
    if (call.compare(QLatin1String("TRUE()"), Qt::CaseInsensitive) == 0
        || call.compare(QLatin1String("FALSE()"), Qt::CaseInsensitive) == 0) {
        const QVariant& v = cell.value;
        if (v.typeId() == QMetaType::Bool)
            return {};
        if (v.typeId() == QMetaType::Double && (v.toDouble() == 0 || v.toDouble() == 1)) {
            cell.value = v.toDouble() == 1;
            return {};
        }
    }
    if (formula.isEmpty() || (ft && std::strcmp(ft, "dataTable") == 0))
        return {};
    return QLatin1Char('=') + formula;
}

void readRowCells(SheetReader& in, const pugi::xml_node& r, int row, SheetData& sheet)
{
    int column = 0;
    for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element || !named(c, "c"))
            continue;
        if (const char* ref = attr(c, "r")) {
            int refRow = 0;
            if (!parseCellRef(ref, refRow, column) || refRow != row)
                throw damaged(in.path, QStringLiteral("%1 のセル番地 '%2' が正しくありません。").arg(in.partName, QString::fromUtf8(ref)));
        } else {
            ++column;
        }
        if (column > kMaxColumns)
            in.fail(QStringLiteral("%1 の列が範囲外です。"));

        const int xf = intAttr(c, "s", 0);
        const size_t xfIndex = xf >= 0 && size_t(xf) < in.styles.styleOfXf.size() ? size_t(xf) : 0;
        Cell cell;
        cell.style = in.styles.styleOfXf[xfIndex];
        cell.value = cellValue(in, c, xfIndex);
        cell.formula = cellFormula(in, c, cell, row, column);
        if (cell.value.isValid() || cell.style != 0 || !cell.formula.isEmpty())
            sheet.cells.emplace_hint(sheet.cells.end(), std::make_pair(row, column), std::move(cell));  // cells come in order
    }
}

void readRows(SheetReader& in, const pugi::xml_node& worksheet, SheetData& sheet)
{
    int row = 0;
    const pugi::xml_node data = child(worksheet, "sheetData");
    for (pugi::xml_node r = data.first_child(); r; r = r.next_sibling()) {
        if (r.type() != pugi::node_element || !named(r, "row"))
            continue;
        row = intAttr(r, "r", row + 1);
        if (row < 1 || row > kMaxRows)
            throw damaged(in.path, QStringLiteral("%1 の行番号 %2 が範囲外です。").arg(in.partName).arg(row));
        if (const auto ht = numAttr(r, "ht")) {
            const char* custom = attr(r, "customHeight");
            if (custom ? boolAttr(r, "customHeight", false) : std::abs(*ht - sheet.defaultRowHeight) > 1e-9)
                sheet.rowHeights[row] = *ht;
        }
        if (boolAttr(r, "hidden", false))
            sheet.hiddenRows.push_back(row);
        readRowCells(in, r, row, sheet);
    }
    std::sort(sheet.hiddenRows.begin(), sheet.hiddenRows.end());
    sheet.hiddenRows.erase(std::unique(sheet.hiddenRows.begin(), sheet.hiddenRows.end()), sheet.hiddenRows.end());
    std::sort(sheet.hiddenColumns.begin(), sheet.hiddenColumns.end());
    sheet.hiddenColumns.erase(std::unique(sheet.hiddenColumns.begin(), sheet.hiddenColumns.end()), sheet.hiddenColumns.end());
}

void readProtection(const pugi::xml_node& worksheet, SheetProtection& sp)
{
    const pugi::xml_node p = child(worksheet, "sheetProtection");
    if (!p)
        return;
    sp.contents = boolAttr(p, "sheet", false);
    sp.drawingObjects = boolAttr(p, "objects", false);
    sp.scenarios = boolAttr(p, "scenarios", false);
    sp.protectedSheet = sp.contents || sp.drawingObjects || sp.scenarios;
    if (!sp.protectedSheet) {
        sp = SheetProtection{};
        return;
    }
    sp.allowFormattingColumns = !boolAttr(p, "formatColumns", true);
    sp.allowFormattingRows = !boolAttr(p, "formatRows", true);
    const bool noLocked = boolAttr(p, "selectLockedCells", false);
    const bool noUnlocked = boolAttr(p, "selectUnlockedCells", false);
    sp.enableSelection = noLocked && noUnlocked ? -4142 : noLocked ? 1 : 0;
}

void readSheet(const Package& pkg, const std::string& part, const Styles& styles,
               const std::vector<QString>& strings, SheetData& sheet, const QString& path)
{
    pugi::xml_document doc;
    const pugi::xml_node root = pkg.xml(part, doc);
    if (!named(root, "worksheet"))
        throw damaged(path, QStringLiteral("%1 はシートではありません。").arg(QString::fromStdString(part)));
    readSheetView(root, sheet);
    readSheetFormat(root, sheet);
    readColumns(root, sheet);
    SheetReader in{styles, strings, path, QString::fromStdString(part), {}};
    readRows(in, root, sheet);
    readPageSetup(root, sheet.pageSetup);
    readProtection(root, sheet.protection);
}

const char kOleSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

}  // namespace

BookData readWorkbookFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw Error(1004, QStringLiteral("'%1' が見つかりません。").arg(shown(path)));
    if (!info.isFile())
        throw Error(1004, QStringLiteral("'%1' はファイルではありません。").arg(shown(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(1004, QStringLiteral("'%1' を開けません: %2").arg(shown(path), file.errorString()));
    const QByteArray bytes = file.readAll();
    file.close();

    if (bytes.startsWith(QByteArray(kOleSignature, 8)))
        throw Error(1004, QStringLiteral("'%1' は旧形式 (.xls) のブックです。この形式は読み込めません。"
                                         ".xlsx または .xlsm 形式で保存し直してから開いてください。")
                              .arg(shown(path)));
    if (!bytes.startsWith("PK"))
        throw Error(1004, QStringLiteral("'%1' はブックのファイルではありません (.xlsx または .xlsm 形式ではありません)。").arg(shown(path)));

    const Package pkg(bytes, path);

    std::string workbookPart = "xl/workbook.xml";
    if (const auto root = targetOfType(relationships(pkg, ""), "officeDocument"))
        workbookPart = *root;
    if (!pkg.has(workbookPart))
        throw damaged(path, QStringLiteral("ブックの本体 (%1) がありません。").arg(QString::fromStdString(workbookPart)));

    pugi::xml_document wbDoc;
    const pugi::xml_node wb = pkg.xml(workbookPart, wbDoc);
    if (!named(wb, "workbook"))
        throw Error(1004, QStringLiteral("'%1' はブックのファイルではありません (表計算のブックではない文書です)。").arg(shown(path)));
    const auto rels = relationships(pkg, workbookPart);

    BookData book;
    const Theme theme = readTheme(pkg, targetOfType(rels, "theme"));
    const Styles styles = readStyles(pkg, targetOfType(rels, "styles"), theme, book);
    const std::vector<QString> strings = readSharedStrings(pkg, targetOfType(rels, "sharedStrings"));

    // Chart and dialog sheets are not kept; names and the active tab refer to file positions.
    std::vector<int> sheetOfPosition;
    forEach(child(wb, "sheets"), "sheet", [&](const pugi::xml_node& s) {
        const char* id = relId(s);
        const auto rel = id ? rels.find(id) : rels.end();
        if (rel == rels.end())
            throw damaged(path, QStringLiteral("シート '%1' の本体への参照がありません。").arg(QString::fromUtf8(attr(s, "name"))));
        if (rel->second.type != "worksheet") {
            sheetOfPosition.push_back(-1);
            return;
        }
        SheetData sheet;
        sheet.name = unescapeText(attr(s, "name"));
        if (const char* state = attr(s, "state"))
            sheet.visible = std::strcmp(state, "veryHidden") == 0 ? 2 : std::strcmp(state, "hidden") == 0 ? 0 : -1;
        if (sheet.name.isEmpty())
            throw damaged(path, QStringLiteral("名前のないシートがあります。"));
        readSheet(pkg, rel->second.target, styles, strings, sheet, path);
        sheetOfPosition.push_back(int(book.sheets.size()));
        book.sheets.push_back(std::move(sheet));
    });
    if (book.sheets.empty())
        throw damaged(path, QStringLiteral("シートがありません。"));

    const int activeTab = intAttr(child(child(wb, "bookViews"), "workbookView"), "activeTab", 0);
    if (activeTab >= 0 && size_t(activeTab) < sheetOfPosition.size() && sheetOfPosition[size_t(activeTab)] >= 0)
        book.activeSheet = sheetOfPosition[size_t(activeTab)];

    forEach(child(wb, "definedNames"), "definedName", [&](const pugi::xml_node& d) {
        DefinedName name;
        name.name = nameFromFile(unescapeText(attr(d, "name")));
        name.refersTo = unescapeText(d.child_value());
        if (const char* local = attr(d, "localSheetId")) {
            const int pos = std::atoi(local);
            if (pos < 0 || size_t(pos) >= sheetOfPosition.size() || sheetOfPosition[size_t(pos)] < 0)
                return;
            name.sheet = sheetOfPosition[size_t(pos)];
        }
        if (!name.name.isEmpty())
            book.names.push_back(std::move(name));
    });
    // A book the writer would refuse could be edited for a whole session and then not saved.
    if (const QString problem = bookProblem(book); !problem.isEmpty())
        throw Error(1004, QStringLiteral("'%1' は開けません: %2 このままでは保存できないため、他の表計算ソフトで直してから開いてください。")
                              .arg(shown(path), problem));
    return book;
}

}  // namespace xl
