// The query window and the save and load hub on a small database of saved shifts.
#include "common.h"
#include "work_folder.h"
#include "shell/desktop.h"
#include "storage/forms/save_load_form.h"
#include "storage/forms/query_form.h"
#include "storage/forms/saved_shifts_form.h"
#include "storage/state.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class StorageWindowsTest : public WorkFolderTest<resetStorageState> {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(WorkFolderTest::SetUp());
        作成年 = 2024;
        作成月 = 4;
        基準開始日 = 16;
        ASSERT_NO_FATAL_FAILURE(openDatabase());
        cn.execute(QStringLiteral("INSERT INTO T_名簿 (Id, 氏名) VALUES (1, '佐藤'), (2, 'O''Brien')"));
        cn.execute(QStringLiteral("INSERT INTO T_勤務種別 (勤務No, 勤務名, 略称, 勤務時間) VALUES (1, '日勤', '日', 8), (2, '夜勤', '夜', 16)"));
        cn.execute(QStringLiteral("INSERT INTO T_勤務表 (Id, 日付, 勤務No) VALUES (1, '2024-04-16', 1), (2, '2024-04-16', 2), "
                                  "(2, '2024-05-01', 1), (1, '2024-05-16', 2)"));
    }
    void TearDown() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setShellOpener(nullptr);
        setOnlineProbe(nullptr);
        WorkFolderTest::TearDown();
    }

    static bool said(const QString& text)
    {
        for (const ui::MessageRequest& r : ui::shownMessages())
            if (r.prompt.startsWith(text) || r.title == text)
                return true;
        return false;
    }
    static void kind(frmQuery& w, 集計種別 k)
    {
        w.cmb集計種別->setCurrentIndex(int(k));
        w.onKindChosen();
    }
};

template <class T>
T* openWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = dynamic_cast<T*>(w); t && t->isVisible())
            return t;
    return nullptr;
}

}  // namespace

TEST_F(StorageWindowsTest, QueryWindowOpensOnThePeriodAndLocksTheSummaries)
{
    frmQuery w;
    QAbstractItemModelTester tester(w.model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    // The whole period, not only the days of its first month.
    EXPECT_EQ(w.DTP_St->date(), QDate(2024, 4, 16));
    EXPECT_EQ(w.DTP_Ed->date(), QDate(2024, 5, 15));
    EXPECT_EQ(w.cmb集計種別->currentText(), QStringLiteral("名簿"));
    EXPECT_EQ(w.cmb氏名->count(), 3);
    EXPECT_EQ(w.lblレコード数->text(), QStringLiteral("2"));
    EXPECT_TRUE(w.chkEdit->isEnabled());

    kind(w, 集計種別::勤務データ);
    EXPECT_EQ(w.lblレコード数->text(), QStringLiteral("3"));
    w.cmb氏名->setCurrentIndex(2);
    w.onKindChosen();
    EXPECT_EQ(w.lblレコード数->text(), QStringLiteral("2"));

    kind(w, 集計種別::全勤務データ);
    EXPECT_FALSE(w.chkEdit->isEnabled());
    EXPECT_FALSE(w.cmdDbDel->isEnabled());
    EXPECT_FALSE(w.model->flags(w.model->index(0, 0)) & Qt::ItemIsEditable);
}

TEST_F(StorageWindowsTest, EditingIsSwitchedOnBeforeAnyChange)
{
    frmQuery w;
    QAbstractItemModelTester tester(w.model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    kind(w, 集計種別::勤務データ);
    w.DataGrid1->setCurrentIndex(w.model->index(0, 0));
    QTest::keyClick(w.DataGrid1, Qt::Key_Delete);
    EXPECT_TRUE(said(QStringLiteral("編集切り替え")));
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT count(*) FROM T_勤務表")).toInt(), 4);

    w.chkEdit->click();
    EXPECT_TRUE(said(QStringLiteral("編集可能になりました。")));
    EXPECT_TRUE(w.model->setData(w.model->index(0, 3), QStringLiteral("2")));
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT 勤務No FROM T_勤務表 WHERE Id = 1 AND 日付 = '2024-04-16'")).toInt(), 2);
    EXPECT_FALSE(w.model->setData(w.model->index(0, 3), QStringLiteral("二")));
    EXPECT_TRUE(said(QStringLiteral("入力エラー")));

    // The Delete key asks for each row; Cancel keeps it.
    ui::setNextAnswer(ui::vbCancel);
    QTest::keyClick(w.DataGrid1, Qt::Key_Delete);
    EXPECT_EQ(w.lblレコード数->text(), QStringLiteral("3"));
    ui::setNextAnswer(ui::vbOK);
    QTest::keyClick(w.DataGrid1, Qt::Key_Delete);
    EXPECT_EQ(w.lblレコード数->text(), QStringLiteral("2"));
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT count(*) FROM T_名簿")).toInt(), 2);

    // Another kind turns editing off, and says so.
    ui::resetMessages();
    kind(w, 集計種別::名簿);
    EXPECT_FALSE(w.chkEdit->isChecked());
    EXPECT_TRUE(said(QStringLiteral("編集不可にしました。")));

    // The roster's last line takes a new member.
    w.chkEdit->click();
    ASSERT_EQ(w.model->rowCount(), 3);
    EXPECT_TRUE(w.model->setData(w.model->index(2, 1), QStringLiteral("田中")));
    EXPECT_EQ(w.model->rowCount(), 4);
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT count(*) FROM T_名簿 WHERE 氏名 = '田中'")).toInt(), 1);
}

TEST_F(StorageWindowsTest, FilterCopyAndBulkDeleteWorkOnTheShownRows)
{
    frmQuery w;
    kind(w, 集計種別::勤務データ);
    w.DataGrid1->setCurrentIndex(w.model->index(1, 2));  // 氏名 O'Brien
    w.chkSelFilter->click();
    EXPECT_EQ(w.lblレコード数->text(), QStringLiteral("2"));

    w.cmdDbTool->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), tableText(*w.model->result()));
    EXPECT_TRUE(said(QStringLiteral("クリップボードにデータ転送完了")));

    ui::setNextAnswer(ui::vbOK);
    w.cmdDbDel->click();
    EXPECT_TRUE(said(QStringLiteral("データ無し、または、未保存")));
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT count(*) FROM T_勤務表")).toInt(), 2);
    EXPECT_EQ(cn.scalar(QStringLiteral("SELECT count(*) FROM T_名簿")).toInt(), 2);
}

