// The view sheets follow their index cells and the shift grid while they are the active sheet.
#include "template_fixture.h"
#include "workbook/layout.h"
#include "workbook/macros.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// April 2026 (1 April is a Wednesday): day 1 青木 and 井上 on 日, 上田 on 深, 遠藤 resting;
// day 2 only 青木 on 日. Two of 日 are needed each day.
struct ViewBook : testwb::Book {
    ViewBook()
    {
        xl::Range grid = range(u"人員配置表"_s, u"Time_Table"_s);
        grid.cells(1, 1).setValue(u"日"_s);
        grid.cells(2, 1).setValue(u"日"_s);
        grid.cells(3, 1).setValue(u"深"_s);
        grid.cells(4, 1).setValue(u"休"_s);
        grid.cells(1, 2).setValue(u"日"_s);
        xl::Range need = range(u"要員設定"_s, u"Need_Table"_s);
        need.cells(1, 1).setValue(2.0);
        need.cells(1, 2).setValue(2.0);
        xl::Range types = range(u"基本設定"_s, u"Type_Table_Input"_s);
        types.cells(1, 3).setValue(8.5 / 24);   // 日 8:30-17:00
        types.cells(1, 6).setValue(17.0 / 24);
        types.cells(3, 3).setValue(0.0);        // 深 0:00-9:00
        types.cells(3, 6).setValue(9.0 / 24);
        range(u"基本設定"_s, u"REST_TIME"_s).cells(1, 1).setValue(12.0 / 24);
        range(u"基本設定"_s, u"REST_TIME"_s).cells(1, 2).setValue(13.0 / 24);
    }
    QVariant at(const QString& s, const QString& address) { return sheet(s).range(address).value(); }
};

TEST(Views, ShiftTypeAndDayStaffPagesShowTheStaffAgainstTheNeed)
{
    ViewBook b;
    const QString perType = u"シフト別"_s, perDay = u"日別要員"_s;
    b.sheet(perType).activate();
    b.set(perType, u"シフト別_Idx"_s, 1.0);
    EXPECT_EQ(b.at(perType, u"D5"_s), QVariant(2.0));
    EXPECT_EQ(b.at(perType, u"E5"_s), QVariant(u"青木"_s));
    EXPECT_EQ(b.at(perType, u"F5"_s), QVariant(u"井上"_s));
    EXPECT_EQ(b.at(perType, u"A4"_s), QVariant(2.0));   // most staff on one day: the pictured width
    EXPECT_EQ(b.sheet(perType).styleAt(6, 4).fill, workbook::layout::kBadEntry);   // day 2: one short
    b.set(perType, u"シフト別_Idx"_s, 3.0);
    EXPECT_EQ(b.at(perType, u"E5"_s), QVariant(u"上田"_s));
    EXPECT_FALSE(b.at(perType, u"F5"_s).isValid());
    EXPECT_EQ(b.at(perType, u"A4"_s), QVariant(1.0));

    b.sheet(perDay).activate();
    b.set(perDay, u"Idx日別"_s, 1.0);   // day 2
    EXPECT_EQ(b.at(perDay, u"A3"_s), QVariant(u"4月2日(木)"_s));
    EXPECT_EQ(b.at(perDay, u"B4"_s), QVariant(2.0));
    EXPECT_EQ(b.at(perDay, u"C4"_s), QVariant(1.0));
    EXPECT_EQ(b.at(perDay, u"D4"_s), QVariant(-1.0));
    EXPECT_EQ(b.at(perDay, u"E4"_s), QVariant(u"青木"_s));
    EXPECT_EQ(b.sheet(perDay).styleAt(4, 6).fill, workbook::layout::kBadEntry);   // the empty place
    EXPECT_EQ(b.at(perDay, u"YoinMax"_s), QVariant(2.0));
}

TEST(Views, ShiftListJoinsTheNamesAsItsIndexSays)
{
    ViewBook b;
    const QString list = u"シフト一覧"_s;
    b.sheet(list).activate();
    b.set(list, u"Idxシフト一覧"_s, 1.0);
    EXPECT_EQ(b.at(list, u"D6"_s), QVariant(u"青木\n井上"_s));   // 日 on day 1
    EXPECT_EQ(b.at(list, u"D8"_s), QVariant(u"上田"_s));         // 深
    EXPECT_EQ(b.at(list, u"D9"_s), QVariant(u"遠藤"_s));         // the rest row after the types
    EXPECT_EQ(b.at(list, u"E9"_s), QVariant(u"井上\n上田\n遠藤"_s));
    b.set(list, u"Idxシフト一覧"_s, 2.0);
    EXPECT_EQ(b.at(list, u"D6"_s), QVariant(u"青木／井上"_s));
}

