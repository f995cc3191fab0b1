// The weight settings window over a database of its own: the weights, presets and trial counts
// round trip through the window and the database, a typed weight is stored when its edit ends,
// the countdown starts the requested method with its count, and any interaction stops it.
#include "common.h"
#include "optimise/forms/weights_form.h"
#include "optimise/install.h"
#include "optimise/state.h"
#include "shell/rs_dbsub.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kTable = QStringLiteral("T_基本設定");

QString stored(const QString& field)
{
    return GetTableValue(kTable, field);
}

class WeightsWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        resetOptimiseState();
        AppPath = QDir::homePath();
        DbBusyTimeoutMs = 0;
        stWorkPath = stDbPath = dir.path();
        ASSERT_EQ(AddTableField(), 0);
        installConditionModelSteps();
        installOptimiserSteps();
        ASSERT_TRUE(openSampleBook(sourceFile(kGeneral)).ok);
        ASSERT_GE(全条件読込(-1), 0);
        ui::resetMessages();
    }
    void TearDown() override
    {
        if (w)
            w->cmdClose_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        resetOptimiseState();
    }
    // Opened as the main window opens it, then its second loading stage.
    frm最適化荷重設定& open(int request)
    {
        DlgParam = request;
        w = new frm最適化荷重設定;
        w->show();
        w->Timer_Load_Timer();
        return *w;
    }
    void close()
    {
        w->cmdClose_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(w.isNull());
    }

    QTemporaryDir dir;
    QPointer<frm最適化荷重設定> w;
};

