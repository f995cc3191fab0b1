#include "storage_fixture.h"

#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "shell/rs_db.h"
#include "storage/month_save.h"
#include "workbook/macros.h"

#include <QDate>
#include <QTimer>
#include <map>

namespace {

const QString kShift = QStringLiteral("人員配置表");
const QString kMain = QStringLiteral("Main");

// T_勤務表 as (date, number of the member, shift, holiday) in saved order.
std::vector<QVariantList> shiftRows(SaveTest& t, const QString& where = QStringLiteral("1"))
{
    return t.rows(QStringLiteral("SELECT 日付, Id, 勤務No, 休平日 FROM T_勤務表 WHERE %1 ORDER BY [no]").arg(where));
}

int shiftNumber(const QString& abbreviation)
{
    return abbreviation == QStringLiteral("日") ? 1 : abbreviation == QStringLiteral("準") ? 2
         : abbreviation == QStringLiteral("深") ? 3 : 0;
}

// The rows a pattern month gives: one per member and day holding a shift.
std::map<std::pair<QString, int>, int> expectedRows(QDate first, int days, int offset)
{
    std::map<std::pair<QString, int>, int> rows;
    for (int i = 1; i <= 20; ++i)
        for (int d = 1; d <= days; ++d)
            if (const int s = shiftNumber(SaveTest::patternAt(i, d, offset)))
                rows[{first.addDays(d - 1).toString(Qt::ISODate), 100 + i}] = s;
    return rows;
}

std::map<std::pair<QString, int>, int> savedRows(SaveTest& t, const QString& where)
{
    std::map<std::pair<QString, int>, int> rows;
    for (const QVariantList& r : shiftRows(t, where))
        rows[{r[0].toString(), r[1].toInt()}] = r[2].toInt();
    return rows;
}

TEST_F(SaveTest, StoresOneRowPerMemberAndWorkDay)
{
    fillGrid(0);
    XlApp().setCalculation(xl::kCalculationManual);
    // Member 101: day 2 empty, day 3 no shift type, day 4 "*"; day 5 a numeric holiday cell.
    set(kShift, QStringLiteral("Time_Table"), 1, 2, QString());
    set(kShift, QStringLiteral("Time_Table"), 1, 3, QStringLiteral("夜"));
    set(kShift, QStringLiteral("Time_Table"), 1, 4, QStringLiteral("*"));
    set(kShift, QStringLiteral("休平日"), 1, 5, 2.0);
    save(ui::vbOK);
    EXPECT_TRUE(shownTitles().contains(QStringLiteral("勤務データ保存")));
    ASSERT_EQ(ui::shownMessages().back().prompt, QStringLiteral("出力完了"));

    auto expected = expectedRows(QDate(2027, 1, 1), 31, 0);
    expected.erase({QStringLiteral("2027-01-02"), 101});
    expected.erase({QStringLiteral("2027-01-03"), 101});
    expected[{QStringLiteral("2027-01-04"), 101}] = 999;
    EXPECT_EQ(savedRows(*this, QStringLiteral("1")), expected);

    // 休平日: a holiday's text gives 9, a number stays, an empty workday cell stays empty.
    const xl::Block holidays = book->worksheets(kShift).range(QStringLiteral("休平日")).block();
    for (const QVariantList& r : shiftRows(*this, QStringLiteral("Id = 102"))) {
        const int d = int(QDate(2027, 1, 1).daysTo(QDate::fromString(r[0].toString(), Qt::ISODate))) + 1;
        const QVariant expectedMark = d == 5 ? QVariant(2) : holidays(1, d).isValid() ? QVariant(9) : QVariant();
        EXPECT_EQ(r[3], expectedMark) << "day " << d;
    }
}

TEST_F(SaveTest, SnapshotsTheConditionsAndKeepsTheWeights)
{
    scalar(QStringLiteral("UPDATE T_基本設定 SET 荷重_総勤務日数 = 77"));
    fillGrid(0);
    XlApp().setCalculation(xl::kCalculationManual);
    const double signs[] = {1, 0, 2, -3};
    for (int i = 0; i < 4; ++i)
        set(QStringLiteral("基本設定"), QStringLiteral("休み_List"), i + 1, 1, signs[i]);
    // The count of a member combination is read from column 3; its members reach column 199.
    set(QStringLiteral("要員設定"), QStringLiteral("組合せ禁止"), 1, 3, 4.0);
    set(QStringLiteral("要員設定"), QStringLiteral("組合せ禁止"), 1, 199, 120.0);
    set(QStringLiteral("要員設定"), QStringLiteral("組合せ必須"), 6, 1, QStringLiteral("日勤"));
    set(QStringLiteral("要員設定"), QStringLiteral("組合せ必須"), 6, 3, 1.0);
    set(QStringLiteral("要員設定"), QStringLiteral("組合せ必須"), 6, 4, 105.0);
    const QVariantList groupMust{QStringLiteral("準夜"), 1.0, QStringLiteral("主任")};
    for (int c = 1; c <= 3; ++c)
        set(QStringLiteral("要員設定"), QStringLiteral("組合せ必須_grp"), 6, c, groupMust[c - 1]);
    save(ui::vbOK);
    ASSERT_EQ(ui::shownMessages().back().prompt, QStringLiteral("出力完了"));

    EXPECT_EQ(rows(QStringLiteral("SELECT 荷重_総勤務日数, 固定休, 休み記号, count(*) FROM T_基本設定")),
              (std::vector<QVariantList>{{77, QStringLiteral("101-1000"), QStringLiteral("休"), 1}}));
    EXPECT_EQ(rows(QStringLiteral("SELECT No, 勤務, 人数 FROM T_Work_組み合せ条件 WHERE No IN (1, 3, 6, 11, 21) ORDER BY No")),
              (std::vector<QVariantList>{{1, 2, 4}, {3, 0, 0}, {6, 0, 0}, {11, 0, 0}, {21, 1, 1}}));
    EXPECT_EQ(rows(QStringLiteral("SELECT group_concat(No) FROM (SELECT No FROM T_Work_組み合せ条件 ORDER BY rowid)")),
              (std::vector<QVariantList>{{QStringLiteral("1,2,3,4,5,11,12,13,14,15,16,17,18,19,20,6,7,8,9,10,"
                                                         "21,22,23,24,25,26,27,28,29,30")}}));
    EXPECT_EQ(rows(QStringLiteral("SELECT No, Id FROM T_Work_組み合せ条件_Sub ORDER BY No, Id")),
              (std::vector<QVariantList>{{1, 118}, {1, 119}, {1, 120}, {2, 102}, {2, 103}, {21, 105}}));
    EXPECT_EQ(rows(QStringLiteral("SELECT min(No), max(No), count(*) FROM T_Work_組み合せ条件_Group")),
              (std::vector<QVariantList>{{1, 35, 30}}));
    EXPECT_EQ(rows(QStringLiteral("SELECT 勤務, 人数, グループ FROM T_Work_組み合せ条件_Group WHERE No IN (1, 26) ORDER BY No")),
              (std::vector<QVariantList>{{3, 2, 4}, {2, 1, 2}}));
    // A pattern's cells up to its first empty one; the table up to its first empty row.
    EXPECT_EQ(rows(QStringLiteral("SELECT No, Cnt, d1, d3, d4, d5 FROM T_KinsiPattern ORDER BY No")).front(),
              (QVariantList{1, 3, 3, 3, QVariant(), QVariant()}));
    EXPECT_EQ(rows(QStringLiteral("SELECT 略称, 開始時刻, 終了時刻 FROM T_勤務種別 WHERE 勤務No = 1")),
              (std::vector<QVariantList>{{QStringLiteral("日"), QStringLiteral("08:30:00"), QStringLiteral("17:00:00")}}));
}

// A time of 0:00 is saved as that time, also from the book opened again from its file (where
// whole numbers under a time format once came back as dates of 1899); 24:00 stays a whole day.
TEST_F(SaveTest, TimesOfDayAreSavedAsTimesFromTheReopenedBook)
{
    fillGrid(0);
    set(QStringLiteral("基本設定"), QStringLiteral("Type_Table_Input"), 1, 3, 0.0);
    set(QStringLiteral("基本設定"), QStringLiteral("Type_Table_Input"), 1, 6, 0.5);
    set(QStringLiteral("基本設定"), QStringLiteral("Type_Table_Input"), 2, 6, 1.0);
    placeBook();
    const QString path = book->fullName();
    book->close();
    book = xlBook = &XlApp().workbooks().open(path);
    workbook::attach(*book);
    save(ui::vbOK);
    ASSERT_EQ(ui::shownMessages().back().prompt, QStringLiteral("出力完了"));
    EXPECT_EQ(rows(QStringLiteral("SELECT 開始時刻, 終了時刻 FROM T_勤務種別 WHERE 勤務No = 1")),
              (std::vector<QVariantList>{{QStringLiteral("00:00:00"), QStringLiteral("12:00:00")}}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT 終了時刻 + 0 FROM T_勤務種別 WHERE 勤務No = 2")), QVariant(1));
}

// Another program keeps times to 15 digits: 8:00 a hair under 8/24 is still saved as 8:00.
TEST_F(SaveTest, TimesKeptToFifteenDigitsAreSavedAsTheirTime)
{
    fillGrid(0);
    set(QStringLiteral("基本設定"), QStringLiteral("Type_Table_Input"), 1, 3, 0.333333333333333);
    set(QStringLiteral("基本設定"), QStringLiteral("Type_Table_Input"), 1, 6, 0.291666666666667);
    save(ui::vbOK);
    ASSERT_EQ(ui::shownMessages().back().prompt, QStringLiteral("出力完了"));
    EXPECT_EQ(rows(QStringLiteral("SELECT 開始時刻, 終了時刻 FROM T_勤務種別 WHERE 勤務No = 1")),
              (std::vector<QVariantList>{{QStringLiteral("08:00:00"), QStringLiteral("07:00:00")}}));
}

TEST_F(SaveTest, OverwritingAPeriodAsksAndKeepsTheOthers)
{
    fillGrid(0);
    save(ui::vbOK);
    month(2027, 2, 1);
    fillGrid(1);
    save(ui::vbOK);
    const auto february = shiftRows(*this, QStringLiteral("日付 >= '2027-02-01'"));
    ASSERT_EQ(february.size(), expectedRows(QDate(2027, 2, 1), 28, 1).size());

    month(2027, 1, 1);
    fillGrid(2);
    const auto before = shiftRows(*this);
    for (const int answer : {int(ui::vbCancel), 0}) {
        ui::resetMessages();
        save(answer);
        EXPECT_EQ(ui::shownMessages().front().title, QStringLiteral("既存データ有り"));
        EXPECT_EQ(ui::shownMessages().size(), 1u) << "answer " << answer;
        EXPECT_EQ(shiftRows(*this), before) << "answer " << answer;
    }

    save(ui::vbOK);
    EXPECT_EQ(savedRows(*this, QStringLiteral("日付 < '2027-02-01'")), expectedRows(QDate(2027, 1, 1), 31, 2));
    // February comes back unchanged, in its order and numbered before the new January.
    EXPECT_EQ(shiftRows(*this, QStringLiteral("日付 >= '2027-02-01'")), february);
    EXPECT_LT(scalar(QStringLiteral("SELECT max([no]) FROM T_勤務表 WHERE 日付 >= '2027-02-01'")).toInt(),
              scalar(QStringLiteral("SELECT min([no]) FROM T_勤務表 WHERE 日付 < '2027-02-01'")).toInt());
}

TEST_F(SaveTest, NothingChangesWhenTheSaveCannotFinish)
{
    fillGrid(0);
    save(ui::vbOK);
    // A statement that fails after the period's old rows and the conditions were replaced.
    scalar(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON T_勤務表 BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    const QByteArray before = databaseBytes();
    fillGrid(3);
    ui::resetMessages();
    save(ui::vbOK);
    EXPECT_TRUE(shownTitles().contains(QStringLiteral("データベース更新エラー")));
    EXPECT_EQ(databaseBytes(), before);

    // A roster the conditions refuse stops the save before the database is touched.
    scalar(QStringLiteral("DROP TRIGGER refuse"));
    const QByteArray unchanged = databaseBytes();
    set(QStringLiteral("スケジュール"), QStringLiteral("Member_List"), 2, 1, 101.0);
    book->calculate();
    ui::resetMessages();
    save(ui::vbOK);
    EXPECT_TRUE(shownTitles().contains(QStringLiteral("入力エラー")));
    EXPECT_FALSE(shownTitles().contains(QStringLiteral("出力完了")));
    EXPECT_EQ(databaseBytes(), unchanged);

    // A stop while the month is read: the user hears that the month was not saved.
    set(QStringLiteral("スケジュール"), QStringLiteral("Member_List"), 2, 1, 102.0);
    book->calculate();
    ui::resetMessages();
    // The stop button is pressed once the question is answered and the read has begun.
    ui::setDialogHandler(ui::Kind::Custom, [](const ui::MessageRequest&) {
        QTimer::singleShot(0, [] { Sw_中止 = true; });
        return ui::Answer{ui::vbOK, {}};
    });
    cmd出力_Click();
    ui::setDialogHandler(ui::Kind::Custom, nullptr);
    const QString said = ui::shownMessages().back().prompt;
    EXPECT_TRUE(said.startsWith(QStringLiteral("保存を中止しました。")) && said.endsWith(QStringLiteral("の勤務データは保存されていません。")));
    EXPECT_EQ(databaseBytes(), unchanged);
    Sw_中止 = false;
}

TEST_F(SaveTest, ADatabaseLockedByAnotherProgramSaysTheMonthWasNotSaved)
{
    fillGrid(0);
    save(ui::vbOK);
    const QByteArray before = databaseBytes();
    // The program's connection is open, as it is after start-up.
    ASSERT_FALSE(DbConnect());
    db::Connection other;
    other.open(DefaultDbPath());
    other.execute(QStringLiteral("BEGIN EXCLUSIVE"));
    fillGrid(3);
    ui::resetMessages();
    save(ui::vbOK);
    ASSERT_FALSE(ui::shownMessages().empty());
    EXPECT_EQ(ui::shownMessages().back().title, QStringLiteral("データベース更新エラー"));
    EXPECT_TRUE(ui::shownMessages().back().prompt.startsWith(
        QStringLiteral("勤務データを保存できませんでした。保存済みのデータは元のままです。\r\nデータベースは他のプログラムが使用中です。")));
    EXPECT_FALSE(shownTitles().contains(QStringLiteral("出力完了")));
    other.execute(QStringLiteral("ROLLBACK"));
    EXPECT_EQ(databaseBytes(), before);
}

TEST_F(SaveTest, AnEmptyMonthOrAnotherMonthOnTheSheetIsNotSaved)
{
    save(ui::vbOK);
    EXPECT_TRUE(shownTitles().contains(QStringLiteral("データ無し")));
    fillGrid(0);
    // Sheet Main moved on without the start conditions: the dates would be another month's.
    作成月 = 2;
    ui::resetMessages();
    save(ui::vbOK);
    EXPECT_TRUE(shownTitles().contains(QStringLiteral("データエラー")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM T_勤務表")).toInt(), 0);
}

}  // namespace
