#include "platform/ui/prompt.h"
#include "platform/ui/widgets/message_box.h"
#include "shell/forms/message_box_form.h"
#include "shell/forms/wait_message_form.h"
#include "shell/forms/shell_windows.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/state.h"
#include "shell/status.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class MsgBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetShellState();
        installShellWindows();
    }
    void TearDown() override
    {
        resetShellState();
    }
};

// Presses the button of that caption in the modal window once it is open.
void pressLater(const QString& caption)
{
    QTimer::singleShot(0, [caption] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        const auto buttons = modal->findChildren<QPushButton*>();
        for (QPushButton* b : buttons)
            if (b->isVisible() && b->text() == caption) {
                b->click();
                return;
            }
        FAIL() << "no button " << qPrintable(caption);
    });
}

QString record(const QString& prompt, long buttons, long autoClose = 0, long displayFlag = 0)
{
    return MsgBoxRequest(prompt, buttons, QStringLiteral("題"), autoClose, 0, {}, 0, {}, 0, {}, 0, displayFlag);
}

}  // namespace

TEST_F(MsgBoxTest, AutoCloseCountsDownWholeSeconds)
{
    frmMsgBox box(record(QStringLiteral("閉じます"), 0, 5000));
    box.show();
    ASSERT_TRUE(box.Timer_Wait.isActive());
    QStringList shown;
    int ticks = 0;
    while (box.isVisible() && ticks < 100) {
        box.Timer_Wait_Timer();
        ++ticks;
        if (shown.isEmpty() || shown.last() != box.txtTime->text())
            shown << box.txtTime->text();
    }
    EXPECT_EQ(ticks, 50);
    EXPECT_EQ(shown, QStringList({QString(), QStringLiteral("4"), QStringLiteral("3"), QStringLiteral("2"),
                                  QStringLiteral("1"), QStringLiteral("0")}));
    EXPECT_EQ(box.result(), 0);
    EXPECT_EQ(box.pressedCaption(), QString());
}

TEST_F(MsgBoxTest, AClickOnTheTextStopsTheCountdown)
{
    frmMsgBox box(record(QStringLiteral("閉じます"), 0, 5000));
    box.show();
    for (int i = 0; i < 10; ++i)
        box.Timer_Wait_Timer();
    EXPECT_EQ(box.txtTime->text(), QStringLiteral("4"));
    QTest::mouseClick(box.txtMsgBox[0]->viewport(), Qt::LeftButton);
    EXPECT_FALSE(box.Timer_Wait.isActive());
    EXPECT_EQ(box.txtTime->text(), QString());
    EXPECT_TRUE(box.isVisible());
}

TEST_F(MsgBoxTest, MyMsgBoxAnswersByTheCaptionPressed)
{
    struct Case {
        long buttons;
        const char16_t* press;
        long result;
    } cases[] = {{3 + 256, u"キャンセル", 2}, {3 + 256, u"いいえ", 7}, {3, u"はい", 6}, {2, u"中止", 3},
                 {2, u"再試行", 4},          {2, u"無視", 5},       {1, u"Cancel", 2}, {0, u"Ok", 1}};
    for (const Case& c : cases) {
        pressLater(QString::fromUtf16(c.press));
        EXPECT_EQ(MyMsgBox(QStringLiteral("確認"), c.buttons), c.result) << c.buttons;
        EXPECT_EQ(DlgParam.toString(), QString::fromUtf16(c.press));
    }
}

TEST_F(MsgBoxTest, ButtonSetsAndDefaultButton)
{
    frmMsgBox box(record(QStringLiteral("保存しますか"), 3 + 256));
    box.show();
    EXPECT_EQ(box.cmdClose[0]->text(), QStringLiteral("はい"));
    EXPECT_EQ(box.cmdClose[2]->text(), QStringLiteral("キャンセル"));
    EXPECT_TRUE(box.cmdClose[1]->isDefault());
    EXPECT_FALSE(box.cmdClose[0]->isDefault());
    // The frame holds exactly the visible buttons and is centred.
    EXPECT_EQ(box.frButton->width(), box.cmdClose[2]->x() + box.cmdClose[2]->width());
    EXPECT_EQ(box.frButton->x(), (box.width() - box.frButton->width()) / 2);

    frmMsgBox one(record(QStringLiteral("x"), 0));
    one.show();
    EXPECT_TRUE(one.cmdClose[0]->isVisible());
    EXPECT_FALSE(one.cmdClose[1]->isVisible());
    EXPECT_EQ(one.frButton->width(), one.cmdClose[0]->width());
}

