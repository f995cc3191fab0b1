#include "workbook/recalc.h"

#include "platform/text/vb.h"
#include "workbook/holidays.h"
#include "workbook/layout.h"
#include "workbook/sheet_names.h"
#include "workbook/template.h"
#include "workbook/views.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

const QString kMain = u"Main"_s;

void put(const xl::Range& cell, const QVariant& v)
{
    if (cell.value() != v)
        cell.setValue(v);
}

void putBlock(const xl::Range& r, const xl::Block& b)
{
    if (r.block() != b)
        r.setBlock(b);
}

void fill(xl::Worksheet& ws, int row, int col, const QColor& color)
{
    if (ws.styleAt(row, col).fill != color)
        ws.cells(row, col).interior().setColor(color);
}

void fontColor(xl::Worksheet& ws, int row, int col, const QColor& color)
{
    if (ws.styleAt(row, col).fontColor != color)
        ws.cells(row, col).font().setColor(color);
}

QVariant num(double v)
{
    return QVariant(v);
}

QVariant textOrEmpty(const QString& s)
{
    return s.isEmpty() ? QVariant() : QVariant(s);
}

bool isCross(const QString& t)
{
    static const QStringList marks = {u"×"_s, u"x"_s, u"X"_s, u"✕"_s, u"✖"_s, u"Ｘ"_s, u"ｘ"_s};
    return marks.contains(t);
}

const QString kWeekdays = u"月火水木金土日"_s;

// Forbidden shifts of one personal-condition cell: × forbids all, abbreviations (separated by
// commas, blanks or written together when each is one character) forbid those shifts, a number
// is taken as the mask itself. ok is false when part of the text names no shift.
struct Forbidden { int mask = 0; bool ok = true; };

Forbidden parseForbidden(const QVariant& v, const ShiftTypes& types)
{
    Forbidden f;
    if (!v.isValid())
        return f;
    if (v.typeId() == QMetaType::Double) {
        const double m = v.toDouble();
        f.ok = m >= 0 && m <= kAllShiftsMask && m == std::floor(m);
        f.mask = f.ok ? int(m) : 0;
        return f;
    }
    const QString t = XlText(v).trimmed();
    if (t.isEmpty())
        return f;
    if (isCross(t)) {
        f.mask = kAllShiftsMask;
        return f;
    }
    static const QRegularExpression sep(u"[,、，・/／\\s]+"_s);
    const QStringList parts = t.split(sep, Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        int idx = types.indexOf(part);
        if (idx > 0) {
            f.mask |= 1 << (idx - 1);
            continue;
        }
        // "夜明": one-character abbreviations written together.
        bool all = true;
        int mask = 0;
        for (const QChar ch : part) {
            idx = types.indexOf(QString(ch));
            if (idx <= 0) {
                all = false;
                break;
            }
            mask |= 1 << (idx - 1);
        }
        if (all)
            f.mask |= mask;
        else
            f.ok = false;
    }
    return f;
}

// The last 1-based row of block whose column col (0 = any column) holds something; 0 when none.
int lastFilledRow(const xl::Block& b, int col = 0)
{
    for (int r = b.rows(); r >= 1; --r) {
        for (int c = 1; c <= b.columns(); ++c) {
            if ((col == 0 || c == col) && !XlText(b(r, c)).trimmed().isEmpty())
                return r;
        }
    }
    return 0;
}

void dayHeadings(xl::Worksheet& ws, int left, const Period& p)
{
    xl::Block b(2, kMaxDays);
    const int days = p.dayCount();
    for (int d = 1; d <= days; ++d) {
        const QDate date = p.day(d);
        b(1, d) = date;
        b(2, d) = holidayName(date).isEmpty() ? QString(kWeekdays[date.dayOfWeek() - 1]) : u"祝"_s;
    }
    putBlock(ws.cells(3, left).resize(2, kMaxDays), b);
}

// Fills of the day columns of rows top..bottom; base is the fill of an ordinary weekday.
void shadeDays(xl::Worksheet& ws, int left, int top, int bottom, const Period& p, const QColor& base)
{
    for (int d = 1; d <= kMaxDays; ++d) {
        const QColor shade = dayShade(p, d);
        const QColor c = shade.isValid() ? shade : base;
        for (int r = top; r <= bottom; ++r)
            fill(ws, r, left + d - 1, c);
    }
}

// ---- numbers typed by a person ----------------------------------------------------------

// Empty, a number, or a text that reads whole as one (a number kept as text).
bool numberEntry(const QVariant& v)
{
    if (!v.isValid() || v.typeId() == QMetaType::Double)
        return true;
    return v.typeId() == QMetaType::QString && xl::cellValue(v.toString().trimmed()).typeId() == QMetaType::Double;
}

