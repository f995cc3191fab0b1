#include "optimise/runs.h"

#include "engine/model.h"
#include "engine/run_window.h"
#include "engine/sheet_refresh.h"
#include "engine/swap_passes.h"
#include "optimise/best_shift.h"
#include "optimise/decimal_align.h"
#include "optimise/optimiser.h"
#include "optimise/random_exchange.h"
#include "optimise/report.h"
#include "optimise/score.h"
#include "optimise/shift_block.h"
#include "optimise/window_steps.h"
#include "platform/os/vb_error.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "shell/do_events.h"
#include "shell/globals.h"
#include "shell/lifecycle.h"
#include "shell/msg_box.h"
#include "shell/excel_layer.h"
#include "shell/mylog.h"
#include "shell/status.h"
#include "workbook/sheet_names.h"

#include <algorithm>
#include <cmath>

namespace {

// Progress texts of the repetitions are shown half transparent.
constexpr int kRepetitionTransparency = 170;

// What a run changes, put back however it ends: the spreadsheet's switches, the work-day
// adjustment switch, the progress and message windows; and the run mark, so that commands which
// re-read the model wait.
class RunState {
public:
    RunState() = default;
    RunState(const RunState&) = delete;
    RunState& operator=(const RunState&) = delete;
    ~RunState()
    {
        Sw_勤務日数調整 = adjustment_;
        try {
            optwin.unload();
            DspSplash(QString());
        } catch (...) {
            // Nothing may leave a destructor; the windows stay as they are.
        }
    }

private:
    RunScope running_;
    XlSwitchesGuard switches_;
    bool adjustment_ = Sw_勤務日数調整;
};

// The score and its terms before a run, and when it started.
struct Before {
    qint64 start = 0;
    ScoreTerms P;
    ScoreTerms C;

    void take()
    {
        start = TickCount();
        分散要素取得(P, C);
    }
};

int firstDay()
{
    return std::max(1, Start_Day);
}

xl::Worksheet& rosterSheet()
{
    if (!xlBook)
        throw VbError(91, QStringLiteral("オブジェクト変数が設定されていません。"));
    xlSheet = &xlBook->worksheets(kRosterSheet);
    return *xlSheet;
}

QString repetitionText(const QString& text, int r, int n)
{
    return n > 1 ? text + QString::number(r) + QLatin1Char('/') + QString::number(n) : text;
}

void showRepetition(const QString& text, int r, int n)
{
    DspSplash(repetitionText(text, r, n), 0, 0, 0, false, kRepetitionTransparency);
}

void showScore(float score)
{
    const double rounded = Val(Format(double(score), QStringLiteral("0.0###")));
    optwin.setScore(小数点位置揃え(float(rounded), 3, 4));
}

// The members' days from the grid's first cell, as many days as the sheet counts.
void restSymbolsIntoEmptyCells(xl::Worksheet& sheet)
{
    const long days = long(Val(XlText(sheet.range(QStringLiteral("Day_Cnt")).value())));
    if (Member_Cnt < 1 || days < 1)
        return;
    const xl::Range first = sheet.range(QStringLiteral("Time_Table")).cells(1, 1);
    xlRangeReplace(sheet.range(RangeAddr(first, Member_Cnt, days)), QString(), Yasumi_Kigou);
}

void colourMacros()
{
    XlApp().run(stBookName + QStringLiteral("!MyMainから起動.勤務色置換"));
    XlApp().run(stBookName + QStringLiteral("!MyMainから起動.休み色置換"));
}

void mainWindowToFront()
{
    if (optimiserWindowSteps.raiseMainWindow)
        optimiserWindowSteps.raiseMainWindow();
}

void focusMainWindow()
{
    if (optimiserWindowSteps.giveMainWindowFocus)
        optimiserWindowSteps.giveMainWindowFocus();
}

// Shows the report; returns its text.
QString report(const Before& before, const QString& title)
{
    QString text = 荷重分散レポート作成(before.start, &before.P, &before.C, -1, QString()) + kCrLf + 荷重パラメータ一覧();
    if (DebugMode)
        text += MemoryDump();
    MyMsgBox(text, 0, title, 500 + 400 * (DebugMode ? 1 : 0), 450, 0, QString(), -1, QString(), -1, QString(), -1,
             -1, 1);
    return text;
}

// Written over the last one; the main window then offers it and comes to the front.
void resultLog(const QString& text)
{
    ResultLog書込(text, true);
    if (optimiserWindowSteps.afterResultLog)
        optimiserWindowSteps.afterResultLog();
    else
        mainWindowToFront();
}

// Repetitions of one optimiser pass while the score moves.
void shiftSwapRepetitions(int n)
{
    for (int r = 1; r <= n; ++r) {
        const float previous = 全分散計算();
        showRepetition(QStringLiteral("最適化(勤務交換)中・・・"), r, n);
        最適化実行(1, Day_Cnt, previous);
        if (Sw_中止 || 全分散計算() == previous)
            break;
    }
}

// The rest-day exchanges kept only when the score, rounded to a whole number, falls below the
// best: the best starts rounded the same way, so the comparison stays on one scale and no kept
// exchange raises the score.
void restDayRepetitions(int n)
{
    optwin.setMessage(QStringLiteral("最適化(休み交換)中"));
    showScore(全分散計算());
    optwin.setRange(1, Member_Cnt);
    optwin.setValue(1);
    optwin.show();
    xlAppSwitch(false);
    float best = std::nearbyint(全分散計算());
    for (int r = 1; r <= n && !Sw_中止; ++r) {
        const float start = best;
        showRepetition(QStringLiteral("最適化(休み交換)中・・・"), r, n);
        for (int m = 1; m <= Member_Cnt && !Sw_中止; ++m) {
            xlAppSetting(false, false, false);
            for (int d = firstDay(); d <= Day_Cnt && !Sw_中止; ++d) {
                DoEvents();
                const float was = best;
                best = 休み交換(1, m, d, true, best);
                optwin.setValue(m);
                if (best < was)
                    showScore(全分散計算());
            }
            // The sheet drawn and recalculated once per member.
            xlAppSetting(true, true, false);
            xlAppSetting(false, false, false);
        }
        if (!(best < start))
            break;
    }
    optwin.unload();
}

// What every run does first: the switches it changes kept until it ends, and the table read into
// the model before the sheet is touched, so that a table that cannot be read stays as it is. Then
// the run's own steps on the roster sheet; false when the table could not be read.
template <class Steps>
bool onReadTable(Steps steps)
{
    RunState state;
    if (!現状収集(0))
        return false;
    steps(rosterSheet());
    return true;
}

}  // namespace

