#include "workbook/views.h"

#include "platform/text/time_of_day.h"
#include "workbook/layout.h"
#include "workbook/recalc.h"
#include "workbook/sheet_names.h"
#include "workbook/template.h"

#include <QTime>
#include <algorithm>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

const QString kWeek = u"日月火水木金土"_s;   // by dayOfWeek() % 7
const QColor kSundayText(0xC0, 0x00, 0x00);
const QColor kSaturdayText(0x1F, 0x4E, 0x9A);
const QColor kMutedText(0x59, 0x59, 0x59);

// ---- what the views read -----------------------------------------------------------------

// One shift type's hours as fractions of a day; an end past 1 lies on the next day.
struct Duty {
    bool known = false;
    double start = 0;
    double end = 0;
    std::vector<std::pair<double, double>> breaks;
};

std::optional<double> cellFraction(const QVariant& v)
{
    QTime t;
    switch (v.typeId()) {
    case QMetaType::Double: {
        const double f = v.toDouble();
        return f >= 0 && f < 2 ? std::optional<double>(f) : std::nullopt;
    }
    case QMetaType::QTime:
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        // A time kept as a date of 1899 counts from 1899-12-30 0:00 (the next day is 24:00);
        // a later date gives its time of day.
        const double serial = cellNumber(v);
        return serial >= 0 && serial < 2 ? serial : serial - std::floor(serial);
    }
    case QMetaType::QString:
        t = QTime::fromString(v.toString().trimmed(), u"h:mm"_s);
        if (!t.isValid())
            t = QTime::fromString(v.toString().trimmed(), u"h:mm:ss"_s);
        break;
    default:
        break;
    }
    return t.isValid() ? std::optional<double>(t.msecsSinceStartOfDay() / 86400000.0) : std::nullopt;
}

// On the whole second: a time another program kept to 15 digits starts at its hour, not a hair before.
std::optional<double> dayFraction(const QVariant& v)
{
    const std::optional<double> f = cellFraction(v);
    return f ? std::optional<double>(text::onWholeSecond(*f)) : std::nullopt;
}