// The reading refuses a need it cannot staff: more than the largest roster, or below 0.
bool needEntry(const QVariant& v)
{
    const double n = cellNumber(v);
    return numberEntry(v) && n >= 0 && n <= kMaxMembers;
}

// Week start: 1 (Monday) .. 7 (Sunday), 0 for no weekly limit.
bool weekStartEntry(const QVariant& v)
{
    const double n = std::nearbyint(cellNumber(v));
    return numberEntry(v) && n >= 0 && n <= 7;
}

// The cells that hold numbers a person types: the period and the run settings, needs, counts,
// limits, hours, member numbers and colour numbers. column 0 is every column of the range, else
// that column and, with a step, every step-th column after it. Cells whose fill already says
// something (needs: the day; colours: the colour; combination counts) are marked by their own
// step; the rest here.
struct NumberCells {
    const char16_t* sheet;
    const char16_t* name;
    NumberType type;   // of the variable the reading takes the number into
    int column = 0;
    int step = 0;
    bool ownMarks = false;
    bool (*accepts)(const QVariant&) = numberEntry;
};

constexpr NumberType I = NumberType::Integer, L = NumberType::Long, S = NumberType::Single;
const NumberCells kNumberCells[] = {
    {u"Main", u"年", L}, {u"Main", u"月", L}, {u"Main", u"日", L}, {u"Main", u"基準開始日", L},
    {u"Main", u"制限時間", S}, {u"Main", u"試行回数", L}, {u"Main", u"Sw_確保優先", I},
    {u"基本設定", u"Type_Table_Input", S, 7}, {u"基本設定", u"Type_Table_Input", L, 9, 0, true},
    {u"基本設定", u"Type_Span", L}, {u"基本設定", u"Type_Count", L}, {u"基本設定", u"最少必要人数", I},
    {u"基本設定", u"連続勤務上限", I}, {u"基本設定", u"連続休み上限", I},
    {u"基本設定", u"基点曜日", I, 0, 0, false, weekStartEntry},
    {u"基本設定", u"週間勤務日数上限", I}, {u"基本設定", u"Color_Yasumi", L}, {u"基本設定", u"経過表示", L},
    {u"基本設定", u"進行状況表示", I}, {u"基本設定", u"過去参照スパン", L}, {u"基本設定", u"最適化比重", S},
    {u"基本設定", u"休み_List", L}, {u"基本設定", u"職制_Ex", L, 2},
    {u"スケジュール", u"Member_List", I, 1}, {u"スケジュール", u"Member_DayOff", I},
    {u"スケジュール", u"Member_Time", S}, {u"スケジュール", u"予定休み区分", S}, {u"スケジュール", u"全不可罫線色", L},
    {u"要員設定", u"Need_Table", I, 0, 0, true},
    {u"要員設定", u"組合せ禁止", I, 2, 0, true}, {u"要員設定", u"組合せ禁止", I, 4, 5},
    {u"要員設定", u"組合せ必須", I, 2, 0, true}, {u"要員設定", u"組合せ必須", I, 4, 5},
    {u"要員設定", u"組合せ禁止_grp", I, 2}, {u"要員設定", u"組合せ必須_grp", I, 2},
    {u"予約表", u"予約罫線色", L},
};

xl::Range numberRange(xl::Workbook& book, const NumberCells& e)
{
    return book.worksheets(QString::fromUtf16(e.sheet)).range(QString::fromUtf16(e.name));
}

// Calls f(column, its values) for every column of e, a column being a one-column range.
template <typename F>
void forEachNumberColumn(xl::Workbook& book, const NumberCells& e, F f)
{
    const xl::Range r = numberRange(book, e);
    const int first = e.column == 0 ? 1 : e.column;
    const int step = e.column == 0 ? 1 : e.step;
    const int last = step == 0 ? first : r.columnCount();
    for (int c = first; c <= last; c += std::max(step, 1)) {
        const xl::Range column = r.cells(1, c).resize(r.rowCount(), 1);
        f(column, column.block());
    }
}

// A text the input method typed in full width ("２", "－１", "１．５"): the number it reads as
// once its digits, minus and point are the ASCII ones.
std::optional<double> fullWidthNumber(const QString& s)
{
    QString t;
    bool wide = false;
    for (const QChar ch : s) {
        const char16_t c = ch.unicode();
        if (c >= u'０' && c <= u'９')
            t += QChar(u'0' + (c - u'０'));
        else if (c == u'－' || c == u'−')
            t += u'-';
        else if (c == u'．')
            t += u'.';
        else
            t += ch;
        wide = wide || t.back() != ch;
    }
    if (!wide)
        return std::nullopt;
    const QVariant v = xl::cellValue(t.trimmed());
    return v.typeId() == QMetaType::Double ? std::optional<double>(v.toDouble()) : std::nullopt;
}

