#include "storage_fixture.h"

#include "engine/model.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "storage/pivot.h"
#include "storage/restore.h"
#include "storage/saved_shifts.h"
#include "workbook/macros.h"

#include <QDate>

namespace {

const QString kShift = QStringLiteral("人員配置表");
const QString kMain = QStringLiteral("Main");

// One saved row a day for member 101, from first to last.
void saveDays(SaveTest& t, const QString& first, const QString& last)
{
    t.rows(QStringLiteral("INSERT INTO T_勤務表 (Id, 日付, 勤務No, 休平日) "
                          "WITH RECURSIVE d(x) AS (SELECT '%1' UNION ALL SELECT date(x, '+1 day') FROM d WHERE x < '%2') "
                          "SELECT 101, x, 1, 0 FROM d")
               .arg(first, last));
}

long count(SaveTest& t, const QString& sql)
{
    return long(t.scalar(sql).toLongLong());
}

long daysBetween(QDate a, QDate b)
{
    return a > b ? 0 : long(a.daysTo(b)) + 1;
}

const SavedPeriod* find(const std::vector<SavedPeriod>& list, int no)
{
    for (const SavedPeriod& p : list)
        if (p.no == no)
            return &p;
    return nullptr;
}

class PeriodListTest : public SaveTest, public ::testing::WithParamInterface<int> {};

// Saved days from 2023/12/01 to 2024/05/25 listed by the period's first day, the leap February's
// period then deleted: exactly its days go, its neighbours keep theirs, and its number stays free.
TEST_P(PeriodListTest, ListsEveryPeriodAndDeletesOnlyOne)
{
    const int b = GetParam();
    基準開始日 = b;
    const QDate from(2023, 12, 1), to(2024, 5, 25);
    saveDays(*this, from.toString(Qt::ISODate), to.toString(Qt::ISODate));

    const auto list = readSavedPeriods();
    ASSERT_TRUE(list && !list->empty());
    // Number 1 holds the newest day, even when it lies past the day before b.
    EXPECT_EQ(list->front().no, 1);
    EXPECT_LE(list->front().period.開始日, to);
    EXPECT_GE(list->front().period.終了日, to);
    QDate next = list->front().period.終了日.addDays(1);
    for (const SavedPeriod& p : *list) {
        EXPECT_EQ(p.period.開始日, periodFor(p.年, p.月, b).開始日);
        EXPECT_EQ(p.period.終了日.addDays(1), next) << "period " << p.no << " ends where the next begins";
        EXPECT_EQ(p.件数, daysBetween(std::max(from, p.period.開始日), std::min(to, p.period.終了日)));
        next = p.period.開始日;
    }
    EXPECT_LE(list->back().period.開始日, from);

    const 期間 february = periodFor(2024, 2, b);
    int deleted = 0;
    for (const SavedPeriod& p : *list)
        if (p.period.開始日 == february.開始日)
            deleted = p.no;
    ASSERT_GT(deleted, 0);
    ASSERT_TRUE(deletePeriod(february));
    const auto day = [&](QDate d) { return count(*this, QStringLiteral("SELECT count(*) FROM T_勤務表 WHERE 日付 = '%1'").arg(d.toString(Qt::ISODate))); };
    EXPECT_EQ(day(february.開始日.addDays(-1)), 1);
    EXPECT_EQ(day(february.終了日.addDays(1)), 1);
    EXPECT_EQ(count(*this, QStringLiteral("SELECT count(*) FROM T_勤務表")), daysBetween(from, to) - february.dayCount());

    const auto after = readSavedPeriods();
    ASSERT_TRUE(after);
    EXPECT_EQ(after->size(), list->size() - 1);
    EXPECT_EQ(find(*after, deleted), nullptr);
    for (const SavedPeriod& p : *after)
        EXPECT_EQ(find(*list, p.no)->period.開始日, p.period.開始日);
}

INSTANTIATE_TEST_SUITE_P(StartDays, PeriodListTest, ::testing::Values(1, 21, 29, 31));

TEST_F(SaveTest, DeletingTheLastPeriodEmptiesTheShiftTypesToo)
{
    基準開始日 = 1;
    rows(QStringLiteral("INSERT INTO T_勤務種別 (勤務No, 略称) VALUES (1, '日')"));
    saveDays(*this, QStringLiteral("2027-01-30"), QStringLiteral("2027-02-02"));
    ASSERT_TRUE(deletePeriod(periodFor(2027, 1, 1)));
    EXPECT_EQ(count(*this, QStringLiteral("SELECT count(*) FROM T_勤務種別")), 1);
    ASSERT_TRUE(deletePeriod(periodFor(2027, 2, 1)));
    EXPECT_EQ(count(*this, QStringLiteral("SELECT count(*) FROM T_勤務表")), 0);
    EXPECT_EQ(count(*this, QStringLiteral("SELECT count(*) FROM T_勤務種別")), 0);
    const auto list = readSavedPeriods();
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->empty());

    // Without a first day every row goes.
    saveDays(*this, QStringLiteral("2026-01-01"), QStringLiteral("2027-12-31"));
    ASSERT_TRUE(削除_勤務記録());
    EXPECT_EQ(count(*this, QStringLiteral("SELECT count(*) FROM T_勤務表")), 0);
}

