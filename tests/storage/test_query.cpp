// The query window's data on a database with two saved periods (start day 16) filled by hand.
#include "work_folder.h"

#include "platform/db/db.h"
#include "platform/ui/prompt.h"
#include "shell/rs_db.h"
#include "storage/query.h"
#include "storage/state.h"

#include <gtest/gtest.h>

namespace {

class QueryTest : public WorkFolderTest<resetStorageState> {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(WorkFolderTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(openDatabase());
        cn.execute(QStringLiteral("INSERT INTO T_名簿 (Id, 氏名, グループ) VALUES (1, '佐藤', 'A'), (2, 'O''Brien', 'B'), (12, '鈴木', 'A')"));
        cn.execute(QStringLiteral("INSERT INTO T_勤務種別 (勤務No, 勤務名, 略称, 勤務時間) VALUES "
                                  "(1, '日勤', '日', 8), (2, '夜勤', '夜', 16), (3, '早番', '早', 7.5)"));
        // The first period 2024/04/16 - 2024/05/15, then two rows of the next one.
        cn.execute(QStringLiteral("INSERT INTO T_勤務表 (Id, 日付, 勤務No, 休平日) VALUES "
                                  "(1, '2024-04-16', 1, NULL), (1, '2024-04-17', 2, NULL), (1, '2024-04-20', 1, 9), "
                                  "(1, '2024-05-15', 1, NULL), (2, '2024-04-16', 2, NULL), (2, '2024-04-18', 3, NULL), "
                                  "(12, '2024-04-30', 1, NULL), (1, '2024-05-16', 1, NULL), (2, '2024-06-01', 2, NULL)"));
    }

    ResultTable query(集計種別 kind, std::optional<qint64> person = {}, const QString& column = {}, const QVariant& value = {})
    {
        QueryFilter c{QDate(2024, 4, 16), QDate(2024, 5, 15), person, column, value};
        return 集計(cn, kind, c);
    }
    qint64 count(const QString& table) { return cn.scalar(QStringLiteral("SELECT count(*) FROM ") + table).toLongLong(); }
};

}  // namespace

TEST_F(QueryTest, PeriodAndPersonNarrowTheRows)
{
    EXPECT_EQ(query(集計種別::勤務データ).件数(), 7);
    EXPECT_EQ(query(集計種別::全勤務データ).件数(), 7);
    EXPECT_EQ(query(集計種別::勤務データ, 12).件数(), 1);
    // The roster ignores the period, the shift types the person too.
    EXPECT_EQ(query(集計種別::名簿).件数(), 3);
    EXPECT_EQ(query(集計種別::名簿, 12).件数(), 1);
    EXPECT_EQ(query(集計種別::勤務種別, 12).件数(), 3);

    const ResultTable all = query(集計種別::全勤務データ, 1);
    ASSERT_EQ(all.件数(), 4);
    // 2024/04/20 was a Saturday and a holiday.
    const QVariantList& sat = all.rows[2];
    EXPECT_EQ(displayText(all, 0, sat[0]), QStringLiteral("2024/04/20"));
    EXPECT_EQ(sat[1], QStringLiteral("土"));
    EXPECT_EQ(sat[2], QStringLiteral("休日"));
    EXPECT_EQ(all.rows[0][2], QString());
}

// The cells as numbers and texts, empty cells as "-".
QStringList cells(const ResultTable& r)
{
    QStringList out{r.fields.join(QLatin1Char(','))};
    for (const QVariantList& row : r.rows) {
        QStringList line;
        for (const QVariant& v : row)
            line << (v.isValid() ? displayText(r, int(line.size()), v) : QStringLiteral("-"));
        out << line.join(QLatin1Char(','));
    }
    return out;
}

TEST_F(QueryTest, SummariesCountedByHand)
{
    EXPECT_EQ(cells(query(集計種別::勤務日数集計)),
              (QStringList{QStringLiteral("Id,氏名,合計日数,1 日,2 夜,3 早"), QStringLiteral("1,佐藤,4,3,1,-"),
                           QStringLiteral("2,O'Brien,2,-,1,1"), QStringLiteral("12,鈴木,1,1,-,-")}));
    EXPECT_EQ(cells(query(集計種別::勤務時間集計, 1)),
              (QStringList{QStringLiteral("Id,氏名,合計時間,1 日,2 夜"), QStringLiteral("1,佐藤,40,24,16")}));
    EXPECT_EQ(cells(query(集計種別::曜日別集計)),
              (QStringList{QStringLiteral("Id,氏名,合計日数,3火,4水,5木,7土"), QStringLiteral("1,佐藤,4,1,2,-,1"),
                           QStringLiteral("2,O'Brien,2,1,-,1,-"), QStringLiteral("12,鈴木,1,1,-,-,-")}));
    EXPECT_EQ(cells(query(集計種別::日別シフト表, 2)),
              (QStringList{QStringLiteral("Id,氏名,2024/04/16,2024/04/18"), QStringLiteral("2,O'Brien,夜,早")}));
}