// Numbers typed in full width become numbers, whichever way they came in (typed, pasted, loaded).
void typedNumbers(xl::Workbook& book)
{
    for (const NumberCells& e : kNumberCells)
        forEachNumberColumn(book, e, [](const xl::Range& column, const xl::Block& b) {
            for (int i = 1; i <= b.rows(); ++i)
                if (b(i, 1).typeId() == QMetaType::QString)
                    if (const auto d = fullWidthNumber(b(i, 1).toString()))
                        column.cells(i, 1).setValue(*d);
        });
}

void numberMarks(xl::Workbook& book)
{
    for (const NumberCells& e : kNumberCells) {
        if (e.ownMarks)
            continue;
        forEachNumberColumn(book, e, [&e](const xl::Range& column, const xl::Block& b) {
            for (int i = 1; i <= b.rows(); ++i)
                fill(column.worksheet(), column.row() + i - 1, column.column(),
                     e.accepts(b(i, 1)) ? QColor() : layout::kBadEntry);
        });
    }
}

// A cell of a day grid: its fill (none to keep the one it has) and its lock. Days past the
// period take no entry, so the sheet refuses typing there.
void dayCell(xl::Worksheet& ws, int row, int col, const std::optional<QColor>& color, bool unusedDay)
{
    const xl::CellStyle& s = ws.styleAt(row, col);
    const bool refill = color && s.fill != *color;
    const bool relock = s.locked != unusedDay;
    if (refill)
        ws.cells(row, col).interior().setColor(*color);
    if (relock)
        ws.cells(row, col).setLocked(unusedDay);
}

QString memberKey(const QVariant& v)
{
    return XlText(v).trimmed();
}

// A combination table's counts, its reader's number column and the names beside the member
// numbers. A ban row with a shift and members but no number binds nobody: its number cell is
// marked, as is a number cell that holds no number.
void combinationTable(xl::Worksheet& ws, const QString& name, const QString& countName,
                      const QHash<QString, QString>& namesByNumber, bool isBan)
{
    xl::Range r = ws.range(name);
    xl::Block b = r.block();
    const xl::Block before = b;
    put(ws.range(countName), num(lastFilledRow(b, 1)));
    for (int i = 1; i <= b.rows(); ++i) {
        b(i, 3) = b(i, 2);   // the reader takes the number from column 3, the month save from 2
        bool members = false;
        for (int c = 4; c + 1 <= b.columns(); c += 5) {
            const QString key = memberKey(b(i, c));
            QVariant shown;
            if (!key.isEmpty())
                shown = namesByNumber.contains(key) ? QVariant(namesByNumber.value(key)) : QVariant(u"？"_s);
            b(i, c + 1) = shown;
            members = members || !key.isEmpty();
        }
        const bool unbound = isBan && members && !XlText(b(i, 1)).trimmed().isEmpty() && XlText(b(i, 2)).trimmed().isEmpty();
        fill(ws, r.row() + i - 1, r.column() + 1, unbound || !numberEntry(b(i, 2)) ? layout::kBadEntry : QColor());
    }
    if (b != before)
        r.setBlock(b);
}
}  // namespace

std::optional<NumberType> numberCellType(const QString& sheet, const QString& name, int column)
{
    for (const NumberCells& e : kNumberCells) {
        if (sheet.compare(QString::fromUtf16(e.sheet), Qt::CaseInsensitive) != 0
            || name.compare(QString::fromUtf16(e.name), Qt::CaseInsensitive) != 0)
            continue;
        const bool every = e.column == 0;
        const bool stepped = e.step > 0 && column > e.column && (column - e.column) % e.step == 0;
        if (every || column == e.column || stepped)
            return e.type;
    }
    return std::nullopt;
}

double cellNumber(const QVariant& v)
{
    if (!v.isValid())
        return 0;
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? -1 : 0;
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
        return v.toDouble();
    case QMetaType::QDate:
        return xl::dateToSerial(v.toDate());
    case QMetaType::QDateTime:
        return xl::dateToSerial(v.toDateTime().date()) + v.toDateTime().time().msecsSinceStartOfDay() / 86400000.0;
    case QMetaType::QTime:
        return v.toTime().msecsSinceStartOfDay() / 86400000.0;
    default:
        return Val(v.toString());
    }
}

int ShiftTypes::indexOf(const QString& abbreviation) const
{
    if (abbreviation.isEmpty())
        return 0;
    for (int t = 1; t <= count; ++t)
        if (abbreviations[t - 1] == abbreviation)
            return t;
    return 0;
}