void 最適化_勤務交換(int n)
{
    Sw_中止 = false;
    確保完了 = true;
    DspSplash(QStringLiteral("最適化準備中"));
    Before before;
    const bool ran = onReadTable([&](xl::Worksheet& sheet) {
        シート保護解除(&sheet);
        xlSpeedRun(sheet.range(QStringLiteral("Time_Table")), 1, Yasumi_Kigou);
        // Only the hour adjustment, when switched on, runs inside the passes.
        Sw_勤務日数調整 = false;
        xlAppSetting(false, false, false);
        before.take();
        focusMainWindow();
        shiftSwapRepetitions(n);
        DspSplash(QString());
        xlAppSetting(false, false, false);
        xlRunRetry(nullptr, stBookName + QStringLiteral("!勤務色置換"));
        人員配置表更新();
        xlRunRetry(nullptr, stBookName + QStringLiteral("!休み色置換"));
        if (Sw_中止) {
            Sw_中止 = false;
            DspSplash(QStringLiteral("最適化キャンセル"), 0, 0, 1000);
        }
        xlAppSetting(true, true, true);
    });
    if (!ran)
        return;
    resultLog(report(before, QStringLiteral("完了")));
    focusMainWindow();
}

void 最適化_休み交換(int n)
{
    if (Type_Cnt + Member_Cnt <= 0)
        return;
    if (n <= 0) {
        mainWindowToFront();
        return;
    }
    Sw_中止 = false;
    Before before;
    const bool ran = onReadTable([&](xl::Worksheet& sheet) {
        before.start = TickCount();
        xlSpeedUp();
        xlSpeedRun(sheet.range(QStringLiteral("Time_Table")), firstDay(), Yasumi_Kigou);
        xlAppSetting(true, true, false);
        xlAppSetting(false, false, false);
        分散要素取得(before.P, before.C);
        restDayRepetitions(n);
        勤務交換処理();
        シート保護解除(&sheet);
        xlAppSetting(false, false, false);
        restSymbolsIntoEmptyCells(sheet);
        colourMacros();
        xlAppSetting(true, true, true);
        xlSpeedRestore();
        シート保護(&sheet);
    });
    if (!ran)
        return;
    report(before, QStringLiteral("完了"));
    mainWindowToFront();
}

void ランダム入替(int n)
{
    Sw_中止 = false;
    確保完了 = true;
    DspSplash(QStringLiteral("ランダム入替・・準備中・・"));
    Before before;
    const bool ran = onReadTable([&](xl::Worksheet& sheet) {
        xlAppSwitch(false);
        xlSpeedRun(sheet.range(QStringLiteral("Time_Table")), firstDay(), Yasumi_Kigou);
        before.take();
        DspSplash(QStringLiteral("ランダム入替中"));
        ランダム入替処理(n);
        DspSplash(QStringLiteral("後処理中・・・・"));
        restSymbolsIntoEmptyCells(sheet);
        シート保護解除(&sheet);
        colourMacros();
        シート保護(&sheet);
    });
    if (!ran)
        return;
    resultLog(report(before, QStringLiteral("ランダム入替完了")));
}

void 勤務交換処理()
{
    ShiftBlock block;
    struct UnloadWindow {
        ~UnloadWindow() { optwin.unload(); }
    } unloadWindow;
    optwin.setMessage(QStringLiteral("最適化(勤務交換)中"));
    optwin.setRange(1, Member_Cnt);
    optwin.setValue(1);
    optwin.show();
    float score = 全分散計算();
    if (!Sw_中止) {
        showRepetition(QStringLiteral("最適化(勤務交換)中・・・"), 1, 1);
        for (int m = 1; m <= Member_Cnt && !Sw_中止; ++m) {
            optwin.setValue(m);
            for (int d = firstDay(); d <= Day_Cnt && !Sw_中止; ++d) {
                if (const std::optional<float> result = 交換試行(m, d, score, block)) {
                    score = *result;
                    showScore(score);
                }
                DoEvents();
            }
            block.write();
        }
    }
    DspSplash(QString());
}
