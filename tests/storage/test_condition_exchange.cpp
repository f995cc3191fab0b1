// Condition files saved and restored through the file dialogs and the workbook's macros.
#include "storage_fixture.h"

#include "manual_clock.h"
#include "sample_book.h"

#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "optimise/best_shift.h"
#include "storage/condition_exchange.h"
#include "storage/state.h"
#include "workbook/condition_file.h"

#include <QDir>
#include <QFile>

namespace {

class CondExchangeTest : public SaveTest {
protected:
    xl::Block grid() { return book->worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_Table")).block(); }
    static std::vector<condition_file::FileBlock> blocks(const QString& path)
    {
        QFile f(path);
        condition_file::ConditionFile file;
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(condition_file::parse(f.readAll(), file).ok);
        return file.blocks;
    }
    void saveAs(const QString& path)
    {
        ui::setNextText(path);
        cmd保存_Click();
    }
    QString lastPrompt() const { return ui::shownMessages().back().prompt; }

    // The messages stay a while to be read: no real waiting here.
    ManualClock clock;
};

// The storage reset forgets the conditions file in use, and resets the optimiser.
TEST(StorageState, ResetForgetsTheConditionsFileAndResetsTheLayersBelow)
{
    currentConditionFile = QStringLiteral("/somewhere/条件.csv");
    BestShift_Time.emplace_back();

    resetStorageState();
    EXPECT_TRUE(currentConditionFile.isEmpty());
    EXPECT_TRUE(BestShift_Time.empty());
}

}  // namespace

TEST_F(CondExchangeTest, SavedConditionsComeBackOnAFreshBook)
{
    month(2024, 4, 16);
    fillGrid(0);
    const QString first = dir.filePath(QStringLiteral("病棟.csv"));
    saveAs(first);
    EXPECT_EQ(ui::shownMessages().front().text, QDir::current().filePath(QStringLiteral("無題.csv")));
    EXPECT_EQ(lastPrompt(), QStringLiteral("保存を完了しました！"));
    const xl::Block saved = grid();

    ASSERT_TRUE(openSampleBook(sourceFile("parts/新規作成.csv"), &book).ok);
    作成年 = 作成月 = 基準開始日 = 0;
    ui::resetMessages();
    ui::setNextText(first);
    ASSERT_TRUE(cmd復元_Click());
    EXPECT_EQ(currentConditionFile, first);
    EXPECT_EQ(作成年, 2024);
    EXPECT_EQ(基準開始日, 16);
    EXPECT_TRUE(grid() == saved);
    // The cleared grid is outlined again.
    const xl::Range gridRange = book->worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Time_Table"));
    EXPECT_EQ(gridRange.style().left.weight, xl::kHairline);

    // The next save offers the restored file, and writes the same conditions.
    ui::resetMessages();
    const QString second = dir.filePath(QStringLiteral("写し.csv"));
    saveAs(second);
    EXPECT_EQ(ui::shownMessages().front().text, first);
    const auto a = blocks(first), b = blocks(second);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i)
        EXPECT_TRUE(a[i].name == b[i].name && a[i].values == b[i].values) << a[i].name.toStdString();
}

TEST_F(CondExchangeTest, DamagedFileLeavesTheBookAsItWas)
{
    fillGrid(0);
    const xl::Block before = grid();
    currentConditionFile = QStringLiteral("/somewhere/前回.csv");
    ui::setNextText(QStringLiteral(QV_TEST_DATA_DIR "/workbook/condition_file/damaged/cut-before-end.csv"));
    EXPECT_FALSE(cmd復元_Click());
    EXPECT_TRUE(shownTitles().contains(QStringLiteral("条件データ読込エラー")));
    EXPECT_TRUE(grid() == before);
    EXPECT_EQ(currentConditionFile, QStringLiteral("/somewhere/前回.csv"));
}

