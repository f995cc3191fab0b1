#include "engine/analysis.h"

#include "engine/convert.h"
#include "engine/day_placement.h"
#include "engine/model.h"
#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

enum Severity { None, Marginal, Failing };

Severity severity(double rate)
{
    return rate > 1.0 ? Failing : rate > 0.97 ? Marginal : None;
}

long colourOf(Severity s)
{
    return s == Failing ? kAnalysisRed : s == Marginal ? kAnalysisPurple : kAnalysisBlue;
}

QString verdictText(Severity s, bool weekly)
{
    if (s == None)
        return {};
    const QString head = weekly ? QStringLiteral("週間勤務日数上限からの要求率") : QStringLiteral("要求率");
    return s == Failing ? head + QStringLiteral("が100%を超えているため、作成は失敗します！")
                     : head + QStringLiteral("が97%を超えているため、作成は微妙！");
}

}  // namespace

AnalysisFigures computeAnalysisFigures()
{
    AnalysisFigures f;
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
    f.weeklyShown = f.要求人員総数 > 0 && f.週間動員可能人日 > 0;
    if (f.weeklyShown)
        f.週間要求率 = double(f.要求人員総数) / f.週間動員可能人日;
    f.固定セル矛盾 = fixedConflictLines();
    return f;
}

AnalysisVerdict judgeAnalysis(const AnalysisFigures& f)
{
    AnalysisVerdict j;
    const Severity overall = severity(f.要求率);
    const Severity weekly = f.weeklyShown ? severity(f.週間要求率) : None;
    j.rateColour = colourOf(overall);
    j.weeklyRateColour = colourOf(weekly);
    const bool showWeekly = weekly != None && weekly >= overall;
    j.判定 = showWeekly ? verdictText(weekly, true) : verdictText(overall, false);
    j.verdictColour = colourOf(std::max(overall, weekly));
    const bool stop = overall == Failing || weekly == Failing;
    j.defaultAnswer = stop ? 1 : 0;
    j.answerHint = stop ? QStringLiteral("中止まで ") : QStringLiteral("開始まで ");
    return j;
}

QString rateText(double rate)
{
    return std::isfinite(rate) ? Format(rate, QStringLiteral("0%")) : QStringLiteral("∞%");
}

QString fixedConflictHeading()
{
    return QStringLiteral("予約・前月・不可条件だけで守れない条件（この部分はそのまま作成します）：");
}

bool 勤務条件分析()
{
    const AnalysisFigures f = computeAnalysisFigures();
    const AnalysisVerdict j = judgeAnalysis(f);
    分析結果_Ans = j.defaultAnswer;
    QString text = j.判定;
    if (!f.固定セル矛盾.isEmpty())
        text += (text.isEmpty() ? QString() : kCrLf) + fixedConflictHeading() + kCrLf + f.固定セル矛盾;
    const ui::MessageRequest request{text, ui::vbOKCancel, QStringLiteral("frm分析結果"), ui::Kind::Dialog};
    const ui::Answer a = ui::ask(request, [&] {
        return ui::Answer{analysisDialog ? analysisDialog(f, j) : j.defaultAnswer, {}};
    });
    分析結果_Ans = a.result == 1 ? 1 : 0;
    return 分析結果_Ans == 1;
}
