// Every input check of the roster and of the full read, each with a workbook that breaks it.
#include "conditions_fixture.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "engine/shift_load.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "workbook/layout.h"

#include "text.h"

#include <functional>

using condfx::ConditionTest;

namespace {

const QString kInput = u("入力エラー");
const QString kData = u("データエラー");

struct Broken {
    const char* name;
    std::function<void(ConditionTest&)> breakIt;
    QString title;
    QString text;  // the whole message
};

void PrintTo(const Broken& b, std::ostream* os)
{
    *os << b.name;
}

void fill(ConditionTest& t, const char* sheet, const char* range, int row, int column, const QVariant& v)
{
    t.set(u(sheet), u(range), row, column, v);
}

const std::vector<Broken>& brokenBooks()
{
    static const std::vector<Broken> cases = {
        {"BlankNumber", [](ConditionTest& t) { fill(t, "スケジュール", "Member_List", 3, 1, QVariant()); }, kInput,
         u("番号が空白です！\r\n[個人条件設定]を確認してください！")},
        {"BlankName", [](ConditionTest& t) { fill(t, "スケジュール", "Member_List", 3, 2, QVariant()); }, kInput,
         u("氏名が空白です！\r\n[個人条件設定]を確認してください！")},
        {"CountsDiffer",
         [](ConditionTest& t) {
             t.manual();
             fill(t, "スケジュール", "名前数", 1, 1, 19.0);
         },
         kInput,
         u("「個人条件設定」で[番号]と[名前]の数が一致しません！\r\n[番号]が空白になっていませんか？\r\n[番号]は入力必須です！")},
        {"DuplicateNumber", [](ConditionTest& t) { fill(t, "スケジュール", "Member_List", 5, 1, 102.0); }, kInput,
         u("番号5が重複しています！[個人条件設定]を確認してください！")},
        {"DuplicateByValue", [](ConditionTest& t) { fill(t, "スケジュール", "Member_List", 5, 1, u("'0102")); }, kInput,
         u("番号5が重複しています！[個人条件設定]を確認してください！")},
        {"TooManyTypes",
         [](ConditionTest& t) {
             t.manual();
             fill(t, "基本設定", "Type_Cnt", 1, 1, 11.0);
         },
         kInput, u("【基本設定】の勤務種別の数(11)が上限の10を超えています！")},
        {"TooManyMembers",
         [](ConditionTest& t) {
             t.manual();
             fill(t, "スケジュール", "Member_Cnt", 1, 1, 51.0);
         },
         kInput, u("【個人条件設定】のメンバー数(51)が上限の50を超えています！")},
        {"TooManyDays",
         [](ConditionTest& t) {
             t.manual();
             fill(t, "人員配置表", "Day_Cnt", 1, 1, 32.0);
         },
         kInput, u("期間の日数(32)が上限の31を超えています！")},
        {"TooManyPatterns",
         [](ConditionTest& t) {
             t.manual();
             fill(t, "基本設定", "Kinsi_Pattern_Cnt", 1, 1, 12.0);
         },
         kInput, u("【基本設定】の禁止パターンの数(12)が上限の11を超えています！")},
        {"BanCountAboveItsRows",
         [](ConditionTest& t) {
             t.manual();
             fill(t, "要員設定", "組合せ禁止数", 1, 1, 16.0);
         },
         kInput, u("【要員設定】の組合せ禁止の数(16)が上限の15を超えています！")},
        {"TooManyBanRecords",
         [](ConditionTest& t) {
             for (int i = 1; i <= 15; ++i) {
                 fill(t, "要員設定", "組合せ禁止", i, 1, u("日勤"));
                 fill(t, "要員設定", "組合せ禁止", i, 2, 2.0);
                 fill(t, "要員設定", "組合せ禁止", i, 4, 101.0);
             }
             fill(t, "要員設定", "組合せ禁止_grp", 2, 1, u("準夜"));
             fill(t, "要員設定", "組合せ禁止_grp", 2, 2, 2.0);
             fill(t, "要員設定", "組合せ禁止_grp", 2, 3, u("新人"));
         },
         kInput, u("【要員設定】の組合せ禁止の件数（グループ分を含む）(17)が上限の16を超えています！")},
        {"UnknownBanShift", [](ConditionTest& t) { fill(t, "要員設定", "組合せ禁止", 2, 1, u("夜勤")); }, kData,
         u("【要員設定】の【組合せ禁止パターン】で規定外の勤務種別が設定されています！")},
        {"UnknownMustShift",
         [](ConditionTest& t) {
             fill(t, "要員設定", "組合せ必須", 1, 1, u("夜勤"));
             fill(t, "要員設定", "組合せ必須", 1, 2, 1.0);
             fill(t, "要員設定", "組合せ必須", 1, 4, 101.0);
         },
         kData, u("【要員設定】の【組合せ必須パターン】で規定外の勤務種別が設定されています！")},
        {"StarInRequiredPattern",
         [](ConditionTest& t) {
             fill(t, "基本設定", "必須パターン", 1, 1, u("日"));
             fill(t, "基本設定", "必須パターン", 1, 2, u("*"));
         },
         kInput, u("【基本設定】の必須パターンの1行目に「*」が入っています！\r\n必須パターンには勤務の略称を入力してください！")},
        {"StarReserved", [](ConditionTest& t) { fill(t, "予約表", "Member_Rsv", 1, 3, u("*")); }, kInput,
         u("【予約表】の1番目のメンバーの3日に「*」が入っています！\r\n予約には勤務の略称を入力してください！")},
        {"MissingNeedTable",
         [](ConditionTest&) { xlBook->deleteName(u("Need_Table"), &xlBook->worksheets(u("要員設定"))); }, kData,
         u("シート「要員設定」に名前「Need_Table」がありません！\r\nワークブックを確認してください！")},
        {"MissingSheet", [](ConditionTest&) { xlBook->worksheets(u("予約表")).setName(u("予約")); }, kData,
         u("シート「予約表」がありません！\r\nワークブックを確認してください！")},
        {"UnreadableSwitch", [](ConditionTest& t) { fill(t, "人員配置表", "初期値使用", 1, 1, u("たぶん")); }, kData,
         u("13 型が一致しません。")},
        {"StartDayOutsideThePeriod", [](ConditionTest&) { 作成開始日 = 40; }, kInput,
         u("作成開始日(40)が期間の外にあります！")},
        {"NeedNotANumber", [](ConditionTest& t) { fill(t, "要員設定", "Need_Table", 1, 3, u("=2+3")); }, kInput,
         u("【要員設定】の必要人数（日勤の3日、セルF5）が「=2+3」になっています！\r\n必要人数には0～50の数を入力してください！")},
        {"NeedTooLarge", [](ConditionTest& t) { fill(t, "要員設定", "Need_Table", 2, 31, 1e12); }, kInput,
         u("【要員設定】の必要人数（準夜の31日、セルAH6）が「1000000000000」になっています！\r\n必要人数には0～50の数を入力してください！")},
        {"WeekStartBeyondSunday", [](ConditionTest& t) { fill(t, "基本設定", "基点曜日", 1, 1, 8.0); }, kInput,
         u("【基本設定】の週の起点曜日(8)が正しくありません！\r\n1（月）～7（日）を入力してください（週の制限なしは0）！")},
        {"NoMembers",
         [](ConditionTest& t) {
             t.manual();
             fill(t, "スケジュール", "Member_Cnt", 1, 1, 0.0);
         },
         kInput, u("【個人条件設定】にメンバーが入力されていません！")},
        {"MemberCountNotANumber",
         [](ConditionTest& t) {
             t.manual();
             fill(t, "スケジュール", "Member_Cnt", 1, 1, u("abc"));
         },
         kInput, u("【個人条件設定】のメンバー数(abc)が数ではありません！")},
        {"DayCountNotANumber",
         [](ConditionTest& t) {
             t.manual();
             fill(t, "人員配置表", "Day_Cnt", 1, 1, u("abc"));
         },
         kInput, u("期間の日数(abc)が数ではありません！")},
        // Each value lands in a variable of the reading's own type; one it cannot hold names its cell.
        {"RunLimitBeyondInteger", [](ConditionTest& t) { fill(t, "基本設定", "連続勤務上限", 1, 1, 32768.0); }, kInput,
         u("シート「基本設定」のセルH59の値(32768)が扱える範囲（-32768 から 32767 まで）を超えています！")},
        {"WeeklyLimitAtLongEdge", [](ConditionTest& t) { fill(t, "基本設定", "週間勤務日数上限", 1, 1, 2147483647.0); }, kInput,
         u("シート「基本設定」のセルH62の値(2147483647)が扱える範囲（-32768 から 32767 まで）を超えています！")},
        {"SpanBeyondLong", [](ConditionTest& t) { fill(t, "基本設定", "Type_Span", 2, 1, 2147483648.0); }, kInput,
         u("シート「基本設定」のセルI6の値(2147483648)が扱える範囲（-2147483648 から 2147483647 まで）を超えています！")},
        {"DayOffTargetBeyondInteger", [](ConditionTest& t) { fill(t, "スケジュール", "Member_DayOff", 2, 1, 1e10); }, kInput,
         u("シート「スケジュール」のセルAJ6の値(10000000000)が扱える範囲（-32768 から 32767 まで）を超えています！")},
        {"HourLimitBeyondSingle", [](ConditionTest& t) { fill(t, "スケジュール", "Member_Time", 1, 1, 1e39); }, kInput,
         u("シート「スケジュール」のセルAK5の値(1e+39)が扱える範囲（±3.402823E+38 まで）を超えています！")},
        {"WeightBeyondSingle", [](ConditionTest& t) { fill(t, "基本設定", "最適化比重", 1, 2, -1e39); }, kInput,
         u("シート「基本設定」のセルD82の値(-1e+39)が扱える範囲（±3.402823E+38 まで）を超えています！")},
        {"MustCountBelowInteger",
         [](ConditionTest& t) {
             fill(t, "要員設定", "組合せ必須", 1, 1, u("日勤"));
             fill(t, "要員設定", "組合せ必須", 1, 2, -2147483649.0);
             fill(t, "要員設定", "組合せ必須", 1, 4, 101.0);
         },
         kInput, u("シート「要員設定」のセルC41の値(-2147483649)が扱える範囲（-32768 から 32767 まで）を超えています！")},
        {"MemberNumberBeyondInteger", [](ConditionTest& t) { fill(t, "スケジュール", "Member_List", 3, 1, 1e39); }, kInput,
         u("シート「スケジュール」のセルB7の番号(1e+39)が大きすぎます！\r\n番号は-32768 から 32767 までの数にしてください！\r\n"
           "[個人条件設定]を確認してください！")},
        {"EmptyStartDay", [](ConditionTest&) { 作成開始日 = 0; }, kInput,
         u("シート「Main」のセルC5（日）の値(0)が正しくありません！\r\n【開始条件設定】で1～31を設定してください！")},
        {"NoDays",
         [](ConditionTest& t) { fill(t, "Main", "月", 1, 1, 13.0); }, kInput,
         u("期間の日数が0日です！\r\n【開始条件】の年・月・期間の開始日を確認してください！")},
    };
    return cases;
}

}  // namespace

