#include "platform/os/vb_error.h"
#include "platform/ui/prompt.h"
#include "shell/forms/form_helpers.h"
#include "shell/forms/shell_windows.h"
#include "shell/forms/small_forms.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/state.h"
#include "shell/status.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QDialog>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Counts the events of one type that reach the objects it watches.
struct EventCounter : QObject {
    explicit EventCounter(QEvent::Type counted) : type(counted) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        count += e->type() == type;
        return false;
    }
    QEvent::Type type;
    int count = 0;
};

class SmallFormsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetShellState();
        installShellWindows();
    }
    void TearDown() override
    {
        DspSplash(QString());
        DspBootSplash(QString());
        closeSharedProgress();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        resetShellState();
    }
    static QRect screen() { return QGuiApplication::primaryScreen()->geometry(); }
};

}  // namespace

TEST_F(SmallFormsTest, SplashFollowsThePlacementSetting)
{
    進行状況表示 = 1;
    DspSplash(QStringLiteral("終了処理中"));
    frmSplash* s = loadedSplash();
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->isVisible());
    EXPECT_EQ(s->lblMsg->text(), QStringLiteral("終了処理中"));
    EXPECT_EQ(s->width(), 4900 / TwipsPerPixelX(s));
    EXPECT_EQ(s->x(), screen().width() - s->width() - 50);
    EXPECT_EQ(s->y(), 0);
    EXPECT_EQ(s->palette().color(QPalette::Window), QColor(192, 255, 192));
    EXPECT_EQ(s->lblMsg->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    進行状況表示 = 3;
    DspSplash(QStringLiteral("次"));
    EXPECT_EQ(loadedSplash(), s);  // the one shared window
    EXPECT_EQ(s->x(), 0);
    EXPECT_EQ(s->y(), screen().height() - s->height() - 50);

    DspSplash(QString());
    EXPECT_EQ(loadedSplash(), nullptr);
}

// The caller of a status message goes on with long work at once: the window and its new text are
// drawn before DspSplash returns, not when events next run.
TEST_F(SmallFormsTest, SplashIsDrawnBeforeTheCallerGoesOn)
{
    DspSplash(QStringLiteral("準備中"));
    frmSplash* s = loadedSplash();
    ASSERT_NE(s, nullptr);
    EventCounter label(QEvent::Paint);
    s->lblMsg->installEventFilter(&label);
    DspSplash(QStringLiteral("勤務日数調整中・・"));
    EXPECT_GE(label.count, 1);
    EXPECT_EQ(s->lblMsg->text(), QStringLiteral("勤務日数調整中・・"));
    s->lblMsg->removeEventFilter(&label);
}

// Publishing goes on with long work at once: the progress window and each new state of its bars
// are drawn before the call returns.
TEST_F(SmallFormsTest, ProgressWindowIsDrawnBeforeTheCallerGoesOn)
{
    struct Paints : QObject {
        int count = 0;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            count += e->type() == QEvent::Paint && qobject_cast<frmPrgB*>(o);
            return false;
        }
    } paints;
    qApp->installEventFilter(&paints);
    showSharedProgress(QStringLiteral("HTML生成中"));
    EXPECT_GE(paints.count, 1);
    const int shown = paints.count;
    setSharedProgress(1, 0, 10, 3);
    EXPECT_GT(paints.count, shown);
    qApp->removeEventFilter(&paints);
}

// The boot splash puts itself on top every second: a box shown during start-up takes it down
// first, so that nothing lies over the box; so does a handler's error box.
TEST_F(SmallFormsTest, ABoxDuringStartUpIsNotUnderTheBootSplash)
{
    int splashes = -1;
    ui::setMessageHandler([&](const ui::MessageRequest&) {
        splashes = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            splashes += qobject_cast<frmBootSplash*>(w) && w->isVisible();
        return int(ui::vbOK);
    });
    const std::function<void()> boxes[] = {
        [] { MsgBox(QStringLiteral("データベースのファイル(集計.db)が壊れています。"), ui::vbOKOnly | ui::vbSystemModal); },
        [] { RunHandler([] { throw VbError(53, QStringLiteral("ファイルが見つかりません。")); }); },
    };
    for (const std::function<void()>& box : boxes) {
        DspBootSplash(QStringLiteral("Ver.0.1 起動中"));
        EXPECT_TRUE(loadedBootSplash() && loadedBootSplash()->isVisible());
        splashes = -1;
        box();
        EXPECT_EQ(splashes, 0);
        EXPECT_EQ(loadedBootSplash(), nullptr);
    }
    ui::setMessageHandler(nullptr);
    EXPECT_EQ(ui::shownMessages().back().prompt, QStringLiteral("53 ファイルが見つかりません。"));
    EXPECT_EQ(ui::shownMessages().back().title, stAppTitle);
}