ShiftTypes readShiftTypes(xl::Workbook& book)
{
    ShiftTypes types;
    const xl::Block b = book.worksheets(kSettingsSheet).range(u"Type_Table_Input"_s).block();
    for (int t = 1; t <= kMaxTypes; ++t) {
        types.names << XlText(b(t, 1)).trimmed();
        types.abbreviations << XlText(b(t, 2)).trimmed();
        types.hours.push_back(cellNumber(b(t, 7)));
        const double c = cellNumber(b(t, 9));
        types.colors.push_back(c >= 1 && c <= 56 ? xl::colorFromIndex(int(c)) : QColor());
        if (!types.names.back().isEmpty() || !types.abbreviations.back().isEmpty())
            types.count = t;
    }
    return types;
}

int Period::dayCount() const
{
    if (!first.isValid() || !last.isValid() || last < first)
        return 0;
    return int(std::min<qint64>(first.daysTo(last) + 1, kMaxDays));
}

Period readPeriod(xl::Workbook& book)
{
    xl::Worksheet& main = book.worksheets(kMain);
    const double y = cellNumber(main.range(u"年"_s).value());
    const double m = cellNumber(main.range(u"月"_s).value());
    const double s = cellNumber(main.range(u"基準開始日"_s).value());
    if (y < 1900 || y > 9998 || m < 1 || m > 12 || s < 1 || s > 31)
        return {};
    return periodOf(int(y), int(m), int(s));
}

Period periodOf(int year, int month, int startDay)
{
    return {DateSerial(year, month, startDay), DateSerial(year, month + 1, startDay - 1)};
}

QColor dayShade(const Period& period, int d)
{
    if (d > period.dayCount())
        return layout::kUnusedDay;
    const QDate date = period.day(d);
    if (date.dayOfWeek() == 7 || !holidayName(date).isEmpty())
        return layout::kHoliday;
    if (date.dayOfWeek() == 6)
        return layout::kSaturday;
    return {};
}

void paintSelection(xl::Workbook& book)
{
    xl::Worksheet& ws = book.worksheets(kRosterSheet);
    const Period p = readPeriod(book);
    for (int d = 1; d <= kMaxDays; ++d) {
        const QColor shade = dayShade(p, d);
        const QColor c = shade.isValid() ? shade : layout::kHeading;
        fill(ws, layout::kShiftDateRow, layout::kGridLeft + d - 1, c);
        fill(ws, layout::kShiftWeekdayRow, layout::kGridLeft + d - 1, c);
    }
    for (int i = 1; i <= kMaxMembers; ++i)
        for (int c = 1; c <= 3; ++c)
            fill(ws, layout::kGridTop + i - 1, c, layout::kDerived);
    // The highlight is drawn by the window only: a saved book, its pictures and its exports show
    // no trace of where the user last clicked.
    std::vector<xl::ViewMark> marks;
    if (cellNumber(book.worksheets(kSettingsSheet).range(u"行列ハイライト"_s).value()) != 0) {
        const int row = int(cellNumber(ws.range(u"行番号"_s).value()));
        const int col = int(cellNumber(ws.range(u"列番号"_s).value()));
        if (col >= 1 && col <= kMaxDays)
            marks.push_back({QRect(layout::kGridLeft + col - 1, layout::kShiftDateRow, 1, 2), layout::kHighlight});
        if (row >= 1 && row <= kMaxMembers)
            marks.push_back({QRect(1, layout::kGridTop + row - 1, 3, 1), layout::kHighlight});
    }
    ws.setViewMarks(std::move(marks));
}


