#include "engine/swap_passes.h"

#include "engine/model.h"
#include "engine/optimiser_steps.h"
#include "engine/run_window.h"
#include "engine/rules.h"
#include "engine/totals.h"
#include "platform/text/vb.h"
#include "shell/do_events.h"
#include "shell/globals.h"
#include "shell/mymod.h"
#include "shell/required_step.h"

#include <algorithm>
#include <cmath>

namespace {

int firstDay()
{
    return std::max(1, Start_Day);
}

// Exchanges the cells of a and b on days d and e; the same call undoes it.
void exchangeTwoDays(int a, int b, int d, int e)
{
    勤務変更(a, b, d);
    勤務変更(a, b, e);
}

bool allowed(const QString& flag, int day, int a, int b)
{
    return exchangeAllowed(flag, day, a, b);
}

// The first partner and day that break a's rest run through d; true when an exchange stayed.
bool breakRestRun(int a, int d)
{
    for (int b = 1; b <= Member_Cnt; ++b) {
        const int shift = Time_Table(b, d);
        if (b == a || shift == 0)
            continue;
        for (int e = firstDay(); e <= Day_Cnt; ++e) {
            if (e == d || Time_Table(a, e) != shift || Time_Table(b, e) != 0)
                continue;
            exchangeTwoDays(a, b, d, e);
            // Both checks run in full: a's new rest day e and b's new rest day d are held to the
            // limit alike, so the run is not merely handed on to b.
            const bool onE = allowed(QString(), e, a, b);
            const bool onD = allowed(QString(), d, a, b);
            if (onE && onD) {
                勤務セル表示(a, b, d);
                勤務セル表示(a, b, e);
                return true;
            }
            exchangeTwoDays(a, b, d, e);
        }
    }
    return false;
}

}  // namespace

void 連続休み解消()
{
    if (連続休み上限 < 1)
        return;
    for (int d = firstDay(); d <= Day_Cnt; ++d) {
        for (int a = 1; a <= Member_Cnt; ++a) {
            if (Time_Table(a, d) == 0 && 連続休み日数(a, d) > 連続休み上限)
                breakRestRun(a, d);
            DoEvents();
            if (Sw_中止)
                return;
        }
    }
}

float 休み交換_個人(int a, int d, bool scoreMode, float& best)
{
    if (Time_Table(a, d) != 0 || Sw_中止)
        return best;
    const QString flag = QStringLiteral("勤務日数判定要");
    for (int b = 1; b <= Member_Cnt; ++b) {
        if (b == a || Time_Table(b, d) == 0)
            continue;
        for (int e = firstDay(); e <= Day_Cnt; ++e) {
            DoEvents();
            if (e == d || Time_Table(a, e) == 0 || Time_Table(b, e) != 0)
                continue;
            exchangeTwoDays(a, b, d, e);
            bool keep = allowed(flag, d, a, b) && allowed(flag, e, a, b);
            if (keep && scoreMode) {
                const float s = std::nearbyint(required(optimiserSteps.全分散計算, "全分散計算")());
                keep = s < best;
                if (keep)
                    best = s;
            }
            if (!keep) {
                exchangeTwoDays(a, b, d, e);
                continue;
            }
            勤務セル表示(a, b, d);
            勤務セル表示(a, b, e);
            // a works on d now: a further trial would trade work for work on d and cost a a
            // work day, so the search for a's rest day d ends here.
            return best;
        }
    }
    return best;
}

float 休み交換(int n, int member, int day, bool scoreMode, float best)
{
    if (!Sw_バックグラウンド動作)
        optwin.setMessage(QStringLiteral("休み交換・・"));
    for (int r = 1; r <= n && !Sw_中止; ++r) {
        if (member != 0) {
            休み交換_個人(member, day, scoreMode, best);
            continue;
        }
        const int m = int(Int(Member_Cnt * double(MyRnd(1)) + 1));
        for (int d = firstDay(); d <= Day_Cnt && !Sw_中止; ++d) {
            DoEvents();
            休み交換_個人(m, d, scoreMode, best);
        }
    }
    return best;
}