TEST_F(SmallFormsTest, ProgressWindowPlacementBarsAndCancel)
{
    進行状況表示 = 1;
    showSharedProgress(QStringLiteral("保存中"));
    frmPrgB* p = loadedPrgB();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->x(), screen().width() - p->frameGeometry().width() - 50);
    EXPECT_EQ(p->y(), 0);
    setSharedProgress(0, 0, 20, 5);
    EXPECT_EQ(p->ProgB->maximum(), 20);
    EXPECT_EQ(p->ProgB->value(), 5);
    EXPECT_EQ(p->ProgB->x() + p->ProgB->width(), p->width());
    EXPECT_EQ(p->lblName->text(), QStringLiteral("保存中"));
    p->cmdCancel->click();
    p->cmdCancel->click();
    EXPECT_TRUE(Sw_中止);
    EXPECT_TRUE(p->isVisible());
    closeSharedProgress();

    // Over a modal window it belongs to that window, so its stop button takes clicks.
    QDialog modal;
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    showSharedProgress(QStringLiteral("保存中"));
    ASSERT_NE(loadedPrgB(), nullptr);
    EXPECT_TRUE(loadedPrgB()->parentWidget() == &modal && loadedPrgB()->isWindow());
    closeSharedProgress();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    frmPrgB designed;
    designed.move(123, 45);
    進行状況表示 = 7;
    designed.place();
    EXPECT_EQ(designed.pos(), QPoint(123, 45));
}

TEST_F(SmallFormsTest, BootSplashTimesAndClosesOnceHidden)
{
    DspBootSplash(QStringLiteral("Ver.0.1 起動中"));
    frmBootSplash* b = loadedBootSplash();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->lblMsg->text(), QStringLiteral("Ver.0.1 起動中"));
    b->Timer1_Timer(400);
    EXPECT_EQ(b->lblTime->text(), QString());
    const QColor first = b->lblMsg->palette().color(QPalette::WindowText);
    b->Timer1_Timer(2400);
    EXPECT_EQ(b->lblTime->text(), QStringLiteral("2"));
    EXPECT_NE(b->lblMsg->palette().color(QPalette::WindowText), first);  // blinking

    QString label = QStringLiteral("DB接続");
    BootStepTime(label, true);
    EXPECT_TRUE(b->lblProgress->text().endsWith(QStringLiteral("DB接続")));

    b->hide();
    b->Timer1_Timer(3400);
    EXPECT_FALSE(b->Timer1.isActive());
    EXPECT_EQ(loadedBootSplash(), nullptr);
}

