#include "workbook/condition_file.h"

#include "platform/os/clock.h"
#include "platform/os/save_file.h"
#include "platform/text/cp932.h"
#include "platform/text/text_constants.h"
#include "platform/text/time_of_day.h"
#include "platform/text/vb.h"
#include "platform/xl/xl.h"
#include "workbook/recalc.h"
#include "workbook/template.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <optional>

namespace condition_file {

namespace {

const QString kMagic = QStringLiteral("QVCOND");
const QString kSaved = QStringLiteral("SAVED");
const QString kRange = QStringLiteral("RANGE");
const QString kEnd = QStringLiteral("END");

// ---- values -------------------------------------------------------------------------------

QString formatNumber(double d)
{
    if (d == std::floor(d) && std::fabs(d) < 1e15)
        return QString::number(qint64(d));
    return QLocale::c().toString(d, 'g', QLocale::FloatingPointShortest);
}

QString formatDateTime(const QDateTime& dt)
{
    const QTime t = dt.time();
    return dt.date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('T')
           + t.toString(t.msec() ? QStringLiteral("hh:mm:ss.zzz") : QStringLiteral("hh:mm:ss"));
}

// ---- CSV ----------------------------------------------------------------------------------

QString quoteField(const QString& s)
{
    if (!s.contains(QLatin1Char(',')) && !s.contains(QLatin1Char('"')) && !s.contains(QLatin1Char('\r'))
        && !s.contains(QLatin1Char('\n')))
        return s;
    QString q = s;
    q.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

struct Record {
    QStringList fields;
    int line = 0;
};

// RFC 4180 records; CR LF, LF or CR end a record outside quotes.
std::optional<QString> splitRecords(const QString& text, std::vector<Record>& out)
{
    Record rec;
    QString field;
    int line = 1;
    rec.line = 1;
    bool quoted = false;      // inside a quoted field
    bool wasQuoted = false;   // the current field had quotes (only a separator may follow)
    const qsizetype n = text.size();
    auto endField = [&] {
        rec.fields << field;
        field.clear();
        wasQuoted = false;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                    wasQuoted = true;
                }
            } else {
                if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && !(i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))))
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            endField();
            out.push_back(std::move(rec));
            rec = Record{};
            rec.line = ++line;
        } else if (wasQuoted) {
            return QStringLiteral("%1 行目: 引用符で囲んだ値の後に「,」以外の文字があります。").arg(line);
        } else if (c == QLatin1Char('"') && field.isEmpty()) {
            quoted = true;
        } else {
            field += c;
        }
    }
    if (quoted)
        return QStringLiteral("%1 行目: 引用符が閉じていません（ファイルが途中で切れています）。").arg(rec.line);
    if (!field.isEmpty() || !rec.fields.isEmpty() || wasQuoted) {
        endField();
        out.push_back(std::move(rec));
    }
    return std::nullopt;
}

bool allEmpty(const QStringList& fields, qsizetype from = 0)
{
    for (qsizetype i = from; i < fields.size(); ++i)
        if (!fields.at(i).isEmpty())
            return false;
    return true;
}

// A count field of a RANGE line: a whole number 0..limit.
std::optional<int> countField(const QString& s, int limit)
{
    bool ok = false;
    const int v = s.trimmed().toInt(&ok);
    if (!ok || v < 0 || v > limit)
        return std::nullopt;
    return v;
}

// ---- workbook -----------------------------------------------------------------------------

std::optional<xl::Range> findRange(xl::Workbook& book, const ListedRange& r)
{
    xl::Worksheet* sheet = book.findSheet(r.sheet);
    if (!sheet)
        return std::nullopt;
    return book.findName(r.name, sheet);
}

xl::Block readBlock(const xl::Range& r)
{
    if (r.count() == 1) {
        xl::Block b(1, 1);
        b(1, 1) = r.value();
        return b;
    }
    return r.block();
}

// The block without its trailing empty rows and columns.
xl::Block trimmed(const xl::Block& b)
{
    int rows = 0, cols = 0;
    for (int i = 1; i <= b.rows(); ++i)
        for (int j = 1; j <= b.columns(); ++j)
            if (b(i, j).isValid()) {
                rows = std::max(rows, i);
                cols = std::max(cols, j);
            }
    xl::Block t(rows, cols);
    for (int i = 1; i <= rows; ++i)
        for (int j = 1; j <= cols; ++j)
            t(i, j) = b(i, j);
    return t;
}

