// The optimiser pass, its exchange trial, the driver and the random exchange: the score never
// rises, no rule breaks, the lowest partner wins a tie, a stop request ends a pass within one
// trial, and the spreadsheet's switches and the window are put back however a run ends.
#include "optimise_fixture.h"

#include "engine/convert.h"
#include "engine/model.h"
#include "engine/run_window.h"
#include "engine/rules.h"
#include "engine/totals.h"
#include "optimise/adjust.h"
#include "optimise/decimal_align.h"
#include "optimise/optimiser.h"
#include "optimise/random_exchange.h"
#include "optimise/score.h"
#include "optimise/shift_block.h"
#include "platform/text/vb.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "shell/myfunc_main.h"
#include "shell/status.h"
#include "workbook/template.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>

using validator::Rule;

namespace {

// Records what the window was asked to show; onApply may react (press "中止").
struct RecordingView : RunWindowView {
    std::vector<RunWindowState> states;
    std::function<void(const RunWindowState&)> onApply;
    void apply(const RunWindowState& s) override
    {
        states.push_back(s);
        if (onApply)
            onApply(s);
    }
    bool everLoaded() const
    {
        return std::any_of(states.begin(), states.end(), [](const auto& s) { return s.loaded; });
    }
};

const std::vector<Rule> kExchangeRules = optfx::exchangeRules();

class Optimiser : public optfx::ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        auto v = std::make_unique<RecordingView>();
        view = v.get();
        optwin.setView(std::move(v));
    }
    void TearDown() override
    {
        optwin.setView(nullptr);
        ModelTest::TearDown();
    }
    // Three members, four days of one shift type: member 1 works every day, 2 and 3 never, so
    // giving day d's shift to 2 or to 3 lowers the score alike.
    void tieModel()
    {
        xlBook = &workbook::createTemplate(XlApp(), QDate(2027, 1, 1));
        makeModel(3, 4, 1);
        荷重_各勤務日数_今期 = 1;
        row(1, QStringLiteral("日日日日"));
    }
    // A sample whose table the work-day adjustment filled from its reservations up to four days
    // short of each target (every rule of a single assignment kept, room left for exchanges),
    // from day 3 on, weighted so that the score has something to say. Such a table is short of
    // staff, so the required combinations, which would hold every exchange back, are dropped.
    bool filledSample(const char* file)
    {
        if (!load(file))
            return false;
        Start_Day = 3;
        連続休み上限 = 0;
        組合せ必須数 = 0;
        Randomize(17);
        std::vector<float> targets;
        for (int m = 1; m <= Member_Cnt; ++m) {
            targets.push_back(Member_DayOff(m));
            if (Member_DayOff(m) < Day_Cnt)
                Member_DayOff(m) = std::max(0.0f, Member_DayOff(m) - 4);
        }
        勤務日数調整処理(false);
        for (int m = 1; m <= Member_Cnt; ++m)
            Member_DayOff(m) = targets[size_t(m - 1)];
        荷重_各勤務日数_今期 = 10;
        荷重_休日勤務_今期 = 5;
        荷重_単勤総数_今期 = 1;
        荷重_単休総数_今期 = 1;
        return true;
    }
    RecordingView* view = nullptr;
};

TEST_F(Optimiser, AmongEqualScoresTheLowestPartnerWins)
{
    tieModel();
    ShiftBlock block;
    const float start = 全分散計算();
    const std::optional<float> result = 交換試行(1, 2, start, block);
    ASSERT_TRUE(result);
    EXPECT_LT(*result, start);
    EXPECT_EQ(*result, 全分散計算());
    EXPECT_EQ(Time_Table(2, 2), 1);
    EXPECT_EQ(Time_Table(3, 2), 0);
    block.write();
    EXPECT_EQ(optfx::sheetCell(2, 2), QStringLiteral("日"));
    EXPECT_EQ(optfx::sheetCell(1, 2), QString());

    // Exchanging two resting members leaves the score as it is: not applied. The last member has
    // no later partner.
    const std::vector<int> table = optfx::snapshot();
    EXPECT_FALSE(交換試行(2, 1, 全分散計算(), block));
    EXPECT_FALSE(交換試行(3, 1, 全分散計算(), block));
    EXPECT_EQ(optfx::changedCells(table), 0);
}

