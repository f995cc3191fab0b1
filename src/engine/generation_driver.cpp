#include "engine/generation_driver.h"

#include "engine/analysis.h"
#include "engine/day_placement.h"
#include "engine/generation.h"
#include "engine/main_window_steps.h"
#include "engine/model.h"
#include "engine/optimiser_steps.h"
#include "engine/postprocess.h"
#include "engine/shift_load.h"
#include "engine/time_limit.h"
#include "engine/totals.h"
#include "platform/os/clock.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/mylog.h"
#include "shell/mymod.h"
#include "shell/required_step.h"
#include "shell/status.h"

#include <QTimer>

namespace {

void optimise(long passes)
{
    const SpanTimer timed(generationTiming.optimiseNs);
    if (optimiserSteps.最適化実行)
        optimiserSteps.最適化実行(passes, Day_Cnt, 0);
}

void accept()
{
    作成状態 = 1;
    if (generationTiming.acceptedMs < 0)
        generationTiming.acceptedMs = generationElapsedMs();
}

void caption(const QString& text)
{
    if (mainWindowSteps.setCaption)
        mainWindowSteps.setCaption(text);
}

void restoreMenu(bool enabled)
{
    if (mainWindowSteps.setBestShiftRestorable)
        mainWindowSteps.setBestShiftRestorable(enabled);
}

// The countdown notice (none in background mode); true when the user stopped the run.
bool notice(const QString& text, long ms)
{
    if (!Sw_バックグラウンド動作) {
        MsgWaitTime = ms;
        ShowMsgWait(text);
    }
    return Sw_中止;
}

// Puts the program back however the run ends.
class RunGuard {
public:
    RunGuard()
    {
        QObject::connect(&limit_, &QTimer::timeout, &limit_, [] { runGuarded([] { checkTimeLimit(); }); });
        limit_.start(200);
    }
    ~RunGuard()
    {
        limit_.stop();
        ProgressClose();
        if (Sw_ベストシフト作成)
            restoreMenu(true);
        caption(QString());
    }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;

private:
    QTimer limit_;
};

// What the rest-day counts of an accepted staffing decide (v as 出勤日数過不足一覧 gives it);
// true: the run ends.
bool restDayDecision(float v, bool& repeat)
{
    if (v == 0) {
        accept();
        optimise(1);
        repeat = false;
        return false;
    }
    if (v > 0 && Sw_勤務日数調整) {
        if (Sw_自動再挑戦) {
            repeat = true;
            return notice(QStringLiteral("休みが多過ぎる人が出ました。再挑戦！！"), 4000);
        }
        accept();
        repeat = false;
        if (分析結果_Ans == 1) {
            if (Sw_中止)
                return true;
            作成状態 = 0;
        }
        return false;
    }
    if (v > 0) {
        if (Sw_中止)
            return true;
        repeat = Sw_自動再挑戦;
        if (!Sw_自動再挑戦)
            return false;
        作成状態 = 1;
        ProgressClose();
        return notice(QStringLiteral("休み数超過！再挑戦！！"), 6000);
    }
    if (!Sw_勤務日数調整) {
        accept();
        repeat = false;
        return false;
    }
    if (Sw_中止 || !Sw_自動再挑戦) {
        MsgBox(QStringLiteral("休みが少な過ぎる人が出ました。"), ui::vbOKOnly | ui::vbSystemModal, QStringLiteral("作成失敗"));
        repeat = true;
        return Sw_中止;
    }
    repeat = true;
    return notice(QStringLiteral("休みが少な過ぎる人が出ました。再挑戦！！"), 4000);
}

// Every day was staffed: the totals rebuilt from the sheet, the table improved, the rest-day
// counts judged. True: the run ends.
bool improveStaffed(bool& repeat)
{
    // Counted afresh as the manual optimiser counts: last month's totals are part of them.
    if (!シフト表読込(1, Day_Cnt, 0, -1))
        return true;
    recalculateTotals();
    if (経過表示 >= 1)
        xlAppSetting(true, false, false);
    optimise(5);
    if (経過表示 >= 1)
        xlAppSetting(true, true, false);
    if (Sw_中止)
        return true;
    QString text;
    for (int round = 1; round <= 5 && !Sw_中止 && 出勤日数過不足一覧(text) > 0; ++round) {
        if (optimiserSteps.ランダム入替処理) {
            const SpanTimer timed(generationTiming.optimiseNs);
            optimiserSteps.ランダム入替処理(1);
        }
        optimise(1);
    }
    const float v = 出勤日数過不足一覧(text);
    const bool ends = restDayDecision(v, repeat);
    if (作成状態 == 1 && !repeat)
        ++generationTiming.accepted;
    else if (v > 0)
        ++generationTiming.tooManyRests;
    else
        ++generationTiming.tooFewRests;
    return ends;
}

// One attempt and what follows it; true: the run ends.
bool attempt(bool analyse, bool& repeat, bool& ringStarted)
{
    作成状態 = -1;
    const AttemptResult result = シフト作成(analyse);
    if (result != AttemptResult::Ran)
        return true;
    ringStarted = true;
    if (!確保完了) {
        if (!Sw_中止)
            ++generationTiming.understaffedCount;
        if (Sw_中止 || !Sw_自動再挑戦)
            return true;
        return notice(QStringLiteral("確保失敗！再挑戦！！"), 6000);
    }
    return improveStaffed(repeat);
}

void keepBestShift()
{
    if (!Sw_ベストシフト作成 || 作成状態 != 1 || !optimiserSteps.ベストシフト追加)
        return;
    optimiserSteps.ベストシフト追加();
    DspSplash(QStringLiteral("ベストシフト作成継続・・・") + QString::number(BestShift_Cnt));
    if (displayWaitOn())
        DoWait(2000);
    DspSplash(QString());
}

// The fixed-cell conflicts for the run's end message, "" when there is none.
QString conflictNote()
{
    if (fixedConflicts.empty())
        return {};
    return kCrLf + kCrLf + fixedConflictHeading() + kCrLf + fixedConflictLines();
}

void report()
{
    const QString guide = QStringLiteral("さらに最適(均等)化を行うには、下記から行って下さい。") + kCrLf
        + QStringLiteral("・オプション＞作成後の個別調整＞最適化(勤務/休み 交換)") + kCrLf + kCrLf;
    const QString text = required(optimiserSteps.荷重分散レポート作成, "荷重分散レポート作成")(guide) + kCrLf
        + required(optimiserSteps.荷重パラメータ一覧, "荷重パラメータ一覧")() + conflictNote();
    MyMsgBox(text, 0, QStringLiteral("作成完了"), 500, 450);
}

void offerLog()
{
    if (MemLogEntries().isEmpty())
        return;
    MemLog保存();
    if (MsgBox(QStringLiteral("確保失敗") + conflictNote() + kCrLf + kCrLf + QStringLiteral("ログファイルを表示しますか？"),
               ui::vbYesNo | ui::vbSystemModal, QStringLiteral("確保エラー"))
        == ui::vbYes)
        LogView();
}

void finish(bool ringStarted)
{
    xlAppSetting(true, true, true);
    ProgressClose();
    if (timeLimitExceeded)
        MsgBox(timeLimitMessage(), ui::vbOKOnly | ui::vbSystemModal, QStringLiteral("制限時間オーバー"));
    if (Sw_ベストシフト作成 && BestShift_Cnt > 0) {
        作成状態 = 1;
        if (MsgBox(QStringLiteral("試行内で作成されたベストシフト表を復元しますか？"), ui::vbYesNo, QStringLiteral("最優秀シフト表"))
                == ui::vbYes
            && optimiserSteps.ベストシフト復元)
            optimiserSteps.ベストシフト復元();
    } else if (作成状態 == 1) {
        {
            const SpanTimer timed(generationTiming.finishNs);
            作成後処理(QStringLiteral("成功"));
        }
        report();
    } else if (!確保完了) {
        {
            const SpanTimer timed(generationTiming.finishNs);
            作成後処理(QStringLiteral("失敗"));
        }
        // Only a run that tried days has a log of its own to show.
        if (ringStarted)
            offerLog();
    }
}

void startBestShiftRun()
{
    if (optimiserSteps.clearBestShifts)
        optimiserSteps.clearBestShifts();
    caption(QStringLiteral("★ ベストシフト 作成中 ★"));
    restoreMenu(false);
}

}  // namespace

void cmd開始_Click(const GenerationOptions& options)
{
    Sw_中止 = false;
    timeLimitExceeded = false;
    generationTiming = {};
    作成開始時刻 = os::elapsedMs();
    if (options.seed)
        Randomize(*options.seed);
    else
        MyRandomize();
    RunGuard guard;
    // Screen updating, calculation and events on again before the run's windows are tidied up.
    const XlSwitchesGuard switches(XlSwitchesGuard::OnAtEnd{});
    if (Sw_ベストシフト作成)
        startBestShiftRun();
    bool repeat = true;
    bool ringStarted = false;
    bool first = true;
    do {
        // The pre-run analysis is asked once per run, before the first attempt.
        const bool ends = attempt(first, repeat, ringStarted);
        first = false;
        if (ends)
            break;
        ProgressClose();
        keepBestShift();
    } while (repeat || Sw_ベストシフト作成);
    finish(ringStarted);
}
