// What a staffed attempt's rest-day counts decide, branch by branch: the notice or message shown,
// the final 作成状態 and whether another attempt follows. A stand-in optimiser sets the members'
// targets after the first staffed attempt so that someone has too many or too few rest days;
// every later attempt is on target and accepted.
#include "generation_fixture.h"

#include "engine/analysis.h"
#include "engine/generation.h"
#include "engine/generation_driver.h"
#include "engine/model.h"
#include "engine/optimiser_steps.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"

#include "text.h"

using namespace genfx;

namespace {

struct Row {
    const char* label;
    int sign;           // +1: someone has more rest days than the target allows, -1: fewer
    bool adjust;        // 勤務日数調整
    bool retry;         // 自動再挑戦
    bool onScreen;      // notices are shown only on screen
    bool stop = false;  // the stop raised before the decision
    int analysis = 0;   // 分析結果_Ans left by an earlier analysis
    // Expected: the texts shown (title "frmMsgWait" for notices, the analysis dialog and the
    // final report left out),
    // 作成状態 and the attempts made.
    QStringList shown = {};
    int state = 1;
    int attempts = 1;
};

class RestDecision : public GenerationTest, public ::testing::WithParamInterface<Row> {};

TEST_P(RestDecision, ShowsSetsAndRepeats)
{
    const Row& r = GetParam();
    open(kGeneral);
    set(u("Main"), u("バックグラウンド動作"), !r.onScreen);
    set(u("基本設定"), u("勤務日数調整"), r.adjust);
    set(u("基本設定"), u("自動再挑戦"), r.retry);
    int staffed = 0;
    optimiserSteps.最適化実行 = [&staffed, &r](long passes, int, float) {
        if (passes != 5)
            return;
        ++staffed;
        for (int m = 1; m <= Member_Cnt; ++m)
            Member_DayOff(m) = Member_WorkDays(m);
        if (staffed == 1)
            Member_DayOff(1) += float(r.sign);
    };
    optimiserSteps.ランダム入替処理 = [&r](int) { Sw_中止 = Sw_中止 || r.stop; };
    if (r.onScreen)
        ui::setNextAnswer(0);  // the analysis: go on
    分析結果_Ans = r.analysis;
    cmd開始_Click({7});
    ASSERT_EQ(generationTiming.understaffedCount, 0) << "the sample staffs every attempt";
    QStringList shown;
    for (const ui::MessageRequest& m : ui::shownMessages())
        if (m.title != u("frm分析結果") && m.title != u("作成完了"))
            shown << m.title + u(":") + m.prompt;
    EXPECT_EQ(shown, r.shown);
    EXPECT_EQ(作成状態, r.state);
    EXPECT_EQ(generationTiming.attempts, r.attempts);
    EXPECT_EQ(generationTiming.accepted, r.state == 1 ? 1 : 0);
    EXPECT_EQ(generationTiming.tooManyRests + generationTiming.tooFewRests, r.attempts - generationTiming.accepted);
}

const QString kNotice = QStringLiteral("frmMsgWait:");

INSTANTIATE_TEST_SUITE_P(
    Rows, RestDecision,
    ::testing::Values(
        Row{"on target", 0, true, true, false},
        Row{"too many, adjusting, retrying", +1, true, true, true, false, 0,
            {kNotice + u("休みが多過ぎる人が出ました。再挑戦！！")}, 1, 2},
        Row{"too many, adjusting, not retrying", +1, true, false, false},
        Row{"too many, adjusting, not retrying, analysis said stop", +1, true, false, false, false, 1, {}, 0},
        Row{"too many, not adjusting, stopped", +1, false, true, false, true, 0, {}, -1},
        Row{"too many, not adjusting, not retrying", +1, false, false, false, false, 0, {}, -1},
        Row{"too many, not adjusting, retrying", +1, false, true, true, false, 0,
            {kNotice + u("休み数超過！再挑戦！！")}, 1, 2},
        Row{"too few, not adjusting", -1, false, true, false},
        // Without retries the message is shown and the run still tries again.
        Row{"too few, adjusting, not retrying", -1, true, false, false, false, 0,
            {u("作成失敗:休みが少な過ぎる人が出ました。")}, 1, 2},
        Row{"too few, adjusting, retrying", -1, true, true, true, false, 0,
            {kNotice + u("休みが少な過ぎる人が出ました。再挑戦！！")}, 1, 2}),
    [](const ::testing::TestParamInfo<Row>& info) { return "row" + std::to_string(info.index); });

}  // namespace