TEST(Views, TimeBandsShowWhoWorksEachHalfHour)
{
    ViewBook b;
    xl::Worksheet& ws = b.sheet(u"時間帯別"_s);
    ws.activate();
    b.set(u"時間帯別"_s, u"時間帯_IdxDay"_s, 0.0);
    // Rows: 青木, 井上 (日), then 上田 (深); the axis starts at 0:00 in half-hour columns from D.
    EXPECT_EQ(b.at(u"時間帯別"_s, u"A6"_s), QVariant(u"青木"_s));
    EXPECT_EQ(b.at(u"時間帯別"_s, u"A8"_s), QVariant(u"上田"_s));
    EXPECT_EQ(b.at(u"時間帯別"_s, u"C6"_s), QVariant(u"8:30-17:00"_s));
    const QColor day = ws.styleAt(6, 2).fill;
    EXPECT_NE(ws.styleAt(6, 4 + 16).fill, day);   // 8:00-8:30 not yet
    EXPECT_EQ(ws.styleAt(6, 4 + 17).fill, day);   // 8:30-9:00
    EXPECT_EQ(ws.styleAt(6, 4 + 24).fill, workbook::layout::kDerived);   // 12:00 break
    EXPECT_EQ(ws.styleAt(6, 4 + 33).fill, day);   // 16:30-17:00
    EXPECT_NE(ws.styleAt(6, 4 + 34).fill, day);
    EXPECT_EQ(b.at(u"時間帯別"_s, u"U56"_s), QVariant(3.0));   // 8:30: 日 twice and 深 until 9:00
    EXPECT_EQ(b.at(u"時間帯別"_s, u"X56"_s), QVariant(2.0));   // 10:00
    EXPECT_EQ(b.at(u"時間帯別"_s, u"AB57"_s), QVariant(2.0));  // 12:00: both on their break
    EXPECT_TRUE(ws.rowHidden(9));                              // no fourth member at work
    EXPECT_FALSE(ws.rowHidden(8));
    EXPECT_TRUE(ws.columnHidden(4 + 48));                      // nothing past midnight
}

// Another program keeps times to 15 digits: its 8:00 lies a hair under 8/24 and still starts the
// axis at 8, which then reaches to 8:00 the next morning; its 7:00 lies a hair over 7/24.
TEST(Views, TimeBandsReadTimesKeptToFifteenDigits)
{
    ViewBook b;
    xl::Range types = b.range(u"基本設定"_s, u"Type_Table_Input"_s);
    types.cells(1, 3).setValue(0.333333333333333);   // 日 8:00-17:00
    types.cells(1, 6).setValue(0.708333333333333);
    types.cells(3, 3).setValue(0.958333333333333);   // 深 23:00-8:00
    types.cells(3, 6).setValue(0.333333333333333);
    xl::Worksheet& ws = b.sheet(u"時間帯別"_s);
    ws.activate();
    b.set(u"時間帯別"_s, u"時間帯_IdxDay"_s, 0.0);
    EXPECT_EQ(XlText(b.at(u"時間帯別"_s, u"D5"_s)), u"8"_s);
    EXPECT_EQ(b.at(u"時間帯別"_s, u"C6"_s), QVariant(u"8:00-17:00"_s));
    EXPECT_EQ(b.at(u"時間帯別"_s, u"C8"_s), QVariant(u"23:00-8:00"_s));
    const QColor day = ws.styleAt(6, 2).fill, night = ws.styleAt(8, 2).fill;
    EXPECT_EQ(ws.styleAt(6, 4).fill, day);             // 8:00-8:30
    EXPECT_NE(ws.styleAt(6, 4 + 18).fill, day);        // 17:00-17:30
    EXPECT_EQ(ws.styleAt(8, 4 + 47).fill, night);      // 7:30-8:00 the next morning
    EXPECT_FALSE(ws.columnHidden(4 + 47));
    EXPECT_TRUE(ws.columnHidden(4 + 48));

    types.cells(3, 3).setValue(0.291666666666667);     // 深 from 7:00
    b.set(u"時間帯別"_s, u"時間帯_IdxDay"_s, 1.0);
    b.set(u"時間帯別"_s, u"時間帯_IdxDay"_s, 0.0);
    EXPECT_EQ(XlText(b.at(u"時間帯別"_s, u"D5"_s)), u"7"_s);
    EXPECT_EQ(b.at(u"時間帯別"_s, u"C8"_s), QVariant(u"7:00-8:00"_s));
    EXPECT_EQ(ws.styleAt(8, 4).fill, night);           // 7:00-7:30
    EXPECT_EQ(ws.styleAt(6, 4 + 2).fill, day);         // 8:00-8:30
}

