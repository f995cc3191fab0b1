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

分析数値 figures(long need, double supply, double weeklyRate = 0)
{
    分析数値 f;
    f.要求人員総数 = need;
    f.動員可能人日 = supply;
    f.要求率 = double(need) / supply;
    f.週間表示 = weeklyRate > 0;
    f.週間要求率 = weeklyRate;
    return f;
}

}  // namespace

// The thresholds are strict (exactly 100 % is only borderline, exactly 97 % is fine); the default
// answer is stop once either rate is above 100 %; the more serious verdict is the one shown.
TEST(Analysis, Verdicts)
{
    分析判定 j = 分析結果判定(figures(600, 600));
    EXPECT_EQ(率表示(1.0), QStringLiteral("100%"));
    EXPECT_EQ(j.要求率色, 分析_紫);
    EXPECT_EQ(j.既定回答, 0);
    EXPECT_EQ(j.回答案内, QStringLiteral("開始まで "));
    EXPECT_TRUE(分析結果判定(figures(582, 600)).判定.isEmpty());

    j = 分析結果判定(figures(590, 600));
    EXPECT_EQ(j.要求率色, 分析_紫);
    EXPECT_TRUE(j.判定.endsWith(QStringLiteral("作成は微妙！")));
    EXPECT_EQ(j.既定回答, 0);

    j = 分析結果判定(figures(601, 600));
    EXPECT_EQ(j.要求率色, 分析_赤);
    EXPECT_EQ(j.判定, QStringLiteral("要求率が100%を超えているため、作成は失敗します！"));
    EXPECT_EQ(j.既定回答, 1);
    EXPECT_EQ(j.回答案内, QStringLiteral("中止まで "));

    j = 分析結果判定(figures(500, 600, 1.01));
    EXPECT_EQ(j.判定, QStringLiteral("週間勤務日数上限からの要求率が100%を超えているため、作成は失敗します！"));
    EXPECT_EQ(j.週間要求率色, 分析_赤);
    EXPECT_EQ(j.既定回答, 1);

    j = 分析結果判定(figures(601, 600, 0.98));
    EXPECT_EQ(j.判定, QStringLiteral("要求率が100%を超えているため、作成は失敗します！"));
    EXPECT_EQ(j.判定色, 分析_赤);
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
    分析数値 f = 分析数値計算();
    EXPECT_EQ(f.要求人員総数, 7);
    EXPECT_EQ(f.動員可能人日, 7.0);
    EXPECT_EQ(f.既定休み総数, 4.0 + 10.0 + 9.0);
    EXPECT_EQ(f.要求休み総数, 1.0);
    EXPECT_EQ(f.週間動員可能人日, -1.0);
    EXPECT_FALSE(f.週間表示);

    基点曜日 = 1;
    週間勤務日数上限 = 5;
    Member_DayOff(1) = 0;
    Member_DayOff(3) = 0;
    f = 分析数値計算();
    EXPECT_TRUE(f.週間表示);
    EXPECT_DOUBLE_EQ(f.週間要求率, 7.0 / (5.0 / 7.0 * 30));
    EXPECT_EQ(分析結果判定(f).既定回答, 1);
    EXPECT_EQ(率表示(f.要求率), QStringLiteral("∞%"));
    resetEngineState();
}

// What is left of the limit, to the millisecond: exactly at the limit there is time left, a
// fraction of a minute counts, no limit set means the default ten minutes, and the stop is raised
// once.
TEST(TimeLimit, RemainingTime)
{
    EXPECT_EQ(残分表示(残り時間(10, 210000)), QStringLiteral("6:30"));
    EXPECT_EQ(残り時間(10, 600000), 0);
    EXPECT_EQ(残分表示(残り時間(10, 600001)), QStringLiteral("0:00"));
    EXPECT_EQ(残り時間(0.4, 0), 24000);
    EXPECT_EQ(残り時間(2.5, 0), 150000);

    resetEngineState();
    ManualClock clock;
    作成開始時刻 = 0;
    clock.advance(600000);
    EXPECT_FALSE(制限時間判定());
    EXPECT_FALSE(Sw_中止);
    clock.advance(1);
    EXPECT_TRUE(制限時間判定());
    EXPECT_TRUE(Sw_中止);
    EXPECT_FALSE(制限時間判定());
    LimitTime = 2.5f;
    EXPECT_EQ(制限時間超過メッセージ(), QStringLiteral("制限時間の2.5分が過ぎました！\r\n処理を中止します。"));
    resetEngineState();
}
