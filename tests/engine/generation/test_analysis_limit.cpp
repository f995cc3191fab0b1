#include "engine/analysis.h"
#include "engine/model.h"
#include "engine/state.h"
#include "engine/time_limit.h"
#include "manual_clock.h"
#include "shell/globals.h"

#include <QDir>
#include <QString>
#include <gtest/gtest.h>

namespace {

AnalysisFigures figures(long need, double supply, double weeklyRate = 0)
{
    AnalysisFigures f;
    f.要求人員総数 = need;
    f.動員可能人日 = supply;
    f.要求率 = double(need) / supply;
    f.weeklyShown = weeklyRate > 0;
    f.週間要求率 = weeklyRate;
    return f;
}

}  // namespace

// The thresholds are strict (exactly 100 % is only borderline, exactly 97 % is fine); the default
// answer is stop once either rate is above 100 %; the more serious verdict is the one shown.
TEST(Analysis, Verdicts)
{
    AnalysisVerdict j = judgeAnalysis(figures(600, 600));
    EXPECT_EQ(rateText(1.0), QStringLiteral("100%"));
    EXPECT_EQ(j.rateColour, kAnalysisPurple);
    EXPECT_EQ(j.defaultAnswer, 0);
    EXPECT_EQ(j.answerHint, QStringLiteral("開始まで "));
    EXPECT_TRUE(judgeAnalysis(figures(582, 600)).判定.isEmpty());

    j = judgeAnalysis(figures(590, 600));
    EXPECT_EQ(j.rateColour, kAnalysisPurple);
    EXPECT_TRUE(j.判定.endsWith(QStringLiteral("作成は微妙！")));
    EXPECT_EQ(j.defaultAnswer, 0);

    j = judgeAnalysis(figures(601, 600));
    EXPECT_EQ(j.rateColour, kAnalysisRed);
    EXPECT_EQ(j.判定, QStringLiteral("要求率が100%を超えているため、作成は失敗します！"));
    EXPECT_EQ(j.defaultAnswer, 1);
    EXPECT_EQ(j.answerHint, QStringLiteral("中止まで "));

    j = judgeAnalysis(figures(500, 600, 1.01));
    EXPECT_EQ(j.判定, QStringLiteral("週間勤務日数上限からの要求率が100%を超えているため、作成は失敗します！"));
    EXPECT_EQ(j.weeklyRateColour, kAnalysisRed);
    EXPECT_EQ(j.defaultAnswer, 1);

    j = judgeAnalysis(figures(601, 600, 0.98));
    EXPECT_EQ(j.判定, QStringLiteral("要求率が100%を超えているため、作成は失敗します！"));
    EXPECT_EQ(j.verdictColour, kAnalysisRed);
}

// A member without a work-day target supplies nothing; a month nobody may work is a failure, not
// a division by zero; the weekly figures only while the weekly limit is in force.
TEST(Analysis, Figures)
{
    resetEngineState();
    AppPath = QDir::homePath();  // the boot log goes to the test's own home
    Member_Cnt = 3;
    Day_Cnt = 10;
    Type_Cnt = 2;
    テーブル再定義();
    Member_DayOff(1) = 6;
    Member_DayOff(2) = 0;
    Member_DayOff(3) = 1;
    Need_Table(1, 1) = 4;
    Need_Table(2, 10) = 3;
    Member_Scdl(2, 4) = 1023;
    AnalysisFigures f = computeAnalysisFigures();
    EXPECT_EQ(f.要求人員総数, 7);
    EXPECT_EQ(f.動員可能人日, 7.0);
    EXPECT_EQ(f.既定休み総数, 4.0 + 10.0 + 9.0);
    EXPECT_EQ(f.要求休み総数, 1.0);
    EXPECT_EQ(f.週間動員可能人日, -1.0);
    EXPECT_FALSE(f.weeklyShown);

    基点曜日 = 1;
    週間勤務日数上限 = 5;
    Member_DayOff(1) = 0;
    Member_DayOff(3) = 0;
    f = computeAnalysisFigures();
    EXPECT_TRUE(f.weeklyShown);
    EXPECT_DOUBLE_EQ(f.週間要求率, 7.0 / (5.0 / 7.0 * 30));
    EXPECT_EQ(judgeAnalysis(f).defaultAnswer, 1);
    EXPECT_EQ(rateText(f.要求率), QStringLiteral("∞%"));
    resetEngineState();
}

// What is left of the limit, to the millisecond: exactly at the limit there is time left, a
// fraction of a minute counts, no limit set means the default ten minutes, and the stop is raised
// once.
TEST(TimeLimit, RemainingTime)
{
    EXPECT_EQ(remainingText(timeRemainingMs(10, 210000)), QStringLiteral("6:30"));
    EXPECT_EQ(timeRemainingMs(10, 600000), 0);
    EXPECT_EQ(remainingText(timeRemainingMs(10, 600001)), QStringLiteral("0:00"));
    EXPECT_EQ(timeRemainingMs(0.4, 0), 24000);
    EXPECT_EQ(timeRemainingMs(2.5, 0), 150000);
    // A limit beyond what the clock counts, up to the largest a Single holds, never runs out.
    for (const double huge : {1e20, 3.4028234663852886e38})
        EXPECT_GT(timeRemainingMs(huge, 600000), qint64(1) << 60) << huge;

    resetEngineState();
    ManualClock clock;
    作成開始時刻 = 0;
    clock.advance(600000);
    EXPECT_FALSE(checkTimeLimit());
    EXPECT_FALSE(Sw_中止);
    clock.advance(1);
    EXPECT_TRUE(checkTimeLimit());
    EXPECT_TRUE(Sw_中止);
    EXPECT_FALSE(checkTimeLimit());
    LimitTime = 2.5f;
    EXPECT_EQ(timeLimitMessage(), QStringLiteral("制限時間の2.5分が過ぎました！\r\n処理を中止します。"));
    resetEngineState();
}
