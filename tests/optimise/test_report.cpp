// The analysis report: the whole text of a known table against checked-in texts (columns counted
// in Shift-JIS bytes), the cells' number rules, and the analysis command end to end.
#include "optimise_fixture.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "engine/totals.h"
#include "optimise/report.h"
#include "optimise/window_steps.h"
#include "platform/ui/prompt.h"
#include "sample_book.h"
#include "shell/globals.h"
#include "shell/myfunc_main.h"
#include "shell/rs_db.h"
#include "shell/rs_dbsub.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QString expectedText(const QString& name)
{
    QFile f(QStringLiteral(QV_TEST_DATA_DIR "/../optimise/cases/report/") + name);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The report without its first line, the elapsed time.
QString withoutTime(const QString& report)
{
    EXPECT_TRUE(report.startsWith(QStringLiteral("処理時間 ")));
    return report.section(QStringLiteral("\r\n"), 1);
}

class ReportTest : public optfx::ModelTest {
protected:
    // Three members over six days with holidays on days 3 and 6; shift 1's factor is large
    // enough to give five-digit values.
    void SetUp() override
    {
        ModelTest::SetUp();
        makeModel(3, 6);
        Type_Table(2, TYPE_勤務) = QStringLiteral("夜勤Ａ");
        Holiday_Chk(3) = 1;
        Holiday_Chk(6) = 1;
        row(1, QStringLiteral("日日日休日日"));
        row(2, QStringLiteral("夜休日日休夜"));
        row(3, QStringLiteral("休夜休日夜休"));
        最適化比重(1) = 10000;
        long* weights[] = {&荷重_総勤務日数, &荷重_各勤務日数, &荷重_各勤務日数_今期, &荷重_休日勤務,
                           &荷重_休日勤務_今期, &荷重_休み曜日_今期, &荷重_単勤総数_今期, &荷重_単休総数_今期,
                           &荷重_単勤分散_今期, &荷重_単休分散_今期, &荷重_優先勤務倍率, &荷重_優先勤務倍率_今期};
        for (long i = 0; i < long(std::size(weights)); ++i)
            *weights[i] = i + 1;
        荷重_優先勤務 = 2;
    }
};

TEST_F(ReportTest, AnalysisAndUpdateTextsOfAKnownTable)
{
    const QString analysis = 荷重分散レポート作成(TickCount(), nullptr, nullptr, 0, QString()) + QStringLiteral("\r\n")
                             + 荷重パラメータ一覧();
    EXPECT_EQ(withoutTime(analysis).toStdString(), expectedText(QStringLiteral("analysis.txt")).toStdString());

    ScoreTerms P;
    ScoreTerms C;
    分散要素取得(P, C);
    勤務変更(1, 3, 4);  // member 1 takes member 3's 日 on day 4
    勤務変更(2, 3, 1);
    const QString update = 荷重分散レポート作成(TickCount(), &P, &C, -1, QStringLiteral("最適化結果\r\n"));
    EXPECT_TRUE(update.startsWith(QStringLiteral("最適化結果\r\n処理時間 ")));
    EXPECT_EQ(withoutTime(update.section(QStringLiteral("\r\n"), 1)).toStdString(),
              expectedText(QStringLiteral("update.txt")).toStdString());

    // A priority number without its shift type is printed alone; without a priority type the
    // weight list has no priority block.
    荷重_優先勤務 = 3;
    EXPECT_EQ(優先勤務ラベル(20), QStringLiteral("         優先勤務　3"));
    荷重_優先勤務 = 0;
    EXPECT_FALSE(荷重パラメータ一覧().contains(QStringLiteral("優先勤務")));
}

TEST(ReportCells, NumbersTimesAndMarks)
{
    EXPECT_EQ(レポート値書式(12.3456f, 10), QStringLiteral("  12.345  "));  // cut, not rounded
    EXPECT_EQ(レポート値書式(QVariant(), 10), QStringLiteral("   0.0    "));
    EXPECT_EQ(elapsedText(59700), QStringLiteral("処理時間 59.7秒"));
    EXPECT_EQ(elapsedText(61250), QStringLiteral("処理時間 1分1.25秒"));
    EXPECT_EQ(レポート増減書式(1.2344, 1.2342), QStringLiteral("  "));  // equal at 3 decimals
}

using AnalysisTest = optfx::ModelTest;

// The analysis reloads the month from the workbook: each reserved assignment, which the reading
// writes onto the sheet and counts, is counted once.
TEST_F(AnalysisTest, ShowsTheSheetsTableCountedOnceAndWritesTheResultLog)
{
    QTemporaryDir work;
    stWorkPath = stDbPath = work.path();
    ASSERT_EQ(AddTableField(), 0);
    installConditionModelSteps();
    ASSERT_TRUE(openSampleBook(sourceFile(kGeneral)).ok);
    int after = 0;
    optimiserWindowSteps.afterResultLog = [&] { ++after; };
    作成状態 = 1;

    勤務分散解析();
    EXPECT_EQ(作成状態, 0);
    int reserved = 0;
    for (int m = 1; m <= Member_Cnt; ++m) {
        int days = 0;
        for (int d = 1; d <= Day_Cnt; ++d) {
            days += Time_Table(m, d) != 0;
            reserved += Rsv_Table(m, d) != 0;
        }
        EXPECT_EQ(Member_WorkDays(m), days) << m;
    }
    EXPECT_GT(reserved, 0);
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    const ui::MessageRequest& shown = ui::shownMessages()[0];
    EXPECT_EQ(shown.title, QStringLiteral("処理結果"));
    EXPECT_EQ(shown.width, 500);
    EXPECT_TRUE(shown.prompt.contains(QStringLiteral("　解析値")));
    EXPECT_TRUE(shown.prompt.contains(QStringLiteral("■分散値計算 荷重パラメータ ■")));
    QFile log(work.filePath(QStringLiteral("log/log_result.txt")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll()).contains(shown.prompt.section(QStringLiteral("\r\n"), 2, 4)));
    EXPECT_EQ(after, 1);
}

}  // namespace
