// The workbook's formulas: the period, the counts, the masks and the totals follow the inputs.
#include "template_fixture.h"
#include "workbook/layout.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kShift = u"人員配置表"_s;
const QString kBasic = u"基本設定"_s;
const QString kSched = u"スケジュール"_s;
const QString kNeed = u"要員設定"_s;
const QString kRsv = u"予約表"_s;

TEST(TemplateRecalc, DayCountFollowsThePeriodOnMain)
{
    struct Case { double year, month, start; int days; const char* first; };
    const Case cases[] = {
        {2026, 4, 1, 30, "2026-04-01"},
        {2026, 2, 1, 28, "2026-02-01"},
        {2024, 2, 1, 29, "2024-02-01"},
        {2026, 12, 1, 31, "2026-12-01"},   // ends 31 December of the same year
        {2026, 3, 21, 31, "2026-03-21"},   // 21 March .. 20 April
        {2026, 1, 31, 31, "2026-01-31"},   // 31 January .. 2 March (DateSerial rolls over)
        {2026, 13, 1, 0, ""},              // not a month: no period
        {0, 4, 1, 0, ""},
    };
    testwb::Book b;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.year * 10000 + c.month * 100 + c.start);
        b.set(u"Main"_s, u"年"_s, c.year);
        b.set(u"Main"_s, u"月"_s, c.month);
        b.set(u"Main"_s, u"基準開始日"_s, c.start);
        EXPECT_EQ(b.sheet(kShift).range(u"Day_Cnt"_s).text(), QString::number(c.days));
        const QVariant first = b.sheet(kShift).range(u"D3"_s).value();
        EXPECT_EQ(first.toDate().toString(Qt::ISODate), QString::fromLatin1(c.first));
        // The last heading is the period's last day; the columns after it are empty and grey.
        if (c.days > 0 && c.days < 31) {
            EXPECT_FALSE(b.sheet(kShift).cells(3, 4 + c.days).value().isValid());
            EXPECT_EQ(b.sheet(kShift).styleAt(3, 4 + c.days).fill, workbook::layout::kUnusedDay);
        }
    }
}

TEST(TemplateRecalc, HeadingsAndHolidayRowShowDatesWeekdaysAndHolidays)
{
    testwb::Book b;
    b.set(u"Main"_s, u"年"_s, 2025.0);
    b.set(u"Main"_s, u"月"_s, 9.0);
    xl::Worksheet& sched = b.sheet(kSched);
    const xl::Range holidays = sched.range(u"休日調査"_s);
    EXPECT_FALSE(holidays.cells(1, 1).value().isValid());             // Monday 1 September
    EXPECT_EQ(holidays.cells(1, 6).value(), QVariant(u"土"_s));        // Saturday 6
    EXPECT_EQ(holidays.cells(1, 7).value(), QVariant(u"日"_s));        // Sunday 7
    EXPECT_EQ(holidays.cells(1, 15).value(), QVariant(u"敬老の日"_s));
    EXPECT_EQ(holidays.cells(1, 23).value(), QVariant(u"秋分の日"_s));
    EXPECT_EQ(b.sheet(kShift).range(u"休平日"_s).cells(1, 15).value(), QVariant(u"敬老の日"_s));
    EXPECT_EQ(b.sheet(kShift).range(u"R4"_s).value(), QVariant(u"祝"_s));   // day 15
    EXPECT_EQ(b.sheet(kShift).range(u"E4"_s).value(), QVariant(u"火"_s));   // day 2
    EXPECT_EQ(b.sheet(kShift).styleAt(4, 4 + 14).fill, workbook::layout::kHoliday);
    EXPECT_EQ(b.sheet(kShift).styleAt(4, 4 + 5).fill, workbook::layout::kSaturday);
    EXPECT_EQ(b.sheet(kRsv).range(u"C3"_s).value().toDate(), QDate(2025, 9, 1));
    EXPECT_EQ(b.sheet(kNeed).range(u"D3"_s).value().toDate(), QDate(2025, 9, 1));
    EXPECT_EQ(sched.range(u"E3"_s).value().toDate(), QDate(2025, 9, 1));
    EXPECT_EQ(b.number(kBasic, u"祝日年_org"_s), 2025.0);
}