// Blocks that follow one another hand the grid on without reading the sheet again; whatever else
// wrote to the workbook in between is seen by the next block, and a block open while another
// write happened writes all of itself, as one whole assignment would.
TEST_F(Optimiser, BlocksHandTheGridOnOnlyWhileNothingElseWrote)
{
    tieModel();
    const xl::Range grid = xlBook->worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_Table"));
    auto showAndWrite = [](int m, int d, int shift) {
        ShiftBlock block;
        Time_Table(m, d) = shift;
        block.show(m, d);
        block.write();
    };
    showAndWrite(1, 1, 1);
    showAndWrite(3, 4, 0);
    grid.cells(3, 4).setValue(QStringLiteral("X"));   // another writer
    showAndWrite(3, 4, 0);
    EXPECT_EQ(optfx::sheetCell(3, 4), QString());

    勤務変更(1, 3, 3);
    勤務セル表示(1, 3, 3);
    EXPECT_EQ(optfx::sheetCell(3, 3), QStringLiteral("日"));
    showAndWrite(3, 3, 0);
    EXPECT_EQ(optfx::sheetCell(3, 3), QString());

    ShiftBlock open;
    grid.cells(1, 1).setValue(QStringLiteral("Y"));
    Time_Table(2, 2) = 1;
    open.show(2, 2);
    open.write();
    EXPECT_EQ(optfx::sheetCell(1, 1), QStringLiteral("日"));
    EXPECT_EQ(optfx::sheetCell(2, 2), QStringLiteral("日"));
}

TEST_F(Optimiser, AStopRequestEndsThePassWithinOneTrial)
{
    tieModel();
    const std::vector<int> table = optfx::snapshot();
    // "中止" is pressed as soon as the first applied exchange shows its score.
    view->onApply = [](const RunWindowState& s) {
        if (!s.score.isEmpty())
            Sw_中止 = true;
    };
    最適化パス(Day_Cnt, 全分散計算());
    EXPECT_EQ(optfx::changedCells(table), 2);

    // Set before the driver starts: no window, no change.
    view->states.clear();
    const std::vector<int> now = optfx::snapshot();
    最適化実行(3, Day_Cnt, 0);
    EXPECT_FALSE(view->everLoaded());
    EXPECT_EQ(optfx::changedCells(now), 0);
}

TEST_F(Optimiser, TheDriverPutsSwitchesAndWindowBackOnEveryExit)
{
    tieModel();
    xlAppSetting(true, true, true);
    最適化実行(3, Day_Cnt, 0);
    EXPECT_TRUE(view->everLoaded());
    EXPECT_FALSE(optwin.state().loaded);
    EXPECT_TRUE(XlApp().screenUpdating());
    EXPECT_EQ(XlApp().calculation(), xl::kCalculationAutomatic);
    EXPECT_TRUE(XlApp().enableEvents());
    // Member 1's four shifts spread over the three members as far as they go.
    EXPECT_LT(全分散計算(), 0.5f);

    // A workbook without the shift grid: the error reaches the caller, nothing stays switched off.
    xlBook->worksheets(QStringLiteral("人員配置表")).setName(QStringLiteral("別名"));
    Time_Table(1, 1) = 0;
    EXPECT_THROW(最適化実行(3, Day_Cnt, 0), xl::Error);
    EXPECT_FALSE(optwin.state().loaded);
    EXPECT_TRUE(XlApp().enableEvents());
    EXPECT_EQ(XlApp().calculation(), xl::kCalculationAutomatic);
}

class OptimiserSamples : public Optimiser, public ::testing::WithParamInterface<const char*> {};

TEST_P(OptimiserSamples, PassesNeverRaiseTheScoreNorBreakARule)
{
    ASSERT_TRUE(filledSample(GetParam()));
    const auto before = validator::only(validator::check(), kExchangeRules);
    const std::vector<int> table = optfx::snapshot();
    float score = 全分散計算();
    const float first = score;
    for (int pass = 1; pass <= 2; ++pass) {
        const float next = 最適化パス(Day_Cnt, score);
        EXPECT_LE(next, score + 0.0005f) << "pass " << pass;
        EXPECT_NEAR(全分散計算(), next, 0.0005f);
        EXPECT_EQ(validator::describe(optfx::newViolations(before, kExchangeRules)).toStdString(), "");
        score = next;
    }
    EXPECT_LT(score, first) << GetParam();
    EXPECT_TRUE(optfx::earlyDaysEqual(table));
    for (int m = 1; m <= Member_Cnt; ++m)
        for (int d = Start_Day; d <= Day_Cnt; ++d)
            if (Time_Table(m, d) != table[size_t((m - 1) * (Day_Cnt + 1) + d)]) {
                EXPECT_EQ(optfx::sheetCell(m, d), TypeText2(Time_Table(m, d)));
            }
}

