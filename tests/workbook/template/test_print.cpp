// How the template prints and what of it the ward manager sees.
#include "platform/xl/xlsx.h"
#include "template_fixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(TemplatePrint, InputSheetsPrintTheirBlocksOnePageWide)
{
    testwb::Book b;
    const std::pair<QString, QString> sheets[] = {{u"人員配置表"_s, u"$3:$4"_s}, {u"Main"_s, {}}, {u"基本設定"_s, {}},
                                                  {u"スケジュール"_s, u"$3:$4"_s}, {u"要員設定"_s, {}}, {u"予約表"_s, u"$3:$4"_s}};
    for (const auto& [name, titles] : sheets) {
        xl::Worksheet& ws = b.sheet(name);
        EXPECT_TRUE(ws.pageSetup().zoom == 0 && ws.pageSetup().fitToPagesWide == 1) << name.toStdString();
        EXPECT_EQ(ws.printTitleRows(), titles);
        // Every input block (not the single settings beside it) starts in the print area; the
        // member combination rows run on far to the right: their first members are printed.
        const xl::Range area = ws.range(ws.printArea());
        for (const workbook::NameEntry& n : workbook::templateNames()) {
            const xl::Range block = n.sheet == name && n.kind == workbook::NameKind::Input ? ws.range(n.name) : area;
            EXPECT_TRUE(block.count() == 1 || (block.row() >= area.row() && block.row() <= area.lastRow()
                                               && block.column() >= area.column() && block.column() <= area.lastColumn()))
                << n.name.toStdString();
        }
    }
    EXPECT_EQ(b.sheet(u"人員配置表"_s).printArea(), u"$A$1:$AV$67"_s);   // with the totals beside and below
    EXPECT_EQ(b.sheet(u"人員配置表"_s).pageSetup().orientation, xl::kLandscape);
}

// In the saved file every view prints its title row on its page, and 名前リスト (the condition
// file's hand-over cell) prints nothing: its print area is an empty cell.
TEST(TemplatePrint, ViewsPrintTheirTitleRowAndTheNameListNothing)
{
    testwb::Book b;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"shift.xlsm"_s);
    b.book->saveAs(path);
    const xl::BookData file = xl::readWorkbookFile(path);
    auto sheetName = [&](const QString& sheet, const QString& name) {
        for (const xl::DefinedName& d : file.names)
            if (d.sheet >= 0 && file.sheets[size_t(d.sheet)].name == sheet && d.name == name)
                return d.refersTo;
        return QString();
    };
    for (const QString& view : {u"シフト別"_s, u"シフト一覧"_s, u"日別要員"_s, u"時間帯別"_s, u"個人別"_s})
        EXPECT_EQ(sheetName(view, u"Print_Titles"_s), view + u"!$1:$1"_s) << view.toStdString();
    EXPECT_EQ(sheetName(u"名前リスト"_s, u"Print_Area"_s), u"名前リスト!$A$1"_s);
    EXPECT_FALSE(b.sheet(u"名前リスト"_s).range(u"A1"_s).value().isValid());
}

TEST(TemplatePrint, WorkingCellsAreHiddenAndNameColumnsHoldTheLongestGroupName)
{
    testwb::Book b;
    const std::pair<QString, QString> working[] = {{u"人員配置表"_s, u"行番号"_s}, {u"人員配置表"_s, u"TimeSum"_s},
                                                   {u"人員配置表"_s, u"過去計"_s}, {u"スケジュール"_s, u"Member_Scdl"_s}};
    for (bool shown : {false, true}) {
        if (shown)
            workbook::showWorkingCells(*b.book, true);
        for (const auto& [sheet, name] : working)
            EXPECT_EQ(b.sheet(sheet).columnHidden(b.range(sheet, name).lastColumn()), !shown) << name.toStdString();
        EXPECT_EQ(b.sheet(u"dbg"_s).visible(), shown ? xl::kSheetVisible : xl::kSheetHidden);
    }
    for (const auto& [sheet, column] : {std::pair{u"人員配置表"_s, 3}, std::pair{u"スケジュール"_s, 4}}) {
        xl::Worksheet& ws = b.sheet(sheet);
        const double width = ws.columnWidth(column);
        ws.cells(200, column).setValue(u"介護福祉士"_s);
        ws.cells(200, column).autoFitColumns();
        EXPECT_LE(ws.columnWidth(column), width) << sheet.toStdString();
    }
}

}  // namespace