namespace {

// The sheets every step works on.
struct Sheets {
    explicit Sheets(xl::Workbook& b)
        : book(b), shift(b.worksheets(kRosterSheet)), main(b.worksheets(kMain)), basic(b.worksheets(kSettingsSheet)),
          sched(b.worksheets(kScheduleSheet)), need(b.worksheets(kStaffSheet)), rsv(b.worksheets(kReservationSheet))
    {
    }
    xl::Workbook& book;
    xl::Worksheet& shift;
    xl::Worksheet& main;
    xl::Worksheet& basic;
    xl::Worksheet& sched;
    xl::Worksheet& need;
    xl::Worksheet& rsv;
};

// The day count, the titles that show the period, the day headings and the holiday rows.
void periodCells(Sheets& s, const Period& period)
{
    const int days = period.dayCount();
    put(s.shift.range(u"Day_Cnt"_s), num(days));
    put(s.basic.range(u"祝日年_org"_s), period.first.isValid() ? num(period.first.year()) : QVariant());
    if (days > 0) {
        put(s.shift.range(u"A1"_s), u"勤務表　%1 ～ %2"_s.arg(period.first.toString(u"yyyy年M月d日"_s),
                                                              period.last.toString(u"M月d日"_s)));
        put(s.main.range(u"C10"_s), u"%1 ～ %2（%3日）"_s.arg(period.first.toString(u"yyyy/M/d"_s),
                                                            period.last.toString(u"yyyy/M/d"_s))
                                        .arg(days));
    } else {
        put(s.shift.range(u"A1"_s), u"勤務表　（開始条件の年・月・期間の開始日を確認してください）"_s);
        put(s.main.range(u"C10"_s), u"年・月・期間の開始日が正しくありません"_s);
    }
    dayHeadings(s.shift, layout::kGridLeft, period);
    dayHeadings(s.sched, layout::kScheduleLeft, period);
    dayHeadings(s.rsv, layout::kReserveLeft, period);
    dayHeadings(s.need, layout::kNeedLeft, period);
    xl::Block h(1, kMaxDays);
    for (int d = 1; d <= days; ++d) {
        const QDate date = period.day(d);
        const QString name = holidayName(date);
        h(1, d) = !name.isEmpty() ? QVariant(name)
                  : date.dayOfWeek() == 7 ? QVariant(u"日"_s)
                  : date.dayOfWeek() == 6 ? QVariant(u"土"_s) : QVariant();
    }
    putBlock(s.sched.range(u"休日調査"_s), h);
    putBlock(s.shift.range(u"休平日"_s), h);
}

// Times of day are kept as day fractions, as the sheets show them ("h:mm").
void timesOfDay(xl::Worksheet& basic)
{
    for (const QString& name : {u"Type_Table_Input"_s, u"REST_TIME"_s, u"REST_TIME2"_s, u"REST_TIME3"_s}) {
        xl::Range r = basic.range(name);
        xl::Block b = r.block();
        bool changed = false;
        for (int i = 1; i <= b.rows(); ++i) {
            for (int j = 1; j <= b.columns(); ++j) {
                if (name == u"Type_Table_Input"_s && j != 3 && j != 6)
                    continue;
                const QVariant v = b(i, j);
                // A time stored as a date of 1899 is its serial: 1899-12-30 is 0:00, the day
                // after is 24:00.
                const bool time = v.typeId() == QMetaType::QTime
                    || ((v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
                        && v.toDateTime().date().year() < 1900);
                if (time) {
                    b(i, j) = cellNumber(v);
                    changed = true;
                }
            }
        }
        if (changed)
            r.setBlock(b);
    }
}

// The shift-type count, the copies of names and abbreviations on the other sheets, the colours.
// A type row needs both its name and its abbreviation: a missing one is marked.
void shiftTypeTables(Sheets& s, const ShiftTypes& types)
{
    const int tc = types.count;
    put(s.basic.range(u"Type_Cnt"_s), num(tc));
    xl::Block list(kMaxTypes, 2), abbrRow(1, kMaxTypes), nameCol(kMaxTypes, 1);
    for (int t = 1; t <= tc; ++t) {
        list(t, 1) = textOrEmpty(types.names[t - 1]);
        list(t, 2) = textOrEmpty(types.abbreviations[t - 1]);
        abbrRow(1, t) = list(t, 2);
        nameCol(t, 1) = list(t, 1);
    }
    putBlock(s.basic.range(u"Type_Table_List"_s), list);
    putBlock(s.basic.range(u"B18:B27"_s), nameCol);
    putBlock(s.basic.range(u"C17:L17"_s), abbrRow);
    putBlock(s.basic.range(u"C81:L81"_s), abbrRow);
    putBlock(s.need.range(u"B5:C14"_s), list);
    putBlock(s.shift.range(u"AI4:AR4"_s), abbrRow);
    putBlock(s.shift.range(u"B55:C64"_s), list);
    const xl::Range in = s.basic.range(u"Type_Table_Input"_s);
    const xl::Block b = in.block();
    for (int t = 1; t <= kMaxTypes; ++t) {
        const int row = in.row() + t - 1;
        fill(s.basic, row, in.column(), t <= tc && types.names[t - 1].isEmpty() ? layout::kBadEntry : QColor());
        fill(s.basic, row, in.column() + 1,
             t <= tc && types.abbreviations[t - 1].isEmpty() ? layout::kBadEntry : QColor());
        fill(s.basic, row, in.column() + 8, numberEntry(b(t, 9)) ? types.colors[t - 1] : layout::kBadEntry);
    }
    const double rest = cellNumber(s.basic.range(u"Color_Yasumi"_s).value());
    fill(s.basic, 71, 8, rest >= 1 && rest <= 56 ? xl::colorFromIndex(int(rest)) : QColor());
}

// Next-day bans: row s, column k marked = shift k may not follow shift s.
void nextDayBans(xl::Worksheet& basic, int tc)
{
    xl::Range marks = basic.range(u"翌日禁止"_s);
    const xl::Block b = marks.block();
    xl::Block masks(1, kMaxTypes);
    for (int s = 1; s <= kMaxTypes; ++s) {
        int mask = 0;
        for (int k = 1; k <= kMaxTypes; ++k) {
            const QString t = XlText(b(s, k)).trimmed();
            const bool ok = t.isEmpty() || isCross(t);
            const QColor unused = s > tc || k > tc ? layout::kUnusedDay : QColor();
            fill(basic, marks.row() + s - 1, marks.column() + k - 1, ok ? unused : layout::kBadEntry);
            if (!t.isEmpty() && ok && s <= tc && k <= tc)
                mask |= 1 << (k - 1);
        }
        if (s <= tc)
            masks(1, s) = num(mask);
    }
    putBlock(basic.range(u"DayBefore_Table"_s), masks);
}

// A sequence pattern table: its count, and a mark on every cell that is no abbreviation.
void sequencePatterns(xl::Worksheet& basic, const QString& name, const QString& countName,
                      const ShiftTypes& types, bool restAllowed)
{
    xl::Range r = basic.range(name);
    const xl::Block b = r.block();
    put(basic.range(countName), num(lastFilledRow(b)));
    for (int i = 1; i <= b.rows(); ++i) {
        for (int j = 1; j <= b.columns(); ++j) {
            const QString t = XlText(b(i, j)).trimmed();
            const bool ok = t.isEmpty() || types.indexOf(t) > 0 || (restAllowed && t == u"-"_s);
            fill(basic, r.row() + i - 1, r.column() + j - 1, ok ? QColor() : layout::kBadEntry);
        }
    }
}

struct Roster {
    int count = 0;                            // Member_Cnt: the last row with a number or a name
    QHash<QString, QString> namesByNumber;    // the first name of each number
};

// The roster's counts and its copies on the shift and reservation sheets.
Roster roster(Sheets& s)
{
    const xl::Block members = s.sched.range(u"Member_List"_s).block();
    Roster r;
    int numbers = 0, names = 0;
    for (int i = 1; i <= kMaxMembers; ++i) {
        const QString no = XlText(members(i, 1)).trimmed();
        const QString name = XlText(members(i, 2)).trimmed();
        numbers += !no.isEmpty();
        names += !name.isEmpty();
        if (!no.isEmpty() || !name.isEmpty())
            r.count = i;
        if (!no.isEmpty() && !r.namesByNumber.contains(no))
            r.namesByNumber.insert(no, name);
    }
    put(s.sched.range(u"Member_Cnt"_s), num(r.count));
    put(s.sched.range(u"番号数"_s), num(numbers));
    put(s.sched.range(u"名前数"_s), num(names));
    xl::Block copy(kMaxMembers, 3), rsvNames(kMaxMembers, 2);
    for (int i = 1; i <= r.count; ++i) {
        for (int j = 1; j <= 3; ++j)
            copy(i, j) = members(i, j);
        rsvNames(i, 1) = members(i, 1);
        rsvNames(i, 2) = members(i, 2);
    }
    putBlock(s.shift.range(u"A5:C54"_s), copy);
    putBlock(s.rsv.range(u"A5:B54"_s), rsvNames);
    put(s.sched.range(u"AJ3"_s), cellNumber(s.sched.range(u"予定休み区分"_s).value()) == 1 ? u"予定勤務日数"_s
                                                                                          : u"予定休日数"_s);
    return r;
}

// Personal conditions: their masks, their count, their marks.
void personalConditions(xl::Worksheet& sched, const ShiftTypes& types, const Period& period, int memberCnt)
{
    xl::Range in = sched.range(u"勤務不可"_s);
    const xl::Block b = in.block();
    const int days = period.dayCount();
    xl::Block masks(kMaxMembers, kMaxDays);
    const int allTypes = (1 << types.count) - 1;
    int conditions = 0;
    for (int i = 1; i <= kMaxMembers; ++i) {
        for (int d = 1; d <= kMaxDays; ++d) {
            Forbidden f = parseForbidden(b(i, d), types);
            // Every shift of the table forbidden is a day off, whichever way it was typed: the
            // readers recognise such a day by the value 1023.
            if (types.count > 0 && (f.mask & allTypes) == allTypes)
                f.mask = kAllShiftsMask;
            if (f.mask != 0)
                masks(i, d) = num(f.mask);
            if (f.mask != 0 && i <= memberCnt && d <= days)
                ++conditions;
            dayCell(sched, in.row() + i - 1, in.column() + d - 1, f.ok ? dayShade(period, d) : layout::kBadEntry,
                    d > days);
        }
    }
    putBlock(sched.range(u"Member_Scdl"_s), masks);
    put(sched.range(u"個人条件数"_s), num(conditions));
    shadeDays(sched, layout::kScheduleLeft, 2, 4, period, layout::kHeading);
}

// Reservations: their count and their marks.
void reservations(xl::Worksheet& rsv, const ShiftTypes& types, const Period& period, int memberCnt,
                  const QString& restSymbol)
{
    xl::Range in = rsv.range(u"Member_Rsv"_s);
    const xl::Block b = in.block();
    const int days = period.dayCount();
    int reserved = 0;
    for (int i = 1; i <= kMaxMembers; ++i) {
        for (int d = 1; d <= kMaxDays; ++d) {
            const QString t = XlText(b(i, d)).trimmed();
            if (!t.isEmpty() && i <= memberCnt && d <= days)
                ++reserved;
            // "*" (any shift) is refused when the conditions are read: marked like a stray text.
            const bool ok = t.isEmpty() || types.indexOf(t) > 0 || t == restSymbol;
            dayCell(rsv, in.row() + i - 1, in.column() + d - 1, ok ? dayShade(period, d) : layout::kBadEntry, d > days);
        }
    }
    put(rsv.range(u"予約数"_s), num(reserved));
    shadeDays(rsv, layout::kReserveLeft, 3, 4, period, layout::kHeading);
}

// Staffing needs: the totals per shift type and per day (returned, index d), and the table's
// fills: the day's shade, grey where no shift type or day is, red for a need the reading refuses.
std::vector<double> needs(xl::Worksheet& need, const Period& period, int tc)
{
    xl::Range in = need.range(u"Need_Table"_s);
    const xl::Block b = in.block();
    const int days = period.dayCount();
    std::vector<double> perDayTotal(kMaxDays + 1, 0.0);
    xl::Block perType(kMaxTypes + 1, 1), perDay(1, kMaxDays);
    double all = 0;
    for (int t = 1; t <= tc; ++t) {
        double sum = 0;
        for (int d = 1; d <= days; ++d) {
            const double v = cellNumber(b(t, d));
            sum += v;
            perDayTotal[d] += v;
        }
        perType(t, 1) = num(sum);
        all += sum;
    }
    for (int d = 1; d <= days; ++d)
        perDay(1, d) = num(perDayTotal[d]);
    perType(kMaxTypes + 1, 1) = tc > 0 ? num(all) : QVariant();
    putBlock(need.range(u"AI5:AI15"_s), perType);
    putBlock(need.range(u"D15:AH15"_s), perDay);
    shadeDays(need, layout::kNeedLeft, 3, 4, period, layout::kHeading);
    for (int t = 1; t <= kMaxTypes; ++t)
        for (int d = 1; d <= kMaxDays; ++d) {
            const QColor shade = t > tc ? layout::kUnusedDay : dayShade(period, d);
            dayCell(need, in.row() + t - 1, in.column() + d - 1, needEntry(b(t, d)) ? shade : layout::kBadEntry,
                    d > days);
        }
    return perDayTotal;
}

// Member and group combinations: counts, names, and the notice when the bans are too many.
void combinations(xl::Worksheet& need, const Roster& roster)
{
    combinationTable(need, u"組合せ禁止"_s, u"組合せ禁止数"_s, roster.namesByNumber, true);
    combinationTable(need, u"組合せ必須"_s, u"組合せ必須数"_s, roster.namesByNumber, false);
    put(need.range(u"組合せ禁止数_grp"_s), num(lastFilledRow(need.range(u"組合せ禁止_grp"_s).block(), 1)));
    put(need.range(u"組合せ必須数_grp"_s), num(lastFilledRow(need.range(u"組合せ必須_grp"_s).block(), 1)));
    const int bans = int(cellNumber(need.range(u"組合せ禁止数"_s).value())
                         + cellNumber(need.range(u"組合せ禁止数_grp"_s).value()));
    const bool over = bans > kBanRecordLimit;
    put(need.range(u"S21"_s), over ? u"組合せ禁止と職制の組合せ禁止が合わせて %1 件あります。16 件までにしてください"_s.arg(bans)
                                   : u"勤務名（* はすべて）、人数、職員の番号を入力。職制の禁止と合わせて 16 件まで"_s);
    fontColor(need, 21, 19, over ? QColor(0xC0, 0, 0) : QColor(0x59, 0x59, 0x59));
}

// The shift grid's totals per member and per day, and its fills: empty cells and days past the
// period show the day's shading (filled ones keep the colour macros' fills), a text that is
// neither a shift nor the rest symbol is red.
void gridTotals(Sheets& s, const ShiftTypes& types, const Period& period, int memberCnt,
                const std::vector<double>& needPerDay, const QString& restSymbol)
{
    xl::Range grid = s.shift.range(u"Time_Table"_s);
    const xl::Block b = grid.block();
    const xl::Block holidays = s.sched.range(u"休日調査"_s).block();
    const int days = period.dayCount();
    const int tc = types.count;
    xl::Block perMember(kMaxMembers, 14), perDay(13, kMaxDays);
    std::vector<std::vector<int>> dayCounts(kMaxTypes + 1, std::vector<int>(kMaxDays + 1, 0));
    int filled = 0;
    for (int i = 1; i <= memberCnt; ++i) {
        std::vector<int> counts(kMaxTypes + 1, 0);
        int work = 0, holidayWork = 0;
        double hours = 0;
        for (int d = 1; d <= days; ++d) {
            const int t = types.indexOf(XlText(b(i, d)).trimmed());
            if (t <= 0)
                continue;
            ++counts[t];
            ++dayCounts[t][d];
            ++work;
            hours += types.hours[t - 1];
            if (!XlText(holidays(1, d)).trimmed().isEmpty())
                ++holidayWork;
        }
        filled += work;
        for (int t = 1; t <= tc; ++t)
            perMember(i, t) = num(counts[t]);
        perMember(i, 11) = num(work);
        perMember(i, 12) = num(days - work);
        perMember(i, 13) = num(holidayWork);
        perMember(i, 14) = num(hours);
    }
    for (int d = 1; d <= days; ++d) {
        int work = 0;
        for (int t = 1; t <= tc; ++t) {
            perDay(t, d) = num(dayCounts[t][d]);
            work += dayCounts[t][d];
        }
        perDay(11, d) = num(work);
        perDay(12, d) = num(needPerDay[d]);
        perDay(13, d) = num(work - needPerDay[d]);
    }
    putBlock(s.shift.range(u"AI5:AV54"_s), perMember);
    putBlock(s.shift.range(u"D55:AH67"_s), perDay);
    put(s.shift.range(u"shift_データ数"_s), num(filled));
    for (int i = 1; i <= kMaxMembers; ++i) {
        for (int d = 1; d <= kMaxDays; ++d) {
            const int row = grid.row() + i - 1, col = grid.column() + d - 1;
            const bool shaded = !b(i, d).isValid() || d > days;
            dayCell(s.shift, row, col, shaded ? std::optional<QColor>(dayShade(period, d)) : std::nullopt, d > days);
            const QString t = XlText(b(i, d)).trimmed();
            const bool odd = !t.isEmpty() && t != restSymbol && types.indexOf(t) == 0;
            fontColor(s.shift, row, col, odd ? QColor(0xC0, 0, 0) : QColor());
        }
    }
    shadeDays(s.shift, layout::kGridLeft, 55, 67, period, layout::kDerived);
}

}  // namespace

namespace {

// What the shift grid's totals take from the rest of the workbook, as the last whole calculation
// found it. It stands while nothing but the grid's cells has changed since.
struct GridInputs {
    const xl::Workbook* book = nullptr;
    ShiftTypes types;
    Period period;
    int memberCnt = 0;
    std::vector<double> needPerDay;
    QString restSymbol;
};

GridInputs& keptGridInputs()
{
    static GridInputs kept;
    return kept;
}

void redrawActiveView(xl::Workbook& book, const GridInputs& in)
{
    // Only the view on screen or being pictured is drawn; another is drawn when it is activated.
    if (xl::Worksheet& active = book.activeSheet(); isViewSheet(active.name()))
        recalculateView(active, in.types, in.period, in.memberCnt);
}

void recalculateAll(xl::Workbook& book)
{
    Sheets s(book);
    typedNumbers(book);
    GridInputs in;
    in.book = &book;
    in.period = readPeriod(book);
    periodCells(s, in.period);
    timesOfDay(s.basic);
    in.types = readShiftTypes(book);
    shiftTypeTables(s, in.types);
    nextDayBans(s.basic, in.types.count);
    in.restSymbol = XlText(s.basic.range(u"Yasumi_Kigou"_s).value()).trimmed();
    sequencePatterns(s.basic, u"禁止パターン"_s, u"Kinsi_Pattern_Cnt"_s, in.types, true);
    sequencePatterns(s.basic, u"必須パターン"_s, u"Hissu_Pattern_Cnt"_s, in.types, false);
    const Roster members = roster(s);
    in.memberCnt = members.count;
    personalConditions(s.sched, in.types, in.period, in.memberCnt);
    reservations(s.rsv, in.types, in.period, in.memberCnt, in.restSymbol);
    in.needPerDay = needs(s.need, in.period, in.types.count);
    combinations(s.need, members);
    numberMarks(book);
    gridTotals(s, in.types, in.period, in.memberCnt, in.needPerDay, in.restSymbol);
    paintSelection(book);
    redrawActiveView(book, in);
    book.setTrackedArea(s.shift, s.shift.range(u"Time_Table"_s).area());
    keptGridInputs() = std::move(in);
}

}  // namespace

void recalculate(xl::Workbook& book)
{
    // After changes to the grid's cells alone, the other steps would write what is there.
    const GridInputs& kept = keptGridInputs();
    if (kept.book == &book && book.onlyTrackedAreaChanged()) {
        Sheets s(book);
        gridTotals(s, kept.types, kept.period, kept.memberCnt, kept.needPerDay, kept.restSymbol);
        redrawActiveView(book, kept);
        return;
    }
    recalculateAll(book);
}

void forgetGridInputs()
{
    keptGridInputs() = {};
}

}  // namespace workbook