// A cell that shows a time of day (hours, no date).
bool isTimeFormat(const QString& format)
{
    return format.contains(QLatin1Char('h'), Qt::CaseInsensitive) && !format.contains(QLatin1Char('y'), Qt::CaseInsensitive)
           && !format.contains(QLatin1Char('d'), Qt::CaseInsensitive);
}

// Times of day are day fractions in the cells; the file shows them as hh:mm:ss where the cell
// shows a time, so that a person reading or editing the file sees 08:30 rather than 0.354166...
// A time another program kept to 15 digits counts as its whole second; anything finer stays a
// number, as 24:00 does, so nothing is lost.

xl::Block withTimes(xl::Block b, const xl::Range& r)
{
    for (int i = 1; i <= b.rows(); ++i)
        for (int j = 1; j <= b.columns(); ++j) {
            const QVariant& v = b(i, j);
            if (v.typeId() != QMetaType::Double)
                continue;
            const double d = v.toDouble();
            // Only a fraction of a day can be a time of day.
            if (d < 0 || d >= 1)
                continue;
            const qint64 seconds = text::wholeSeconds(d);
            if (!text::isWholeSecond(d) || seconds >= 86400)
                continue;
            if (!isTimeFormat(r.cells(i, j).numberFormat()))
                continue;
            b(i, j) = QTime::fromMSecsSinceStartOfDay(int(seconds * 1000));
        }
    return b;
}

QString where(const FileBlock& b)
{
    return QStringLiteral("%1!%2").arg(b.sheet, b.name);
}

// Values the month depends on: the file must not carry a period the calendar cannot hold.
struct Bounds {
    const char16_t* name;
    int low, high;
};
constexpr Bounds kPeriodBounds[] = {{u"年", 1900, 9998}, {u"月", 1, 12}, {u"日", 1, 31}, {u"基準開始日", 1, 31}};

// The number the reading takes from a value: a text gives its leading number, as Val reads it.
// A date or time is read through its text, whose leading number always fits.
std::optional<double> readNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Double: return v.toDouble();
    case QMetaType::Bool: return v.toBool() ? -1 : 0;
    case QMetaType::QString: return Val(v.toString());
    default: return std::nullopt;
    }
}

// Why a block holds a number its variable cannot take, or nothing.
std::optional<QString> checkFieldTypes(const FileBlock& b)
{
    for (int j = 1; j <= b.values.columns(); ++j) {
        const std::optional<NumberType> type = workbook::numberCellType(b.sheet, b.name, j);
        if (!type)
            continue;
        for (int i = 1; i <= b.values.rows(); ++i) {
            const std::optional<double> d = readNumber(b.values(i, j));
            if (d && !fitsIn(*type, *d))
                return QStringLiteral("%1 行目: %2 の %3 列目の「%4」は %5 に収まりません（%6）。")
                    .arg(b.rowLines.at(size_t(i - 1)))
                    .arg(where(b))
                    .arg(j)
                    .arg(encodeValue(b.values(i, j)), typeName(*type), typeRange(*type));
        }
    }
    return std::nullopt;
}

std::optional<QString> checkPeriodValue(const FileBlock& b)
{
    for (const Bounds& bound : kPeriodBounds) {
        if (b.name.compare(QString::fromUtf16(bound.name), Qt::CaseInsensitive) != 0)
            continue;
        // The period has no default: an empty value would start the month on a day nobody chose.
        if (b.values.rows() == 0 || !b.values(1, 1).isValid())
            return QStringLiteral("%1 行目: %2 が空白です（値が必要です）。").arg(b.line).arg(where(b));
        const QVariant v = b.values(1, 1);
        const bool number = v.typeId() == QMetaType::Double;
        const double d = v.toDouble();
        if (number && d == std::floor(d) && d >= bound.low && d <= bound.high)
            return std::nullopt;
        return QStringLiteral("%1 行目: %2 の値「%3」が正しくありません（%4 から %5 までの整数です）。")
            .arg(b.line)
            .arg(where(b), encodeValue(v))
            .arg(bound.low)
            .arg(bound.high);
    }
    return std::nullopt;
}

