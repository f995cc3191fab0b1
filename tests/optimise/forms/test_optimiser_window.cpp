// frm最適化 drawn from the logic's window state: placement by 進行状況表示, the state's texts and
// bar, and the "中止" question answered through the scripted-answer hook.
#include "engine/run_window.h"
#include "optimise/forms/optimiser_window_form.h"
#include "optimise/state.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

class OptimiserWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetOptimiseState();
        installOptimiserWindow();
    }
    void TearDown() override
    {
        optwin.unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        optwin.setView(nullptr);
        resetOptimiseState();
    }
    static QRect screen() { return QGuiApplication::primaryScreen()->geometry(); }
    // The window loaded afresh with the placement.
    frm最適化& fresh(long placement)
    {
        optwin.unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        進行状況表示 = placement;
        optwin.show();
        frm最適化* w = loadedOptimiserWindow();
        EXPECT_NE(w, nullptr);
        return *w;
    }
};

TEST_F(OptimiserWindowTest, PlacedByTheProgressSetting)
{
    const QRect s = screen();
    frm最適化& other = fresh(5);
    const QPoint designed = other.pos();
    const QSize size = other.frameGeometry().size();
    EXPECT_EQ(fresh(0).pos(), QPoint((s.width() - size.width()) / 2, (s.height() - size.height()) / 2));
    EXPECT_EQ(fresh(1).pos(), QPoint(s.width() - size.width() - 50, 0));
    EXPECT_EQ(fresh(2).pos(), QPoint(s.width() - size.width() - 50, s.height() - size.height() - 50));
    EXPECT_EQ(fresh(3).pos(), QPoint(0, s.height() - size.height() - 50));
    EXPECT_EQ(fresh(5).pos(), designed);
    EXPECT_NE(designed, fresh(0).pos());
}

TEST_F(OptimiserWindowTest, ShowsTheStateAndStartsWithItsOwnStageText)
{
    optwin.setScore(QStringLiteral(" 12.5   "));
    frm最適化* w = loadedOptimiserWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->isVisible());  // loaded, not yet shown
    EXPECT_EQ(w->lblMsg->text(), QStringLiteral("最適化しています！"));
    optwin.setRange(1, 0);  // an empty range is widened to its minimum
    optwin.show();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->lbl標準偏差->text(), QStringLiteral(" 12.5   "));
    EXPECT_EQ(w->Prg->maximum(), 1);
    EXPECT_EQ(w->windowOpacity(), 1.0);
    optwin.hide();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(loadedOptimiserWindow(), w);
}

TEST_F(OptimiserWindowTest, CancelAsksFirstWithNoAsTheDefault)
{
    optwin.show();
    frm最適化* w = loadedOptimiserWindow();
    ASSERT_NE(w, nullptr);
    ui::setNextAnswer(ui::vbNo);
    w->cmd中止->click();
    EXPECT_FALSE(Sw_中止);
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    const ui::MessageRequest& r = ui::shownMessages().front();
    EXPECT_EQ(r.prompt, QStringLiteral("中止しますか？"));
    EXPECT_EQ(r.title, QStringLiteral("中止確認"));
    EXPECT_EQ(r.buttons, 260);
    EXPECT_EQ(ui::defaultResult(r.buttons), ui::vbNo);

    ui::setNextAnswer(ui::vbYes);
    w->cmd中止->click();
    EXPECT_TRUE(Sw_中止);
    EXPECT_TRUE(w->isVisible());  // the running loop closes it
}

}  // namespace