TEST_F(QueryTest, SelectionFilterBindsItsValue)
{
    EXPECT_EQ(query(集計種別::勤務データ, {}, QStringLiteral("氏名"), QStringLiteral("O'Brien")).件数(), 2);
    EXPECT_EQ(query(集計種別::勤務データ, {}, QStringLiteral("Id"), 1LL).件数(), 4);
    EXPECT_EQ(query(集計種別::勤務データ, {}, QStringLiteral("日付"), QStringLiteral("2024-04-16")).件数(), 2);
    EXPECT_EQ(query(集計種別::名簿, {}, QStringLiteral("グループ"), QStringLiteral("A")).件数(), 2);
    // A quote ends no string: the whole text is the value compared.
    EXPECT_EQ(query(集計種別::勤務データ, {}, QStringLiteral("氏名"), QStringLiteral("x' OR '1'='1")).件数(), 0);
    EXPECT_EQ(query(集計種別::名簿, {}, QStringLiteral("氏名"), QStringLiteral("'; DROP TABLE T_名簿; --")).件数(), 0);
    EXPECT_EQ(count(QStringLiteral("T_名簿")), 3);
    // Only the kind's own columns can be filtered.
    EXPECT_THROW(query(集計種別::勤務データ, {}, QStringLiteral("1=1 OR 氏名"), 1), db::Error);
}

TEST_F(QueryTest, EditsAndDeletesReachTheShiftRowsOnly)
{
    ResultTable r = query(集計種別::勤務データ, 2);
    ASSERT_EQ(r.件数(), 2);
    EXPECT_FALSE(r.isEditableColumn(2));  // 氏名 comes from the roster
    EXPECT_FALSE(r.canAddRow());
    const int shift = int(r.fields.indexOf(QStringLiteral("勤務No")));
    ASSERT_TRUE(updateValue(cn, r, 0, shift, 3LL));
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT 勤務No FROM T_勤務表 WHERE Id = 2 AND 日付 = '2024-04-16'")).toInt(), 3);
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT count(*) FROM T_勤務種別 WHERE 勤務No = 2")).toInt(), 1);

    // A row the month save rewrote meanwhile is left alone.
    cn.execute(QStringLiteral("UPDATE T_勤務表 SET 休平日 = 1 WHERE Id = 2 AND 日付 = '2024-04-18'"));
    EXPECT_FALSE(updateValue(cn, r, 1, shift, 1LL));
    EXPECT_FALSE(deleteRows(cn, r, {0, 1}));
    EXPECT_EQ(count(QStringLiteral("T_勤務表")), 9);

    r = query(集計種別::勤務データ, 2);
    ASSERT_TRUE(deleteRows(cn, r, {0, 1}));
    EXPECT_EQ(r.件数(), 0);
    EXPECT_EQ(count(QStringLiteral("T_勤務表")), 7);
    EXPECT_EQ(count(QStringLiteral("T_名簿")), 3);
    EXPECT_EQ(count(QStringLiteral("T_勤務種別")), 3);
}

TEST_F(QueryTest, RosterRowsAreEditedAddedAndTypedByColumn)
{
    ResultTable r = query(集計種別::名簿);
    ASSERT_TRUE(r.canAddRow());
    const int id = int(r.fields.indexOf(QStringLiteral("Id")));
    const int name = int(r.fields.indexOf(QStringLiteral("氏名")));
    EXPECT_FALSE(inputValue(r, id, QStringLiteral("十二")));
    EXPECT_EQ(*inputValue(r, id, QStringLiteral(" 7 ")), QVariant(7LL));
    EXPECT_EQ(*inputValue(r, name, QString()), QVariant());
    addRow(cn, r, name, QStringLiteral("新人"));
    ASSERT_EQ(r.件数(), 4);
    ASSERT_TRUE(updateValue(cn, r, 3, id, 40LL));
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT 氏名 FROM T_名簿 WHERE Id = 40")), QStringLiteral("新人"));

    const ResultTable shifts = query(集計種別::勤務データ);
    EXPECT_EQ(*inputValue(shifts, 0, QStringLiteral("2024/5/1")), QVariant(QStringLiteral("2024-05-01")));
    EXPECT_FALSE(inputValue(shifts, 0, QStringLiteral("2024/02/30")));
}

TEST_F(QueryTest, CopyTextKeepsRowsWhole)
{
    ResultTable r;
    r.fields = QStringList{QStringLiteral("日付"), QStringLiteral("メモ"), QStringLiteral("時間")};
    r.rows = {{QStringLiteral("2024-04-16"), QStringLiteral("a\tb\r\nc"), 7.5}, {QVariant(), QVariant(), 8.0}};
    EXPECT_EQ(tableText(r), QStringLiteral("日付\tメモ\t時間\t\r\n2024/04/16\ta b  c\t7.5\t\r\n\t\t8\t\r\n"));
    r.rows.clear();
    EXPECT_EQ(tableText(r), QStringLiteral("日付\tメモ\t時間\t\r\n"));
    // No query open: nothing is said.
    DbGridToClip(nullptr);
    EXPECT_TRUE(ui::shownMessages().empty());
}

TEST_F(QueryTest, PersonListIsNarrowedAndKeepsLongNumbers)
{
    cn.execute(QStringLiteral("INSERT INTO T_名簿 (Id, 氏名) VALUES (1234, '　ガパーＡ１ ')"));
    const std::vector<PersonItem> people = personList(cn);
    ASSERT_EQ(people.size(), 4u);
    EXPECT_EQ(people[0].label, QStringLiteral("  1 佐藤"));
    EXPECT_EQ(people[3].Id, 1234);
    EXPECT_EQ(people[3].label, QStringLiteral("1234  ｶﾞﾊﾟｰA1"));
}
