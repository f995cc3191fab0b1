#include "workbook/recalc.h"

#include "platform/text/vb.h"
#include "workbook/holidays.h"
#include "workbook/layout.h"
#include "workbook/template.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace workbook {

namespace {

const QString kShift = u"人員配置表"_s;
const QString kMain = u"Main"_s;
const QString kBasic = u"基本設定"_s;
const QString kSchedule = u"スケジュール"_s;
const QString kNeed = u"要員設定"_s;
const QString kReserve = u"予約表"_s;

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
    const QString t = cellText(v);
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
            if ((col == 0 || c == col) && !cellText(b(r, c)).isEmpty())
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

QString memberKey(const QVariant& v)
{
    return cellText(v);
}

void combinationTable(xl::Worksheet& ws, const QString& name, const QString& countName,
                      const QHash<QString, QString>& namesByNumber)
{
    xl::Range r = ws.range(name);
    xl::Block b = r.block();
    const xl::Block before = b;
    put(ws.range(countName), num(lastFilledRow(b, 1)));
    for (int i = 1; i <= b.rows(); ++i) {
        b(i, 3) = b(i, 2);   // the reader takes the number from column 3, the month save from 2
        for (int c = 4; c + 1 <= b.columns(); c += 5) {
            const QString key = memberKey(b(i, c));
            QVariant shown;
            if (!key.isEmpty())
                shown = namesByNumber.contains(key) ? QVariant(namesByNumber.value(key)) : QVariant(u"？"_s);
            b(i, c + 1) = shown;
        }
    }
    if (b != before)
        r.setBlock(b);
}

}  // namespace

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
    default:
        return Val(v.toString());
    }
}

QString cellText(const QVariant& v)
{
    if (!v.isValid())
        return {};
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 15);
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? u"TRUE"_s : u"FALSE"_s;
    return v.toString().trimmed();
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
    const xl::Block b = book.worksheets(kBasic).range(u"Type_Table_Input"_s).block();
    for (int t = 1; t <= kMaxTypes; ++t) {
        types.names << cellText(b(t, 1));
        types.abbreviations << cellText(b(t, 2));
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
    Period p;
    if (y < 1900 || y > 9998 || m < 1 || m > 12 || s < 1 || s > 31)
        return p;
    p.first = DateSerial(int(y), int(m), int(s));
    p.last = DateSerial(int(y), int(m) + 1, int(s) - 1);
    return p;
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
    xl::Worksheet& ws = book.worksheets(kShift);
    const Period p = readPeriod(book);
    const bool on = cellNumber(book.worksheets(kBasic).range(u"行列ハイライト"_s).value()) != 0;
    const int row = on ? int(cellNumber(ws.range(u"行番号"_s).value())) : 0;
    const int col = on ? int(cellNumber(ws.range(u"列番号"_s).value())) : 0;
    for (int d = 1; d <= kMaxDays; ++d) {
        const QColor shade = dayShade(p, d);
        const QColor c = d == col ? layout::kHighlight : shade.isValid() ? shade : layout::kHeading;
        fill(ws, layout::kShiftDateRow, layout::kGridLeft + d - 1, c);
        fill(ws, layout::kShiftWeekdayRow, layout::kGridLeft + d - 1, c);
    }
    for (int i = 1; i <= kMaxMembers; ++i)
        for (int c = 1; c <= 3; ++c)
            fill(ws, layout::kGridTop + i - 1, c, i == row ? layout::kHighlight : layout::kDerived);
}