TEST_F(WeightsWindow, SettingsOnlyEditsRoundTripThroughTheDatabase)
{
    SetTableValue(kTable, QStringLiteral("最適化試行回数"), QStringLiteral("7"));
    SetTableValue(kTable, QStringLiteral("荷重_優先勤務"), Type_Cnt + 3);  // a shift type removed since
    frm最適化荷重設定& f = open(-1);
    EXPECT_FALSE(f.countingDown());
    EXPECT_TRUE(f.lblTime->isHidden());
    EXPECT_EQ(f.windowTitle(), QStringLiteral("最適化荷重設定"));
    EXPECT_EQ(f.highlightedButton(), 0);
    EXPECT_EQ(f.cmd試行回数->currentText(), QStringLiteral("7"));
    EXPECT_EQ(f.cmb優先勤務->currentText(), QString());
    EXPECT_EQ(f.cmb最適化荷重[1]->currentText(), QStringLiteral("10"));

    // Typing keeps digits only and writes nothing until the edit ends.
    QLineEdit* edit = f.cmb最適化荷重[1]->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("4x2"));
    EXPECT_EQ(edit->text(), QStringLiteral("42"));
    EXPECT_EQ(stored(QStringLiteral("荷重_各勤務日数_今期")), QStringLiteral("10"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(stored(QStringLiteral("荷重_各勤務日数_今期")), QStringLiteral("42"));

    // "最小値" then "既定値": every weight, the hidden ones too, the priority shift, the multipliers.
    const std::pair<const char*, const char*> defaults[] = {
        {"荷重_総勤務日数_今期", "10"}, {"荷重_各勤務日数_今期", "10"}, {"荷重_休日出勤_今期", "10"},
        {"荷重_総勤務日数", "10"},      {"荷重_各勤務日数", "10"},      {"荷重_休日出勤", "10"},
        {"荷重_休日勤務_今期", "10"},   {"荷重_休日勤務", "10"},        {"荷重_休み曜日_今期", "10"},
        {"荷重_単勤総数_今期", "1"},    {"荷重_単休総数_今期", "1"},    {"荷重_単勤分散_今期", "1"},
        {"荷重_単休分散_今期", "1"},    {"荷重_優先勤務倍率_今期", "10"}, {"荷重_優先勤務倍率", "10"},
        {"荷重_優先勤務", "0"}};
    f.cmd値設定_荷重[1]->click();
    for (const auto& [field, value] : defaults)
        EXPECT_EQ(stored(QString::fromUtf8(field)), QStringLiteral("0")) << field;
    f.cmd値設定_荷重[0]->click();
    for (const auto& [field, value] : defaults)
        EXPECT_EQ(stored(QString::fromUtf8(field)), QString::fromUtf8(value)) << field;

    // An edit still open when the window closes is kept, and shown when it opens again.
    f.cmb最適化荷重[12]->setEditText(QStringLiteral("5"));
    close();
    EXPECT_FALSE(Sw_中止);
    EXPECT_TRUE(ui::shownMessages().empty());
    EXPECT_EQ(open(-1).cmb最適化荷重[12]->currentText(), QStringLiteral("5"));
    EXPECT_EQ(w->cmb優先勤務倍率[1]->currentText(), QStringLiteral("10"));
}

TEST_F(WeightsWindow, TheCountdownStartsTheRequestedMethodWithItsCount)
{
    SetTableValue(kTable, QStringLiteral("最適化試行回数"), QStringLiteral("5,1,3"));
    frm最適化荷重設定& f = open(2);
    EXPECT_EQ(f.highlightedButton(), 2);
    EXPECT_EQ(f.cmd試行回数->currentText(), QStringLiteral("3"));
    EXPECT_TRUE(f.windowTitle().endsWith(QStringLiteral("カウントダウン停止：どこかをクリック")));
    for (int tick = 1; tick < 70; ++tick)
        f.Timer_Go_Timer();
    EXPECT_EQ(f.lblTime->text(), QStringLiteral("1"));
    EXPECT_TRUE(ui::shownMessages().empty());

    ui::setNextAnswer(ui::vbOK);
    f.Timer_Go_Timer();
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(ui::shownMessages()[0].title, QStringLiteral("ランダム入替完了"));
    EXPECT_EQ(stored(QStringLiteral("最適化試行回数")), QStringLiteral("5,1,3,"));
    EXPECT_TRUE(Sw_中止);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}

TEST_F(WeightsWindow, ClosedJustAfterAMethodWasChosenItStartsNothingAndGoes)
{
    // Each way comes in the short wait before the method starts.
    const std::vector<std::pair<const char*, std::function<void(frm最適化荷重設定&)>>> ways = {
        {"Escape", [](frm最適化荷重設定& f) { QTest::keyClick(&f, Qt::Key_Escape); }},
        {"キャンセル", [](frm最適化荷重設定& f) { f.cmdClose->click(); }},
        {"the close box", [](frm最適化荷重設定& f) { f.close(); }},
    };
    for (const auto& [name, way] : ways) {
        SCOPED_TRACE(name);
        frm最適化荷重設定& f = open(-1);
        Sw_中止 = false;
        bool came = false;
        QTimer::singleShot(0, &f, [&, way = way] {
            came = true;
            way(*w);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_TRUE(w);
        });
        ui::resetMessages();
        f.cmd最適化[2]->click();
        EXPECT_TRUE(came);
        EXPECT_TRUE(ui::shownMessages().empty());
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(w.isNull());
    }
}

TEST_F(WeightsWindow, AnyInteractionStopsTheCountdownForGood)
{
    frm最適化荷重設定& f = open(1);
    EXPECT_EQ(f.highlightedButton(), 1);
    EXPECT_EQ(f.cmd試行回数->currentText(), QStringLiteral("1"));
    ASSERT_TRUE(f.countingDown());
    QTest::mouseClick(f.lbl試行回数, Qt::LeftButton);
    EXPECT_FALSE(f.countingDown());
    EXPECT_TRUE(f.lblTime->isHidden());
    EXPECT_EQ(f.windowTitle(), QStringLiteral("最適化荷重設定"));
    EXPECT_TRUE(ui::shownMessages().empty());
}

TEST(WeightsWindowCounts, ATypedOrStoredCountIsAWholeNumberWithinRange)
{
    const std::pair<const char*, int> cases[] = {{"99999", 32767}, {"-3", 0}, {"abc", 0}, {" 7", 7}, {"", 0}};
    for (const auto& [text, count] : cases)
        EXPECT_EQ(frm最適化荷重設定::triesValue(QString::fromUtf8(text)), count) << text;
}

}  // namespace
