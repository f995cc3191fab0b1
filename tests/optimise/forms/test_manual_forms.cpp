// The three manual-tool windows on a sample month: the exchange list's questions, lines, exchange
// and undo; the assignability window following the sheet's selection; the re-adjustment window's
// buttons.
#include "common.h"
#include "shift_sheet.h"
#include "engine/convert.h"
#include "engine/totals.h"
#include "optimise/assignability.h"
#include "optimise/exchange_list.h"
#include "optimise/forms/assignability_form.h"
#include "optimise/forms/exchange_list_form.h"
#include "optimise/forms/readjust_form.h"
#include "optimise/manual_common.h"
#include "optimise/readjust.h"
#include "optimise/state.h"
#include "platform/text/vb.h"
#include "shell/lifecycle.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class ManualForms : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetOptimiseState();
        AppPath = QDir::homePath();
        ASSERT_TRUE(loadSampleModel(kGeneral));
        Randomize(5);
        for (int m = 1; m <= Member_Cnt; ++m)
            for (int d = 1; d <= Day_Cnt; ++d)
                if (Time_Table(m, d) == 0)
                    Time_Table(m, d) = int(Int(Rnd() * (Type_Cnt + 1)));
        ASSERT_TRUE(putTableOnSheet());
    }
    void TearDown() override
    {
        if (loadedAssignability())
            loadedAssignability()->cmd閉じる_Click();
        if (loadedReadjust())
            loadedReadjust()->cmd閉じる_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ui::setDialogHandler(ui::Kind::Dialog, nullptr);
        ui::setDialogHandler(ui::Kind::Input, nullptr);
        resetOptimiseState();
    }
    static void select(int m, int d) { shiftCell(m, d).worksheet().userSelect(shiftCell(m, d)); }
    static QString sheet(int m, int d) { return shiftCell(m, d).text(); }
    // The first member and day holding work, or rest.
    static std::pair<int, int> find(bool work)
    {
        for (int m = 1; m <= Member_Cnt; ++m)
            for (int d = 1; d < Day_Cnt; ++d)
                if ((Time_Table(m, d) != 0) == work)
                    return {m, d};
        return {0, 0};
    }
};

TEST_F(ManualForms, TheExchangeListAsksAgainAppliesOneLineAndTakesItBack)
{
    const QString five = QString::number(MemNo(5));
    const QString two = QString::number(MemNo(2));
    QStringList answers{QStringLiteral("99999"), five + QStringLiteral(" *"), two, QString()};
    QStringList proposed;
    ui::setDialogHandler(ui::Kind::Input, [&](const ui::MessageRequest& r) {
        proposed << r.text;
        return ui::Answer{ui::vbOK, answers.takeFirst()};
    });
    int shown = 0;
    ui::setDialogHandler(ui::Kind::Dialog, [&](const ui::MessageRequest&) {
        frmリストボックス_交換* w = loadedExchangeList();
        if (++shown == 2) {
            // Member 2 is over the target and has nothing to take: the placeholder does nothing.
            EXPECT_EQ(w->lstItem->count(), 2);
            EXPECT_FALSE(w->frItem->isEnabled());
            EXPECT_EQ(w->width(), 450);
            return ui::Answer{};
        }
        EXPECT_GE(w->width(), 650);
        EXPECT_EQ(w->lblPromptTop->text(), QStringLiteral("5:") + five + QLatin1Char(' ') + MemName(5));
        const QList<QListWidgetItem*> allowed = w->lstItem->findItems(QStringLiteral("<==>"), Qt::MatchContains);
        EXPECT_LT(allowed.size(), w->lstItem->count());
        EXPECT_FALSE(w->cmdOk[0]->isEnabled());
        w->lstItem->setCurrentItem(allowed.value(0));
        EXPECT_TRUE(w->cmdOk[0]->isEnabled());
        EXPECT_TRUE(w->lblPromptBottom->text().endsWith(QStringLiteral("   交換しますか？")));
        const QStringList f = allowed.value(0)->text().split(QLatin1Char('\t'));
        const int b = int(Val(f[3])), d = f[8].toInt();
        EXPECT_EQ(shiftCell(b, d).worksheet().selection(), shiftCell(b, d));
        const QString a5 = sheet(5, d), ab = sheet(b, d);

        ui::setNextAnswer(ui::vbOK);
        w->cmdOk[0]->click();
        EXPECT_EQ(sheet(5, d), ab);
        EXPECT_EQ(sheet(b, d), a5);
        EXPECT_FALSE(w->frItem->isEnabled());
        EXPECT_TRUE(w->cmdOk[1]->isEnabled());
        const float days = Member_WorkDays(5);
        recalculateTotals();
        EXPECT_EQ(Member_WorkDays(5), days);

        ui::setNextAnswer(ui::vbOK);
        w->cmdOk[1]->click();
        EXPECT_EQ(sheet(5, d), a5);
        EXPECT_EQ(sheet(b, d), ab);
        EXPECT_TRUE(w->frItem->isEnabled());
        w->cmdOk[2]->click();
        return ui::Answer{};
    });
    交換可能勤務一覧表示();
    EXPECT_EQ(shown, 2);
    // Only an accepted answer is proposed again.
    EXPECT_EQ(proposed, (QStringList{exchangeListDefaultAnswer(), exchangeListDefaultAnswer(), five + QStringLiteral(" *"), two}));
    EXPECT_EQ(ui::shownMessages()[0].title, QStringLiteral("入替可能判定"));
    EXPECT_EQ(ui::shownMessages()[1].prompt, QStringLiteral("ID不正"));
    EXPECT_EQ(ui::pendingAnswers(), 0u);
}