// h:mm, to the nearest minute.
QString clock(double fraction)
{
    const int minutes = int((text::wholeSeconds(fraction) + 30) / 60 % 1440);
    return u"%1:%2"_s.arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

struct Month {
    ShiftTypes types;
    Period period;
    int days = 0;
    int members = 0;
    QStringList numbers;                  // roster row i at i - 1
    QStringList names;
    std::vector<std::vector<int>> shift;  // [i][d], 0 = rest or empty
    xl::Block need;                       // Need_Table
    QStringList holidays;                 // day d at d - 1: "" or the holiday
    QString restSymbol;
    std::vector<Duty> duty;               // type t at t - 1
    std::vector<double> dayOff;           // Member_DayOff, row i at i - 1
    bool dayOffIsWork = false;

    int tc() const { return types.count; }
    // Names of the members on shift t (0: resting) on day d, in roster order.
    QStringList staff(int t, int d) const
    {
        QStringList out;
        for (int i = 1; i <= members; ++i)
            if (shift[size_t(i)][size_t(d)] == t)
                out << names[i - 1];
        return out;
    }
    double needOf(int t, int d) const { return cellNumber(need(t, d)); }
    QString weekday(int d) const
    {
        return holidays[d - 1].isEmpty() || holidays[d - 1].size() == 1 ? QString(kWeek[period.day(d).dayOfWeek() % 7])
                                                                        : u"祝"_s;
    }
    QString timeText(int t) const
    {
        const Duty& u = duty[size_t(t - 1)];
        return u.known ? clock(u.start) + u'-' + clock(u.end) : QString();
    }
};

Duty readDuty(const xl::Block& types, const std::vector<xl::Block>& breaks, int t)
{
    Duty u;
    const auto start = dayFraction(types(t, 3));
    const auto end = dayFraction(types(t, 6));
    if (!start || !end)
        return u;
    const bool nextDay = cellNumber(types(t, 4)) != 0 || XlText(types(t, 4)).trimmed().compare(u"TRUE"_s, Qt::CaseInsensitive) == 0;
    u.known = true;
    u.start = *start;
    u.end = *end + (nextDay || *end <= *start ? 1 : 0);
    for (const xl::Block& b : breaks) {
        auto from = dayFraction(b(t, 1));
        auto to = dayFraction(b(t, 2));
        if (!from || !to)
            continue;
        if (*from < u.start)
            *from += 1;
        if (*to <= *from)
            *to += 1;
        u.breaks.emplace_back(*from, *to);
    }
    return u;
}

Month readMonth(xl::Workbook& book, const ShiftTypes& types, const Period& period, int memberCnt)
{
    Month m;
    m.types = types;
    m.period = period;
    m.days = period.dayCount();
    m.members = std::clamp(memberCnt, 0, kMaxMembers);
    xl::Worksheet& basic = book.worksheets(u"基本設定"_s);
    xl::Worksheet& sched = book.worksheets(u"スケジュール"_s);
    m.restSymbol = XlText(basic.range(u"Yasumi_Kigou"_s).value()).trimmed();
    const xl::Block roster = sched.range(u"Member_List"_s).block();
    const xl::Block dayOff = sched.range(u"Member_DayOff"_s).block();
    for (int i = 1; i <= kMaxMembers; ++i) {
        m.numbers << XlText(roster(i, 1)).trimmed();
        m.names << XlText(roster(i, 2)).trimmed();
        m.dayOff.push_back(cellNumber(dayOff(i, 1)));
    }
    m.dayOffIsWork = cellNumber(sched.range(u"予定休み区分"_s).value()) == 1;
    const xl::Block holidays = sched.range(u"休日調査"_s).block();
    for (int d = 1; d <= kMaxDays; ++d)
        m.holidays << XlText(holidays(1, d)).trimmed();
    const xl::Block grid = book.worksheets(kRosterSheet).range(u"Time_Table"_s).block();
    m.shift.assign(kMaxMembers + 1, std::vector<int>(kMaxDays + 1, 0));
    for (int i = 1; i <= m.members; ++i)
        for (int d = 1; d <= m.days; ++d)
            m.shift[size_t(i)][size_t(d)] = types.indexOf(XlText(grid(i, d)).trimmed());
    m.need = book.worksheets(u"要員設定"_s).range(u"Need_Table"_s).block();
    const xl::Block input = basic.range(u"Type_Table_Input"_s).block();
    std::vector<xl::Block> breaks;
    for (const QString& name : {u"REST_TIME"_s, u"REST_TIME2"_s, u"REST_TIME3"_s})
        breaks.push_back(basic.range(name).block());
    for (int t = 1; t <= kMaxTypes; ++t)
        m.duty.push_back(readDuty(input, breaks, t));
    return m;
}

// ---- drawing -------------------------------------------------------------------------------

// A block of a sheet as a view wants it: values and formats are written only where they differ,
// so that recalculating an unchanged view changes nothing.
class Canvas {
public:
    Canvas(xl::Worksheet& ws, int top, int left, int rows, int columns)
        : ws_(ws), top_(top), left_(left), values_(rows, columns), styles_(size_t(rows) * size_t(columns))
    {
    }
    void put(int row, int col, const QVariant& v, const xl::CellStyle& s)
    {
        values_(row - top_ + 1, col - left_ + 1) = v;
        style(row, col) = s;
        if (v.isValid() || s != xl::CellStyle{}) {
            bottom_ = std::max(bottom_, row);
            right_ = std::max(right_, col);
        }
    }
    xl::CellStyle& style(int row, int col) { return styles_[size_t(row - top_) * size_t(values_.columns()) + size_t(col - left_)]; }
    void apply()
    {
        const xl::Range area = ws_.cells(top_, left_).resize(values_.rows(), values_.columns());
        if (area.block() != values_)
            area.setBlock(values_);
        for (int r = 0; r < values_.rows(); ++r)
            for (int c = 0; c < values_.columns(); ++c) {
                const xl::CellStyle& s = styles_[size_t(r) * size_t(values_.columns()) + size_t(c)];
                if (ws_.styleAt(top_ + r, left_ + c) != s)
                    ws_.cells(top_ + r, left_ + c).setStyle(s);
            }
        // The page drawn is the page printed.
        if (bottom_ >= top_) {
            const QString drawn = ws_.range(ws_.cells(top_, left_), ws_.cells(bottom_, right_)).address();
            if (ws_.printArea() != drawn)
                ws_.setPrintArea(drawn);
        }
    }

private:
    xl::Worksheet& ws_;
    int top_, left_;
    int bottom_ = 0, right_ = 0;   // the last row and column drawn
    xl::Block values_;
    std::vector<xl::CellStyle> styles_;
};

xl::CellStyle boxed(double size = 11, const QColor& fill = {})
{
    xl::CellStyle s;
    s.fontSize = size;
    s.fill = fill;
    s.verticalAlignment = xl::kAlignCenter;
    s.left = s.top = s.bottom = s.right = xl::BorderEdge{xl::kContinuous, xl::kThin, layout::kGridLine};
    return s;
}

xl::CellStyle centred(xl::CellStyle s)
{
    s.horizontalAlignment = xl::kAlignCenter;
    return s;
}

xl::CellStyle heading(double size = 10, const QColor& fill = layout::kHeading)
{
    xl::CellStyle s = centred(boxed(size, fill));
    s.bold = true;
    return s;
}

xl::CellStyle caption(double size)
{
    xl::CellStyle s;
    s.bold = true;
    s.fontSize = size;
    s.verticalAlignment = xl::kAlignCenter;
    return s;
}

// The fill of a shift type's cells; the heading grey for a type without a colour.
QColor typeFill(const Month& m, int t)
{
    const QColor c = t >= 1 ? m.types.colors[size_t(t - 1)] : QColor();
    return c.isValid() ? c : layout::kHeading;
}

// Characters of column width that show the text at that font size.
double widthFor(const QString& text, double points)
{
    double units = 0;
    for (const QChar ch : text)
        units += ch.unicode() >= 0x1100 ? 2 : 1;
    return std::ceil(units * points / 11.0 * 1.1) + 1;
}

double widestName(const Month& m, double points, double least)
{
    double w = least;
    for (int i = 1; i <= m.members; ++i)
        w = std::max(w, widthFor(m.names[i - 1], points));
    return w;
}

void setWidth(xl::Worksheet& ws, int col, double w)
{
    if (ws.columnWidth(col) != w)
        ws.setColumnWidth(col, w);
}

void setHeight(xl::Worksheet& ws, int row, double points)
{
    if (ws.rowHeight(row) != points)
        ws.setRowHeight(row, points);
}

void showRow(xl::Worksheet& ws, int row, bool shown)
{
    if (ws.rowHidden(row) == shown)
        ws.setRowHidden(row, !shown);
}

void showColumn(xl::Worksheet& ws, int col, bool shown)
{
    if (ws.columnHidden(col) == shown)
        ws.setColumnHidden(col, !shown);
}

void putValue(xl::Worksheet& ws, const QString& name, double v)
{
    const xl::Range r = ws.range(name);
    if (r.value() != QVariant(v))
        r.setValue(v);
}

int page(xl::Worksheet& ws, const QString& indexName, int offset, int last)
{
    return std::clamp(int(cellNumber(ws.range(indexName).value())) + offset, 1, std::max(last, 1));
}

// ---- シフト別: one shift type, a row per day with the staff on it -------------------------------

void shiftTypeView(xl::Worksheet& ws, const Month& m)
{
    const int t = page(ws, u"シフト別_Idx"_s, 0, m.tc());
    std::vector<QStringList> staff(size_t(m.days) + 1);
    int most = 1;
    for (int d = 1; d <= m.days && m.tc() > 0; ++d) {
        staff[size_t(d)] = m.staff(t, d);
        most = std::max(most, int(staff[size_t(d)].size()));
    }
    const int last = 4 + most;   // the pictured columns end here (A4 + 4)
    Canvas c(ws, 4, 2, kMaxDays + 1, 3 + kMaxMembers);
    c.put(4, 2, u"日付"_s, heading());
    c.put(4, 3, u"曜"_s, heading());
    c.put(4, 4, u"人数"_s, heading());
    for (int col = 5; col <= last; ++col)
        c.put(4, col, QVariant(), heading(11, typeFill(m, m.tc() > 0 ? t : 0)));
    if (m.tc() > 0)
        c.put(4, 5, m.types.names[size_t(t - 1)] + u"（"_s + m.types.abbreviations[size_t(t - 1)] + u"）"_s,
              heading(11, typeFill(m, t)));
    c.style(4, 5).horizontalAlignment = xl::kAlignLeft;
    for (int d = 1; d <= m.days; ++d) {
        const QDate date = m.period.day(d);
        const QColor shade = dayShade(m.period, d);
        const int row = 4 + d;
        c.put(row, 2, u"%1/%2"_s.arg(date.month()).arg(date.day()), centred(boxed(11, shade)));
        c.put(row, 3, m.weekday(d), centred(boxed(11, shade)));
        const int n = int(staff[size_t(d)].size());
        const bool short_ = m.tc() > 0 && n < m.needOf(t, d);
        c.put(row, 4, double(n), centred(boxed(11, short_ ? layout::kBadEntry : shade)));
        for (int k = 0; k < most; ++k)
            c.put(row, 5 + k, k < n ? QVariant(staff[size_t(d)][k]) : QVariant(), boxed(11, shade));
    }
    c.apply();
    putValue(ws, u"A4"_s, most);
    setWidth(ws, 1, 4);
    setWidth(ws, 2, 6);
    setWidth(ws, 3, 3.5);
    setWidth(ws, 4, 5);
    const double w = widestName(m, 11, 8);
    for (int col = 5; col <= 4 + kMaxMembers; ++col)
        setWidth(ws, col, w);
}

// ---- シフト一覧: the month, a row per shift type and one for rest, names in each day ----------

int lineCount(const QStringList& names, bool onLines, double columnChars, double points)
{
    if (names.isEmpty())
        return 1;
    if (onLines)
        return int(names.size());
    const double units = widthFor(names.join(u"／"_s), points) - 1;
    return int(std::ceil(units / std::max(1.0, columnChars - 1)));
}

void shiftListView(xl::Worksheet& ws, const Month& m)
{
    const bool onLines = page(ws, u"Idxシフト一覧"_s, 0, 2) == 1;
    const QString sep = onLines ? u"\n"_s : u"／"_s;
    const double points = 9;
    const double dayWidth = widestName(m, points, 5);
    Canvas c(ws, 4, 3, 3 + kMaxTypes, 1 + kMaxDays);
    c.put(4, 3, m.period.first.isValid() ? u"%1年%2月"_s.arg(m.period.first.year()).arg(m.period.first.month()) : QString(),
          heading());
    c.put(5, 3, QVariant(), heading());
    for (int d = 1; d <= m.days; ++d) {
        const QColor shade = dayShade(m.period, d);
        c.put(4, 3 + d, double(m.period.day(d).day()), heading(10, shade.isValid() ? shade : layout::kHeading));
        c.put(5, 3 + d, m.weekday(d), heading(9, shade.isValid() ? shade : layout::kHeading));
    }
    // Shift rows 6 .. 5 + Type_Cnt, then the rest row.
    for (int t = 1; t <= m.tc() + 1; ++t) {
        const int row = 5 + t;
        const int shiftNo = t <= m.tc() ? t : 0;
        c.put(row, 3, shiftNo ? m.types.names[size_t(t - 1)] : u"休み"_s, heading(10, shiftNo ? typeFill(m, t) : layout::kHeading));
        int lines = 1;
        for (int d = 1; d <= m.days; ++d) {
            const QStringList names = m.staff(shiftNo, d);
            xl::CellStyle s = boxed(points, dayShade(m.period, d));
            s.wrapText = true;
            s.verticalAlignment = -4160;   // top
            c.put(row, 3 + d, names.isEmpty() ? QVariant() : QVariant(names.join(sep)), s);
            lines = std::max(lines, lineCount(names, onLines, dayWidth, points));
        }
        // A row is at most 409 points high; past that the names joined by "／" still fit.
        setHeight(ws, row, std::clamp(lines * points * 1.5 + 4, 15.0, 409.0));
    }
    c.apply();
    setWidth(ws, 3, 11);
    for (int d = 1; d <= kMaxDays; ++d)
        setWidth(ws, 3 + d, dayWidth);
}

// ---- 日別要員: one day, a row per shift type: need, staff, balance and names --------------------

void dayStaffView(xl::Worksheet& ws, const Month& m)
{
    const int d = page(ws, u"Idx日別"_s, 1, m.days);
    std::vector<QStringList> staff(size_t(m.tc()) + 1);
    int most = 1;
    for (int t = 1; t <= m.tc() && m.days > 0; ++t) {
        staff[size_t(t)] = m.staff(t, d);
        most = std::max({most, int(staff[size_t(t)].size()), int(m.needOf(t, d))});
    }
    most = std::min(most, kMaxMembers);
    Canvas c(ws, 3, 1, 1 + kMaxTypes, 4 + kMaxMembers);
    const QDate date = m.days > 0 ? m.period.day(d) : QDate();
    c.put(3, 1, date.isValid() ? u"%1月%2日(%3)"_s.arg(date.month()).arg(date.day()).arg(m.weekday(d)) : QString(),
          heading(11, date.isValid() && dayShade(m.period, d).isValid() ? dayShade(m.period, d) : layout::kHeading));
    c.put(3, 2, u"必要"_s, heading());
    c.put(3, 3, u"配置"_s, heading());
    c.put(3, 4, u"過不足"_s, heading(9));
    for (int k = 0; k < most; ++k)
        c.put(3, 5 + k, k == 0 ? QVariant(u"勤務者"_s) : QVariant(), heading());
    c.style(3, 5).horizontalAlignment = xl::kAlignLeft;
    for (int t = 1; t <= m.tc() && m.days > 0; ++t) {
        const int row = 3 + t;
        const int n = int(staff[size_t(t)].size());
        const int need = int(m.needOf(t, d));
        c.put(row, 1, m.types.names[size_t(t - 1)], heading(11, typeFill(m, t)));
        c.put(row, 2, double(need), centred(boxed()));
        c.put(row, 3, double(n), centred(boxed()));
        xl::CellStyle balance = centred(boxed());
        balance.fontColor = n < need ? kSundayText : QColor();
        balance.bold = n < need;
        c.put(row, 4, double(n - need), balance);
        // A needed place nobody fills stays pink.
        for (int k = 0; k < most; ++k)
            c.put(row, 5 + k, k < n ? QVariant(staff[size_t(t)][k]) : QVariant(),
                  boxed(11, k >= n && k < need ? layout::kBadEntry : QColor()));
    }
    c.apply();
    putValue(ws, u"YoinMax"_s, most);
    setWidth(ws, 1, 12);
    for (int col = 2; col <= 4; ++col)
        setWidth(ws, col, 5.5);
    const double w = widestName(m, 11, 8);
    for (int col = 5; col <= 4 + kMaxMembers; ++col)
        setWidth(ws, col, w);
}

// ---- 時間帯別: one day, a row per member at work, half-hour bands ------------------------------

constexpr int kBands = 63;        // columns D .. BN
constexpr int kBandLeft = 4;
constexpr int kFirstWorker = 6;
constexpr int kOnDutyRow = 56;
constexpr int kOnBreakRow = 57;

// The hour the axis starts at: the earliest start of a shift type.
int firstHour(const Month& m)
{
    double first = 1;
    for (int t = 1; t <= m.tc(); ++t)
        if (m.duty[size_t(t - 1)].known)
            first = std::min(first, m.duty[size_t(t - 1)].start);
    return first >= 1 ? 0 : int(text::wholeSeconds(first) / 3600);
}

// 0 off, 1 at work, 2 on a break, for the half hour whose middle is at `at`.
int bandState(const Duty& u, double at)
{
    if (!u.known || at < u.start || at >= u.end)
        return 0;
    for (const auto& [from, to] : u.breaks)
        if (at >= from && at < to)
            return 2;
    return 1;
}

void bandHeadings(Canvas& c, const Month& m, int d, int h0)
{
    const QDate date = m.days > 0 ? m.period.day(d) : QDate();
    c.put(4, 1, date.isValid() ? u"%1年%2月%3日(%4)"_s.arg(date.year()).arg(date.month()).arg(date.day()).arg(m.weekday(d))
                               : QString(),
          caption(12));
    c.put(5, 1, u"氏名"_s, heading());
    c.put(5, 2, u"勤務"_s, heading(9));
    c.put(5, 3, u"時間"_s, heading());
    for (int j = 0; j < kBands; ++j) {
        xl::CellStyle s = heading(8);
        s.horizontalAlignment = xl::kAlignLeft;
        s.right.lineStyle = j % 2 == 0 ? xl::kLineNone : xl::kContinuous;
        c.put(5, kBandLeft + j, j % 2 == 0 ? QVariant(QString::number((h0 + j / 2) % 24)) : QVariant(), s);
    }
}

void timeBandView(xl::Worksheet& ws, const Month& m)
{
    const int d = page(ws, u"時間帯_IdxDay"_s, 1, m.days);
    const int h0 = firstHour(m);
    Canvas c(ws, 4, 1, 54, 3 + kBands);
    bandHeadings(c, m, d, h0);
    std::vector<int> onDuty(kBands, 0), onBreak(kBands, 0);
    int row = kFirstWorker;
    double latest = h0 / 24.0 + 1;
    for (int t = 1; t <= m.tc() && m.days > 0; ++t) {
        const Duty& u = m.duty[size_t(t - 1)];
        for (const QString& name : m.staff(t, d)) {
            c.put(row, 1, name, boxed());
            c.put(row, 2, m.types.abbreviations[size_t(t - 1)], centred(boxed(11, typeFill(m, t))));
            c.put(row, 3, m.timeText(t), centred(boxed(9)));
            for (int j = 0; j < kBands; ++j) {
                const int state = bandState(u, (h0 + (j + 0.5) / 2) / 24.0);
                c.put(row, kBandLeft + j, QVariant(), boxed(8, state == 1 ? typeFill(m, t) : state == 2 ? layout::kDerived : QColor()));
                onDuty[size_t(j)] += state == 1;
                onBreak[size_t(j)] += state == 2;
            }
            latest = std::max(latest, u.known ? u.end : 0.0);
            ++row;
        }
    }
    const int workers = row - kFirstWorker;
    c.put(kOnDutyRow, 1, u"勤務中"_s, heading());
    c.put(kOnBreakRow, 1, u"休憩中"_s, heading());
    for (const int r : {kOnDutyRow, kOnBreakRow}) {
        c.put(r, 2, QVariant(), heading());
        c.put(r, 3, QVariant(), heading());
        for (int j = 0; j < kBands; ++j) {
            const int n = r == kOnDutyRow ? onDuty[size_t(j)] : onBreak[size_t(j)];
            c.put(r, kBandLeft + j, n > 0 ? QVariant(double(n)) : QVariant(), centred(boxed(8)));
        }
    }
    c.apply();
    for (int r = kFirstWorker; r < kOnDutyRow; ++r)
        showRow(ws, r, r < kFirstWorker + workers);
    showRow(ws, kOnBreakRow, std::any_of(onBreak.begin(), onBreak.end(), [](int n) { return n > 0; }));
    const int bands = std::min(kBands, int(std::ceil((latest - h0 / 24.0) * 48 - 1e-9)));
    setWidth(ws, 1, widestName(m, 11, 9));
    setWidth(ws, 2, 4.5);
    setWidth(ws, 3, 10);
    for (int j = 0; j < kBands; ++j) {
        setWidth(ws, kBandLeft + j, 2.2);
        showColumn(ws, kBandLeft + j, j < bands);
    }
}

// ---- 個人別: one member's month as a calendar, then the month's counts --------------------------

constexpr int kCalendarTop = 6;    // three rows a week: date, shift, hours
constexpr int kTotalsTop = 24;

void calendarDay(Canvas& c, const Month& m, int member, int d, int row, int col)
{
    const QDate date = m.period.day(d);
    const QColor shade = dayShade(m.period, d);
    xl::CellStyle top = boxed(9, shade);
    top.bottom.lineStyle = xl::kLineNone;
    top.fontColor = date.dayOfWeek() == 7 || m.weekday(d) == u"祝"_s ? kSundayText
                    : date.dayOfWeek() == 6                             ? kSaturdayText
                                                                         : QColor();
    const bool monthShown = d == 1 || date.day() == 1;
    c.put(row, col, monthShown ? u"%1/%2"_s.arg(date.month()).arg(date.day()) : QString::number(date.day()), top);
    const int t = m.shift[size_t(member)][size_t(d)];
    xl::CellStyle mid = centred(boxed(11, t > 0 ? typeFill(m, t) : shade));
    mid.top.lineStyle = mid.bottom.lineStyle = xl::kLineNone;
    mid.bold = t > 0;
    mid.fontColor = t > 0 ? QColor() : kMutedText;
    c.put(row + 1, col, t > 0 ? m.types.names[size_t(t - 1)] : m.restSymbol, mid);
    xl::CellStyle low = centred(boxed(8, t > 0 ? typeFill(m, t) : shade));
    low.top.lineStyle = xl::kLineNone;
    c.put(row + 2, col, t > 0 ? m.timeText(t) : QString(), low);
}

int calendar(Canvas& c, const Month& m, int member)
{
    for (int w = 0; w < 7; ++w) {
        xl::CellStyle s = heading();
        s.fontColor = w == 0 ? kSundayText : w == 6 ? kSaturdayText : QColor();
        c.put(5, 2 + w, QString(kWeek[w]), s);
    }
    const int offset = m.days > 0 ? m.period.first.dayOfWeek() % 7 : 0;
    const int weeks = (offset + m.days + 6) / 7;
    for (int k = 0; k < weeks * 7; ++k) {
        const int d = k - offset + 1;
        const int row = kCalendarTop + 3 * (k / 7), col = 2 + k % 7;
        if (d >= 1 && d <= m.days) {
            calendarDay(c, m, member, d, row, col);
            continue;
        }
        for (int r = 0; r < 3; ++r)
            c.put(row + r, col, QVariant(), boxed(9, layout::kUnusedDay));
    }
    return weeks;
}

void memberTotals(Canvas& c, const Month& m, int member)
{
    c.put(kTotalsTop, 2, u"今月の集計"_s, caption(11));
    std::vector<int> counts(size_t(m.tc()) + 1, 0);
    int work = 0, holidayWork = 0;
    double hours = 0;
    for (int d = 1; d <= m.days; ++d) {
        const int t = m.shift[size_t(member)][size_t(d)];
        if (t <= 0)
            continue;
        ++counts[size_t(t)];
        ++work;
        hours += m.types.hours[size_t(t - 1)];
        holidayWork += !m.holidays[d - 1].isEmpty();
    }
    int row = kTotalsTop + 1;
    auto line = [&](const QString& label, double n, const QString& unit, const QColor& fill = layout::kHeading) {
        xl::CellStyle l = boxed(10, fill);
        c.put(row, 2, label, l);
        c.put(row, 3, QVariant(), l);
        c.put(row, 4, n, centred(boxed(11)));
        c.put(row, 5, unit, boxed(10));
        ++row;
    };
    for (int t = 1; t <= m.tc(); ++t)
        line(m.types.names[size_t(t - 1)], counts[size_t(t)], u"回"_s, typeFill(m, t));
    line(u"勤務日数"_s, work, u"日"_s);
    line(u"休み日数"_s, m.days - work, u"日"_s);
    line(u"休日勤務"_s, holidayWork, u"日"_s);
    line(u"勤務時間"_s, hours, u"時間"_s);
    line(m.dayOffIsWork ? u"予定勤務日数"_s : u"予定休日数"_s, m.dayOff[size_t(member - 1)], u"日"_s);
}

void memberView(xl::Worksheet& ws, const Month& m)
{
    const int member = page(ws, u"SelectId"_s, 0, m.members);
    Canvas c(ws, 3, 2, 37, 7);
    int weeks = 0;
    if (m.members > 0) {
        c.put(3, 2, m.numbers[member - 1] + u"　"_s + m.names[member - 1], caption(14));
        if (m.days > 0)
            c.put(4, 2, m.period.first.toString(u"yyyy/MM/dd"_s) + u" ～ "_s + m.period.last.toString(u"yyyy/MM/dd"_s),
                  caption(9));
        weeks = calendar(c, m, member);
        memberTotals(c, m, member);
    }
    c.apply();
    for (int r = kCalendarTop; r < kCalendarTop + 18; ++r)
        showRow(ws, r, r < kCalendarTop + 3 * weeks);
    setHeight(ws, 3, 21);
    for (int col = 2; col <= 8; ++col)
        setWidth(ws, col, 9);
}

}  // namespace

bool isViewSheet(const QString& name)
{
    return name == u"シフト別"_s || name == u"シフト一覧"_s || name == u"日別要員"_s || name == u"時間帯別"_s
           || name == u"個人別"_s;
}

void recalculateView(xl::Worksheet& view, const ShiftTypes& types, const Period& period, int memberCnt)
{
    const Month m = readMonth(view.parent(), types, period, memberCnt);
    const QString name = view.name();
    if (name == u"シフト別"_s)
        shiftTypeView(view, m);
    else if (name == u"シフト一覧"_s)
        shiftListView(view, m);
    else if (name == u"日別要員"_s)
        dayStaffView(view, m);
    else if (name == u"時間帯別"_s)
        timeBandView(view, m);
    else if (name == u"個人別"_s)
        memberView(view, m);
}

}  // namespace workbook
