// Publishing a sample month: the pictures, the site's folders and pages, and how a build ends.
#include "site_fixture.h"

#include "engine/conditions.h"
#include "engine/model.h"
#include "platform/text/cp932.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "shell/status.h"
#include "storage/sheet_gif.h"
#include "storage/website.h"
#include "workbook/layout.h"
#include "workbook/recalc.h"

#include <QDir>
#include <QFile>
#include <functional>

using namespace Qt::StringLiterals;
using sitefx::SiteMonth;

namespace {

// Runs a step whenever frmPrgB changes, as a click on its cancel button would.
struct ProgressWatch : StatusWindows {
    std::function<void(const ProgressState&)> step;
    void splash(const SplashState&) override {}
    void bootSplash(const QString&) override {}
    bool bootSplashLoaded() const override { return false; }
    void bootProgress(const QString&) override {}
    void progress(const ProgressState& s) override { step(s); }
};

void stopWhen(std::function<bool(const ProgressState&)> condition)
{
    auto watch = std::make_unique<ProgressWatch>();
    watch->step = [condition](const ProgressState& s) {
        if (condition(s))
            Sw_中止 = true;
    };
    setStatusWindows(std::move(watch));
}

QString readPage(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    const std::optional<QString> text = text::fromCp932(f.readAll());
    EXPECT_TRUE(text.has_value()) << path.toStdString();
    return text.value_or(QString());
}

int gifCount(const QString& folder)
{
    return int(QDir(folder).entryList({u"shift_*.gif"_s}, QDir::Files).size());
}

struct Site : SiteMonth {
    void TearDown() override
    {
        setStatusWindows(nullptr);
        SiteMonth::TearDown();
    }
    QString root() const { return folder() + u"/ShiftHtml/"_s; }
    void publish(const QString& flags)
    {
        xlDtSet(u"Main"_s, u"HTML_PATH"_s, folder());
        xlDtSet(u"Main"_s, u"HTML_ITEM"_s, flags);
        result = CreateWebsite();
    }
    WebsiteResult result;
};

TEST_F(Site, RangeTableFollowsTheSizesAndTheCellsReadAfterTheIndex)
{
    open();
    XlApp().setCalculation(xl::kCalculationManual);   // keeps the cells written here
    Type_Cnt = 5;
    sheet(u"日別要員"_s).range(u"YoinMax"_s).setValue(3.0);
    EXPECT_EQ(PictureRange(sheet(u"日別要員"_s)), u"$A$3:$G$8"_s);
    Day_Cnt = 31;
    sheet(u"シフト別"_s).range(u"A4"_s).setValue(6.0);
    EXPECT_EQ(PictureRange(sheet(u"シフト別"_s)), u"B4:J35"_s);
    Type_Cnt = 10;
    EXPECT_EQ(PictureRange(sheet(u"シフト一覧"_s)), u"C4:AH16"_s);
    EXPECT_EQ(PictureRange(sheet(u"個人別"_s)), u"B3:H39"_s);
    EXPECT_THROW(PictureRange(sheet(u"Main"_s)), xl::Error);
}

TEST_F(Site, EachPictureShowsItsPageAndAStopKeepsThoseWritten)
{
    open();
    showSharedProgress(QString());
    const QStringList failed = SheetToGif(sheet(u"シフト別"_s), folder(), u"シフト別_Idx"_s, Type_Cnt, 0);
    EXPECT_TRUE(failed.isEmpty());
    EXPECT_EQ(progressState().value[0], Type_Cnt);
    const workbook::ShiftTypes types = workbook::readShiftTypes(*xlBook);
    for (int k = 1; k <= Type_Cnt; ++k) {
        const QImage gif(folder() + u"/shift_%1.gif"_s.arg(k));
        ASSERT_FALSE(gif.isNull()) << k;
        // The heading over the names takes the colour of shift type k.
        EXPECT_EQ(sitefx::cellColour(gif, sheet(u"シフト別"_s), 4, 2, 4, 6), types.colors[size_t(k - 1)]) << k;
    }

    const QSize third = QImage(folder() + u"/shift_3.gif"_s).size();
    stopWhen([](const ProgressState& s) { return s.value[0] == 2; });
    SheetToGif(sheet(u"個人別"_s), folder(), u"SelectId"_s, 5, 0);
    EXPECT_TRUE(QFile::exists(folder() + u"/shift_2.gif"_s));
    EXPECT_NE(QImage(folder() + u"/shift_2.gif"_s).size(), third);
    EXPECT_EQ(QImage(folder() + u"/shift_3.gif"_s).size(), third);   // not overwritten
    EXPECT_FALSE(QFile::exists(folder() + u"/shift_4.gif"_s));
}

TEST_F(Site, PublishesTheSelectedKindsAndLeavesOtherFilesAlone)
{
    open();
    sheet(u"スケジュール"_s).range(u"Member_List"_s).cells(2, 2).setValue(u"<&>"_s);
    ASSERT_TRUE(基本情報読込());
    QDir d(folder());
    for (const char* sub : {"ShiftHtml/shift/shift_1.gif/x", "ShiftHtml/yoyaku", "ShiftHtml/yoin-settei"})
        ASSERT_TRUE(d.mkpath(QString::fromUtf8(sub)));
    for (const char* file : {"ShiftHtml/memo.txt", "ShiftHtml/yoyaku/memo.txt", "ShiftHtml/yoyaku/index.html",
                             "ShiftHtml/yoyaku/shift_1.gif", "ShiftHtml/yoin-settei/index.html"}) {
        QFile f(d.filePath(QString::fromUtf8(file)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    publish(u"1000100100"_s);
    // Kind 1's picture cannot replace the folder in its way: built without it, and said so.
    EXPECT_EQ(result.outcome, WebsiteResult::Built);
    EXPECT_EQ(result.failedImages, QStringList{root() + u"shift/shift_1.gif"_s});
    ASSERT_FALSE(ui::shownMessages().empty());
    const QString closing = ui::shownMessages().back().prompt;
    EXPECT_TRUE(closing.startsWith(u"作成時間：0分"_s)) << closing.toStdString();
    EXPECT_TRUE(closing.contains(u"作成できなかった画像：1 枚\r\n　shift/shift_1.gif"_s));
    EXPECT_EQ(opened, QStringList{root() + u"index.html"_s});

    for (const HtmlKind& k : HtmlKinds())
        EXPECT_TRUE(QFileInfo(root() + k.folder).isDir()) << k.folder.toStdString();
    EXPECT_EQ(gifCount(root() + u"kojin_betu"_s), Member_Cnt);
    EXPECT_EQ(gifCount(root() + u"shift_list"_s), 2);
    EXPECT_EQ(gifCount(root() + u"yoyaku"_s), 0);
    EXPECT_FALSE(QFile::exists(root() + u"yoyaku/index.html"_s));
    EXPECT_TRUE(QFile::exists(root() + u"yoin-settei/index.html"_s));   // no picture matched: kept
    EXPECT_TRUE(QFile::exists(root() + u"yoyaku/memo.txt"_s));
    EXPECT_TRUE(QFile::exists(root() + u"memo.txt"_s));
    EXPECT_TRUE(QFile::exists(root() + u"html-parts/style.css"_s));

    const QString top = readPage(root() + u"top.html"_s);
    EXPECT_LT(top.indexOf(u">総合シフト表<"_s), top.indexOf(u">シフト一覧<"_s));
    EXPECT_LT(top.indexOf(u">シフト一覧<"_s), top.indexOf(u">個人別シフト<"_s));
    EXPECT_FALSE(top.contains(u"予約勤務"_s));
    const QString members = readPage(root() + u"kojin_betu/index.html"_s);
    EXPECT_TRUE(members.contains(u"<OPTION value=2>102 &lt;&amp;&gt;</OPTION>"_s));
    EXPECT_TRUE(members.contains(u"<img src='shift_1.gif' id='myImg'>"_s));

    // The month's list, day 1 (a holiday) heading in its shade.
    const QImage list(root() + u"shift_list/shift_1.gif"_s);
    EXPECT_EQ(sitefx::cellColour(list, sheet(u"シフト一覧"_s), 4, 3, 4, 4), workbook::layout::kHoliday);
}

// The highlight of the cell the user last selected is the window's, not the month's.
TEST_F(Site, TheShiftTablePictureCarriesNoSelectionHighlight)
{
    open();
    xl::Worksheet& ws = sheet(u"人員配置表"_s);
    ASSERT_NE(workbook::cellNumber(sheet(u"基本設定"_s).range(u"行列ハイライト"_s).value()), 0.0);
    ws.userSelect(ws.range(u"F6"_s));   // member 2, day 3
    ASSERT_EQ(ws.viewMarkAt(6, 2), workbook::layout::kHighlight);
    publish(u"1000000000"_s);
    ASSERT_EQ(result.outcome, WebsiteResult::Built);
    const QImage picture(root() + u"shift/shift_1.gif"_s);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(sitefx::cellColour(picture, ws, 3, 1, 6, 2), workbook::layout::kDerived);
    EXPECT_EQ(sitefx::cellColour(picture, ws, 3, 1, 3, 6), ws.styleAt(3, 6).fill);
    EXPECT_NE(ws.styleAt(3, 6).fill, workbook::layout::kHighlight);
}

TEST_F(Site, WithNoKindSelectedOnlyTheSharedPagesAreBuilt)
{
    open();
    stVersion = u"2.15"_s;
    publish(u"0000000000"_s);
    EXPECT_EQ(result.outcome, WebsiteResult::Built);
    for (const HtmlKind& k : HtmlKinds())
        EXPECT_TRUE(QFileInfo(root() + k.folder).isDir()) << k.folder.toStdString();
    const QString top = readPage(root() + u"top.html"_s);
    EXPECT_TRUE(top.contains(u"2027年01月"_s));
    EXPECT_FALSE(top.contains(u"/index.html'"_s));
    EXPECT_TRUE(QFile::exists(root() + u"index.html"_s));
    EXPECT_TRUE(readPage(root() + u"bottom.html"_s).contains(u"Quorvane 　2.15<br>"_s));
}

TEST_F(Site, ACancelAndAnErrorEndTheBuildWithTheirMessage)
{
    open();
    stopWhen([](const ProgressState& s) { return s.name == u"個人別"_s && s.value[0] == 1; });
    publish(u"1000100000"_s);
    EXPECT_EQ(result.outcome, WebsiteResult::Cancelled);
    EXPECT_EQ(ui::shownMessages().back().title, u"処理中止"_s);
    EXPECT_EQ(ui::shownMessages().back().prompt, u"キャンセルされました！"_s);
    EXPECT_TRUE(QFile::exists(root() + u"shift/index.html"_s));
    EXPECT_EQ(gifCount(root() + u"kojin_betu"_s), 1);
    EXPECT_FALSE(QFile::exists(root() + u"top.html"_s));
    EXPECT_FALSE(progressState().loaded);

    // A folder under a file: the picker is offered, cancelled, and the build cannot start.
    setStatusWindows(nullptr);
    ui::resetMessages();
    QFile file(folder() + u"/plain"_s);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    xlDtSet(u"Main"_s, u"HTML_PATH"_s, file.fileName());
    ui::setNextText(QString());
    EXPECT_EQ(CreateWebsite().outcome, WebsiteResult::Failed);
    ASSERT_EQ(ui::shownMessages().size(), 2u);
    EXPECT_EQ(ui::shownMessages()[0].title, u"HTML作成先"_s);
    EXPECT_EQ(ui::shownMessages()[1].title, u"エラー発生！"_s);
}

}  // namespace