// A trial picks what trying every partner in turn picks: the first lowest score among the allowed
// exchanges, starting from the table's own score and from a running score rounded up.
TEST_P(OptimiserSamples, TrialsPickWhatTryingEveryPartnerPicks)
{
    ASSERT_TRUE(filledSample(GetParam()));
    ShiftBlock block;
    const QString flag = QStringLiteral("勤務日数判定要");
    for (int k = 0; k < 60; ++k) {
        const int m = 1 + k % Member_Cnt, day = Start_Day + (k * 7) % (Day_Cnt - Start_Day + 1);
        const float start = 全分散計算();
        const float current = k % 2 ? start : float(std::ceil(double(start) * 1000) / 1000);
        float best = current;
        int partner = 0;
        for (int j = m + 1; j <= Member_Cnt; ++j) {
            勤務変更(m, j, day);
            if (exchangeAllowed(flag, day, m, j) && 全分散計算() < best) {
                best = 全分散計算();
                partner = j;
            }
            勤務変更(j, m, day);
        }
        const std::vector<int> before = optfx::snapshot();
        const std::optional<float> result = 交換試行(m, day, current, block);
        ASSERT_EQ(result.has_value(), partner > 0) << m << " " << day;
        if (!result) {
            EXPECT_EQ(optfx::changedCells(before), 0);
            continue;
        }
        EXPECT_EQ(std::bit_cast<std::uint32_t>(*result), std::bit_cast<std::uint32_t>(best));
        EXPECT_EQ(Time_Table(partner, day), before[size_t((m - 1) * (Day_Cnt + 1) + day)]);
    }
}

TEST_P(OptimiserSamples, RandomExchangeKeepsTheRulesAndRepeatsWithTheSeed)
{
    std::vector<int> first;
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(filledSample(GetParam()));
        const auto before = validator::only(validator::check(), kExchangeRules);
        const std::vector<int> table = optfx::snapshot();
        Randomize(5);
        ランダム交換(Day_Cnt, 1);
        EXPECT_GT(optfx::changedCells(table), 0);
        EXPECT_TRUE(optfx::earlyDaysEqual(table));
        EXPECT_EQ(validator::describe(optfx::newViolations(before, kExchangeRules)).toStdString(), "");
        for (int m = 1; m <= Member_Cnt; ++m) {
            int days = 0;
            for (int d = 1; d <= Day_Cnt; ++d)
                days += Time_Table(m, d) != 0;
            EXPECT_EQ(Member_WorkDays(m), days);
        }
        if (round == 0)
            first = optfx::snapshot();
        else
            EXPECT_EQ(optfx::snapshot(), first);
    }
    EXPECT_FALSE(optwin.state().loaded);
}

TEST_P(OptimiserSamples, TheDriverAdjustsWorkDaysFirstWhileTargetsAreOpen)
{
    ASSERT_TRUE(filledSample(GetParam()));
    const auto before = validator::only(validator::check(), kExchangeRules);
    float workDays = 0;
    for (int m = 1; m <= Member_Cnt; ++m)
        workDays += Member_WorkDays(m);
    確保完了 = true;
    作成状態 = 0;
    最適化実行(2, Day_Cnt, 0);
    float now = 0;
    for (int m = 1; m <= Member_Cnt; ++m)
        now += Member_WorkDays(m);
    EXPECT_GT(now, workDays);
    QString text;
    EXPECT_EQ(作成状態 == 1, 出勤日数過不足一覧(text) == 0);
    EXPECT_EQ(validator::describe(optfx::newViolations(before, kExchangeRules)).toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Samples, OptimiserSamples, ::testing::Values(kGeneral, kCare, kLarge));

TEST_F(Optimiser, RandomExchangeWithoutADayToChange)
{
    ASSERT_TRUE(load(kGeneral));
    const std::vector<int> table = optfx::snapshot();
    ランダム交換(5, 5);
    Start_Day = 10;
    ランダム交換(6, 1);  // every day of the range lies before Start_Day
    EXPECT_FALSE(view->everLoaded());
    EXPECT_EQ(optfx::changedCells(table), 0);
}

TEST_F(Optimiser, RandomRoundsKeepAStopAndPutTheSwitchesBack)
{
    ASSERT_TRUE(filledSample(kGeneral));
    const std::vector<int> table = optfx::snapshot();
    Sw_中止 = true;
    xlAppSetting(true, true, true);
    ランダム入替処理(2);
    EXPECT_TRUE(Sw_中止);
    EXPECT_EQ(optfx::changedCells(table), 0);
    EXPECT_EQ(XlApp().calculation(), xl::kCalculationAutomatic);

    Sw_中止 = false;
    ランダム入替処理(2);
    EXPECT_GT(optfx::changedCells(table), 0);
    EXPECT_EQ(splashState().message, QStringLiteral("後処理中・・・・"));
    EXPECT_EQ(XlApp().calculation(), xl::kCalculationAutomatic);
    EXPECT_TRUE(XlApp().enableEvents());
}

TEST(DecimalAlign, IntegerPartRightAlignedNeverCutDecimalsCut)
{
    EXPECT_EQ(小数点位置揃え(12.5f, 3, 4), QStringLiteral(" 12.5   "));
    EXPECT_EQ(小数点位置揃え(3.0f, 3, 4), QStringLiteral("  3.0   "));
    EXPECT_EQ(小数点位置揃え(1234.56789f, 3, 4), QStringLiteral("1234.568 "));
    EXPECT_EQ(小数点位置揃え(0.123456f, 3, 4), QStringLiteral("  0.1234"));
}

}  // namespace
