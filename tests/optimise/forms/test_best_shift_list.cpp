// The best-shift list window: opening on the best row with its table on the sheet, sorting by a
// column, restoring the selected row with its problem labels, and the labels' actions.
#include "common.h"
#include "engine/main_window_steps.h"
#include "engine/totals.h"
#include "optimise/best_shift.h"
#include "optimise/forms/best_shift_list_form.h"
#include "optimise/state.h"
#include "optimise/window_steps.h"
#include "workbook/template.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kAbbrev = QStringLiteral("日夜");

class BestShiftListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetOptimiseState();
        AppPath = QDir::homePath();  // the boot log goes to the test's own folder
        xlBook = &workbook::createTemplate(XlApp());
        stBookName = xlBook->name();
        makeModel();
        keepTables();
        // The post-processing begins with the main window's rest-run adjustment.
        mainWindowSteps.adjustRestRuns = [this] { ++postProcessed; };
        optimiserWindowSteps.mnuAdjDayOffCnt_Click = [this] { ++restAdjusted; };
        installBestShiftListWindow();
        optimiserWindowSteps.showBestShiftList();
        w = loadedBestShiftList();
        ASSERT_NE(w, nullptr);
    }
    void TearDown() override
    {
        if (w)
            w->cmdClose_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        resetBestShifts();
        resetOptimiseState();
    }
    static void makeModel()
    {
        Member_Cnt = 3;
        Day_Cnt = 6;
        Type_Cnt = 2;
        テーブル再定義();
        集計クリア();
        Sw_勤務日数調整 = false;
        for (int t = 1; t <= 2; ++t) {
            Type_Table(t, TYPE_勤務) = kAbbrev.mid(t - 1, 1) + QStringLiteral("勤");
            Type_Table(t, TYPE_略称) = kAbbrev.mid(t - 1, 1);
        }
    }
    // Three kept tables; row 2 has the lowest sort value without problems, row 3 three problems.
    void keepTables()
    {
        Sw_ベストシフト作成 = true;
        resetBestShifts();
        const QString patterns[] = {QStringLiteral("日休日休日休"), QStringLiteral("夜夜休日日休"), QStringLiteral("休夜休休日休")};
        for (const QString& p : patterns) {
            for (int m = 1; m <= 3; ++m)
                for (int d = 1; d <= 6; ++d)
                    Time_Table(m, d) = int(kAbbrev.indexOf(p.at((d + m) % 6))) + 1;
            recalculateTotals();
            tables.push_back(Time_Table);
            ベストシフト追加();
        }
        const QString sortValues[] = {QStringLiteral("9"), QStringLiteral("4"), QStringLiteral("2")};
        const QString singleWork[] = {QStringLiteral("5"), QStringLiteral("3"), QStringLiteral("4")};
        for (int n = 1; n <= 3; ++n) {
            BestShift_Table(n, 0) = sortValues[n - 1];
            BestShift_Table(n, 1) = singleWork[n - 1];
        }
        BestShift_Table(3, 11) = QStringLiteral("?");
        BestShift_Table(3, 12) = QStringLiteral("休み数不足 / 連続休み上限 / 連続勤務上限");
    }
    QStringList order() const
    {
        QStringList nos;
        for (int i = 0; i < w->lstBestShiftList->topLevelItemCount(); ++i)
            nos << w->lstBestShiftList->topLevelItem(i)->text(0);
        return nos;
    }
    QTreeWidgetItem* itemNo(const QString& no) const
    {
        return w->lstBestShiftList->findItems(no, Qt::MatchExactly, 0).value(0);
    }
    // The sheet holds table n, rest days empty, and the work days are its own.
    void expectRestored(int n)
    {
        const xl::Range grid = xlBook->worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_Table"));
        for (int m = 1; m <= 3; ++m) {
            int days = 0;
            for (int d = 1; d <= 6; ++d) {
                const int t = tables[size_t(n - 1)](m, d);
                EXPECT_EQ(grid.cells(m, d).value().toString(), t ? Type_Table(t, TYPE_略称) : QString());
                days += t != 0;
            }
            EXPECT_EQ(Member_WorkDays(m), days);
        }
    }

    frmベストシフトリスト* w = nullptr;
    std::vector<vb::TwoDimArray<int>> tables;
    int postProcessed = 0;
    int restAdjusted = 0;
};

TEST_F(BestShiftListTest, OpensOnTheBestRowWithItsTableOnTheSheetAndNeedsASelectionToRestore)
{
    ASSERT_EQ(w->lstBestShiftList->currentItem(), itemNo(u"2"_s));
    EXPECT_TRUE(w->lstBestShiftList->currentItem()->isSelected());
    EXPECT_EQ(w->lblStatus->text(), u"SelNo=2"_s);
    EXPECT_EQ(postProcessed, 1);
    EXPECT_EQ(w->alert.size(), 1u);
    expectRestored(2);

    w->lstBestShiftList->clearSelection();
    EXPECT_FALSE(w->cmdRestore->isEnabled());
    w->cmdRestore_Click();
    EXPECT_EQ(postProcessed, 1);
}

TEST_F(BestShiftListTest, SortingTogglesOnTheSameColumnAndRestoresTheShownNo)
{
    w->lstBestShiftList_ColumnClick(3);  // Score
    EXPECT_EQ(order(), (QStringList{u"3"_s, u"2"_s, u"1"_s}));
    w->lstBestShiftList_ColumnClick(3);
    EXPECT_EQ(order(), (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    w->lstBestShiftList_ColumnClick(4);  // 単勤 starts ascending again
    EXPECT_EQ(order(), (QStringList{u"2"_s, u"3"_s, u"1"_s}));

    w->lstBestShiftList->setCurrentItem(itemNo(u"3"_s));
    EXPECT_EQ(w->lblStatus->text(), QStringLiteral("SelNo=2"));
    w->cmdRestore->click();
    expectRestored(3);
    QStringList labels;
    for (size_t k = 1; k < w->alert.size(); ++k)
        labels << w->alert[k]->text();
    EXPECT_EQ(labels, (QStringList{u"休み数不足"_s, u"連続休み上限"_s, u"連続勤務上限"_s}));

    // The rest-run label runs the main window's adjustment; the work-run label does nothing.
    w->alert_Click(2);
    w->alert_Click(3);
    EXPECT_EQ(restAdjusted, 1);
    EXPECT_TRUE(w->alert[2]->isEnabled());
    EXPECT_TRUE(ui::shownMessages().empty());

    // Restoring another row takes the labels away again.
    w->lstBestShiftList->setCurrentItem(itemNo(u"1"_s));
    w->cmdRestore_Click();
    expectRestored(1);
    EXPECT_EQ(w->alert.size(), 1u);
}

}  // namespace