TEST_F(StorageWindowsTest, HubOpensWindowsThatOutliveIt)
{
    showSaveLoad();
    QPointer<frm保存読込> hub = openWindow<frm保存読込>();
    ASSERT_TRUE(hub);
    EXPECT_TRUE(hub->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(hub->windowModality(), Qt::ApplicationModal);
    const QRect area = hub->screen()->availableGeometry();
    EXPECT_LE(std::abs(hub->frameGeometry().center().x() - area.center().x()), 3);
    EXPECT_GE(hub->frameGeometry().bottom(), area.top() + area.height() * 13 / 20);

    hub->cmdデーベース操作->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(hub);
    frmQuery* query = openWindow<frmQuery>();
    ASSERT_NE(query, nullptr);
    EXPECT_FALSE(query->isModal());
    EXPECT_EQ(query->windowTitle(), QStringLiteral("データベース操作＆集計"));

    showSaveLoad();
    hub = openWindow<frm保存読込>();
    hub->cmd勤務データ読込->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(hub);
    EXPECT_NE(openWindow<frm既存シフト読込>(), nullptr);

    // Publishing closes the hub however it ends: here the dialog finds no shifts to publish.
    showSaveLoad();
    hub = openWindow<frm保存読込>();
    hub->cmdCreateHtml->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(said(QStringLiteral("データ無し")));
    EXPECT_FALSE(hub);

    // A cancelled restore keeps the hub.
    showSaveLoad();
    hub = openWindow<frm保存読込>();
    ui::setNextAnswer(ui::vbCancel);
    hub->cmd復元->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(hub && hub->isVisible());
}

TEST_F(StorageWindowsTest, HelpLinksOpenTheirPages)
{
    QStringList opened;
    setOnlineProbe([] { return true; });
    setShellOpener([&opened](const QUrl& url) {
        opened << url.toString();
        return true;
    });
    frm保存読込 hub;
    for (QLabel* label : hub.lblHelp)
        emit label->linkActivated(label->text().section(QLatin1Char('"'), 1, 1));
    ASSERT_EQ(opened.size(), 7);
    EXPECT_EQ(opened[0], HelpUrl(QStringLiteral("kinmu-hozon/index.htm#02")));
    EXPECT_EQ(opened[2], HelpBaseUrl() + QStringLiteral("output/index.html#ex_6"));
    EXPECT_EQ(opened[6], HelpBaseUrl() + QStringLiteral("joken-hozon/index.htm#new"));
}