TEST_F(SmallFormsTest, AboutBox)
{
    frmAbout about;
    EXPECT_TRUE(about.windowTitle().endsWith(QStringLiteral("のバージョン情報")));
    EXPECT_TRUE(about.lblVersion->text().startsWith(QStringLiteral("バージョン ")));
    EXPECT_EQ(frmAbout::MailTarget(QStringLiteral("MAILTO:x@y")), QStringLiteral("MAILTO:x@y"));
    EXPECT_EQ(frmAbout::MailTarget(QStringLiteral("x@y")), QStringLiteral("mailto:x@y"));
    const QStringList saved = frmAbout::sysInfoTools;
    frmAbout::sysInfoTools = {QStringLiteral("no-such-system-information-tool")};
    ui::setNextAnswer(ui::vbOK);
    about.cmdSysInfo->click();
    frmAbout::sysInfoTools = saved;
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(ui::shownMessages()[0].prompt, QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
}

TEST_F(SmallFormsTest, WindowSearchOverOwnWindows)
{
    EXPECT_EQ(FindWinSearchText(QStringLiteral("集計.mdb")), QStringLiteral("Microsoft Access"));
    EXPECT_EQ(FindWinSearchText(QStringLiteral("a.b.c")), QStringLiteral("a"));
    EXPECT_EQ(FindWinSearchText(QStringLiteral("shift")), QStringLiteral("shift"));
    QWidget first, second, exact;
    first.setWindowTitle(QStringLiteral("shift.xlsm - 1"));
    second.setWindowTitle(QStringLiteral("shift.xlsm - 2"));
    EXPECT_EQ(FindWinByTitle(QStringLiteral("shift.xls")), QApplication::topLevelWidgets().indexOf(&first)
                      < QApplication::topLevelWidgets().indexOf(&second) ? &second : &first);
    exact.setWindowTitle(QStringLiteral("shift"));
    EXPECT_EQ(FindWinByTitle(QStringLiteral("shift.xls")), &exact);
    EXPECT_EQ(FindWinByTitle(QStringLiteral("none.xls")), nullptr);
}

TEST_F(SmallFormsTest, ListAndComboHelpers)
{
    QComboBox combo;
    ComboSetList(&combo, QStringLiteral("a\r\n"));
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(1), QString());
    ComboSetList(&combo, QString());
    EXPECT_EQ(combo.count(), 0);
    EXPECT_TRUE(combo.updatesEnabled());

    QListWidget list;
    list.addItems({QStringLiteral("x"), QStringLiteral("y")});
    EXPECT_EQ(ListFindIdx(&list, QStringLiteral("y")), 1);
    EXPECT_EQ(ListFindIdx(&list, QStringLiteral("x")), 0);
    EXPECT_EQ(ListFindIdx(&list, QStringLiteral("z")), 0);

    // Shift boxes are combo boxes: exact text, case counts, 0 when nothing matches.
    ComboSetList(&combo, QStringLiteral("0:\t休\r\n1:\tA\r\n2:\ta"));
    EXPECT_EQ(ListFindIdx(&combo, QStringLiteral("2:\ta")), 2);
    EXPECT_EQ(ListFindIdx(&combo, QStringLiteral("1:\tA")), 1);
    EXPECT_EQ(ListFindIdx(&combo, QStringLiteral("1:")), 0);
    EXPECT_EQ(ListFindIdx(&combo, QStringLiteral("3:\tb")), 0);
}

TEST_F(SmallFormsTest, ShowWaitCloseWaitsForTheWindowEvenWhileStopIsSet)
{
    Sw_中止 = true;
    auto* w = new QWidget;
    QPointer<QWidget> alive(w);
    bool shownDuringWait = false;
    QTimer::singleShot(0, w, [&] {
        shownDuringWait = w->isVisible();
        w->close();
    });
    ShowWaitClose(w);
    EXPECT_TRUE(shownDuringWait);
    EXPECT_TRUE(alive.isNull());  // returned once the window was closed and unloaded
}

TEST_F(SmallFormsTest, KeysGoToTheFocusedWidget)
{
    struct Catcher : QWidget {
        QList<int> keys;
        void keyPressEvent(QKeyEvent* e) override { keys << e->key(); }
    } w;
    w.setFocusPolicy(Qt::StrongFocus);
    w.show();
    QApplication::setActiveWindow(&w);
    w.setFocus();
    KeyEsc();
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), &w);
    EXPECT_EQ(w.keys, QList<int>({Qt::Key_Escape}));
}

// Entering and leaving the topmost band keeps the window: no hide and show, the same native
// window, the window system told through it.
TEST_F(SmallFormsTest, TopmostChangesWithoutRecreatingTheWindow)
{
    QWidget form;
    form.show();
    const WId id = form.winId();
    EventCounter hides(QEvent::Hide);
    form.installEventFilter(&hides);
    for (const bool top : {true, false, true}) {
        if (top)
            FormTopMost(&form);
        else
            FormNoTopMost(&form);
        EXPECT_EQ(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint), top);
        EXPECT_EQ(form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), top);
        EXPECT_TRUE(form.isVisible());
    }
    FormTopMost(&form, true);
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(hides.count, 0);
    EXPECT_EQ(form.winId(), id);
}