TEST_F(ManualForms, TheAssignabilityWindowFollowsTheSelectionAndTestsTheChosenDay)
{
    // A period from the 21st: entry d of the day box is day d of the period.
    基準開始日 = 21;
    showAssignability();
    frm勤務可能判定* w = loadedAssignability();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->cmbInConst[0]->count(), Member_Cnt + 1);
    EXPECT_EQ(w->cmbInConst[1]->itemText(0), QStringLiteral("21"));
    EXPECT_EQ(w->cmbInConst[2]->currentIndex(), 1);

    const auto [m, d] = find(false);
    w->chkAuto->setChecked(true);
    select(m, d);
    EXPECT_EQ(w->cmbInConst[0]->currentIndex(), m);
    EXPECT_EQ(w->cmbInConst[1]->currentIndex(), d - 1);
    EXPECT_EQ(w->cmbInConst[2]->currentIndex(), 0);
    EXPECT_EQ(w->lbl略称->text(), Yasumi_Kigou);
    EXPECT_TRUE(w->lbl略称->styleSheet().contains(QStringLiteral("#FFFFFF")));
    EXPECT_TRUE(w->chkAuto->isChecked());

    {
        // A run still changes the month: the test is refused.
        const RunScope running;
        ui::setNextAnswer(ui::vbOK);
        w->cmd開始->click();
        EXPECT_EQ(ui::shownMessages().back().kind, ui::Kind::Standard);
    }
    ui::setNextAnswer(ui::Answer{ui::vbOK, QStringLiteral("OK")});
    w->cmd開始->click();
    const ui::MessageRequest& report = ui::shownMessages().back();
    EXPECT_EQ(report.kind, ui::Kind::Custom);
    EXPECT_EQ(report.title, QStringLiteral("勤務割り当て可否判定"));
    EXPECT_EQ(report.width, 500);
    EXPECT_EQ(report.height, 600);
    EXPECT_EQ(report.prompt, assignabilityReport(m, 0, d));

    // Working in a box stops the following.
    w->cmbInConst_GotFocus(1);
    EXPECT_FALSE(w->chkAuto->isChecked());
    const auto [m2, d2] = find(true);
    select(m2, d2);
    EXPECT_EQ(w->cmbInConst[0]->currentIndex(), m);
}

TEST_F(ManualForms, TheReadjustmentWindowShowsTheCellAndUndoesWhatItApplied)
{
    const auto [rm, rd] = find(false);
    select(rm, rd);
    showReadjust();
    frm再調整* w = loadedReadjust();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->txtID->text().isEmpty());
    w->cmd再調整->click();
    EXPECT_EQ(ui::shownMessages().back().prompt, QStringLiteral("選択セルは空白(休み)です！"));

    // Member 1 on day 1 can be freed by a chain (the search's own tests show which).
    select(1, 1);
    EXPECT_EQ(w->txtTarget->text(), sheet(1, 1));
    EXPECT_EQ(w->txtID->text(), QString::number(MemNo(1)));
    EXPECT_EQ(w->txt氏名->text(), MemName(1));
    EXPECT_EQ(w->txt勤務名->text(), TypeName1(Time_Table(1, 1)));
    EXPECT_EQ(w->txtTargetDay->text(), QStringLiteral("2027/1/1(金)"));
    const QString before = sheet(1, 1);
    ui::setNextAnswer(ui::vbOK);
    ui::setNextAnswer(ui::vbOK);
    w->cmd再調整->click();
    EXPECT_TRUE(ui::shownMessages()[ui::shownMessages().size() - 2].prompt.startsWith(
        QStringLiteral("2027/1/1(金) の < ") + MemName(1) + QStringLiteral(" >さんの< ")));
    EXPECT_EQ(sheet(1, 1), Yasumi_Kigou);
    EXPECT_TRUE(w->cmd戻す->isEnabled());
    EXPECT_TRUE(w->txtTarget->text().isEmpty());

    w->cmd戻す->click();
    EXPECT_EQ(sheet(1, 1), before);
    EXPECT_FALSE(w->cmd戻す->isEnabled());
    EXPECT_EQ(w->txtTarget->text(), before);

    // Two exchanges that share a member on one day come back only when undone last first.
    for (int m = 1; m <= 3; ++m)
        shiftCell(m, 2).setValue(shiftSymbol(m));
    const QString day2 = sheet(1, 2) + sheet(2, 2) + sheet(3, 2);
    ReadjustState state{{{2, 1, 2}, {2, 3, 2}}, {}, true};
    ASSERT_TRUE(reloadMonth());
    for (const ExchangeRecord& r : state.records)
        勤務変更(r.x, r.y, r.day);
    for (int m = 1; m <= 3; ++m)
        shiftCell(m, 2).setValue(shiftSymbol(Time_Table(m, 2)));
    undoReadjust(state);
    EXPECT_EQ(sheet(1, 2) + sheet(2, 2) + sheet(3, 2), day2);
}

}  // namespace