// Columns ascend ignoring case, pairs the query lacks stay empty, rows keep the query's order.
TEST(Pivot, OneColumnPerValueInAscendingOrder)
{
    const CrossTab t = クロス集計({QStringLiteral("Id")}, {{7, QStringLiteral("b"), 2}, {7, QStringLiteral("A"), 1},
                                                    {3, QStringLiteral("c"), 5}});
    EXPECT_EQ(t.fields, QStringList({QStringLiteral("Id"), QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("c")}));
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0], QVariantList({7, 1, 2, QVariant()}));
    EXPECT_EQ(t.rows[1], QVariantList({3, QVariant(), QVariant(), 5}));
}

class RestoreTest : public SaveTest {
protected:
    xl::Block grid() { return book->worksheets(kShift).range(QStringLiteral("Time_Table")).block(); }
    double mainValue(const char* name) { return book->worksheets(kMain).range(QString::fromUtf8(name)).value().toDouble(); }
};

// Two saved months and another month on the sheet: restoring the older one brings back its year,
// month and every saved shift, rest days with the rest symbol, and no shift of the month that was
// shown stays (the last member worked no day in the saved month).
TEST_F(RestoreTest, PutsTheSavedMonthBackOntoTheSheet)
{
    month(2027, 1, 21);
    fillGrid(0);
    const xl::Range last = book->worksheets(kShift).range(QStringLiteral("Time_Table")).cells(20, 1).resize(1, 31);
    last.setValue(QStringLiteral("休"));
    save(ui::vbOK);
    const xl::Block saved = grid();
    month(2027, 2, 21);
    fillGrid(1);
    save(ui::vbOK);
    month(2027, 4, 21);
    fillGrid(2);

    const auto list = readSavedPeriods();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 2u);
    EXPECT_EQ(list->front().period.開始日, QDate(2027, 2, 21));
    ASSERT_TRUE(シフト復元_本シート(list->back()));

    EXPECT_EQ(mainValue("年"), 2027);
    EXPECT_EQ(mainValue("月"), 1);
    EXPECT_EQ(作成月, 1);
    EXPECT_EQ(Day_Cnt, 31);
    const xl::Block restored = grid();
    for (int m = 1; m <= 20; ++m)
        for (int d = 1; d <= 31; ++d)
            EXPECT_EQ(restored(m, d).toString(), saved(m, d).toString()) << m << "/" << d;
    EXPECT_TRUE(book->worksheets(kShift).protectContents());
}

TEST_F(RestoreTest, ADatabaseFailureLeavesTheSheetAsItWas)
{
    month(2027, 1, 1);
    fillGrid(0);
    save(ui::vbOK);
    month(2027, 3, 1);
    fillGrid(3);
    const xl::Block before = grid();
    const auto list = readSavedPeriods();
    ASSERT_TRUE(list && list->size() == 1);
    rows(QStringLiteral("DROP VIEW Q_勤務表"));
    ui::resetMessages();

    EXPECT_FALSE(シフト復元_本シート(list->front()));
    EXPECT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(mainValue("月"), 3);
    EXPECT_EQ(grid(), before);
}

// The month, the period and the grid stay as they were when the new month cannot be read after
// the switch: here last month's macro, which the switch runs, leaves a shift type without its
// abbreviation behind (and mends it when it runs again for the month switched back to).
TEST_F(RestoreTest, AReadingThatFailsAfterTheSwitchPutsTheShownMonthBack)
{
    month(2027, 1, 1);
    fillGrid(0);
    save(ui::vbOK);
    month(2027, 4, 1);
    fillGrid(3);
    ASSERT_TRUE(基本情報読込());
    const xl::Block before = grid();
    const auto list = readSavedPeriods();
    ASSERT_TRUE(list && list->size() == 1);
    book->worksheets(kShift).range(QStringLiteral("過去累計使用")).setValue(true);
    const xl::Range abbreviation = book->worksheets(QStringLiteral("基本設定")).range(QStringLiteral("Type_Table_Input")).cells(1, 2);
    const QVariant kept = abbreviation.value();
    int runs = 0;
    book->registerMacro(workbook::kMacroModule, QStringLiteral("先月データ読込み"), [&](xl::Workbook&) {
        abbreviation.setValue(++runs == 1 ? QVariant() : kept);
        return QVariant();
    });
    // First the reading after the switch fails, then the one before it (nothing switches).
    for (const int expectedRuns : {2, 5}) {
        ui::resetMessages();
        EXPECT_FALSE(シフト復元_本シート(list->front()));
        EXPECT_EQ(runs, expectedRuns);
        ASSERT_EQ(ui::shownMessages().size(), 1u);
        EXPECT_TRUE(ui::shownMessages()[0].prompt.contains(QStringLiteral("勤務名か略称が空白です")));
        EXPECT_EQ(mainValue("年") * 100 + mainValue("月"), 202704);
        EXPECT_EQ(作成年 * 10000 + 作成月 * 100 + 基準開始日, 20270401);
        EXPECT_EQ(Day_Cnt, 30);
        EXPECT_EQ(grid(), before);
        runs = 5;
        abbreviation.setValue(QVariant());
    }
}

}  // namespace