TEST(TemplateRecalc, CountsFollowEditsAtOnceInAutomaticModeAndOnlyOnCalculateInManual)
{
    for (const bool manual : {false, true}) {
        SCOPED_TRACE(manual ? "manual" : "automatic");
        testwb::Book b;
        b.book->calculate();
        b.app->setCalculation(manual ? xl::kCalculationManual : xl::kCalculationAutomatic);
        EXPECT_EQ(b.number(kSched, u"Member_Cnt"_s), 4.0);

        // A member, a reservation, a pattern, a personal condition, a shift type, a combination.
        b.set(kSched, u"B9"_s, 105.0);
        b.set(kSched, u"C9"_s, u"岡田"_s);
        b.set(kRsv, u"D6"_s, u"準"_s);
        b.set(kBasic, u"C32"_s, u"深"_s);
        b.set(kBasic, u"D32"_s, u"日"_s);
        b.set(kBasic, u"C46"_s, u"準"_s);
        b.set(kSched, u"F5"_s, u"×"_s);
        b.set(kBasic, u"B8"_s, u"研修"_s);
        b.set(kNeed, u"B23"_s, u"日勤"_s);
        b.set(kNeed, u"AK5"_s, u"*"_s);
        b.set(kShift, u"D5"_s, u"日"_s);

        struct Want { QString sheet, name; double before, after; };
        const Want wants[] = {
            {kSched, u"Member_Cnt"_s, 4, 5},   {kSched, u"番号数"_s, 4, 5},
            {kSched, u"名前数"_s, 4, 5},       {kRsv, u"予約数"_s, 0, 1},
            {kBasic, u"Kinsi_Pattern_Cnt"_s, 0, 1}, {kBasic, u"Hissu_Pattern_Cnt"_s, 0, 1},
            {kSched, u"個人条件数"_s, 0, 1},   {kBasic, u"Type_Cnt"_s, 3, 4},
            {kNeed, u"組合せ禁止数"_s, 0, 1},  {kNeed, u"組合せ禁止数_grp"_s, 0, 1},
            {kShift, u"shift_データ数"_s, 0, 1},
        };
        for (const Want& w : wants)
            EXPECT_EQ(b.number(w.sheet, w.name), manual ? w.before : w.after) << w.name.toStdString();
        if (manual) {
            b.app->calculate();
            for (const Want& w : wants)
                EXPECT_EQ(b.number(w.sheet, w.name), w.after) << w.name.toStdString();
        }
    }
}

TEST(TemplateRecalc, RosterCountsKeepGapsVisibleToTheRosterCheck)
{
    testwb::Book b;
    // A name without a number in row 7: the member count reaches it, the number count does not.
    b.set(kSched, u"C11"_s, u"加藤"_s);
    EXPECT_EQ(b.number(kSched, u"Member_Cnt"_s), 7.0);
    EXPECT_EQ(b.number(kSched, u"番号数"_s), 4.0);
    EXPECT_EQ(b.number(kSched, u"名前数"_s), 5.0);
    // The shift sheet and the reservations show the roster.
    EXPECT_EQ(b.sheet(kShift).range(u"B6"_s).value(), QVariant(u"井上"_s));
    EXPECT_EQ(b.sheet(kRsv).range(u"A8"_s).value().toDouble(), 104.0);
}