TEST_F(MsgBoxTest, SizeAndTextBoxMode)
{
    frmMsgBox sized(record(QStringLiteral("x"), 0), 800, 500);
    EXPECT_EQ(sized.size(), QSize(800, 500));
    frmMsgBox design(record(QStringLiteral("x"), 0), 0, 500);
    const QSize designSize = design.size();
    EXPECT_NE(designSize, QSize(0, 500));
    EXPECT_EQ(frmMsgBox(record(QStringLiteral("x"), 0), 800, 0).size(), designSize);

    QString longText;
    for (int i = 0; i < 60; ++i)
        longText += QStringLiteral("%1 行目: ").arg(i) + QString(120, QLatin1Char('x')) + QStringLiteral("\r\n");
    frmMsgBox report(record(longText, 0, 0, 1), 800, 500);
    report.show();
    EXPECT_EQ(report.chosen, 1);
    EXPECT_TRUE(report.txtMsgBox[1]->isVisible());
    EXPECT_FALSE(report.txtMsgBox[0]->isVisible());
    EXPECT_EQ(report.txtMsgBox[1]->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_TRUE(report.txtMsgBox[1]->isReadOnly());
    EXPECT_GT(report.txtMsgBox[1]->verticalScrollBar()->maximum(), 0);
    EXPECT_GT(report.txtMsgBox[1]->horizontalScrollBar()->maximum(), 0);
    // Lines keep their breaks: CR LF is one break.
    EXPECT_EQ(report.txtMsgBox[1]->document()->blockCount(), 61);
    // The text box fills the form above the buttons.
    const QRect text = report.txtMsgBox[1]->geometry();
    EXPECT_EQ(text.width(), 800 - 20);
    EXPECT_LE(text.bottom(), report.frButton->y());
}

// The plain box (the 作成完了 report) shows a scroll bar only where its text is longer than it.
TEST_F(MsgBoxTest, PlainBoxScrollsWhenTheTextDoesNotFit)
{
    for (const auto& [lines, scrolls] : {std::pair{40, true}, std::pair{2, false}}) {
        QString text;
        for (int i = 0; i < lines; ++i)
            text += QStringLiteral("%1：日勤 20日").arg(i) + QStringLiteral("\r\n");
        frmMsgBox box(record(text, 0), 500, 450);
        box.show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(box.txtMsgBox[0]->isVisible());
        EXPECT_EQ(box.txtMsgBox[0]->verticalScrollBar()->isVisible(), scrolls) << lines;
    }
}

TEST_F(MsgBoxTest, StandardBoxStylesAndResults)
{
    struct Case {
        int style;
        std::vector<int> results;
        int defaultResult;
    } cases[] = {
        {0, {ui::vbOK}, ui::vbOK},
        {1, {ui::vbOK, ui::vbCancel}, ui::vbOK},
        {3, {ui::vbYes, ui::vbNo, ui::vbCancel}, ui::vbYes},
        {4, {ui::vbYes, ui::vbNo}, ui::vbYes},
        {260, {ui::vbYes, ui::vbNo}, ui::vbNo},
        {4096, {ui::vbOK}, ui::vbOK},
        {4097, {ui::vbOK, ui::vbCancel}, ui::vbOK},
        {4353, {ui::vbOK, ui::vbCancel}, ui::vbCancel},
        {4356, {ui::vbYes, ui::vbNo}, ui::vbNo},
    };
    for (const Case& c : cases) {
        for (int press : c.results) {
            ui::StandardMessageBox box(QStringLiteral("本文"), c.style, QStringLiteral("題"));
            ASSERT_EQ(box.buttons().size(), c.results.size()) << c.style;
            EXPECT_EQ(box.defaultButton(), box.buttonFor(c.defaultResult)) << c.style;
            EXPECT_EQ(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint), (c.style & 4096) != 0);
            QTimer::singleShot(0, [&box, press] { box.buttonFor(press)->click(); });
            box.exec();
            EXPECT_EQ(box.vbResult(), press) << c.style;
        }
    }
    ui::StandardMessageBox yesNo(QStringLiteral("x"), 3, QString());
    EXPECT_EQ(yesNo.buttonFor(ui::vbYes)->text(), QStringLiteral("はい(&Y)"));
    EXPECT_EQ(yesNo.escapeButton(), yesNo.buttonFor(ui::vbCancel));
}

