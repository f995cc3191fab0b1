#include "generation_fixture.h"

#include "engine/generation.h"
#include "engine/generation_driver.h"
#include "engine/model.h"
#include "engine/time_limit.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"

#include "engine/optimiser_steps.h"
#include "manual_clock.h"
#include "text.h"

using namespace genfx;

// A month that cannot be staffed is retried until the time limit, also in background mode; the
// limit is reported once the run has stopped, then the failure with its log.
TEST_F(GenerationTest, TheTimeLimitEndsARunOfFailures)
{
    open(kGeneral);
    set(u("Main"), u("バックグラウンド動作"), true);
    set(u("要員設定"), u("Need_Table"), 50, 1, 5);
    LimitTime = 0.01f;  // 600 ms
    // Every shake between the failed tries takes 10 ms: the second attempt meets the limit.
    ManualClock clock;
    optimiserSteps.ランダム交換 = [&clock](int, int) { clock.advance(10); };
    ui::setNextAnswer(ui::vbOK);
    ui::setNextAnswer(ui::vbNo);
    cmd開始_Click({7});
    EXPECT_EQ(generationTiming.attempts, 2);
    EXPECT_TRUE(timeLimitExceeded);
    EXPECT_EQ(作成状態, -1);
    EXPECT_EQ(shownTitles(), (QStringList{u("制限時間オーバー"), u("確保エラー")}));
    EXPECT_EQ(ui::shownMessages().front().prompt, u("制限時間の0.01分が過ぎました！\r\n処理を中止します。"));

    // On screen the analysis is asked before the first attempt only.
    set(u("Main"), u("バックグラウンド動作"), false);
    ui::resetMessages();
    for (const int answer : {0, int(ui::vbOK), int(ui::vbOK), int(ui::vbNo)})
        ui::setNextAnswer(answer);
    cmd開始_Click({7});
    EXPECT_EQ(generationTiming.attempts, 2);
    EXPECT_EQ(shownTitles(), (QStringList{u("frm分析結果"), u("frmMsgWait"), u("制限時間オーバー"), u("確保エラー")}));
}

// Stopping at the analysis ends the run with 作成状態 0 and no log question; a run that cannot
// start says why once, also in best-shift mode.
TEST_F(GenerationTest, RunsThatEndBeforeTheDays)
{
    open(kGeneral);
    ui::setNextAnswer(1);
    cmd開始_Click({7});
    EXPECT_EQ(作成状態, 0);
    EXPECT_EQ(generationTiming.attempts, 0);
    EXPECT_EQ(shownTitles(), QStringList{u("frm分析結果")});

    set(u("Main"), u("ベストシフト作成"), true);
    for (int r = 2; r <= 50; ++r)
        for (int c = 1; c <= 2; ++c)
            set(u("スケジュール"), u("Member_List"), QVariant(), r, c);
    ui::resetMessages();
    cmd開始_Click({7});
    EXPECT_EQ(作成状態, 0);
    EXPECT_EQ(shownTitles(), QStringList{u("条件データ不足")});
}