TEST(TemplateRecalc, PersonalConditionMasksComeFromCrossesAndAbbreviations)
{
    testwb::Book b;
    struct Case { QVariant typed; QVariant mask; bool flagged; };
    const Case cases[] = {
        {u"×"_s, 1023.0, false},
        {u"x"_s, 1023.0, false},
        {u"深"_s, 4.0, false},
        {u"準,深"_s, 6.0, false},
        {u"準、深"_s, 6.0, false},
        {u"準深"_s, 6.0, false},
        {u"日 深"_s, 5.0, false},
        {u"日,準,深"_s, 1023.0, false},     // every shift listed is a day off, as ×
        {u"夜"_s, QVariant(), true},        // no such shift: marked, no mask
        {u"日,夜"_s, 1.0, true},
        {3.0, 3.0, false},                   // a mask typed as a number
        {QVariant(), QVariant(), false},
    };
    xl::Range in = b.sheet(kSched).range(u"勤務不可"_s);
    xl::Range out = b.sheet(kSched).range(u"Member_Scdl"_s);
    int i = 0;
    for (const Case& c : cases) {
        ++i;
        SCOPED_TRACE(i);
        in.cells(1, i).setValue(c.typed);
        EXPECT_EQ(out.cells(1, i).value(), c.mask);
        EXPECT_EQ(b.sheet(kSched).styleAt(in.row(), in.column() + i - 1).fill == workbook::layout::kBadEntry,
                  c.flagged);
    }
    EXPECT_EQ(b.number(kSched, u"個人条件数"_s), 10.0);
    // Conditions of members or days outside the roster and period are not counted.
    in.cells(10, 1).setValue(u"×"_s);
    in.cells(1, 31).setValue(u"×"_s);   // April has 30 days
    EXPECT_EQ(b.number(kSched, u"個人条件数"_s), 10.0);
}

TEST(TemplateRecalc, ReservationsMarkWhatTheConditionReadRefuses)
{
    testwb::Book b;
    struct Case { const char16_t* typed; bool flagged; };
    const Case cases[] = {
        {u"準", false},
        {u"休", false},    // the rest symbol
        {u"*", true},      // any shift: the condition read refuses it
        {u"夜", true},     // no such shift
    };
    xl::Range in = b.sheet(kRsv).range(u"Member_Rsv"_s);
    int d = 0;
    for (const Case& c : cases) {
        ++d;
        SCOPED_TRACE(d);
        in.cells(1, d).setValue(QString::fromUtf16(c.typed));
        EXPECT_EQ(b.number(kRsv, u"予約数"_s), d);   // also brings the sheet up to date
        EXPECT_EQ(b.sheet(kRsv).styleAt(in.row(), in.column() + d - 1).fill == workbook::layout::kBadEntry, c.flagged);
    }
}

TEST(TemplateRecalc, NextDayBanTableGivesTheDayBeforeMasks)
{
    testwb::Book b;
    xl::Range bans = b.sheet(kBasic).range(u"翌日禁止"_s);
    bans.cells(2, 1).setValue(u"×"_s);   // 準夜 -> 日勤
    bans.cells(3, 1).setValue(u"×"_s);   // 深夜 -> 日勤
    bans.cells(3, 2).setValue(u"×"_s);   // 深夜 -> 準夜
    bans.cells(1, 5).setValue(u"×"_s);   // a column beyond the shift types counts for nothing
    const xl::Range masks = b.sheet(kBasic).range(u"DayBefore_Table"_s);
    EXPECT_EQ(masks.cells(1, 1).value().toDouble(), 0.0);
    EXPECT_EQ(masks.cells(1, 2).value().toDouble(), 1.0);
    EXPECT_EQ(masks.cells(1, 3).value().toDouble(), 3.0);
    EXPECT_FALSE(masks.cells(1, 4).value().isValid());
    bans.cells(1, 2).setValue(u"OK"_s);   // not a mark: flagged, not counted
    EXPECT_EQ(masks.cells(1, 1).value().toDouble(), 0.0);
    EXPECT_EQ(b.sheet(kBasic).styleAt(bans.row(), bans.column() + 1).fill, workbook::layout::kBadEntry);
}

TEST(TemplateRecalc, TimesOfDayBecomeDayFractionsShownAsHoursAndMinutes)
{
    testwb::Book b;
    xl::Range types = b.sheet(kBasic).range(u"Type_Table_Input"_s);
    types.cells(1, 3).setValue(QDateTime(QDate(1899, 12, 30), QTime(8, 30)));   // as a file gives a time
    types.cells(1, 6).setValue(QDateTime(QDate(1899, 12, 30), QTime(17, 15)));
    b.sheet(kBasic).range(u"REST_TIME"_s).cells(1, 1).setValue(QDateTime(QDate(1899, 12, 30), QTime(12, 0)));
    EXPECT_EQ(types.cells(1, 3).value().toDouble(), 8.5 / 24);
    EXPECT_EQ(types.cells(1, 3).text(), u"8:30"_s);
    EXPECT_EQ(types.cells(1, 6).text(), u"17:15"_s);
    EXPECT_EQ(b.sheet(kBasic).range(u"REST_TIME"_s).cells(1, 1).text(), u"12:00"_s);
}

