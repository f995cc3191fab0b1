#include "storage_fixture.h"

#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "storage/saved_shifts.h"
#include "storage/shift_export.h"

namespace {

class ExportTest : public SaveTest {
protected:
    void SetUp() override
    {
        SaveTest::SetUp();
        基準開始日 = 1;
        rows(QStringLiteral("INSERT INTO T_名簿 (Id, 氏名) VALUES (101, '甲'), (102, '乙'), (999, '退職者')"));
        rows(QStringLiteral("INSERT INTO T_勤務種別 (勤務No, 略称) VALUES (1, '日'), (2, '準'), (3, '深')"));
        rows(QStringLiteral("INSERT INTO T_勤務表 (Id, 日付, 勤務No, 休平日) VALUES "
                            "(101, '2027-01-01', 1, 0), (101, '2027-01-02', 2, 0), (101, '2027-01-31', 1, 0), "
                            "(102, '2027-01-01', 3, 0), (999, '2027-01-05', 1, 0), "
                            "(101, '2027-02-01', 1, 0), (102, '2027-02-28', 2, 9), (102, '2027-03-03', 3, 0)"));
        const auto list = readSavedPeriods();
        ASSERT_TRUE(list && list->size() == 3);
        span = *list;
    }
    // The displayed cells of a row from column A, joined by "|".
    static QString line(xl::Workbook& b, int sheet, int row, int columns)
    {
        QStringList out;
        for (int c = 1; c <= columns; ++c)
            out << XlText(b.worksheets(sheet).cells(row, c).value());
        return out.join(QLatin1Char('|'));
    }
    static QString cell(xl::Workbook& b, int sheet, const char* address)
    {
        return XlText(b.worksheets(sheet).range(QString::fromUtf8(address)).value());
    }

    std::vector<SavedPeriod> span;
};

// Three months, every kind: a block per month, oldest first; the cross-tab and the rows of the
// whole span in a workbook of its own, which nothing saves.
TEST_F(ExportTest, WritesTheBlocksTheCrossTabAndTheRows)
{
    xl::Application* app = シフト復元_別シート(span, {true, true, true});
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app, xlApp2);
    EXPECT_NE(app, xlApp.get());
    EXPECT_TRUE(app->visible());
    // Its window was frozen while the sheets were written, and shows them now.
    EXPECT_TRUE(app->screenUpdating());
    EXPECT_TRUE(app->enableEvents());
    EXPECT_EQ(app->calculation(), xl::kCalculationAutomatic);
    xl::Workbook& b = *app->activeWorkbook();
    EXPECT_TRUE(b.path().isEmpty());
    EXPECT_EQ(b.activeSheet().index(), 1);

    EXPECT_EQ(b.worksheets(1).name(), QStringLiteral("シフト表 3月1日～3月31日"));
    EXPECT_EQ(cell(b, 1, "A1"), QStringLiteral("シフト表　1月1日～1月31日"));
    EXPECT_EQ(line(b, 1, 2, 4) + line(b, 1, 3, 3), QStringLiteral("||1|2||金"));
    EXPECT_EQ(line(b, 1, 5, 4) + cell(b, 1, "AG5"), QStringLiteral("101|甲|日|準日"));
    EXPECT_EQ(line(b, 1, 6, 3), QStringLiteral("102|乙|深"));
    // Member 999 is no longer on the roster: two member rows, then four empty rows.
    EXPECT_EQ(cell(b, 1, "A7"), QString());
    EXPECT_EQ(cell(b, 1, "A11"), QStringLiteral("シフト表　2月1日～2月28日"));
    EXPECT_EQ(cell(b, 1, "AD14") + cell(b, 1, "AD16") + cell(b, 1, "AE12"), QStringLiteral("9準"));
    EXPECT_EQ(cell(b, 1, "A21") + cell(b, 1, "E26"), QStringLiteral("シフト表　3月1日～3月31日深"));

    EXPECT_EQ(b.worksheets(2).name(), QStringLiteral("クロス集計 1月1日～3月31日"));
    EXPECT_EQ(cell(b, 2, "A1"), QStringLiteral("クロス集計　1月1日～3月31日"));
    EXPECT_EQ(line(b, 2, 3, 5), QStringLiteral("Id|氏名|日|深|準"));
    EXPECT_EQ(line(b, 2, 4, 5), QStringLiteral("101|甲|3||1"));
    EXPECT_EQ(line(b, 2, 5, 5), QStringLiteral("102|乙||2|1"));
    EXPECT_EQ(line(b, 2, 6, 5) + cell(b, 2, "A7"), QStringLiteral("999|退職者|1||"));

    EXPECT_EQ(b.worksheets(3).name(), QStringLiteral("期間データ 1月1日～3月31日"));
    EXPECT_EQ(line(b, 3, 3, 6), QStringLiteral("Id|氏名|日付|勤務No|略称|休平日"));
    EXPECT_EQ(line(b, 3, 4, 6), QStringLiteral("101|甲|2027/01/01|1|日|0"));
    EXPECT_EQ(cell(b, 3, "A11") + cell(b, 3, "A12"), QStringLiteral("999"));
}

// Each export has its own window; an earlier one stays open with what the user did there. Sheets
// take the ticked kinds in turn, the rest keep their names and stay empty.
TEST_F(ExportTest, OnlyTheTickedKindsAndEveryExportItsOwnWorkbook)
{
    xl::Application* first = シフト復元_別シート({span[1]}, {false, true, false});
    ASSERT_NE(first, nullptr);
    first->activeWorkbook()->worksheets(1).range(QStringLiteral("A2")).setValue(QStringLiteral("メモ"));

    xl::Application* second = シフト復元_別シート({span[0], span[1]}, {false, false, true});
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(xlApp2, second);
    ASSERT_FALSE(first->hasQuit());
    EXPECT_EQ(cell(*first->activeWorkbook(), 1, "A2"), QStringLiteral("メモ"));
    xl::Workbook& b = *second->activeWorkbook();
    EXPECT_EQ(b.worksheets(1).name(), QStringLiteral("期間データ 2月1日～3月31日"));
    EXPECT_EQ(cell(b, 1, "A6"), QStringLiteral("102"));
    for (int i = 2; i <= 3; ++i) {
        EXPECT_EQ(b.worksheets(i).name(), QStringLiteral("Sheet%1").arg(i));
        EXPECT_TRUE(b.worksheets(i).data().cells.empty());
    }

    ui::resetMessages();
    EXPECT_EQ(シフト復元_別シート(span, {}), nullptr);
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(ui::shownMessages().front().prompt, QStringLiteral("読み込むデータの種類を選択して下さい。"));
    EXPECT_EQ(xlApp2, second);
}

}  // namespace
