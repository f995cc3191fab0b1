// The start conditions: what the dialog shows, what it refuses, what applying writes.
#include "conditions_fixture.h"

#include "engine/conditions.h"
#include "engine/start_conditions.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "workbook/macros.h"

using condfx::ConditionTest;

namespace {

const QString kMain = QStringLiteral("Main");

QVariant mainCell(ConditionTest& t, const char* name)
{
    return t.named(kMain, QString::fromUtf8(name)).value();
}

QVariant weightCell(int i)
{
    return XlApp().range(QStringLiteral("最適化比重")).cells(1, i).value();
}

class StartConditionTest : public ConditionTest {
public:
    void SetUp() override
    {
        ConditionTest::SetUp();
        open(kGeneral);
        ASSERT_TRUE(基本情報読込());
    }
    // The values the sample shows, changed to a valid leap day.
    StartConditions valid()
    {
        StartConditions c = readStartConditions();
        c.年 = QStringLiteral("2024");
        c.月 = QStringLiteral("2");
        c.日 = QStringLiteral("29");
        c.基準開始日 = QStringLiteral("21");
        c.試行回数 = QStringLiteral("7");
        c.制限時間 = QStringLiteral("0.4");
        c.weights[1] = QStringLiteral("1.5");
        c.weights[kRestWeight] = QStringLiteral("2");
        return c;
    }
};

TEST_F(StartConditionTest, RefusedValuesWriteNothing)
{
    struct Case {
        void (*change)(StartConditions&);
        const char* text;
        const char* title;
    };
    const Case cases[] = {
        {[](StartConditions& c) { c.制限時間 = QStringLiteral("0"); }, "制限時間の入力値不正", "入力エラー"},
        {[](StartConditions& c) { c.制限時間 = QStringLiteral("-5"); }, "制限時間の入力値不正", "入力エラー"},
        {[](StartConditions& c) { c.制限時間 = QStringLiteral("abc"); }, "制限時間の入力値不正", "入力エラー"},
        // LimitTime is a Single: beyond its largest value the limit would be infinite.
        {[](StartConditions& c) { c.制限時間 = QStringLiteral("1e39"); }, "制限時間の入力値不正", "入力エラー"},
        {[](StartConditions& c) { c.試行回数 = QStringLiteral("abc"); }, "試行回数の入力値不正", "入力エラー"},
        {[](StartConditions& c) { c.日 = QStringLiteral("30"); }, "日付の入力に誤りがあります", "入力不正"},
        {[](StartConditions& c) { c.日 = QStringLiteral("x"); }, "日付の入力に誤りがあります", "入力不正"},
        {[](StartConditions& c) { c.基準開始日 = QStringLiteral("abc"); }, "基準開始日の入力値不正", "入力エラー"},
        {[](StartConditions& c) { c.基準開始日 = QStringLiteral("32"); }, "基準開始日の入力値不正", "入力エラー"},
        {[](StartConditions& c) { c.weights[2] = QStringLiteral("x"); }, "最適化比重の入力値不正（準）", "入力エラー"},
        {[](StartConditions& c) { c.weights[kRestWeight] = QStringLiteral("-1"); }, "最適化比重の入力値不正（休み）", "入力エラー"},
    };
    const QVariant year = mainCell(*this, "年");
    for (const Case& k : cases) {
        StartConditions c = valid();
        k.change(c);
        ui::resetMessages();
        bool accepted = false;
        EXPECT_FALSE(開始条件設定(c, [&] { accepted = true; })) << k.text;
        EXPECT_FALSE(accepted);
        EXPECT_EQ(lastText(), QString::fromUtf8(k.text));
        EXPECT_EQ(lastTitle(), QString::fromUtf8(k.title));
        EXPECT_EQ(mainCell(*this, "年"), year);
        EXPECT_EQ(作成年, 2027);
    }
}

TEST_F(StartConditionTest, ApplyingWritesTheStartConditionsAndReloadsLastMonth)
{
    int reloads = 0;
    xlBook->registerMacro(workbook::kMacroModule, QStringLiteral("先月データ読込み"), [&](xl::Workbook&) {
        ++reloads;
        return QVariant();
    });
    named(QStringLiteral("人員配置表"), QStringLiteral("過去累計使用")).setValue(true);
    ASSERT_TRUE(開始条件設定(valid()));
    EXPECT_TRUE(ui::shownMessages().empty());
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ((QList<long>{作成年, 作成月, 作成開始日, 基準開始日}), (QList<long>{2024, 2, 29, 21}));
    EXPECT_FLOAT_EQ(LimitTime, 0.4f);
    EXPECT_EQ(mainCell(*this, "年").toDouble(), 2024);
    EXPECT_EQ(mainCell(*this, "基準開始日").toDouble(), 21);
    EXPECT_EQ(mainCell(*this, "試行回数").toDouble(), 50);
    EXPECT_EQ(mainCell(*this, "制限時間").toDouble(), 0.4);
    EXPECT_EQ(weightCell(1).toDouble(), 1.5);
    EXPECT_EQ(weightCell(12).toDouble(), 2);
    // Only the weights of the three shift types and of rest are written.
    EXPECT_FALSE(weightCell(4).isValid());

    // A saved period's restore writes the year and month, then applies what the sheet holds.
    named(kMain, QStringLiteral("月")).setValue(3.0);
    named(kMain, QStringLiteral("日")).setValue(21.0);
    ASSERT_TRUE(開始条件設定(readStartConditions()));
    EXPECT_EQ(作成月, 3);
    EXPECT_EQ(reloads, 2);
}

}  // namespace