TEST(TemplateRecalc, ShiftTypeCopiesAndCombinationNamesFollowTheTables)
{
    testwb::Book b;
    const xl::Range org = b.sheet(kBasic).range(u"Type_Table_Org"_s);
    EXPECT_EQ(org.cells(2, 1).value(), QVariant(u"準夜"_s));
    EXPECT_EQ(b.sheet(kBasic).range(u"Type_Table_List"_s).cells(3, 2).value(), QVariant(u"深"_s));
    EXPECT_FALSE(org.cells(4, 1).value().isValid());
    xl::Range ban = b.sheet(kNeed).range(u"組合せ禁止"_s);
    ban.cells(1, 1).setValue(u"深夜"_s);
    ban.cells(1, 2).setValue(2.0);
    ban.cells(1, 4).setValue(102.0);
    ban.cells(1, 9).setValue(999.0);
    EXPECT_EQ(ban.cells(1, 3).value().toDouble(), 2.0);   // the reader's number column
    EXPECT_EQ(ban.cells(1, 5).value(), QVariant(u"井上"_s));
    EXPECT_EQ(ban.cells(1, 10).value(), QVariant(u"？"_s));
    // Too many bans for the reader's table: the sheet says so.
    for (int i = 1; i <= 10; ++i)
        b.sheet(kNeed).range(u"組合せ禁止_grp"_s).cells(i, 1).setValue(u"*"_s);
    ban.cells(7, 1).setValue(u"日勤"_s);
    EXPECT_TRUE(b.sheet(kNeed).range(u"S21"_s).value().toString().contains(u"17 件"_s));
}

TEST(TemplateRecalc, GridTotalsCountShiftsPerMemberAndPerDay)
{
    testwb::Book b;
    b.set(kBasic, u"Yasumi_Kigou"_s, u"休"_s);
    xl::Range grid = b.sheet(kShift).range(u"Time_Table"_s);
    // Member 1: 日 on 1 April (Wed), 準 on 4 April (Sat), rest on 2 April.
    grid.cells(1, 1).setValue(u"日"_s);
    grid.cells(1, 2).setValue(u"休"_s);
    grid.cells(1, 4).setValue(u"準"_s);
    grid.cells(2, 1).setValue(u"日"_s);
    grid.cells(6, 1).setValue(u"日"_s);   // below the roster: not counted
    b.sheet(kNeed).range(u"Need_Table"_s).cells(1, 1).setValue(3.0);
    xl::Worksheet& ws = b.sheet(kShift);
    EXPECT_EQ(ws.range(u"AI5"_s).value().toDouble(), 1.0);   // 日 count
    EXPECT_EQ(ws.range(u"AJ5"_s).value().toDouble(), 1.0);   // 準 count
    EXPECT_EQ(ws.range(u"AS5"_s).value().toDouble(), 2.0);   // work days
    EXPECT_EQ(ws.range(u"AT5"_s).value().toDouble(), 28.0);  // rest days
    EXPECT_EQ(ws.range(u"AU5"_s).value().toDouble(), 1.0);   // Saturday work
    EXPECT_EQ(ws.range(u"AV5"_s).value().toDouble(), 16.0);  // hours
    EXPECT_FALSE(ws.range(u"AI10"_s).value().isValid());
    EXPECT_EQ(ws.range(u"D55"_s).value().toDouble(), 2.0);   // 日 on day 1
    EXPECT_EQ(ws.range(u"D65"_s).value().toDouble(), 2.0);   // work on day 1
    EXPECT_EQ(ws.range(u"D66"_s).value().toDouble(), 3.0);   // needed
    EXPECT_EQ(ws.range(u"D67"_s).value().toDouble(), -1.0);  // short by one
    EXPECT_EQ(b.number(kShift, u"shift_データ数"_s), 3.0);
}

