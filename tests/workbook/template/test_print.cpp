// How the template prints and what of it the ward manager sees.
#include "template_fixture.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

bool inside(const xl::Range& r, const xl::Range& area)
{
    return r.row() >= area.row() && r.lastRow() <= area.lastRow() && r.column() >= area.column()
        && r.lastColumn() <= area.lastColumn();
}

TEST(TemplatePrint, InputSheetsPrintTheirBlocksOnePageWide)
{
    testwb::Book b;
    struct Sheet { QString name; int orientation; QString titles; };
    const Sheet sheets[] = {
        {u"人員配置表"_s, xl::kLandscape, u"$3:$4"_s}, {u"Main"_s, xl::kPortrait, {}},
        {u"基本設定"_s, xl::kPortrait, {}}, {u"スケジュール"_s, xl::kLandscape, u"$3:$4"_s},
        {u"要員設定"_s, xl::kLandscape, {}}, {u"予約表"_s, xl::kLandscape, u"$3:$4"_s},
    };
    for (const Sheet& s : sheets) {
        SCOPED_TRACE(s.name.toStdString());
        xl::Worksheet& ws = b.sheet(s.name);
        EXPECT_EQ(ws.pageSetup().orientation, s.orientation);
        EXPECT_EQ(ws.pageSetup().zoom, 0);
        EXPECT_EQ(ws.pageSetup().fitToPagesWide, 1);
        EXPECT_EQ(ws.pageSetup().paperSize, xl::kPaperA4);
        EXPECT_EQ(ws.printTitleRows(), s.titles);
        // Every input block (not the single settings beside it) starts in the print area; the
        // member combination rows run on far to the right: their first members are printed.
        const xl::Range area = ws.range(ws.printArea());
        for (const workbook::NameSpec& n : workbook::templateNames()) {
            if (n.sheet != s.name || n.kind != workbook::NameKind::Input || ws.range(n.name).count() == 1)
                continue;
            EXPECT_TRUE(inside(ws.range(n.name).cells(1, 1), area)) << n.name.toStdString();
        }
    }
    // The roster prints with the totals beside and below it.
    xl::Worksheet& roster = b.sheet(u"人員配置表"_s);
    EXPECT_TRUE(inside(roster.range(u"AV67"_s), roster.range(roster.printArea())));
}

TEST(TemplatePrint, WorkingCellsAndTheDebugSheetAreHiddenUntilShown)
{
    testwb::Book b;
    struct Working { QString sheet, name; } working[] = {
        {u"人員配置表"_s, u"行番号"_s}, {u"人員配置表"_s, u"SelRow"_s}, {u"人員配置表"_s, u"Dirty"_s},
        {u"人員配置表"_s, u"TimeSum"_s}, {u"人員配置表"_s, u"先月_結果"_s}, {u"人員配置表"_s, u"過去計"_s},
        {u"スケジュール"_s, u"Member_Scdl"_s},
    };
    auto hidden = [&](const Working& w) {
        const xl::Range r = b.range(w.sheet, w.name);
        return r.worksheet().columnHidden(r.column()) && r.worksheet().columnHidden(r.lastColumn());
    };
    for (bool shown : {false, true}) {
        if (shown)
            workbook::showWorkingCells(*b.book, true);
        for (const Working& w : working)
            EXPECT_EQ(hidden(w), !shown) << w.name.toStdString();
        EXPECT_EQ(b.sheet(u"dbg"_s).visible(), shown ? xl::kSheetVisible : xl::kSheetHidden);
    }
    // What the manager types stays in sight.
    for (const auto& [sheet, name] : {std::pair{u"人員配置表"_s, u"過去累計使用"_s}, std::pair{u"人員配置表"_s, u"Time_Table"_s}})
        EXPECT_FALSE(b.sheet(sheet).columnHidden(b.range(sheet, name).column()));
}

TEST(TemplatePrint, GroupColumnsHoldTheLongestSampleGroupName)
{
    testwb::Book b;
    for (const auto& [sheet, column] : {std::pair{u"人員配置表"_s, 3}, std::pair{u"スケジュール"_s, 4}}) {
        xl::Worksheet& ws = b.sheet(sheet);
        xl::Range scratch = ws.cells(200, column);
        const double width = ws.columnWidth(column);
        scratch.setValue(u"介護福祉士"_s);
        scratch.autoFitColumns();
        EXPECT_LE(ws.columnWidth(column), width) << sheet.toStdString();
    }
}

}  // namespace