void recalculate(xl::Workbook& book)
{
    xl::Worksheet& shift = book.worksheets(kShift);
    xl::Worksheet& main = book.worksheets(kMain);
    xl::Worksheet& basic = book.worksheets(kBasic);
    xl::Worksheet& sched = book.worksheets(kSchedule);
    xl::Worksheet& need = book.worksheets(kNeed);
    xl::Worksheet& rsv = book.worksheets(kReserve);

    // The period.
    const Period period = readPeriod(book);
    const int days = period.dayCount();
    put(shift.range(u"Day_Cnt"_s), num(days));
    put(basic.range(u"祝日年_org"_s), period.first.isValid() ? num(period.first.year()) : QVariant());
    if (days > 0) {
        put(shift.range(u"A1"_s), u"勤務表　%1 ～ %2"_s.arg(period.first.toString(u"yyyy年M月d日"_s),
                                                            period.last.toString(u"M月d日"_s)));
        put(main.range(u"C10"_s), u"%1 ～ %2（%3日）"_s.arg(period.first.toString(u"yyyy/M/d"_s),
                                                          period.last.toString(u"yyyy/M/d"_s))
                                      .arg(days));
    } else {
        put(shift.range(u"A1"_s), u"勤務表　（開始条件の年・月・期間の開始日を確認してください）"_s);
        put(main.range(u"C10"_s), u"年・月・期間の開始日が正しくありません"_s);
    }
    dayHeadings(shift, layout::kGridLeft, period);
    dayHeadings(sched, layout::kScheduleLeft, period);
    dayHeadings(rsv, layout::kReserveLeft, period);
    dayHeadings(need, layout::kNeedLeft, period);
    {
        xl::Block h(1, kMaxDays);
        for (int d = 1; d <= days; ++d) {
            const QDate date = period.day(d);
            const QString name = holidayName(date);
            h(1, d) = !name.isEmpty() ? QVariant(name)
                      : date.dayOfWeek() == 7 ? QVariant(u"日"_s)
                      : date.dayOfWeek() == 6 ? QVariant(u"土"_s) : QVariant();
        }
        putBlock(sched.range(u"休日調査"_s), h);
        putBlock(shift.range(u"休平日"_s), h);
    }

    // Times of day are kept as day fractions, as the sheets show them ("h:mm").
    for (const QString& name : {u"Type_Table_Input"_s, u"REST_TIME"_s, u"REST_TIME2"_s, u"REST_TIME3"_s}) {
        xl::Range r = basic.range(name);
        xl::Block b = r.block();
        bool changed = false;
        for (int i = 1; i <= b.rows(); ++i) {
            for (int j = 1; j <= b.columns(); ++j) {
                if (name == u"Type_Table_Input"_s && j != 3 && j != 6)
                    continue;
                const QVariant v = b(i, j);
                QTime t;
                if (v.typeId() == QMetaType::QTime)
                    t = v.toTime();
                else if (v.typeId() == QMetaType::QDateTime && v.toDateTime().date().year() < 1900)
                    t = v.toDateTime().time();
                if (t.isValid()) {
                    b(i, j) = t.msecsSinceStartOfDay() / 86400000.0;
                    changed = true;
                }
            }
        }
        if (changed)
            r.setBlock(b);
    }

    // Shift types and everything named after them.
    const ShiftTypes types = readShiftTypes(book);
    const int tc = types.count;
    put(basic.range(u"Type_Cnt"_s), num(tc));
    {
        xl::Block list(kMaxTypes, 2), abbrRow(1, kMaxTypes), nameCol(kMaxTypes, 1);
        for (int t = 1; t <= tc; ++t) {
            list(t, 1) = textOrEmpty(types.names[t - 1]);
            list(t, 2) = textOrEmpty(types.abbreviations[t - 1]);
            abbrRow(1, t) = list(t, 2);
            nameCol(t, 1) = list(t, 1);
        }
        putBlock(basic.range(u"Type_Table_List"_s), list);
        putBlock(basic.range(u"B18:B27"_s), nameCol);
        putBlock(basic.range(u"C17:L17"_s), abbrRow);
        putBlock(basic.range(u"C81:L81"_s), abbrRow);
        putBlock(need.range(u"B5:C14"_s), list);
        putBlock(shift.range(u"AI4:AR4"_s), abbrRow);
        putBlock(shift.range(u"B55:C64"_s), list);
        for (int t = 1; t <= kMaxTypes; ++t)
            fill(basic, 4 + t, 10, types.colors[t - 1]);
        const double rest = cellNumber(basic.range(u"Color_Yasumi"_s).value());
        fill(basic, 71, 8, rest >= 1 && rest <= 56 ? xl::colorFromIndex(int(rest)) : QColor());
    }

    // Next-day bans: row s, column k marked = shift k may not follow shift s.
    {
        xl::Range marks = basic.range(u"翌日禁止"_s);
        const xl::Block b = marks.block();
        xl::Block masks(1, kMaxTypes);
        for (int s = 1; s <= kMaxTypes; ++s) {
            int mask = 0;
            for (int k = 1; k <= kMaxTypes; ++k) {
                const QString t = cellText(b(s, k));
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

    // Sequence patterns.
    const QString restSymbol = cellText(basic.range(u"Yasumi_Kigou"_s).value());
    auto patterns = [&](const QString& name, const QString& countName, bool restAllowed) {
        xl::Range r = basic.range(name);
        const xl::Block b = r.block();
        put(basic.range(countName), num(lastFilledRow(b)));
        for (int i = 1; i <= b.rows(); ++i) {
            for (int j = 1; j <= b.columns(); ++j) {
                const QString t = cellText(b(i, j));
                const bool ok = t.isEmpty() || types.indexOf(t) > 0 || (restAllowed && t == u"-"_s);
                fill(basic, r.row() + i - 1, r.column() + j - 1, ok ? QColor() : layout::kBadEntry);
            }
        }
    };
    patterns(u"禁止パターン"_s, u"Kinsi_Pattern_Cnt"_s, true);
    patterns(u"必須パターン"_s, u"Hissu_Pattern_Cnt"_s, false);

    // The roster.
    const xl::Block members = sched.range(u"Member_List"_s).block();
    int memberCnt = 0, numbers = 0, names = 0;
    QHash<QString, QString> namesByNumber;
    for (int i = 1; i <= kMaxMembers; ++i) {
        const QString no = cellText(members(i, 1));
        const QString name = cellText(members(i, 2));
        numbers += !no.isEmpty();
        names += !name.isEmpty();
        if (!no.isEmpty() || !name.isEmpty())
            memberCnt = i;
        if (!no.isEmpty() && !namesByNumber.contains(no))
            namesByNumber.insert(no, name);
    }
    put(sched.range(u"Member_Cnt"_s), num(memberCnt));
    put(sched.range(u"番号数"_s), num(numbers));
    put(sched.range(u"名前数"_s), num(names));
    {
        xl::Block copy(kMaxMembers, 3), rsvNames(kMaxMembers, 2);
        for (int i = 1; i <= memberCnt; ++i) {
            for (int j = 1; j <= 3; ++j)
                copy(i, j) = members(i, j);
            rsvNames(i, 1) = members(i, 1);
            rsvNames(i, 2) = members(i, 2);
        }
        putBlock(shift.range(u"A5:C54"_s), copy);
        putBlock(rsv.range(u"A5:B54"_s), rsvNames);
    }
    put(sched.range(u"AJ3"_s), cellNumber(sched.range(u"予定休み区分"_s).value()) == 1 ? u"予定勤務日数"_s
                                                                                       : u"予定休日数"_s);

    // Personal conditions and their masks.
    {
        xl::Range in = sched.range(u"勤務不可"_s);
        const xl::Block b = in.block();
        xl::Block masks(kMaxMembers, kMaxDays);
        const int allTypes = (1 << tc) - 1;
        int conditions = 0;
        for (int i = 1; i <= kMaxMembers; ++i) {
            for (int d = 1; d <= kMaxDays; ++d) {
                Forbidden f = parseForbidden(b(i, d), types);
                // Every shift of the table forbidden is a day off, whichever way it was typed: the
                // readers recognise such a day by the value 1023.
                if (tc > 0 && (f.mask & allTypes) == allTypes)
                    f.mask = kAllShiftsMask;
                if (f.mask != 0)
                    masks(i, d) = num(f.mask);
                if (f.mask != 0 && i <= memberCnt && d <= days)
                    ++conditions;
                const QColor shade = dayShade(period, d);
                fill(sched, in.row() + i - 1, in.column() + d - 1, f.ok ? shade : layout::kBadEntry);
            }
        }
        putBlock(sched.range(u"Member_Scdl"_s), masks);
        put(sched.range(u"個人条件数"_s), num(conditions));
        shadeDays(sched, layout::kScheduleLeft, 2, 4, period, layout::kHeading);
    }

    // Reservations.
    {
        xl::Range in = rsv.range(u"Member_Rsv"_s);
        const xl::Block b = in.block();
        int reserved = 0;
        for (int i = 1; i <= kMaxMembers; ++i) {
            for (int d = 1; d <= kMaxDays; ++d) {
                const QString t = cellText(b(i, d));
                if (!t.isEmpty() && i <= memberCnt && d <= days)
                    ++reserved;
                // "*" (any shift) is refused when the conditions are read: marked like a stray text.
                const bool ok = t.isEmpty() || types.indexOf(t) > 0 || t == restSymbol;
                const QColor shade = dayShade(period, d);
                fill(rsv, in.row() + i - 1, in.column() + d - 1, ok ? shade : layout::kBadEntry);
            }
        }
        put(rsv.range(u"予約数"_s), num(reserved));
        shadeDays(rsv, layout::kReserveLeft, 3, 4, period, layout::kHeading);
    }

    // Staffing needs and combinations.
    std::vector<double> needPerDay(kMaxDays + 1, 0.0);
    {
        const xl::Block b = need.range(u"Need_Table"_s).block();
        xl::Block perType(kMaxTypes + 1, 1), perDay(1, kMaxDays);
        double all = 0;
        for (int t = 1; t <= tc; ++t) {
            double sum = 0;
            for (int d = 1; d <= days; ++d) {
                const double v = cellNumber(b(t, d));
                sum += v;
                needPerDay[d] += v;
            }
            perType(t, 1) = num(sum);
            all += sum;
        }
        for (int d = 1; d <= days; ++d)
            perDay(1, d) = num(needPerDay[d]);
        perType(kMaxTypes + 1, 1) = tc > 0 ? num(all) : QVariant();
        putBlock(need.range(u"AI5:AI15"_s), perType);
        putBlock(need.range(u"D15:AH15"_s), perDay);
        shadeDays(need, layout::kNeedLeft, 3, 4, period, layout::kHeading);
        shadeDays(need, layout::kNeedLeft, 5, 4 + tc, period, QColor());
        for (int t = tc + 1; t <= kMaxTypes; ++t)
            for (int d = 1; d <= kMaxDays; ++d)
                fill(need, 4 + t, layout::kNeedLeft + d - 1, layout::kUnusedDay);
    }
    combinationTable(need, u"組合せ禁止"_s, u"組合せ禁止数"_s, namesByNumber);
    combinationTable(need, u"組合せ必須"_s, u"組合せ必須数"_s, namesByNumber);
    put(need.range(u"組合せ禁止数_grp"_s), num(lastFilledRow(need.range(u"組合せ禁止_grp"_s).block(), 1)));
    put(need.range(u"組合せ必須数_grp"_s), num(lastFilledRow(need.range(u"組合せ必須_grp"_s).block(), 1)));
    {
        const int bans = int(cellNumber(need.range(u"組合せ禁止数"_s).value())
                             + cellNumber(need.range(u"組合せ禁止数_grp"_s).value()));
        const bool over = bans > kBanRecordLimit;
        put(need.range(u"S21"_s), over ? u"組合せ禁止と職制の組合せ禁止が合わせて %1 件あります。16 件までにしてください"_s.arg(bans)
                                       : u"勤務名（* はすべて）、人数、職員の番号を入力。職制の禁止と合わせて 16 件まで"_s);
        fontColor(need, 21, 19, over ? QColor(0xC0, 0, 0) : QColor(0x59, 0x59, 0x59));
    }

    // The shift grid's totals.
    {
        xl::Range grid = shift.range(u"Time_Table"_s);
        const xl::Block b = grid.block();
        const xl::Block holidays = sched.range(u"休日調査"_s).block();
        xl::Block perMember(kMaxMembers, 14), perDay(13, kMaxDays);
        std::vector<std::vector<int>> dayCounts(kMaxTypes + 1, std::vector<int>(kMaxDays + 1, 0));
        int filled = 0;
        for (int i = 1; i <= memberCnt; ++i) {
            std::vector<int> counts(kMaxTypes + 1, 0);
            int work = 0, holidayWork = 0;
            double hours = 0;
            for (int d = 1; d <= days; ++d) {
                const int t = types.indexOf(cellText(b(i, d)));
                if (t <= 0)
                    continue;
                ++counts[t];
                ++dayCounts[t][d];
                ++work;
                hours += types.hours[t - 1];
                if (!cellText(holidays(1, d)).isEmpty())
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
        putBlock(shift.range(u"AI5:AV54"_s), perMember);
        putBlock(shift.range(u"D55:AH67"_s), perDay);
        put(shift.range(u"shift_データ数"_s), num(filled));
        // Empty grid cells show the day's shading; filled ones keep the colour macros' fills.
        // A text that is neither a shift nor the rest symbol is shown in red.
        for (int i = 1; i <= kMaxMembers; ++i) {
            for (int d = 1; d <= kMaxDays; ++d) {
                const int row = grid.row() + i - 1, col = grid.column() + d - 1;
                if (!b(i, d).isValid())
                    fill(shift, row, col, dayShade(period, d));
                const QString t = cellText(b(i, d));
                const bool odd = !t.isEmpty() && t != restSymbol && types.indexOf(t) == 0;
                fontColor(shift, row, col, odd ? QColor(0xC0, 0, 0) : QColor());
            }
        }
        shadeDays(shift, layout::kGridLeft, 55, 67, period, layout::kDerived);
    }
    paintSelection(book);
}

}  // namespace workbook