// A need no number can hold, typed into the file by hand, is refused by its line before the grid
// is cleared.
TEST_F(CondExchangeTest, ANumberBeyondWhatACellHoldsIsRefusedByItsLine)
{
    const QString path = dir.filePath(QStringLiteral("手直し.csv"));
    saveAs(path);
    fillGrid(0);
    const xl::Block before = grid();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    file.close();
    qsizetype at = -1;
    for (qsizetype i = 0; i < lines.size() && at < 0; ++i)
        if (lines[i].contains(QStringLiteral(",Need_Table,")))
            at = i + 1;
    ASSERT_GT(at, 0);
    QStringList fields = lines[at].split(QLatin1Char(','));
    fields[1] = QStringLiteral("1e999");
    lines[at] = fields.join(QLatin1Char(','));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(lines.join(QStringLiteral("\r\n")).toUtf8());
    file.close();

    ui::setNextText(path);
    EXPECT_FALSE(cmd復元_Click());
    ASSERT_EQ(ui::shownMessages().back().title, QStringLiteral("条件データ読込エラー"));
    const QString said = lastPrompt();
    EXPECT_TRUE(said.contains(QStringLiteral("%1 行目: ").arg(at + 1))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("Need_Table の 2 列目の「1e999」は大きすぎて"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("条件データは変更していません。")));
    EXPECT_TRUE(grid() == before);
}

TEST_F(CondExchangeTest, WhatALoadSkippedIsSaidOnceItHasFinished)
{
    const QString path = dir.filePath(QStringLiteral("他の病棟.csv"));
    saveAs(path);
    condition_file::ConditionFile file{{}, blocks(path)};
    file.blocks.push_back({QStringLiteral("Main"), QStringLiteral("無い範囲"), xl::Block(1, 1), 0, {}});
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(condition_file::serialize(file)) > 0);
    out.close();
    ui::setNextText(path);
    ASSERT_TRUE(cmd復元_Click());
    EXPECT_EQ(ui::shownMessages().back().title, QStringLiteral("条件データ読込"));
    EXPECT_TRUE(lastPrompt().startsWith(QStringLiteral("条件データを読み込みましたが、次の点に注意してください。")));
    EXPECT_TRUE(lastPrompt().contains(QStringLiteral("無い範囲")));
}

TEST_F(CondExchangeTest, SaveAsksBeforeOverwritingAndReportsFailure)
{
    const QString path = dir.filePath(QStringLiteral("既存.csv"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep");
    f.close();
    ui::setNextText(path);
    ui::setNextAnswer(ui::vbCancel);
    cmd保存_Click();
    EXPECT_TRUE(shownTitles().contains(QStringLiteral("ファイル名の確認")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "keep");

    ui::resetMessages();
    saveAs(dir.filePath(QStringLiteral("無い/条件.csv")));
    EXPECT_TRUE(shownTitles().contains(QStringLiteral("条件データ保存エラー")));
    EXPECT_NE(lastPrompt(), QStringLiteral("保存を完了しました！"));
}

TEST_F(CondExchangeTest, NewFileResetsToTheTemplateAndOnRequestTheSavedShifts)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("parts")));
    ASSERT_TRUE(QFile::copy(sourceFile("parts/新規作成.csv"), dir.filePath(QStringLiteral("parts/新規作成.csv"))));
    fillGrid(0);
    placeBook();
    save(ui::vbOK);
    ASSERT_GT(scalar(QStringLiteral("SELECT count(*) FROM T_勤務表")).toInt(), 0);

    // Cancel on the second question changes nothing.
    const xl::Block before = grid();
    ui::setNextAnswer(ui::vbOK);
    ui::setNextAnswer(ui::vbCancel);
    mnuNewFile_Click();
    EXPECT_TRUE(grid() == before);

    currentConditionFile = QStringLiteral("/somewhere/前回.csv");
    for (const int answer : {ui::vbOK, ui::vbOK, ui::vbYes})
        ui::setNextAnswer(answer);
    mnuNewFile_Click();
    EXPECT_TRUE(shownTitles().contains(QStringLiteral("勤務記録初期化")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM T_勤務表")).toInt(), 0);
    EXPECT_TRUE(currentConditionFile.isEmpty());
    EXPECT_TRUE(book->worksheets(QStringLiteral("名前リスト")).range(QStringLiteral("C1")).value().toString().isEmpty());
    EXPECT_FALSE(grid() == before);
}
