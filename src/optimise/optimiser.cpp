#include "optimise/optimiser.h"

#include "engine/model.h"
#include "engine/run_window.h"
#include "engine/rules.h"
#include "engine/swap_passes.h"
#include "engine/totals.h"
#include "optimise/adjust.h"
#include "optimise/score.h"
#include "optimise/shift_block.h"
#include "platform/text/vb.h"
#include "shell/do_events.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "shell/mymod.h"
#include "shell/status.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

void recalculate()
{
    if (xlSheet)
        xlSheet->calculate();
}

// The adjustment before a pass; its work-day standing (0: every target met).
int adjust()
{
    if (Sw_勤務日数調整) {
        DspSplash(QStringLiteral("勤務日数調整中"));
        struct CloseSplash {
            ~CloseSplash() { DspSplash(QString()); }
        } closeSplash;
        勤務日数調整処理(true);
        recalculate();
        const int result = 勤務日数調整処理(false);
        recalculate();
        return result;
    }
    if (Sw_勤務時間調整) {
        勤務時間調整処理(true);
        recalculate();
        const int result = 勤務時間調整処理(false);
        recalculate();
        return result;
    }
    return 0;
}

// Start_Day..dayCount, then 30 swaps of two positions drawn independently.
std::vector<int> shuffledDays(int dayCount)
{
    const int first = std::max(1, Start_Day);
    std::vector<int> order(size_t(std::max(dayCount, first) + 1), 0);
    for (int d = first; d <= dayCount; ++d)
        order[size_t(d)] = d;
    const int n = dayCount - first + 1;
    if (n < 1)
        return order;
    for (int i = 0; i < 30; ++i) {
        const int a = int(Int(double(MyRnd(1)) * n)) + first;
        const int b = int(Int(double(MyRnd(1)) * n)) + first;
        std::swap(order[size_t(a)], order[size_t(b)]);
    }
    return order;
}

QString scoreText(float score, const char* pattern)
{
    return Format(double(score), QString::fromLatin1(pattern));
}

}  // namespace

void xlAppSwitch(bool on)
{
    xlAppSetting(on, on, false);
    QCoreApplication::processEvents();
}

std::optional<float> 交換試行(int m, int day, float current, ShiftBlock& block)
{
    const QString flag = QStringLiteral("勤務日数判定要");
    float best = current;
    int partner = 0;
    // Two members with the same shift (or both resting) exchange nothing the score reads: every
    // such exchange scores as the table itself, so once that score is known and cannot win, they
    // need no check. Resting pairs are not even exchanged; working ones are, since their hours
    // go out and back in single precision.
    std::optional<float> unchanged;
    for (int j = m + 1; j <= Member_Cnt; ++j) {
        DoEvents();
        if (Sw_中止)
            break;
        const bool same = Time_Table(m, day) == Time_Table(j, day);
        const bool settled = same && unchanged && !(*unchanged < best);
        if (settled && Time_Table(m, day) == 0)
            continue;
        勤務変更(m, j, day);
        if (!settled && exchangeAllowed(flag, day, m, j)) {
            const float score = same && unchanged ? *unchanged : 全分散計算();
            if (same)
                unchanged = score;
            if (score < best) {
                best = score;
                partner = j;
            }
        }
        勤務変更(j, m, day);
    }
    if (!(best < current))
        return std::nullopt;
    勤務変更(m, partner, day);
    block.show(m, day);
    block.show(partner, day);
    return best;
}

float 最適化パス(int dayCount, float startScore)
{
    const bool shown = !Sw_バックグラウンド動作;
    if (shown) {
        optwin.setMessage(QStringLiteral("最適化しています・・"));
        optwin.setRange(0, std::max(dayCount, 1));
        optwin.show();
    }
    float running = startScore;
    連続休み解消();
    const std::vector<int> order = shuffledDays(dayCount);
    // Read after the rest-run pass, which writes its own cells.
    ShiftBlock block;
    for (int p = std::max(1, Start_Day); p <= dayCount; ++p) {
        DoEvents();
        if (Sw_中止)
            break;
        const int day = order[size_t(p)];
        for (int m = 1; m <= Member_Cnt; ++m) {
            DoEvents();
            if (const std::optional<float> result = 交換試行(m, day, running, block)) {
                running = *result;
                if (shown)
                    optwin.setScore(scoreText(running, "0.00"));
            }
        }
        if (shown)
            optwin.setValue(p);
    }
    block.write();
    const float rounded = float(Val(scoreText(running, "0.000")));
    DoEvents();
    return rounded;
}

void 最適化実行(long passLimit, int dayCount, float startScore)
{
    if (Sw_中止)
        return;
    const XlSwitchesGuard switches;
    struct UnloadWindow {
        ~UnloadWindow() { optwin.unload(); }
    } unloadWindow;
    xlAppSetting(true, false, false);
    const bool shown = !Sw_バックグラウンド動作;
    const float now = 全分散計算();
    if (shown) {
        optwin.setRange(0, int(passLimit * dayCount));
        optwin.setValue(0);
        optwin.show();
        optwin.setScore(scoreText(now, "0.000"));
    }
    // The limit grows while members stay off target; twice the request bounds it.
    const long cap = 2 * passLimit;
    float previous = startScore > 0 ? startScore : now;
    long pass = 0;
    bool go = true;
    do {
        if (確保完了 && 作成状態 != 1) {
            if (adjust() == 0) {
                作成状態 = 1;
            } else {
                if (passLimit < cap) {
                    ++passLimit;
                    if (shown)
                        optwin.setRange(0, int(passLimit * dayCount));
                }
                休み交換(20, 0, 0, false, 0);
            }
        }
        ++pass;
        const float score = 最適化パス(dayCount, previous);
        const float change = previous - score;
        if (std::fabs(double(change)) < 0.001)
            go = false;
        previous = score;
        if (Sw_中止)
            pass = passLimit;
        if (xlSheet)
            xlSheetCallRetry(*xlSheet);
    } while (pass < passLimit && go);
}
