#include "storage_fixture.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"

#include <QDate>
#include <map>

namespace {

struct LastMonthCase {
    int startDay;
    int savedYear, savedMonth;  // the month saved first
    QDate savedFirst, savedLast;
};

class LastMonthTest : public SaveTest, public ::testing::WithParamInterface<LastMonthCase> {};

QVariant at(xl::Workbook& book, const QString& name, int row, int column)
{
    return book.names(name).cells(row, column).value();
}

// The saved period's month, last ten days and counts in the book, for a grid filled with offset.
void expectLastMonth(SaveTest& t, xl::Workbook& book, int savedMonth, const QDate& first, const QDate& last, int offset)
{
    EXPECT_EQ(at(book, QStringLiteral("先月_月"), 1, 1).toInt(), savedMonth);
    EXPECT_EQ(at(book, QStringLiteral("先月_結果"), 1, 10).toString(),
              QStringLiteral("%1/%2").arg(last.month()).arg(last.day()));
    const int days = int(first.daysTo(last)) + 1;
    for (int i = 1; i <= 20; ++i) {
        std::map<QString, int> counts;
        for (int d = 1; d <= days; ++d)
            ++counts[SaveTest::patternAt(i, d, offset)];
        for (int k = 1; k <= 10; ++k)
            EXPECT_EQ(at(book, QStringLiteral("先月_結果"), i + 2, k).toString(), SaveTest::patternAt(i, days - 10 + k, offset));
        EXPECT_EQ(at(book, QStringLiteral("過去計"), i, 2).toInt(), counts[QStringLiteral("準")]);
        EXPECT_EQ(at(book, QStringLiteral("過去計"), i, 11).toInt(), days - counts[QStringLiteral("休")]);
        EXPECT_EQ(at(book, QStringLiteral("過去計"), i, 13).toInt(),
                  t.scalar(QStringLiteral("SELECT count(*) FROM T_勤務表 WHERE Id = %1 AND 休平日 > 0 AND 日付 >= '%2' AND 日付 <= '%3'")
                               .arg(100 + i)
                               .arg(first.toString(Qt::ISODate), last.toString(Qt::ISODate)))
                      .toInt());
    }
}

// Saving a month, then moving on to the next: the workbook's macro finds the saved month's last
// ten days and its counts, and the condition reading takes them into the next month.
TEST_P(LastMonthTest, TheNextMonthContinuesFromTheSavedOne)
{
    const LastMonthCase c = GetParam();
    placeBook();
    month(c.savedYear, c.savedMonth, c.startDay);
    fillGrid(0);
    save(ui::vbOK);
    ASSERT_EQ(ui::shownMessages().back().prompt, QStringLiteral("出力完了"));

    month(c.savedYear, c.savedMonth + 1, c.startDay);
    book->names(QStringLiteral("過去累計使用")).setValue(true);
    book->names(QStringLiteral("初期値使用")).setValue(true);
    XlApp().run(stBookName + QStringLiteral("!先月データ読込み"));
    expectLastMonth(*this, *book, c.savedMonth, c.savedFirst, c.savedLast, 0);

    ASSERT_GE(全条件読込(-1), 1);
    const int days = int(c.savedFirst.daysTo(c.savedLast)) + 1;
    const std::map<QString, int> number{{QStringLiteral("日"), 1}, {QStringLiteral("準"), 2}, {QStringLiteral("深"), 3},
                                        {QStringLiteral("休"), 0}};
    for (int j = 1; j <= 10; ++j)
        EXPECT_EQ(Past_Table(1, j), number.at(patternAt(1, days + 1 - j, 0))) << "day " << j;
    EXPECT_EQ(Member_Sum(3, 11), at(*book, QStringLiteral("過去計"), 3, 11).toFloat());
}

INSTANTIATE_TEST_SUITE_P(StartDays, LastMonthTest,
                         ::testing::Values(LastMonthCase{1, 2024, 2, {2024, 2, 1}, {2024, 2, 29}},
                                           LastMonthCase{21, 2024, 1, {2024, 1, 21}, {2024, 2, 20}}));

// Two consecutive months saved over a year's end: each following month reads its own previous
// month only, December as 12.
TEST_F(SaveTest, ConsecutiveSavedMonthsEachFeedTheirNextMonth)
{
    placeBook();
    month(2023, 12, 1);
    fillGrid(0);
    save(ui::vbOK);
    month(2024, 1, 1);
    fillGrid(1);
    save(ui::vbOK);
    ASSERT_EQ(ui::shownMessages().back().prompt, QStringLiteral("出力完了"));

    month(2024, 2, 1);
    XlApp().run(stBookName + QStringLiteral("!先月データ読込み"));
    expectLastMonth(*this, *book, 1, {2024, 1, 1}, {2024, 1, 31}, 1);

    month(2024, 1, 1);
    XlApp().run(stBookName + QStringLiteral("!先月データ読込み"));
    expectLastMonth(*this, *book, 12, {2023, 12, 1}, {2023, 12, 31}, 0);
}

}  // namespace