class BrokenBook : public ConditionTest, public ::testing::WithParamInterface<Broken> {};

TEST_P(BrokenBook, StopsWithItsMessage)
{
    const Broken& c = GetParam();
    open(kGeneral);
    const QVariant gridBefore = named(u("人員配置表"), u("Time_Table")).value();
    c.breakIt(*this);
    ui::resetMessages();
    EXPECT_EQ(全条件読込(-1), -1);
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(lastTitle(), c.title);
    EXPECT_EQ(lastText(), c.text);
    EXPECT_EQ(ui::shownMessages().back().buttons, ui::vbOKOnly | ui::vbSystemModal);
    // A refused read writes no reservation into the grid.
    if (QString::fromUtf8(c.name) == u("StarReserved")) {
        EXPECT_EQ(named(u("人員配置表"), u("Time_Table")).value(), gridBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(Checks, BrokenBook, ::testing::ValuesIn(brokenBooks()),
                         [](const ::testing::TestParamInfo<Broken>& info) { return std::string(info.param.name); });

// At start-up a missing range names itself and the sheet instead of ending the program.
TEST_F(ConditionTest, BaseInformationNamesAMissingRange)
{
    open(kGeneral);
    xlBook->deleteName(u("Type_Cnt"), &xlBook->worksheets(u("基本設定")));
    ui::resetMessages();
    EXPECT_FALSE(基本情報読込());
    EXPECT_EQ(lastTitle(), kData);
    EXPECT_TRUE(lastText().startsWith(u("シート「基本設定」に名前「Type_Cnt」がありません！")));
}

// The start-up reading ignores roster errors (the full read reports them).
TEST_F(ConditionTest, BaseInformationDropsTheRosterError)
{
    open(kGeneral);
    set(u("スケジュール"), u("Member_List"), 5, 1, 102.0);
    ui::resetMessages();
    EXPECT_TRUE(基本情報読込());
    EXPECT_TRUE(ui::shownMessages().empty());
    EXPECT_EQ(名簿読込(), u("番号5が重複しています！[個人条件設定]を確認してください！"));
}

// Sw_確保優先: a missing or unreadable cell keeps 2, a value beyond the three modes is held to them.
TEST_F(ConditionTest, GenerationModeDefaultsAndStaysInRange)
{
    open(kGeneral);
    int ticked = -1;
    afterBasicInfoRead = [&] { ticked = Sw_確保優先; };
    for (const auto& [cell, expected] : std::vector<std::pair<QVariant, int>>{
             {1.0, 1}, {5.0, 2}, {-3.0, 0}, {u("abc"), 0}, {QVariant(), 0}}) {
        set(u("Main"), u("Sw_確保優先"), 1, 1, cell);
        ASSERT_TRUE(基本情報読込());
        EXPECT_EQ(Sw_確保優先, expected) << cell.toString().toStdString();
        EXPECT_EQ(ticked, expected);
    }
    xlBook->deleteName(u("Sw_確保優先"), &xlBook->worksheets(u("Main")));
    ASSERT_TRUE(基本情報読込());
    EXPECT_EQ(Sw_確保優先, 2);
    afterBasicInfoRead = nullptr;
}

// A shift type with a name and no abbreviation is refused, and an empty cell is never read as it:
// the reservations and the grid would otherwise fill with that type.
TEST_F(ConditionTest, TypeWithoutAbbreviationIsRefusedAndEmptyCellsStayRestDays)
{
    open(kGeneral);
    set(u("基本設定"), u("Type_Table_Input"), 4, 1, u("夜勤"));
    const QVariant gridBefore = named(u("人員配置表"), u("Time_Table")).value();
    ui::resetMessages();
    EXPECT_EQ(全条件読込(-1), -1);
    EXPECT_EQ(lastTitle(), kInput);
    EXPECT_EQ(lastText(), u("【基本設定】の勤務種別の4行目は勤務名か略称が空白です！\r\n勤務種別には勤務名と略称の両方を入力してください！"));
    EXPECT_EQ(named(u("人員配置表"), u("Time_Table")).value(), gridBefore);
    EXPECT_EQ(xlBook->worksheets(u("基本設定")).styleAt(8, 3).fill, workbook::layout::kBadEntry);

    ASSERT_EQ(Type_Cnt, 4);
    シフト表読込(1, Day_Cnt, -1, 0);
    for (int m = 1; m <= Member_Cnt; ++m) {
        EXPECT_EQ(Member_WorkDays(m), 0) << m;
        for (int d = 1; d <= Day_Cnt; ++d)
            ASSERT_EQ(Time_Table(m, d), 0) << m << "/" << d;
    }
}