// The value to hand to the cell so that it stores exactly v: a text the cell would turn into
// a number, date or Boolean gets the typed-entry apostrophe, except in a text-formatted cell,
// which keeps what it is given.
QVariant cellEntry(const QVariant& v, const xl::Range& cell)
{
    if (v.typeId() != QMetaType::QString)
        return v;
    const QString s = v.toString();
    const QVariant asTyped = xl::cellValue(s);
    if (asTyped.typeId() == QMetaType::QString && asTyped.toString() == s)
        return v;
    if (cell.numberFormat() == QLatin1String("@"))
        return v;
    return QVariant(QLatin1Char('\'') + s);
}

QString resolvePath(xl::Workbook& book, const QString& path)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    const QString base = book.path().isEmpty() ? QDir::currentPath() : book.path();
    return QDir(base).filePath(path);
}

std::optional<QString> handOverPath(xl::Workbook& book, QString& path)
{
    xl::Worksheet* list = book.findSheet(QStringLiteral("名前リスト"));
    if (!list)
        return QStringLiteral("シート「名前リスト」がありません。");
    path = list->range(QStringLiteral("C1")).value().toString().trimmed();
    if (path.isEmpty())
        return QStringLiteral("条件ファイルのパスが「名前リスト」のセル C1 にありません。");
    path = resolvePath(book, path);
    return std::nullopt;
}

}  // namespace

// ---- ranges of the condition set ----------------------------------------------------------

const std::vector<ListedRange>& listedRanges()
{
    static const std::vector<ListedRange> list = [] {
        // Publishing settings are not conditions; last month's data is (a month can be carried over
        // by hand, and 初期値使用 reads it straight from the book).
        const QStringList skipped{QStringLiteral("HTML_ITEM"), QStringLiteral("HTML_PATH")};
        const QStringList carried{QStringLiteral("先月_月"), QStringLiteral("先月_結果"), QStringLiteral("過去計")};
        const QStringList period{QStringLiteral("年"), QStringLiteral("月"), QStringLiteral("日"),
                                 QStringLiteral("基準開始日")};
        std::vector<ListedRange> l;
        for (const workbook::NameEntry& n : workbook::templateNames())
            if ((n.kind == workbook::NameKind::Input && !skipped.contains(n.name)) || carried.contains(n.name))
                l.push_back({n.sheet, n.name, period.contains(n.name)});
        return l;
    }();
    return list;
}

// ---- values -------------------------------------------------------------------------------