// Dialogs carry a title and a close button only; the input box shows every line of its prompt.
TEST_F(MsgBoxTest, DialogsHaveNoMinimiseOrMaximiseButtonAndTheInputBoxShowsItsWholePrompt)
{
    const QString longest = QStringLiteral("交換不可も含める　スペース　* (アスタリスク)を入力");
    ui::StandardMessageBox box(QStringLiteral("本文"), 4096, QStringLiteral("題"));
    ui::StandardInputBox input(QStringLiteral("調査対象のIDを入力\r\n\r\n") + longest, QStringLiteral("入替可能判定"),
                               QStringLiteral("101"));
    QWidget tool(nullptr, Qt::Window);
    ui::setDialogFrame(&tool);
    for (QWidget* w : {static_cast<QWidget*>(&box), static_cast<QWidget*>(&input), &tool}) {
        const Qt::WindowFlags f = w->windowFlags();
        EXPECT_FALSE(f & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)) << w->windowTitle().toStdString();
        EXPECT_TRUE(f.testFlags(Qt::WindowTitleHint | Qt::WindowCloseButtonHint)) << w->windowTitle().toStdString();
    }
    EXPECT_TRUE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    input.show();
    QCoreApplication::processEvents();
    QLabel* prompt = nullptr;
    for (QLabel* l : input.findChildren<QLabel*>())
        if (l->text().contains(longest))
            prompt = l;
    ASSERT_NE(prompt, nullptr);
    EXPECT_FALSE(prompt->text().contains(QLatin1Char('\r')));
    EXPECT_GE(prompt->width(), prompt->fontMetrics().horizontalAdvance(longest));
    EXPECT_EQ(input.textValue(), QStringLiteral("101"));
}

// A short text ("出力完了") must not leave the title bar too narrow for its caption.
TEST_F(MsgBoxTest, TheBoxIsWideEnoughForItsCaption)
{
    ui::StandardMessageBox box(QStringLiteral("出力完了"), 4096, QStringLiteral("Quorvane"));
    box.show();
    QCoreApplication::processEvents();
    const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
    EXPECT_GE(box.width(), title.horizontalAdvance(QStringLiteral("Quorvane")) + 6 * title.height());
    box.hide();
}

TEST_F(MsgBoxTest, StandardBoxThroughTheInstalledHandler)
{
    pressLater(QStringLiteral("いいえ(&N)"));
    EXPECT_EQ(MsgBox(QStringLiteral("削除しますか"), 4), ui::vbNo);
}

TEST_F(MsgBoxTest, NoticeCountsDownAndStops)
{
    MsgWaitTime = 4000;
    frmMsgWait w;
    EXPECT_EQ(w.lblTime->text(), QStringLiteral("4"));
    w.show();
    QStringList labels;
    int ticks = 0;
    while (w.isVisible() && ticks < 100) {
        w.Timer1_Timer();
        labels << w.lblTime->text();
        ++ticks;
    }
    EXPECT_EQ(ticks, 40);
    EXPECT_EQ(labels.first(), QStringLiteral("3.9"));
    EXPECT_EQ(labels.last(), QStringLiteral("0"));
    EXPECT_FALSE(Sw_中止);

    MsgWaitTime = 6000;
    pressLater(QStringLiteral("中止"));
    ShowMsgWait(QStringLiteral("もう一度作成します"));
    EXPECT_TRUE(Sw_中止);
    EXPECT_GT(MsgWaitTime, 5000);
}

// The pickers and the input box are Qt's own windows: their captions come from Qt's Japanese texts.
TEST_F(MsgBoxTest, QtsOwnDialogsSpeakJapanese)
{
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}
