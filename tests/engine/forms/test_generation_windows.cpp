#include "engine/analysis.h"
#include "engine/forms/analysis_form.h"
#include "engine/forms/progress_form.h"
#include "engine/run_window.h"
#include "engine/state.h"
#include "engine/time_limit.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include "manual_clock.h"
#include <gtest/gtest.h>

// The window follows the logic's state, sits where 進行状況表示 says, stops only after the
// question, counts the time down and raises the stop once the limit has passed.
TEST(ProgressWindow, ShowsProgressAndStops)
{
    resetEngineState();
    進行状況表示 = 2;
    ManualClock clock;
    LimitTime = 10;
    作成開始時刻 = 0;
    installProgressWindow();
    progwin.show();
    progwin.setRange(0, 32);
    progwin.setValue(7);
    frm処理中* f = loadedProgressWindow();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->PBar->value(), 7);
    EXPECT_FALSE(f->txtMsg->isVisible());
    EXPECT_EQ(f->txt残分->text(), QStringLiteral("10:00"));
    clock.advance(210000);
    f->Timer1_Timer();
    EXPECT_EQ(f->txt残分->text(), QStringLiteral("6:30"));
    const QRect screen = f->screen()->geometry();
    EXPECT_EQ(f->frameGeometry().right(), screen.right() - 50);
    EXPECT_EQ(f->frameGeometry().bottom(), screen.bottom() - 50);
    progwin.setMessage(QStringLiteral("後処理中・・"));
    EXPECT_TRUE(f->txtMsg->isVisible());

    ui::setNextAnswer(ui::vbCancel);
    f->cmd中止->click();
    EXPECT_FALSE(Sw_中止);
    ui::setNextAnswer(ui::vbOK);
    f->cmd中止->click();
    EXPECT_TRUE(Sw_中止);
    EXPECT_EQ(ui::shownMessages().back().title, QStringLiteral("中止確認"));

    Sw_中止 = false;
    clock.advance(390000);
    f->Timer1_Timer();
    EXPECT_FALSE(Sw_中止);
    clock.advance(1);
    f->Timer1_Timer();
    EXPECT_TRUE(Sw_中止);
    EXPECT_TRUE(timeLimitExceeded);
    EXPECT_EQ(f->txt残分->text(), QStringLiteral("0:00"));
    EXPECT_FALSE(f->Timer1.isActive());
    progwin.unload();
    QApplication::processEvents();
    EXPECT_EQ(loadedProgressWindow(), nullptr);
    progwin.setView(nullptr);
    resetEngineState();
}

// The dialog shows the verdict, counts down to its default answer, and waits for a button once
// the user clicks it.
TEST(AnalysisDialog, CountsDownToTheDefaultAnswer)
{
    AnalysisFigures f;
    f.要求人員総数 = 601;
    f.動員可能人日 = 600;
    f.要求率 = 601.0 / 600.0;
    const AnalysisVerdict j = judgeAnalysis(f);
    frm分析結果 dialog(f, j);
    dialog.show();
    EXPECT_EQ(dialog.lblDt[4]->text(), QStringLiteral("100%"));
    EXPECT_TRUE(dialog.lbl[6]->text().isEmpty());
    EXPECT_EQ(dialog.lblAsk2->text(), QStringLiteral("中止まで "));
    EXPECT_EQ(dialog.lblResult->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    for (int i = 0; i < 4; ++i)
        dialog.Timer1_Timer();
    EXPECT_EQ(dialog.lblAskTime->text(), QStringLiteral("1秒"));
    dialog.Timer1_Timer();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.answer(), 1);

    frm分析結果 waiting(f, j);
    waiting.show();
    waiting.stopCountdown();
    EXPECT_FALSE(waiting.Timer1.isActive());
    waiting.cmdEnd[0]->click();
    EXPECT_EQ(waiting.answer(), 0);
    EXPECT_FALSE(waiting.isVisible());
}