// Times of 0:00, 24:00 and 12:00 are the same times after the book is saved and opened again,
// and the time band view draws the same page from them; a time an older book holds as a date of
// 1899 counts as its time.
TEST(Views, TimesOfDaySurviveSavingAndOpeningTheBook)
{
    ViewBook b;
    xl::Range types = b.range(u"基本設定"_s, u"Type_Table_Input"_s);
    types.cells(2, 3).setValue(16.0 / 24);   // 準 16:00-24:00
    types.cells(2, 6).setValue(1.0);
    b.range(u"人員配置表"_s, u"Time_Table"_s).cells(4, 1).setValue(u"準"_s);
    auto page = [](xl::Workbook& book) {
        xl::Worksheet& ws = book.worksheets(u"時間帯別"_s);
        ws.activate();
        ws.range(u"時間帯_IdxDay"_s).setValue(1.0);   // draw another day first: the page is drawn anew
        ws.range(u"時間帯_IdxDay"_s).setValue(0.0);
        const xl::Block values = ws.range(u"A4:AZ57"_s).block();   // reading recalculates first
        std::vector<QColor> fills;
        for (int r = 6; r <= 9; ++r)
            for (int c = 4; c <= 52; ++c)
                fills.push_back(ws.styleAt(r, c).fill);
        return std::pair{values, fills};
    };
    const auto before = page(*b.book);
    EXPECT_EQ(before.first(53, 4), QVariant(1.0));    // 0:00-0:30: 深
    EXPECT_EQ(before.first(53, 51), QVariant(1.0));   // 23:30-24:00: 準

    QTemporaryDir dir;
    const QString path = dir.filePath(u"shift.xlsm"_s);
    b.book->saveAs(path);
    xl::Application app;
    xl::Workbook& again = app.workbooks().open(path);
    workbook::attach(again);
    const xl::Block times = again.worksheets(u"基本設定"_s).range(u"Type_Table_Input"_s).block();
    EXPECT_EQ(times(3, 3), QVariant(0.0));
    EXPECT_EQ(times(2, 6), QVariant(1.0));
    EXPECT_EQ(again.worksheets(u"基本設定"_s).range(u"REST_TIME"_s).cells(1, 1).value(), QVariant(0.5));
    EXPECT_TRUE(page(again) == before);

    again.worksheets(u"基本設定"_s).range(u"Type_Table_Input"_s).cells(3, 3).setValue(QDate(1899, 12, 30));
    again.calculate();
    EXPECT_EQ(again.worksheets(u"基本設定"_s).range(u"Type_Table_Input"_s).cells(3, 3).value(), QVariant(0.0));
    EXPECT_TRUE(page(again) == before);
}

TEST(Views, MemberPageIsACalendarOfTheMonth)
{
    ViewBook b;
    const QString page = u"個人別"_s;
    b.set(page, u"SelectId"_s, 1.0);
    EXPECT_FALSE(b.at(page, u"B3"_s).isValid());   // drawn only once it is shown
    b.sheet(page).activate();
    EXPECT_EQ(b.at(page, u"B3"_s), QVariant(u"101　青木"_s));
    // 1 April is a Wednesday: the fourth column of the first week.
    EXPECT_EQ(b.at(page, u"E6"_s), QVariant(u"4/1"_s));
    EXPECT_EQ(b.at(page, u"E7"_s), QVariant(u"日勤"_s));
    EXPECT_EQ(b.at(page, u"E8"_s), QVariant(u"8:30-17:00"_s));
    EXPECT_EQ(b.sheet(page).styleAt(6, 2).fill, workbook::layout::kUnusedDay);
    EXPECT_EQ(b.at(page, u"D25"_s), QVariant(2.0));     // 日勤 twice
    EXPECT_EQ(b.at(page, u"D28"_s), QVariant(2.0));     // work days
    EXPECT_EQ(b.at(page, u"D29"_s), QVariant(28.0));    // rest days
    EXPECT_TRUE(b.sheet(page).rowHidden(21));           // April 2026 needs five weeks
    EXPECT_FALSE(b.sheet(page).rowHidden(20));
}

// A view prints the page it draws, on one sheet of paper; one never drawn prints nothing (its
// print area is an empty cell, and a spreadsheet program leaves an empty page out).
TEST(Views, EachViewPrintsThePageItDraws)
{
    ViewBook b;
    const std::pair<QString, QString> views[] = {{u"シフト別"_s, u"B4"_s}, {u"シフト一覧"_s, u"C4"_s},
                                                 {u"日別要員"_s, u"A3"_s}, {u"時間帯別"_s, u"A4"_s}, {u"個人別"_s, u"B3"_s}};
    for (const auto& [name, corner] : views) {
        xl::Worksheet& ws = b.sheet(name);
        EXPECT_EQ(ws.pageSetup().fitToPagesWide, 1) << name.toStdString();
        EXPECT_EQ(ws.pageSetup().fitToPagesTall, 1) << name.toStdString();
        EXPECT_EQ(ws.printArea(), ws.range(corner).address()) << name.toStdString();
        ws.activate();
        const xl::Range area = ws.range(ws.printArea());
        EXPECT_EQ(area.cells(1, 1).address(), ws.range(corner).address()) << name.toStdString();
        EXPECT_GT(area.count(), 1) << name.toStdString();
        // Everything drawn below and right of its corner lies inside it (left of it is the index).
        for (const auto& [at, cell] : ws.data().cells) {
            if (at.first < area.row() || at.second < area.column() || (!cell.value.isValid() && cell.style == 0))
                continue;
            EXPECT_TRUE(at.first <= area.lastRow() && at.second >= area.column() && at.second <= area.lastColumn())
                << name.toStdString() << " " << at.first << "," << at.second;
        }
    }
    // The reservations print on one page, as the shift table does.
    EXPECT_EQ(b.sheet(u"予約表"_s).pageSetup().fitToPagesTall, 1);
}

}  // namespace