namespace {

const QRegularExpression& numberPattern()
{
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?$"));
    return number;
}

// Why a field written as a number holds none a cell can keep (beyond a double either way), or
// nothing. A text field that looks so is written with the apostrophe, so it never lands here.
std::optional<QString> numberOutOfRange(const QString& field)
{
    if (field.startsWith(QLatin1Char('\'')))
        return std::nullopt;
    const QString t = field.trimmed();
    if (!numberPattern().match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double d = QLocale::c().toDouble(t, &ok);
    if (ok && std::isfinite(d))
        return std::nullopt;
    return std::isinf(d) ? QStringLiteral("大きすぎて数値として扱えません（±1.79769313486232E+308 までです）")
                         : QStringLiteral("0 に近すぎて数値として扱えません");
}

// A time of day as people and spreadsheet programs write it: H:MM or H:MM:SS, on a 24-hour clock,
// or on a 12-hour one with AM/PM or 午前/午後 before or after it.
std::optional<QTime> timeOfDay(const QString& t)
{
    static const QRegularExpression time(
        QStringLiteral("^(?:(AM|PM|午前|午後)\\s*)?(\\d{1,2}):(\\d{2})(?::(\\d{2}))?(?:\\s*(AM|PM|午前|午後))?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = time.match(t);
    if (!m.hasMatch() || (m.hasCaptured(1) && m.hasCaptured(5)))
        return std::nullopt;
    int hour = m.captured(2).toInt();
    const int minute = m.captured(3).toInt();
    const int second = m.hasCaptured(4) ? m.captured(4).toInt() : 0;
    const QString half = (m.hasCaptured(1) ? m.captured(1) : m.captured(5)).toUpper();
    if (!half.isEmpty()) {
        if (hour > 12)
            return std::nullopt;
        const bool afternoon = half == QLatin1String("PM") || half == QStringLiteral("午後");
        hour = hour % 12 + (afternoon ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return QTime(hour, minute, second);
}

}  // namespace

QString encodeValue(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return formatDateTime(value.toDateTime());
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("hh:mm:ss"));
    case QMetaType::QString: {
        const QString s = value.toString();
        if (s.startsWith(QLatin1Char('\'')) || decodeValue(s).typeId() != QMetaType::QString || numberOutOfRange(s))
            return QLatin1Char('\'') + s;
        return s;
    }
    default: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        return ok ? formatNumber(d) : value.toString();
    }
    }
}

QVariant decodeValue(const QString& field)
{
    if (field.isEmpty())
        return QVariant();
    if (field.startsWith(QLatin1Char('\'')))
        return field.size() == 1 ? QVariant() : QVariant(field.mid(1));
    // Blanks around a typed value are the hand editor's ("日勤, 2"); a text keeps them.
    const QString t = field.trimmed();
    const QRegularExpression& number = numberPattern();
    static const QRegularExpression date(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    static const QRegularExpression dateTime(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})T(\\d{2}:\\d{2}:\\d{2}(\\.\\d{1,3})?)$"));
    if (number.match(t).hasMatch()) {
        bool ok = false;
        const double d = QLocale::c().toDouble(t, &ok);
        if (ok && std::isfinite(d))
            return d;
        return field;
    }
    if (t.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0)
        return false;
    if (date.match(t).hasMatch()) {
        const QDate d = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
        return d.isValid() ? QVariant(d) : QVariant(field);
    }
    if (const std::optional<QTime> tm = timeOfDay(t))
        return *tm;
    if (const auto m = dateTime.match(t); m.hasMatch()) {
        const QDate d = QDate::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd"));
        const QString ts = m.captured(2);
        const QTime tm = QTime::fromString(ts, ts.size() > 8 ? QStringLiteral("hh:mm:ss.z") : QStringLiteral("hh:mm:ss"));
        return d.isValid() && tm.isValid() ? QVariant(QDateTime(d, tm)) : QVariant(field);
    }
    return field;
}

// ---- file ---------------------------------------------------------------------------------

QByteArray serialize(const ConditionFile& file)
{
    QString out;
    out += kMagic + QLatin1Char(',') + QString::number(kFormatVersion) + kCrLf;
    if (file.saved.isValid())
        out += kSaved + QLatin1Char(',') + formatDateTime(file.saved) + kCrLf;
    for (const FileBlock& b : file.blocks) {
        out += QStringList{kRange, quoteField(b.sheet), quoteField(b.name), QString::number(b.values.rows()),
                           QString::number(b.values.columns())}
                   .join(QLatin1Char(','))
               + kCrLf;
        for (int i = 1; i <= b.values.rows(); ++i) {
            QStringList fields;
            for (int j = 1; j <= b.values.columns(); ++j)
                fields << quoteField(encodeValue(b.values(i, j)));
            out += fields.join(QLatin1Char(',')) + kCrLf;
        }
    }
    out += kEnd + kCrLf;
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

Status parse(const QByteArray& bytes, ConditionFile& out)
{
    std::optional<QString> text = text::fromUtf8Strict(bytes);
    if (!text && !bytes.startsWith("\xEF\xBB\xBF"))
        text = text::fromCp932(bytes);
    if (!text)
        return Status::failure(QStringLiteral("文字コードを読み取れません（UTF-8 でも Shift_JIS でもありません）。"));

    std::vector<Record> records;
    if (const auto err = splitRecords(*text, records))
        return Status::failure(*err);

    ConditionFile file;
    size_t k = 0;
    // A spreadsheet program that re-saves the file pads short lines with empty fields.
    auto keyword = [](const Record& r) { return r.fields.value(0).trimmed(); };
    if (records.empty() || keyword(records[0]).compare(kMagic, Qt::CaseInsensitive) != 0)
        return Status::failure(QStringLiteral("条件ファイルではありません（1 行目が「QVCOND」で始まっていません）。"));
    {
        bool ok = false;
        const int version = records[0].fields.value(1).trimmed().toInt(&ok);
        if (!ok || !allEmpty(records[0].fields, 2))
            return Status::failure(QStringLiteral("1 行目: 形式の版がありません。"));
        if (version != kFormatVersion)
            return Status::failure(
                QStringLiteral("条件ファイルの形式の版 %1 は読めません（読めるのは版 %2 です）。").arg(version).arg(kFormatVersion));
    }
    k = 1;
    bool ended = false;
    while (k < records.size()) {
        const Record& r = records[k];
        const QString key = keyword(r);
        if (allEmpty(r.fields)) {
            ++k;
            continue;
        }
        if (ended)
            return Status::failure(QStringLiteral("%1 行目: END の後にデータがあります。").arg(r.line));
        if (key.compare(kEnd, Qt::CaseInsensitive) == 0) {
            ended = true;
            ++k;
            continue;
        }
        if (key.compare(kSaved, Qt::CaseInsensitive) == 0) {
            file.saved = decodeValue(r.fields.value(1).trimmed()).toDateTime();
            ++k;
            continue;
        }
        if (key.compare(kRange, Qt::CaseInsensitive) != 0)
            return Status::failure(QStringLiteral("%1 行目: 「%2」は条件ファイルの行ではありません。").arg(r.line).arg(key));
        // Generous caps against runaway sizes: the real check is against the range of the book.
        const auto rows = countField(r.fields.value(3), 10000);
        const auto cols = countField(r.fields.value(4), 1000);
        // Names are kept trimmed, so a name of only white space is no name.
        const QString sheet = r.fields.value(1).trimmed();
        const QString name = r.fields.value(2).trimmed();
        if (r.fields.size() < 5 || !allEmpty(r.fields, 5) || sheet.isEmpty() || name.isEmpty() || !rows
            || !cols || ((*rows == 0) != (*cols == 0)))
            return Status::failure(
                QStringLiteral("%1 行目: RANGE 行はシート名、範囲名、行数（0〜10000）、列数（0〜1000）の順です。").arg(r.line));
        if (qint64(*rows) * *cols > kMaxBlockCells)
            return Status::failure(QStringLiteral("%1 行目: %2 の %3 行 × %4 列は大きすぎます。")
                                       .arg(r.line)
                                       .arg(sheet + QLatin1Char('!') + name)
                                       .arg(*rows)
                                       .arg(*cols));
        FileBlock b{sheet, name, xl::Block(*rows, *cols), r.line, {}};
        ++k;
        for (int i = 1; i <= *rows; ++i, ++k) {
            if (k >= records.size())
                return Status::failure(QStringLiteral("%1 行目: %2 の行が %3 行足りません（ファイルが途中で切れています）。")
                                           .arg(b.line)
                                           .arg(where(b))
                                           .arg(*rows - i + 1));
            const QStringList& f = records[k].fields;
            b.rowLines.push_back(records[k].line);
            if (!allEmpty(f, *cols))
                return Status::failure(QStringLiteral("%1 行目: %2 は %3 列ですが、値がそれより多くあります。")
                                           .arg(records[k].line)
                                           .arg(where(b))
                                           .arg(*cols));
            for (int j = 1; j <= *cols && j <= f.size(); ++j) {
                // A number no cell can hold would stop the recalculation after the sheets changed.
                if (const auto why = numberOutOfRange(f.at(j - 1)))
                    return Status::failure(QStringLiteral("%1 行目: %2 の %3 列目の「%4」は%5。")
                                               .arg(records[k].line)
                                               .arg(where(b))
                                               .arg(j)
                                               .arg(f.at(j - 1).trimmed(), *why));
                b.values(i, j) = decodeValue(f.at(j - 1));
            }
        }
        if (const auto err = checkFieldTypes(b))
            return Status::failure(*err);
        for (const FileBlock& other : file.blocks)
            if (other.sheet.compare(b.sheet, Qt::CaseInsensitive) == 0
                && other.name.compare(b.name, Qt::CaseInsensitive) == 0)
                return Status::failure(QStringLiteral("%1 行目: %2 が二度あります（%3 行目にもあります）。")
                                           .arg(b.line)
                                           .arg(where(b))
                                           .arg(other.line));
        file.blocks.push_back(std::move(b));
    }
    if (!ended)
        return Status::failure(QStringLiteral("END 行がありません（ファイルが途中で切れています）。"));
    out = std::move(file);
    return Status{};
}

// ---- workbook -----------------------------------------------------------------------------

Status saveConditions(xl::Workbook& book, const QString& path, const std::vector<ListedRange>& ranges)
{
    ConditionFile file;
    file.saved = os::now();
    try {
        for (const ListedRange& r : ranges) {
            const auto range = findRange(book, r);
            if (range)
                file.blocks.push_back({r.sheet, r.name, trimmed(withTimes(readBlock(*range), *range)), 0, {}});
        }
    } catch (const xl::Error& e) {
        return Status::failure(QStringLiteral("条件を読み出せません: %1").arg(e.text()));
    }
    if (const QString why = os::writeWholeFile(path, serialize(file)); !why.isEmpty())
        return Status::failure(QStringLiteral("条件ファイル「%1」を書けません: %2").arg(path, why));
    return Status{};
}

namespace {

// A block of the file and the book's range it goes to.
struct LoadTarget {
    const ListedRange* listed;
    std::optional<xl::Range> range;
    const FileBlock* block = nullptr;
};

// Reads path and matches every block with its range, checking that it fits; nothing changes.
Status prepareLoad(xl::Workbook& book, const QString& path, const std::vector<ListedRange>& ranges,
                   ConditionFile& file, std::vector<LoadTarget>& targets)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("条件ファイル「%1」を開けません: %2").arg(path, in.errorString()));
    const auto tooLarge = [&path] {
        return Status::failure(QStringLiteral("条件ファイル「%1」は大きすぎます（上限 %2 バイト）。").arg(path).arg(kMaxFileBytes));
    };
    if (in.size() > kMaxFileBytes)
        return tooLarge();
    // Read at most one byte more than allowed: a device that reports no size is caught too.
    const QByteArray bytes = in.read(kMaxFileBytes + 1);
    if (in.error() != QFileDevice::NoError)
        return Status::failure(QStringLiteral("条件ファイル「%1」を読めません: %2").arg(path, in.errorString()));
    if (bytes.size() > kMaxFileBytes)
        return tooLarge();
    in.close();

    Status status = parse(bytes, file);
    if (!status.ok) {
        status.error = QStringLiteral("条件ファイル「%1」: %2").arg(QFileInfo(path).fileName(), status.error);
        return status;
    }

    // Match every block with its range and check that it fits before anything changes.
    targets.clear();
    for (const ListedRange& r : ranges)
        targets.push_back({&r, findRange(book, r)});
    for (const FileBlock& b : file.blocks) {
        LoadTarget* t = nullptr;
        for (LoadTarget& c : targets)
            if (c.listed->sheet.compare(b.sheet, Qt::CaseInsensitive) == 0
                && c.listed->name.compare(b.name, Qt::CaseInsensitive) == 0)
                t = &c;
        if (!t || !t->range) {
            status.warnings << QStringLiteral("%1 行目: %2 はこのブックの条件にないので読み飛ばしました。").arg(b.line).arg(where(b));
            continue;
        }
        const int rows = t->range->rowCount(), cols = t->range->columnCount();
        for (int i = 1; i <= b.values.rows(); ++i)
            for (int j = 1; j <= b.values.columns(); ++j)
                if ((i > rows || j > cols) && b.values(i, j).isValid())
                    return Status::failure(
                        QStringLiteral("条件ファイル「%1」: %2 行目: %3 の %4 行 %5 列目は範囲（%6 行 × %7 列）の外です。")
                            .arg(QFileInfo(path).fileName())
                            .arg(b.line)
                            .arg(where(b))
                            .arg(i)
                            .arg(j)
                            .arg(rows)
                            .arg(cols));
        // A time cell takes a time: a text there would leave the shift without hours.
        for (int i = 1; i <= b.values.rows(); ++i)
            for (int j = 1; j <= b.values.columns(); ++j)
                if (b.values(i, j).typeId() == QMetaType::QString && isTimeFormat(t->range->cells(i, j).numberFormat()))
                    return Status::failure(
                        QStringLiteral("条件ファイル「%1」: %2 行目: %3 の %4 列目の「%5」は時刻ではありません（7:30、07:30:00、7:30 PM、午後7:30 の形です）。")
                            .arg(QFileInfo(path).fileName())
                            .arg(b.rowLines.at(size_t(i - 1)))
                            .arg(where(b))
                            .arg(j)
                            .arg(b.values(i, j).toString()));
        if (const auto err = checkPeriodValue(b))
            return Status::failure(QStringLiteral("条件ファイル「%1」: %2").arg(QFileInfo(path).fileName(), *err));
        t->block = &b;
    }
    // The roster reading holds at most 16 ban records, sheet and group bans together (its count of a
    // table is the last row with a shift name). The book can hold more and says so; the file loads,
    // so that the user's own conditions are never refused, but the caller hears of it.
    int bans = 0;
    for (const FileBlock& b : file.blocks)
        if (b.name.compare(QStringLiteral("組合せ禁止"), Qt::CaseInsensitive) == 0
            || b.name.compare(QStringLiteral("組合せ禁止_grp"), Qt::CaseInsensitive) == 0)
            for (int i = b.values.rows(); i >= 1; --i)
                if (b.values(i, 1).isValid()) {
                    bans += i;
                    break;
                }
    if (bans > workbook::kBanRecordLimit)
        status.warnings << QStringLiteral("組合せ禁止と職制の組合せ禁止が合わせて %1 件あります。作成には %2 件までにしてください。")
                               .arg(bans)
                               .arg(workbook::kBanRecordLimit);
    return status;
}

}  // namespace

Status checkConditions(xl::Workbook& book, const QString& path, const std::vector<ListedRange>& ranges)
{
    ConditionFile file;
    std::vector<LoadTarget> targets;
    return prepareLoad(book, path, ranges, file, targets);
}

Status loadConditions(xl::Workbook& book, const QString& path, const std::vector<ListedRange>& ranges)
{
    ConditionFile file;
    std::vector<LoadTarget> targets;
    Status status = prepareLoad(book, path, ranges, file, targets);
    if (!status.ok)
        return status;

    // Clear first, then write: ranges that share cells (a column of a wider table) keep what the
    // file gives them whichever of the two the file lacks.
    try {
        for (LoadTarget& t : targets)
            if (t.range && (t.block || !t.listed->keepWhenAbsent))
                t.range->clearContents();
        for (LoadTarget& t : targets) {
            if (!t.range || !t.block)
                continue;
            const xl::Block& v = t.block->values;
            const int rows = std::min(v.rows(), t.range->rowCount());
            const int cols = std::min(v.columns(), t.range->columnCount());
            if (rows == 0 || cols == 0)
                continue;
            xl::Block entries(rows, cols);
            for (int i = 1; i <= rows; ++i)
                for (int j = 1; j <= cols; ++j)
                    entries(i, j) = cellEntry(v(i, j), t.range->cells(i, j));
            xl::Range target = t.range->resize(rows, cols);
            if (rows == 1 && cols == 1)
                target.setValue(entries(1, 1));
            else
                target.setBlock(entries);
        }
    } catch (const xl::Error& e) {
        // Values that passed the checks above always fit a cell; this is a fault of the book.
        return Status::failure(QStringLiteral("条件を書き込めません: %1").arg(e.text()));
    }
    book.calculate();
    return status;
}

Status 条件保存(xl::Workbook& book)
{
    QString path;
    if (const auto err = handOverPath(book, path))
        return Status::failure(*err);
    return saveConditions(book, path);
}

Status 条件読込(xl::Workbook& book)
{
    QString path;
    if (const auto err = handOverPath(book, path))
        return Status::failure(*err);
    return loadConditions(book, path);
}

void registerMacros(xl::Workbook& book)
{
    const QString module = QStringLiteral("MyMainから起動");
    book.registerMacro(module, QStringLiteral("条件読込"),
                       [](xl::Workbook& b) { return QVariant(条件読込(b).error); });
    book.registerMacro(module, QStringLiteral("条件保存"),
                       [](xl::Workbook& b) { return QVariant(条件保存(b).error); });
}

}  // namespace condition_file
