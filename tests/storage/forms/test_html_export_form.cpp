// The publishing dialog: its two settings on sheet Main, the folder it offers and its start button.
#include "storage/forms/html_export_form.h"

#include "common.h"
#include "engine/conditions.h"
#include "shell/desktop.h"
#include "shell/status.h"
#include "storage/state.h"
#include "workbook/template.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class PublishingDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetStorageState();
        installConditionModelSteps();
        // The logs and the database stay in the test's own folder.
        AppPath = stWorkPath = stDbPath = dir.path();
        xlBook = &workbook::createTemplate(XlApp());
        // The count of shifts shown stays as written here.
        XlApp().setCalculation(xl::kCalculationManual);
        shifts(12);
        setShellOpener([](const QUrl&) { return true; });
    }
    void TearDown() override
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DbClose();
        setShellOpener({});
        closeSharedProgress();
        resetStorageState();
    }
    static void shifts(double n) { xlBook->worksheets(u"人員配置表"_s).range(u"shift_データ数"_s).setValue(n); }
    static QString stored(const char16_t* name) { return xlDtGet(u"Main"_s, QString::fromUtf16(name)); }
    QTemporaryDir dir;
};

TEST_F(PublishingDialog, ShowsTheStoredKindsAndStoresThemInFullOnClosing)
{
    xlDtSet(u"Main"_s, u"HTML_ITEM"_s, u"11100000"_s);
    auto* f = new frm公開用HTML作成;
    f->show();
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(f->ChkShift[size_t(i)]->isChecked(), i < 3) << i;
    f->close();
    EXPECT_EQ(stored(u"HTML_ITEM"), u"1110000000"_s);

    xlDtSet(u"Main"_s, u"HTML_ITEM"_s, QString());   // empty: the first three kinds
    f = new frm公開用HTML作成;
    f->show();
    EXPECT_EQ(f->HTML_ITEM_作成(), u"1110000000"_s);
    f->cmdAllCheck[0]->click();
    EXPECT_EQ(f->HTML_ITEM_作成(), u"1111111111"_s);
    f->close();
}

TEST_F(PublishingDialog, AChosenFolderEnablesTheBuildAndIsStoredOnlyByBuilding)
{
    const QString common = GetFolderPath(46);
    QDir(common).removeRecursively();
    auto* f = new frm公開用HTML作成;
    f->show();
    EXPECT_EQ(f->txtPath->text(), common);   // the stored folder is empty
    EXPECT_FALSE(f->cmd開始->isEnabled());   // and the fallback is not there
    // The dialog says why, and what to do.
    EXPECT_TRUE(f->lblPathName->text().endsWith(u"このフォルダはありません。「変更」で作成先のフォルダを選ぶと、作成開始できます。"_s));
    EXPECT_EQ(f->cmd開始->toolTip(), f->lblPathName->text().section(u'\n', -1));
    ui::setNextText(dir.path());
    f->cmd変更->click();
    EXPECT_EQ(f->txtPath->text(), dir.path());
    EXPECT_TRUE(f->lblPathName->text().isEmpty());
    EXPECT_TRUE(f->cmd開始->isEnabled());
    EXPECT_TRUE(f->cmd開始->toolTip().isEmpty());
    f->close();
    EXPECT_TRUE(stored(u"HTML_PATH").isEmpty());

    ASSERT_TRUE(QDir().mkpath(common));
    f = new frm公開用HTML作成;
    f->show();
    EXPECT_EQ(f->lblPathName->text(), u"共有ドキュメント"_s);
    ui::setNextText(dir.path());
    f->cmd変更->click();
    f->cmdAllCheck[1]->click();
    // No conditions can be read from this book: the settings are kept, nothing is published.
    QPointer<frm公開用HTML作成> building = f;
    f->cmd開始->click();
    EXPECT_EQ(stored(u"HTML_PATH"), dir.path());
    EXPECT_EQ(stored(u"HTML_ITEM"), u"0000000000"_s);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"ShiftHtml"_s)));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(building.isNull());
}

TEST_F(PublishingDialog, ClosesItselfWhenNoShiftIsShown)
{
    shifts(0);
    QPointer<frm公開用HTML作成> f = new frm公開用HTML作成;
    f->show();
    ASSERT_FALSE(ui::shownMessages().empty());
    EXPECT_EQ(ui::shownMessages().back().title, u"データ無し"_s);
    EXPECT_EQ(ui::shownMessages().back().prompt, u"シフトデータが表示されていません！"_s);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(f.isNull());
}

}  // namespace

TEST_F(PublishingDialog, TheCloseBoxDuringTheBuildClosesTheDialogOnlyOnceTheBuildHasEnded)
{
    QPointer<frm公開用HTML作成> f = new frm公開用HTML作成;
    f->show();
    ui::setNextText(dir.path());
    f->cmd変更->click();
    // The window manager's close arrives while the build shows a message and lets events run.
    int closes = 0;
    const ui::DialogHandler closeBox = [&](const ui::MessageRequest&) {
        if (f) {
            ++closes;
            QCloseEvent event;
            QCoreApplication::sendEvent(f, &event);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_TRUE(f);
        }
        return ui::Answer{ui::vbOK, {}};
    };
    ui::setDialogHandler(ui::Kind::Standard, closeBox);
    ui::setDialogHandler(ui::Kind::Custom, closeBox);
    f->cmd開始->click();
    ui::setDialogHandler(ui::Kind::Standard, nullptr);
    ui::setDialogHandler(ui::Kind::Custom, nullptr);
    EXPECT_GT(closes, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(f.isNull());
}
