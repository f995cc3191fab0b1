#include "common.h"
#include "engine/forms/start_conditions_form.h"
#include "engine/state.h"
#include "workbook/template.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

class StartConditionDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetEngineState();
        // The boot log goes to the test's own home.
        AppPath = QDir::homePath();
        xlBook = &workbook::createTemplate(XlApp(), QDate(2024, 3, 1));
        stBookName = xlBook->name();
        Type_Cnt = 2;
        テーブル再定義();
        Type_Table(1, TYPE_略称) = QStringLiteral("日");
        Type_Table(2, TYPE_略称) = QStringLiteral("夜");
        dialog = new frm開始条件設定;
    }
    void TearDown() override
    {
        delete dialog.data();
        resetEngineState();
    }
    QVariant mainCell(const char* name) { return xlBook->worksheets(QStringLiteral("Main")).range(QString::fromUtf8(name)).value(); }

    QPointer<frm開始条件設定> dialog;
};

// The dialog shows the sheet and the weights of the shift types there are; a refused value
// leaves it open, applied values close it.
TEST_F(StartConditionDialogTest, ShowsTheSheetAndClosesOnceApplied)
{
    dialog->show();
    EXPECT_EQ(dialog->cmbYear->currentText(), QStringLiteral("2024"));
    EXPECT_EQ(dialog->cmbMonth->currentText(), QStringLiteral("3"));
    dialog->chk詳細設定->setChecked(true);
    EXPECT_EQ(dialog->lbl[1]->text(), QStringLiteral("日"));
    EXPECT_TRUE(dialog->Opt[2]->isVisible());
    EXPECT_FALSE(dialog->Opt[3]->isVisible());

    dialog->txt制限時間->setValue(0);
    dialog->cmd設定_Click();
    EXPECT_EQ(ui::shownMessages().back().prompt, QStringLiteral("制限時間の入力値不正"));
    EXPECT_TRUE(dialog->isVisible());

    dialog->txt制限時間->setValue(2.5);
    // The period's first day is also the day generation starts from.
    dialog->cmbStdDay->setCurrentText(QStringLiteral("16"));
    EXPECT_EQ(dialog->cmbDay->currentText(), QStringLiteral("16"));
    for (QLineEdit* box : {dialog->Opt[1], dialog->Opt[2], dialog->Opt[kRestWeight]})
        box->setText(QStringLiteral("1"));
    dialog->cmd設定_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(mainCell("日").toDouble(), 16);
    EXPECT_EQ(mainCell("制限時間").toDouble(), 2.5);
}

}  // namespace
