// Writing the workbook file. The XML is produced as text (no document tree): the sheets of a
// roster workbook hold tens of thousands of cells and this keeps saving in milliseconds.
#include "platform/os/save_file.h"
#include "platform/xl/error.h"
#include "platform/xl/xlsx.h"
#include "xlsx_format.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <map>
#include <set>
#include <unordered_map>
#include <string>
#include <zip.h>

namespace xl {

namespace {

using namespace xlsx;

const char* const kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const char* const kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char* const kRelTypeBase = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

Error writeError(const QString& path, const QString& problem)
{
    return Error(1004, QStringLiteral("'%1' に保存できません: %2").arg(QDir::toNativeSeparators(path), problem));
}

bool isDateValue(const QVariant& v)
{
    const int t = v.typeId();
    return t == QMetaType::QDate || t == QMetaType::QDateTime || t == QMetaType::QTime;
}

bool isNumberValue(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

// The stylesheet: fonts, fills, borders and number formats shared between cell formats.
class StyleTable {
public:
    explicit StyleTable(const std::vector<CellStyle>& styles) : styles_(styles)
    {
        // Font 0 is the workbook's default font; fills 0 and 1 are reserved by the format.
        fontId(CellStyle{});
        fills_.emplace_back("<fill><patternFill patternType=\"none\"/></fill>");
        fills_.emplace_back("<fill><patternFill patternType=\"gray125\"/></fill>");
        fillIds_[fills_[0]] = 0;
        fillIds_[fills_[1]] = 1;
        borderId(CellStyle{});
        for (const CellStyle& s : styles_)
            xfs_.push_back(xf(s));
    }

    // The cell format for a date written into a cell whose format shows no date: the same
    // format with a date number format, so the value reads back as a date.
    int dateVariant(int style, bool withTime)
    {
        const auto key = std::make_pair(style, withTime);
        auto it = dateVariants_.find(key);
        if (it != dateVariants_.end())
            return it->second;
        CellStyle s = styles_[size_t(style)];
        s.numberFormat = withTime ? QStringLiteral("yyyy/m/d h:mm") : QStringLiteral("yyyy/m/d");
        xfs_.push_back(xf(s));
        const int id = int(xfs_.size()) - 1;
        dateVariants_[key] = id;
        return id;
    }

    // The cell format for a truth value in a General cell: the same with the boolean format.
    int booleanVariant(int style)
    {
        if (builtinNumberFormatId(styles_[size_t(style)].numberFormat) != 0)
            return style;
        auto [it, inserted] = booleanVariants_.try_emplace(style, 0);
        if (inserted) {
            CellStyle s = styles_[size_t(style)];
            s.numberFormat = kBooleanFormat;
            xfs_.push_back(xf(s));
            it->second = int(xfs_.size()) - 1;
        }
        return it->second;
    }

    std::string xml() const
    {
        std::string o = kXmlHead;
        o += "<styleSheet xmlns=\"";
        o += kMainNs;
        o += "\">";
        if (!customFormats_.empty()) {
            o += "<numFmts count=\"";
            appendInt(o, qint64(customFormats_.size()));
            o += "\">";
            for (const auto& [id, code] : customFormats_) {
                o += "<numFmt numFmtId=\"";
                appendInt(o, id);
                o += "\" formatCode=\"";
                o += escapeText(code, true);
                o += "\"/>";
            }
            o += "</numFmts>";
        }
        appendList(o, "fonts", fonts_);
        appendList(o, "fills", fills_);
        appendList(o, "borders", borders_);
        o += "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>";
        appendList(o, "cellXfs", xfs_);
        o += "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>";
        o += "</styleSheet>";
        return o;
    }

private:
    static void appendList(std::string& o, const char* tag, const std::vector<std::string>& items)
    {
        o += '<';
        o += tag;
        o += " count=\"";
        appendInt(o, qint64(items.size()));
        o += "\">";
        for (const auto& s : items)
            o += s;
        o += "</";
        o += tag;
        o += '>';
    }

    static int intern(std::map<std::string, int>& ids, std::vector<std::string>& list, std::string item)
    {
        auto [it, inserted] = ids.try_emplace(item, int(list.size()));
        if (inserted)
            list.push_back(std::move(item));
        return it->second;
    }

    int fontId(const CellStyle& s)
    {
        std::string f = "<font>";
        if (s.bold)
            f += "<b/>";
        f += "<sz val=\"";
        appendNumber(f, s.fontSize);
        f += "\"/>";
        if (s.fontColor.isValid()) {
            f += "<color rgb=\"";
            f += argbHex(s.fontColor);
            f += "\"/>";
        }
        const QString& name = s.fontName.isEmpty() ? kDefaultFontName : s.fontName;
        f += "<name val=\"";
        f += escapeText(name, true);
        // The Japanese character set tells other programs to draw the default font's texts with
        // Japanese glyphs even where they substitute another face for it.
        f += name == kDefaultFontName ? "\"/><family val=\"2\"/><charset val=\"128\"/></font>" : "\"/><family val=\"2\"/></font>";
        return intern(fontIds_, fonts_, std::move(f));
    }

    int fillId(const CellStyle& s)
    {
        if (!s.fill.isValid())
            return 0;
        std::string f = "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"";
        f += argbHex(s.fill);
        f += "\"/><bgColor indexed=\"64\"/></patternFill></fill>";
        return intern(fillIds_, fills_, std::move(f));
    }

    static void appendEdge(std::string& b, const char* tag, const BorderEdge& e)
    {
        b += '<';
        b += tag;
        if (const char* style = borderStyleName(e)) {
            b += " style=\"";
            b += style;
            b += "\"><color rgb=\"";
            b += argbHex(e.color.isValid() ? e.color : QColor(Qt::black));
            b += "\"/></";
            b += tag;
            b += '>';
        } else {
            b += "/>";
        }
    }

    int borderId(const CellStyle& s)
    {
        std::string b = "<border>";
        appendEdge(b, "left", s.left);
        appendEdge(b, "right", s.right);
        appendEdge(b, "top", s.top);
        appendEdge(b, "bottom", s.bottom);
        b += "<diagonal/></border>";
        return intern(borderIds_, borders_, std::move(b));
    }

    int numFmtId(const QString& code)
    {
        const int builtin = builtinNumberFormatId(code);
        if (builtin >= 0)
            return builtin;
        auto [it, inserted] = customIds_.try_emplace(code, 164 + int(customIds_.size()));
        if (inserted)
            customFormats_.emplace_back(it->second, code);
        return it->second;
    }

    std::string xf(const CellStyle& s)
    {
        std::string x = "<xf numFmtId=\"";
        appendInt(x, numFmtId(s.numberFormat));
        x += "\" fontId=\"";
        appendInt(x, fontId(s));
        x += "\" fillId=\"";
        appendInt(x, fillId(s));
        x += "\" borderId=\"";
        appendInt(x, borderId(s));
        x += "\" xfId=\"0\" applyNumberFormat=\"1\" applyFont=\"1\" applyFill=\"1\" applyBorder=\"1\"";
        const char* h = horizontalName(s.horizontalAlignment);
        const char* v = verticalName(s.verticalAlignment);
        const bool aligned = h || v || s.wrapText;
        if (aligned)
            x += " applyAlignment=\"1\"";
        if (!s.locked)
            x += " applyProtection=\"1\"";
        if (!aligned && s.locked) {
            x += "/>";
            return x;
        }
        x += '>';
        if (aligned) {
            x += "<alignment";
            if (h) {
                x += " horizontal=\"";
                x += h;
                x += '"';
            }
            if (v) {
                x += " vertical=\"";
                x += v;
                x += '"';
            }
            if (s.wrapText)
                x += " wrapText=\"1\"";
            x += "/>";
        }
        if (!s.locked)
            x += "<protection locked=\"0\"/>";
        x += "</xf>";
        return x;
    }

    const std::vector<CellStyle>& styles_;
    std::vector<std::string> fonts_, fills_, borders_, xfs_;
    std::map<std::string, int> fontIds_, fillIds_, borderIds_;
    std::map<QString, int> customIds_;
    std::vector<std::pair<int, QString>> customFormats_;
    std::map<std::pair<int, bool>, int> dateVariants_;
    std::map<int, int> booleanVariants_;
};

class SharedStrings {
public:
    int index(const QString& s)
    {
        auto [it, inserted] = ids_.try_emplace(s, int(order_.size()));
        if (inserted)
            order_.push_back(s);
        ++count_;
        return it->second;
    }

    std::string xml() const
    {
        std::string o = kXmlHead;
        o += "<sst xmlns=\"";
        o += kMainNs;
        o += "\" count=\"";
        appendInt(o, count_);
        o += "\" uniqueCount=\"";
        appendInt(o, qint64(order_.size()));
        o += "\">";
        for (const QString& s : order_) {
            const bool preserve = !s.isEmpty() && (s.front().isSpace() || s.back().isSpace() || s.contains(QLatin1Char('\n')));
            o += preserve ? "<si><t xml:space=\"preserve\">" : "<si><t>";
            o += escapeText(s);
            o += "</t></si>";
        }
        o += "</sst>";
        return o;
    }

private:
    std::unordered_map<QString, int> ids_;
    std::vector<QString> order_;
    qint64 count_ = 0;
};

void appendCell(std::string& o, int row, int column, const Cell& cell, StyleTable& styles,
                SharedStrings& strings, const std::vector<bool>& dateStyles)
{
    const QVariant& v = cell.value;
    int style = cell.style;
    if (isDateValue(v) && !dateStyles[size_t(style)])
        style = styles.dateVariant(style, v.typeId() != QMetaType::QDate && std::fmod(dateToSerial(v), 1.0) != 0);
    else if (v.typeId() == QMetaType::Bool)
        style = styles.booleanVariant(style);

    o += "<c r=\"";
    o += columnLetters(column);
    appendInt(o, row);
    o += '"';
    if (style != 0) {
        o += " s=\"";
        appendInt(o, style);
        o += '"';
    }
    std::string value;
    const char* type = nullptr;
    const bool formula = !cell.formula.isEmpty();
    if (!v.isValid() || v.isNull()) {
        // formatted empty cell, or a formula without a cached value
    } else if (v.typeId() == QMetaType::Bool) {
        type = "b";
        value = v.toBool() ? "1" : "0";
    } else if (isNumberValue(v)) {
        const double d = v.toDouble();
        if (std::isfinite(d)) {
            appendNumber(value, d);
        } else {
            type = "e";
            value = "#NUM!";
        }
    } else if (isDateValue(v)) {
        appendNumber(value, dateToSerial(v));
    } else if (formula) {
        type = "str";
        value = escapeText(v.toString());
    } else {
        type = "s";
        appendInt(value, strings.index(v.toString()));
    }
    if (type) {
        o += " t=\"";
        o += type;
        o += '"';
    }
    if (!formula && value.empty() && !type) {
        o += "/>";
        return;
    }
    o += '>';
    if (formula) {
        o += "<f>";
        QStringView f(cell.formula);
        if (f.startsWith(QLatin1Char('=')))
            f = f.mid(1);
        o += escapeText(f.toString());
        o += "</f>";
    }
    if (!value.empty() || type) {
        o += "<v>";
        o += value;
        o += "</v>";
    }
    o += "</c>";
}

void appendPageSetup(std::string& o, const PageSetup& p)
{
    if (p == PageSetup{})
        return;
    o += "<pageSetup";
    if (p.paperSize > 0) {
        o += " paperSize=\"";
        appendInt(o, p.paperSize);
        o += '"';
    }
    if (p.zoom != 0 && p.zoom != 100) {
        o += " scale=\"";
        appendInt(o, p.zoom);
        o += '"';
    }
    for (const auto& [attribute, pages] : {std::pair{" fitToWidth=\"", p.fitToPagesWide}, std::pair{" fitToHeight=\"", p.fitToPagesTall}}) {
        if (pages != 1) {
            o += attribute;
            appendInt(o, pages);
            o += '"';
        }
    }
    o += p.orientation == 2 ? " orientation=\"landscape\"/>" : " orientation=\"portrait\"/>";
}

void appendDimension(std::string& o, const SheetData& sheet)
{
    if (sheet.cells.empty())
        return;
    int minR = kMaxRows, maxR = 1, minC = kMaxColumns, maxC = 1;
    for (const auto& [key, cell] : sheet.cells) {
        minR = std::min(minR, key.first);
        maxR = std::max(maxR, key.first);
        minC = std::min(minC, key.second);
        maxC = std::max(maxC, key.second);
    }
    o += "<dimension ref=\"";
    o += columnLetters(minC);
    appendInt(o, minR);
    o += ':';
    o += columnLetters(maxC);
    appendInt(o, maxR);
    o += "\"/>";
}

void appendSheetView(std::string& o, const SheetData& sheet, bool active)
{
    o += "<sheetViews><sheetView workbookViewId=\"0\"";
    if (active)
        o += " tabSelected=\"1\"";
    if (sheet.zoom != 100) {
        o += " zoomScale=\"";
        appendInt(o, std::clamp(sheet.zoom, 10, 400));
        o += '"';
    }
    o += '>';
    const int fr = std::clamp(sheet.frozenRows, 0, kMaxRows - 1);
    const int fc = std::clamp(sheet.frozenColumns, 0, kMaxColumns - 1);
    if (fr > 0 || fc > 0) {
        o += "<pane";
        if (fc > 0) {
            o += " xSplit=\"";
            appendInt(o, fc);
            o += '"';
        }
        if (fr > 0) {
            o += " ySplit=\"";
            appendInt(o, fr);
            o += '"';
        }
        o += " topLeftCell=\"";
        o += columnLetters(fc + 1);
        appendInt(o, fr + 1);
        o += "\" activePane=\"";
        o += fr > 0 && fc > 0 ? "bottomRight" : fr > 0 ? "bottomLeft" : "topRight";
        o += "\" state=\"frozen\"/>";
    }
    o += "</sheetView></sheetViews>";
}

// Columns: runs of neighbours with the same width and visibility become one entry.
void appendColumns(std::string& o, const SheetData& sheet)
{
    std::set<int> colSet;
    for (const auto& [c, w] : sheet.columnWidths)
        colSet.insert(c);
    colSet.insert(sheet.hiddenColumns.begin(), sheet.hiddenColumns.end());
    if (colSet.empty())
        return;
    const std::set<int> hidden(sheet.hiddenColumns.begin(), sheet.hiddenColumns.end());
    struct ColRun {
        int min, max;
        std::optional<double> width;
        bool hidden;
    };
    std::vector<ColRun> runs;
    for (int c : colSet) {
        if (c < 1 || c > kMaxColumns)
            continue;
        const auto w = sheet.columnWidths.find(c);
        std::optional<double> width;
        if (w != sheet.columnWidths.end())
            width = w->second;
        const bool h = hidden.count(c) > 0;
        if (!runs.empty() && runs.back().max == c - 1 && runs.back().width == width && runs.back().hidden == h)
            runs.back().max = c;
        else
            runs.push_back({c, c, width, h});
    }
    o += "<cols>";
    for (const ColRun& r : runs) {
        o += "<col min=\"";
        appendInt(o, r.min);
        o += "\" max=\"";
        appendInt(o, r.max);
        o += "\" width=\"";
        appendNumber(o, columnWidthToFile(r.width.value_or(sheet.defaultColumnWidth)));
        o += '"';
        if (r.width)
            o += " customWidth=\"1\"";
        if (r.hidden)
            o += " hidden=\"1\"";
        o += "/>";
    }
    o += "</cols>";
}

// Rows with cells, a height of their own or hidden, in order.
void appendSheetData(std::string& o, const SheetData& sheet, StyleTable& styles, SharedStrings& strings,
                     const std::vector<bool>& dateStyles)
{
    std::set<int> extraRows;
    for (const auto& [r, h] : sheet.rowHeights)
        extraRows.insert(r);
    extraRows.insert(sheet.hiddenRows.begin(), sheet.hiddenRows.end());
    const std::set<int> hiddenRows(sheet.hiddenRows.begin(), sheet.hiddenRows.end());
    o += "<sheetData>";
    auto cellIt = sheet.cells.begin();
    auto extraIt = extraRows.begin();
    while (cellIt != sheet.cells.end() || extraIt != extraRows.end()) {
        int row;
        if (cellIt == sheet.cells.end())
            row = *extraIt;
        else if (extraIt == extraRows.end())
            row = cellIt->first.first;
        else
            row = std::min(*extraIt, cellIt->first.first);
        if (extraIt != extraRows.end() && *extraIt == row)
            ++extraIt;
        if (row < 1 || row > kMaxRows) {
            while (cellIt != sheet.cells.end() && cellIt->first.first == row)
                ++cellIt;
            continue;
        }
        o += "<row r=\"";
        appendInt(o, row);
        o += '"';
        const auto h = sheet.rowHeights.find(row);
        if (h != sheet.rowHeights.end()) {
            o += " ht=\"";
            appendNumber(o, h->second);
            o += "\" customHeight=\"1\"";
        }
        if (hiddenRows.count(row))
            o += " hidden=\"1\"";
        bool any = false;
        for (; cellIt != sheet.cells.end() && cellIt->first.first == row; ++cellIt) {
            const int c = cellIt->first.second;
            if (c < 1 || c > kMaxColumns)
                continue;
            if (!any)
                o += '>';
            any = true;
            appendCell(o, row, c, cellIt->second, styles, strings, dateStyles);
        }
        o += any ? "</row>" : "/>";
    }
    o += "</sheetData>";
}

void appendProtection(std::string& o, const SheetProtection& p)
{
    if (!p.protectedSheet)
        return;
    o += "<sheetProtection";
    if (p.contents)
        o += " sheet=\"1\"";
    if (p.drawingObjects)
        o += " objects=\"1\"";
    if (p.scenarios)
        o += " scenarios=\"1\"";
    if (p.allowFormattingColumns)
        o += " formatColumns=\"0\"";
    if (p.allowFormattingRows)
        o += " formatRows=\"0\"";
    if (p.enableSelection == 1 || p.enableSelection == -4142)
        o += " selectLockedCells=\"1\"";
    if (p.enableSelection == -4142)
        o += " selectUnlockedCells=\"1\"";
    o += "/>";
}

std::string sheetXml(const SheetData& sheet, bool active, StyleTable& styles, SharedStrings& strings,
                     const std::vector<bool>& dateStyles)
{
    std::string o = kXmlHead;
    o.reserve(sheet.cells.size() * 40 + 1024);
    o += "<worksheet xmlns=\"";
    o += kMainNs;
    o += "\" xmlns:r=\"";
    o += kRelNs;
    o += "\">";
    if (sheet.pageSetup.zoom == 0)
        o += "<sheetPr><pageSetUpPr fitToPage=\"1\"/></sheetPr>";
    appendDimension(o, sheet);
    appendSheetView(o, sheet, active);
    // The default width is written even when it is the usual one: some programs take a narrower
    // width of their own when it is missing.
    o += "<sheetFormatPr defaultColWidth=\"";
    appendNumber(o, columnWidthToFile(sheet.defaultColumnWidth));
    o += "\" defaultRowHeight=\"";
    appendNumber(o, sheet.defaultRowHeight);
    o += "\" customHeight=\"1\"/>";
    appendColumns(o, sheet);
    appendSheetData(o, sheet, styles, strings, dateStyles);
    appendProtection(o, sheet.protection);
    o += "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/>";
    appendPageSetup(o, sheet.pageSetup);
    o += "</worksheet>";
    return o;
}

struct ZipHandle {
    zip_source_t* source = nullptr;
    zip_t* archive = nullptr;
    ~ZipHandle()
    {
        if (archive)
            zip_discard(archive);
        if (source)
            zip_source_free(source);
    }
};

QByteArray zipParts(const std::vector<std::pair<std::string, std::string>>& parts, const QString& path)
{
    ZipHandle z;
    zip_error_t err;
    zip_error_init(&err);
    z.source = zip_source_buffer_create(nullptr, 0, 0, &err);
    if (!z.source)
        throw writeError(path, QString::fromUtf8(zip_error_strerror(&err)));
    zip_source_keep(z.source);
    z.archive = zip_open_from_source(z.source, ZIP_TRUNCATE, &err);
    if (!z.archive)
        throw writeError(path, QString::fromUtf8(zip_error_strerror(&err)));
    for (const auto& [name, data] : parts) {
        zip_source_t* s = zip_source_buffer(z.archive, data.data(), data.size(), 0);
        const zip_int64_t index = s ? zip_file_add(z.archive, name.c_str(), s, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (s)
                zip_source_free(s);
            throw writeError(path, QString::fromUtf8(zip_strerror(z.archive)));
        }
        // The fastest deflate level: most of the saving time goes into compression otherwise,
        // for a file only a little larger.
        zip_set_file_compression(z.archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 1);
    }
    if (zip_close(z.archive) < 0)
        throw writeError(path, QString::fromUtf8(zip_strerror(z.archive)));
    z.archive = nullptr;

    QByteArray bytes;
    if (zip_source_open(z.source) < 0 || zip_source_seek(z.source, 0, SEEK_END) < 0)
        throw writeError(path, QString::fromUtf8(zip_error_strerror(zip_source_error(z.source))));
    const zip_int64_t size = zip_source_tell(z.source);
    zip_source_seek(z.source, 0, SEEK_SET);
    bytes.resize(qsizetype(size));
    const zip_int64_t got = zip_source_read(z.source, bytes.data(), zip_uint64_t(size));
    zip_source_close(z.source);
    if (got != size)
        throw writeError(path, QString::fromUtf8(zip_error_strerror(zip_source_error(z.source))));
    return bytes;
}

}  // namespace

void writeWorkbookFile(const BookData& book, const QString& path, bool macroEnabled)
{
    // A file with names the format refuses does not open in other spreadsheet programs.
    if (const QString problem = bookProblem(book); !problem.isEmpty())
        throw writeError(path, problem);
    int active = book.activeSheet >= 0 && size_t(book.activeSheet) < book.sheets.size() ? book.activeSheet : 0;
    while (book.sheets[size_t(active)].visible != -1)   // one sheet is shown: bookProblem checked it
        active = (active + 1) % int(book.sheets.size());

    StyleTable styles(book.styles);
    std::vector<bool> dateStyles;
    dateStyles.reserve(book.styles.size());
    for (const CellStyle& s : book.styles)
        dateStyles.push_back(isDateFormat(s.numberFormat));
    SharedStrings strings;

    std::vector<std::pair<std::string, std::string>> parts;
    const size_t n = book.sheets.size();
    std::vector<std::string> sheetParts;
    sheetParts.reserve(n);
    for (size_t i = 0; i < n; ++i)
        sheetParts.push_back(sheetXml(book.sheets[i], int(i) == active, styles, strings, dateStyles));

    std::string types = kXmlHead;
    types += "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
             "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
             "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
             "<Override PartName=\"/xl/workbook.xml\" ContentType=\"";
    types += macroEnabled ? "application/vnd.ms-excel.sheet.macroEnabled.main+xml"
                          : "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
    types += "\"/>";
    for (size_t i = 0; i < n; ++i) {
        types += "<Override PartName=\"/xl/worksheets/sheet";
        appendInt(types, qint64(i + 1));
        types += ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
    }
    types += "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
             "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
             "</Types>";
    parts.emplace_back("[Content_Types].xml", std::move(types));

    std::string rootRels = kXmlHead;
    rootRels += "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                "<Relationship Id=\"rId1\" Type=\"";
    rootRels += kRelTypeBase;
    rootRels += "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
    parts.emplace_back("_rels/.rels", std::move(rootRels));

    std::string wb = kXmlHead;
    wb += "<workbook xmlns=\"";
    wb += kMainNs;
    wb += "\" xmlns:r=\"";
    wb += kRelNs;
    wb += "\"><bookViews><workbookView activeTab=\"";
    appendInt(wb, active);
    wb += "\"/></bookViews><sheets>";
    for (size_t i = 0; i < n; ++i) {
        wb += "<sheet name=\"";
        wb += escapeText(book.sheets[i].name, true);
        wb += "\" sheetId=\"";
        appendInt(wb, qint64(i + 1));
        if (book.sheets[i].visible != -1)
            wb += book.sheets[i].visible == 2 ? "\" state=\"veryHidden" : "\" state=\"hidden";
        wb += "\" r:id=\"rId";
        appendInt(wb, qint64(i + 1));
        wb += "\"/>";
    }
    wb += "</sheets>";
    if (!book.names.empty()) {
        wb += "<definedNames>";
        for (const DefinedName& d : book.names) {
            wb += "<definedName name=\"";
            wb += escapeText(nameToFile(d.name), true);
            wb += '"';
            if (d.sheet >= 0) {
                wb += " localSheetId=\"";
                appendInt(wb, d.sheet);
                wb += '"';
            }
            wb += '>';
            QStringView ref(d.refersTo);
            if (ref.startsWith(QLatin1Char('=')))
                ref = ref.mid(1);
            wb += escapeText(ref.toString());
            wb += "</definedName>";
        }
        wb += "</definedNames>";
    }
    wb += "</workbook>";
    parts.emplace_back("xl/workbook.xml", std::move(wb));

    std::string wbRels = kXmlHead;
    wbRels += "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    auto addRel = [&](size_t id, const char* type, const std::string& target) {
        wbRels += "<Relationship Id=\"rId";
        appendInt(wbRels, qint64(id));
        wbRels += "\" Type=\"";
        wbRels += kRelTypeBase;
        wbRels += type;
        wbRels += "\" Target=\"";
        wbRels += target;
        wbRels += "\"/>";
    };
    for (size_t i = 0; i < n; ++i)
        addRel(i + 1, "worksheet", "worksheets/sheet" + std::to_string(i + 1) + ".xml");
    addRel(n + 1, "styles", "styles.xml");
    addRel(n + 2, "sharedStrings", "sharedStrings.xml");
    wbRels += "</Relationships>";
    parts.emplace_back("xl/_rels/workbook.xml.rels", std::move(wbRels));

    // Styles and strings are complete only after every sheet is written.
    parts.emplace_back("xl/styles.xml", styles.xml());
    parts.emplace_back("xl/sharedStrings.xml", strings.xml());
    for (size_t i = 0; i < n; ++i)
        parts.emplace_back("xl/worksheets/sheet" + std::to_string(i + 1) + ".xml", std::move(sheetParts[i]));

    const QByteArray bytes = zipParts(parts, path);

    // The old file stays as it was until every byte of the new one is written.
    if (const QString why = os::writeWholeFile(path, bytes); !why.isEmpty())
        throw writeError(path, why);
}

}  // namespace xl