// Numbers typed in full width become numbers wherever the sheets expect one; whatever the reading
// would misread or refuse in such a cell is marked.
TEST(TemplateRecalc, NumberCellsTakeFullWidthDigitsAndMarkWhatIsNoNumber)
{
    testwb::Book b;
    struct Case { QString sheet, name; int row, column; QVariant typed, stored; bool flagged; };
    const Case cases[] = {
        {kNeed, u"Need_Table"_s, 1, 1, u"２"_s, 2.0, false},
        {kNeed, u"Need_Table"_s, 1, 2, u"=2+3"_s, u"=2+3"_s, true},
        {kNeed, u"Need_Table"_s, 1, 3, 1e12, 1e12, true},           // no roster staffs that
        {kNeed, u"Need_Table"_s, 1, 4, u"２人"_s, u"２人"_s, true},
        {kSched, u"Member_Time"_s, 1, 1, u"　１６０．５ "_s, 160.5, false},
        {kSched, u"Member_List"_s, 5, 1, u"１０５"_s, 105.0, false},  // member numbers
        {kBasic, u"連続勤務上限"_s, 1, 1, u"－１"_s, -1.0, false},
        {kBasic, u"Type_Table_Input"_s, 1, 7, u"7:30"_s, u"7:30"_s, true},   // hours read as 7
        {kBasic, u"基点曜日"_s, 1, 1, 8.0, 8.0, true},
        {u"Main"_s, u"年"_s, 1, 1, u"２０２６"_s, 2026.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString() + " " + c.typed.toString().toStdString());
        xl::Range cell = b.range(c.sheet, c.name).cells(c.row, c.column);
        b.sheet(c.sheet).userEdit(cell, c.typed);
        EXPECT_EQ(cell.value(), c.stored);
        EXPECT_EQ(b.sheet(c.sheet).styleAt(cell.row(), cell.column()).fill == workbook::layout::kBadEntry, c.flagged);
    }
    EXPECT_EQ(b.number(kShift, u"Day_Cnt"_s), 30.0);
    EXPECT_EQ(b.sheet(kNeed).range(u"D15"_s).value().toDouble(), 2.0);

    // A ban row with a shift and members binds nobody without its number: the number cell says so.
    xl::Range ban = b.range(kNeed, u"組合せ禁止"_s);
    ban.cells(1, 1).setValue(u"日勤"_s);
    ban.cells(1, 4).setValue(101.0);
    ban.cells(1, 9).setValue(102.0);
    const auto numberMarked = [&] {
        b.book->calculate();
        return b.sheet(kNeed).styleAt(ban.row(), ban.column() + 1).fill == workbook::layout::kBadEntry;
    };
    EXPECT_TRUE(numberMarked());
    ban.cells(1, 2).setValue(2.0);
    EXPECT_FALSE(numberMarked());
}

// A short month leaves days 29-31 to no one: those cells of every day grid take no entry.
TEST(TemplateRecalc, DaysPastThePeriodAreLockedAndShaded)
{
    testwb::Book b;   // April: 30 days
    const std::pair<QString, QString> grids[] = {
        {kShift, u"Time_Table"_s}, {kSched, u"勤務不可"_s}, {kRsv, u"Member_Rsv"_s}, {kNeed, u"Need_Table"_s}};
    for (const auto& [sheet, name] : grids) {
        SCOPED_TRACE(name.toStdString());
        xl::Worksheet& ws = b.sheet(sheet);
        const xl::Range grid = ws.range(name);
        EXPECT_NO_THROW(ws.userEdit(grid.cells(1, 30), 1.0));
        EXPECT_THROW(ws.userEdit(grid.cells(1, 31), 1.0), xl::Error);
        EXPECT_EQ(ws.styleAt(grid.row(), grid.column() + 30).fill, workbook::layout::kUnusedDay);
    }
    b.set(u"Main"_s, u"月"_s, 5.0);
    EXPECT_EQ(b.number(kShift, u"Day_Cnt"_s), 31.0);
    for (const auto& [sheet, name] : grids)
        EXPECT_NO_THROW(b.sheet(sheet).userEdit(b.range(sheet, name).cells(2, 31), 1.0)) << name.toStdString();
}

}  // namespace
