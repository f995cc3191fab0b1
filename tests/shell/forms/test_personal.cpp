// The per-person settings dialog: its one workbook call never passes for done when it cannot run.
#include "platform/ui/prompt.h"
#include "platform/xl/xl.h"
#include "shell/forms/frmpersonal.h"
#include "shell/globals.h"
#include "shell/myexcel.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PersonalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetShellGlobals();
        resetXlGlobals();
        ui::resetMessages();
        stWorkPath = dir_.path();
        XlApp().workbooks().add();
    }
    void TearDown() override
    {
        resetXlGlobals();
        resetShellGlobals();
        ui::resetMessages();
    }
    // Asks the question, answers it, and gives the message that followed ("" when none).
    QString apply(int answer)
    {
        frm個人別 dialog;
        ui::setNextAnswer(answer);
        ui::setNextAnswer(ui::vbOK);
        dialog.cmd設定保存_Click();
        EXPECT_EQ(ui::shownMessages().front().prompt, QStringLiteral("設定を反映します。\r\nよろしいですね！"));
        return ui::shownMessages().size() > 1 ? ui::shownMessages().back().prompt : QString();
    }
    // A readable book named in.xls (the writer only names books .xlsx).
    void writeBook()
    {
        xl::Application other;
        other.workbooks().add().saveAs(dir_.filePath(QStringLiteral("in.xlsx")));
        ASSERT_TRUE(QFile::rename(dir_.filePath(QStringLiteral("in.xlsx")), dir_.filePath(QStringLiteral("in.xls"))));
    }
    QTemporaryDir dir_;
};

}  // namespace

TEST_F(PersonalTest, CancelDoesNothingAndEveryFailureIsSaid)
{
    EXPECT_EQ(apply(ui::vbCancel), QString());

    ui::resetMessages();
    EXPECT_TRUE(apply(ui::vbOK).startsWith(QStringLiteral("個人別設定のブック in.xls が見つかりません。")));

    // Not a workbook this program reads.
    QFile junk(dir_.filePath(QStringLiteral("in.xls")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 old format");
    junk.close();
    ui::resetMessages();
    EXPECT_TRUE(apply(ui::vbOK).startsWith(QStringLiteral("in.xls を開けませんでした。")));
    EXPECT_EQ(xlApp->workbooks().count(), 1);

    // A readable book without the macro: said, and closed again so no second book stays open.
    ASSERT_TRUE(junk.remove());
    writeBook();
    ui::resetMessages();
    EXPECT_TRUE(apply(ui::vbOK).startsWith(QStringLiteral("in.xls のマクロ「個人別設定反映」を実行できませんでした。")));
    EXPECT_EQ(xlApp->workbooks().count(), 1);
}

TEST_F(PersonalTest, OpensAsADialogAndItsCloseButtonClosesTheBook)
{
    ui::setNextAnswer(ui::vbCancel);
    個人別設定表示(nullptr);
    EXPECT_EQ(ui::shownMessages().back().title, QStringLiteral("frm個人別"));

    writeBook();
    xlApp->workbooks().open(dir_.filePath(QStringLiteral("in.xls")));
    frm個人別 dialog;
    dialog.show();
    dialog.cmdClose_Click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(xlApp->workbooks().count(), 1);
}
