// The saved-shift browser over a database of its own: the listed periods with their numbers, the
// selection kept in one piece, and the delete answered through the scripted-answer hook.
#include "common.h"
#include "work_folder.h"
#include "storage/forms/saved_shifts_form.h"
#include "storage/state.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class BrowserTest : public WorkFolderTest<resetStorageState> {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(WorkFolderTest::SetUp());
        基準開始日 = 1;
        ASSERT_NO_FATAL_FAILURE(openDatabase());
    }
    void TearDown() override
    {
        if (frm既存シフト読込* f = savedShiftsWindow())
            f->cmd閉じる_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        WorkFolderTest::TearDown();
    }
    void month(int m, int days)
    {
        db::Transaction t(cn);
        for (int d = 1; d <= days; ++d)
            cn.execute(QStringLiteral("INSERT INTO T_勤務表 (Id, 日付, 勤務No) VALUES (101, ?, 1)"), {QDate(2027, m, d)});
        t.commit();
    }
    frm既存シフト読込& open()
    {
        showSavedShifts();
        return *savedShiftsWindow();
    }
    // The texts of a column, joined by "|".
    static QString column(const QTreeWidget* list, int c)
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << list->topLevelItem(i)->text(c);
        return out.join(QLatin1Char('|'));
    }
    static void click(QTreeWidget* list, int row, Qt::KeyboardModifiers keys = {})
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, list->visualItemRect(list->topLevelItem(row)).center());
    }
};

TEST_F(BrowserTest, ListsSelectsInOnePieceDeletesAndAsksHowToRead)
{
    open().cmd閉じる_Click();
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(ui::shownMessages().front().prompt, QStringLiteral("データ無し"));
    month(1, 31);
    month(2, 28);
    month(4, 30);
    month(5, 3);
    ui::resetMessages();
    frm既存シフト読込& f = open();
    EXPECT_TRUE(ui::shownMessages().empty());
    EXPECT_EQ(column(f.ListV, 0), QStringLiteral("1|2|4|5"));
    EXPECT_EQ(column(f.ListV, 3), QStringLiteral("3|30|28|31"));
    EXPECT_EQ(column(f.ListV, 1), QStringLiteral("2027/05/01|2027/04/01|2027/02/01|2027/01/01"));

    click(f.ListV, 0);
    click(f.ListV, 2, Qt::ControlModifier);
    EXPECT_TRUE(f.ListV->topLevelItem(1)->isSelected());
    EXPECT_EQ(f.selectedRange(), std::make_pair(0, 2));

    click(f.ListV, 2);
    ui::setNextAnswer(ui::vbCancel);
    f.cmd削除->click();
    EXPECT_EQ(f.ListV->topLevelItemCount(), 4);
    ui::setNextAnswer(ui::vbOK);
    f.cmd削除->click();
    const auto& shown = ui::shownMessages();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1].title, QStringLiteral("削除確認"));
    EXPECT_EQ(shown[1].prompt, QStringLiteral("2027/02/01～2027/02/28の勤務データを削除します。\r\nよろしいですか？"));
    EXPECT_EQ(shown[2].prompt, QStringLiteral("削除完了"));
    EXPECT_EQ(column(f.ListV, 0), QStringLiteral("1|2|5"));

    // No goes to the export, which wants a kind ticked; the window stays for the user to tick one.
    f.ChkDt[2]->setChecked(false);
    ui::setNextAnswer(ui::vbNo);
    f.cmd読み込み->click();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[3].title, QStringLiteral("読込方法"));
    EXPECT_EQ(shown[4].prompt, QStringLiteral("読み込むデータの種類を選択して下さい。"));
    EXPECT_EQ(savedShiftsWindow(), &f);
}

}  // namespace
