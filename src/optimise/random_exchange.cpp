#include "optimise/random_exchange.h"

#include "engine/model.h"
#include "engine/run_window.h"
#include "engine/rules.h"
#include "engine/totals.h"
#include "optimise/decimal_align.h"
#include "optimise/score.h"
#include "optimise/shift_block.h"
#include "optimise/window_steps.h"
#include "platform/text/vb.h"
#include "shell/do_events.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "shell/mymod.h"
#include "shell/status.h"

#include <algorithm>

namespace {

void showScore()
{
    const double rounded = Val(Format(double(全分散計算()), QStringLiteral("0.0###")));
    optwin.setScore(小数点位置揃え(float(rounded), 3, 4));
}

int drawMember()
{
    return int(Int(double(MyRnd(1)) * Member_Cnt)) + 1;
}

// Member_Cnt draws on the day; false once Sw_中止 ended them.
bool shakeDay(int day, ShiftBlock& block)
{
    const QString flag = QStringLiteral("勤務日数判定要");
    for (int i = 1; i <= Member_Cnt; ++i) {
        if (Sw_中止)
            return false;
        DoEvents();
        const int a = drawMember();
        const int b = drawMember();
        if (a == b)
            continue;
        勤務変更(a, b, day);
        if (!exchangeAllowed(flag, day, a, b)) {
            勤務変更(b, a, day);
            continue;
        }
        block.show(a, day);
        block.show(b, day);
    }
    return !Sw_中止;
}

}  // namespace

void ランダム交換(int lastDay, int firstDay)
{
    if (lastDay <= firstDay)
        return;
    const int first = std::max({firstDay, Start_Day, 1});
    const int last = std::min(lastDay, Day_Cnt);
    // The range can be empty although lastDay > firstDay (a first day before Start_Day).
    if (first > last)
        return;
    ShiftBlock block;
    {
        struct UnloadWindow {
            ~UnloadWindow() { optwin.unload(); }
        } unloadWindow;
        optwin.setMessage(QStringLiteral("ランダム交換中"));
        showScore();
        optwin.setRange(1, last - first + 1);
        optwin.setValue(1);
        optwin.show();
        for (int day = first; day <= last; ++day) {
            const bool go = shakeDay(day, block);
            showScore();
            optwin.setValue(day - first + 1);
            optwin.show();
            if (!go)
                break;
        }
    }
    block.write();
}

void ランダム入替処理(int n)
{
    DspSplash(QStringLiteral("ランダム入替中"));
    // A stop raised before the rounds stays raised: only the run's own start clears it.
    const XlSwitchesGuard switches;
    xlAppSetting(true, false, false);
    for (int i = 1; i <= n; ++i) {
        DspSplash(QStringLiteral("ランダム入替中 %1/%2").arg(i).arg(n), 0, 0, 0, false, 170);
        ランダム交換(Day_Cnt, Start_Day);
        if (Sw_中止)
            break;
    }
    DspSplash(QStringLiteral("後処理中・・・・"));
    if (optimiserWindowSteps.raiseMainWindow)
        optimiserWindowSteps.raiseMainWindow();
}
