#include "engine/analysis.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

enum 深刻度 { なし, 微妙, 失敗 };

深刻度 severity(double rate)
{
    return rate > 1.0 ? 失敗 : rate > 0.97 ? 微妙 : なし;
}

long colourOf(深刻度 s)
{
    return s == 失敗 ? 分析_赤 : s == 微妙 ? 分析_紫 : 分析_青;
}

QString verdictText(深刻度 s, bool weekly)
{
    if (s == なし)
        return {};
    const QString head = weekly ? QStringLiteral("週間勤務日数上限からの要求率") : QStringLiteral("要求率");
    return s == 失敗 ? head + QStringLiteral("が100%を超えているため、作成は失敗します！")
                     : head + QStringLiteral("が97%を超えているため、作成は微妙！");
}

}  // namespace

分析数値 分析数値計算()
{
    分析数値 f;
    for (int d = 1; d <= Day_Cnt; ++d)
        for (int t = 1; t <= Type_Cnt; ++t)
            f.要求人員総数 += Need_Table(t, d);
    for (int m = 1; m <= Member_Cnt; ++m) {
        for (int d = 1; d <= Day_Cnt; ++d)
            if ((Member_Scdl(m, d) & 1023) == 1023)
                f.要求休み総数 += 1;
        const int k = MemDayOffInt(m);
        f.既定休み総数 += Day_Cnt - k;
        // A member with no work-day target gives no staff-days.
        f.動員可能人日 += std::max(0, k);
    }
    if (f.要求人員総数 > 0)
        f.要求率 = f.動員可能人日 > 0 ? double(f.要求人員総数) / f.動員可能人日 : std::numeric_limits<double>::infinity();
    if (基点曜日 > 0 && 週間勤務日数上限 > 0)
        f.週間動員可能人日 = double(週間勤務日数上限) / 7.0 * Member_Cnt * Day_Cnt;
    f.週間表示 = f.要求人員総数 > 0 && f.週間動員可能人日 > 0;
    if (f.週間表示)
        f.週間要求率 = double(f.要求人員総数) / f.週間動員可能人日;
    return f;
}

分析判定 分析結果判定(const 分析数値& f)
{
    分析判定 j;
    const 深刻度 overall = severity(f.要求率);
    const 深刻度 weekly = f.週間表示 ? severity(f.週間要求率) : なし;
    j.要求率色 = colourOf(overall);
    j.週間要求率色 = colourOf(weekly);
    const bool showWeekly = weekly != なし && weekly >= overall;
    j.判定 = showWeekly ? verdictText(weekly, true) : verdictText(overall, false);
    j.判定色 = colourOf(std::max(overall, weekly));
    const bool stop = overall == 失敗 || weekly == 失敗;
    j.既定回答 = stop ? 1 : 0;
    j.回答案内 = stop ? QStringLiteral("中止まで ") : QStringLiteral("開始まで ");
    return j;
}

QString 率表示(double rate)
{
    return std::isfinite(rate) ? Format(rate, QStringLiteral("0%")) : QStringLiteral("∞%");
}

bool 勤務条件分析()
{
    const 分析数値 f = 分析数値計算();
    const 分析判定 j = 分析結果判定(f);
    分析結果_Ans = j.既定回答;
    const ui::MessageRequest request{j.判定, ui::vbOKCancel, QStringLiteral("frm分析結果"), ui::Kind::Dialog};
    const ui::Answer a = ui::ask(request, [&] {
        return ui::Answer{分析結果ダイアログ ? 分析結果ダイアログ(f, j) : j.既定回答, {}};
    });
    分析結果_Ans = a.result == 1 ? 1 : 0;
    return 分析結果_Ans == 1;
}
