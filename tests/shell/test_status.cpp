#include "../support/manual_clock.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/state.h"
#include "shell/status.h"

#include <gtest/gtest.h>

namespace {

class StatusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetShellState();
        DspSplash(QString());
        closeSharedProgress();
    }
    void TearDown() override
    {
        DspSplash(QString());
        resetShellState();
    }
};

}  // namespace

TEST_F(StatusTest, SplashColoursWidthAndRemoval)
{
    DspSplash(QStringLiteral("終了処理中"), 0, 0x0000FF);  // 10 bytes in Shift-JIS
    const SplashState& s = splashState();
    ASSERT_TRUE(s.loaded);
    EXPECT_EQ(s.fore, QColor(0, 0, 255));
    EXPECT_EQ(s.back, QColor(192, 255, 192));  // back colour ignored with fore 0
    EXPECT_EQ(s.widthTwips, 4900);

    DspSplash(QStringLiteral("abc"), 0x0000FF, 0xFF0000);  // BGR: red text on blue
    EXPECT_EQ(splashState().fore, QColor(255, 0, 0));
    EXPECT_EQ(splashState().back, QColor(0, 0, 255));
    EXPECT_EQ(splashState().widthTwips, 7 * 350);

    DspSplash(QStringLiteral("abc"), 0x00FF00, 0);  // back 0 keeps pale green
    EXPECT_EQ(splashState().back, QColor(192, 255, 192));

    DspSplash(QString());
    EXPECT_FALSE(splashState().loaded);
}

TEST_F(StatusTest, SplashSuppressionAndHideNumber)
{
    DspSplash(QStringLiteral("前の表示"));
    Sw_表示抑止 = true;
    DspSplash(QStringLiteral("抑止中"));
    EXPECT_EQ(splashState().message, QStringLiteral("前の表示"));
    DspSplash(QStringLiteral("強制"), 0, 0, 0, true);
    EXPECT_EQ(splashState().message, QStringLiteral("強制"));
    // An empty message removes the window even while suppressed.
    DspSplash(QString());
    EXPECT_FALSE(splashState().loaded);

    Sw_表示抑止 = false;
    DspSplash(QStringLiteral("一瞬"), 0, 0, 1);
    EXPECT_FALSE(splashState().loaded);
}

TEST_F(StatusTest, PlacementSwitch)
{
    const QRect screen(0, 0, 1920, 1080);
    const QSize win(400, 100);
    const QPoint keep(12, 34);
    struct Case {
        long placement;
        bool progress;
        QPoint pos;
    } cases[] = {
        {0, false, {760, 235}},  // (1080 - 100) * 1.2 / 5
        {0, true, {760, 490}},
        {1, false, {1470, 0}},
        {2, true, {1470, 930}},
        {3, false, {0, 930}},
        {7, true, keep},
        {-1, false, keep},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StatusWindowPos(c.placement, screen, win, keep, c.progress), c.pos) << c.placement;
    // A second screen to the right keeps its offset.
    EXPECT_EQ(StatusWindowPos(1, QRect(1920, 0, 1280, 1024), win, keep, false), QPoint(1920 + 1280 - 450, 0));
}

TEST_F(StatusTest, BootStepTimeStampsAndDurations)
{
    ManualClock clock(QDateTime(QDate(2027, 3, 9), QTime(7, 5, 2)));
    clock.advance(1000);
    BootStepTime(QStringLiteral("起動開始"), true);
    EXPECT_EQ(BootStepLine(), QStringLiteral("2027/03/09 07:05:03 -------\r\n        0 00:00.000 起動開始"));
    clock.advance(500);
    QString start = QStringLiteral("Excel起動 Start");
    BootStepTime(start);
    EXPECT_EQ(start, QStringLiteral("Excel起動 Start"));
    clock.advance(82956);
    QString end = QStringLiteral("Excel起動 End");
    BootStepTime(end);
    EXPECT_EQ(end, QStringLiteral("Excel起動 End  (82956)"));
    EXPECT_EQ(BootStepLine(), QStringLiteral("   83,456 01:23.456 Excel起動 End  (82956)"));

    QString lone = QStringLiteral("DB End");
    BootStepTime(lone);
    EXPECT_EQ(lone, QStringLiteral("DB End"));

    EXPECT_EQ(BootStampText(3723004, QStringLiteral("x")), QStringLiteral("3,723,004 02:03.004 x"));
}

TEST_F(StatusTest, ProgressBarsKeepTheirState)
{
    setSharedProgress(0, 0, 10, 5);  // not shown: ignored
    EXPECT_FALSE(progressState().loaded);
    showSharedProgress(QStringLiteral("復元中"));
    setSharedProgress(0, 0, 10, 5);
    setSharedProgress(1, 1, 31, 40);
    EXPECT_EQ(progressState().name, QStringLiteral("復元中"));
    EXPECT_EQ(progressState().value[0], 5);
    EXPECT_EQ(progressState().value[1], 31);
    closeSharedProgress();
    EXPECT_FALSE(progressState().loaded);
}

TEST_F(StatusTest, NoticeStopAnswerSetsTheStopFlag)
{
    MsgWaitTime = 6000;
    ui::setNextAnswer(0);
    ShowMsgWait(QStringLiteral("再試行します"));
    EXPECT_FALSE(Sw_中止);
    ui::setNextAnswer(ui::vbAbort);
    ShowMsgWait(QStringLiteral("再試行します"));
    EXPECT_TRUE(Sw_中止);
    ASSERT_EQ(ui::shownMessages().size(), 2u);
    EXPECT_EQ(ui::shownMessages()[0].kind, ui::Kind::Notice);
    EXPECT_EQ(ui::shownMessages()[0].autoCloseMs, 6000);
}

TEST_F(StatusTest, MyMsgBoxPacksTheRequestAndMapsTheAnswer)
{
    const QString record = MsgBoxRequest(QStringLiteral("本文"), 3 + 256, QStringLiteral("題"), 5000, 9,
                                         QStringLiteral("a"), 1, QStringLiteral("b"), 2, QStringLiteral("c"), 3, 1);
    EXPECT_EQ(record.split(QChar(1)).size(), 12);
    EXPECT_EQ(record, QStringLiteral("本文\u0001" "259\u0001題\u0001" "5000\u0001" "9\u0001" "a\u0001" "1\u0001"
                                     "b\u0001" "2\u0001" "c\u0001" "3\u0001" "1"));
    const MsgBoxFields f = ParseMsgBoxRequest(record);
    EXPECT_EQ(f.buttons, 259);
    EXPECT_EQ(f.autoCloseMs, 5000);
    EXPECT_EQ(f.displayFlag, 1);

    stAppTitle = QStringLiteral("勤務表");
    ui::setNextAnswer(ui::Answer{0, QStringLiteral("いいえ")});
    EXPECT_EQ(MyMsgBox(QStringLiteral("保存しますか"), 3 + 256, QString(), 800, 500), 7);
    EXPECT_EQ(DlgParam.toString(), QStringLiteral("いいえ"));
    const ui::MessageRequest& r = ui::shownMessages().back();
    EXPECT_EQ(r.kind, ui::Kind::Custom);
    EXPECT_EQ(r.title, QStringLiteral("勤務表"));
    EXPECT_EQ(r.width, 800);
    EXPECT_EQ(r.height, 500);

    // A countdown close leaves the request in DlgParam and gives 0; a size needs both numbers.
    ui::setNextAnswer(0);
    EXPECT_EQ(MyMsgBox(QStringLiteral("x"), 0, QStringLiteral("t"), 800, 0, 3000), 0);
    EXPECT_TRUE(DlgParam.toString().startsWith(QStringLiteral("x\u0001")));
    EXPECT_EQ(ui::shownMessages().back().width, 0);
    EXPECT_EQ(ui::shownMessages().back().autoCloseMs, 3000);
}

TEST_F(StatusTest, CaptionsAndResults)
{
    struct Case {
        long buttons;
        QStringList captions;
        int defaultIndex;
    } cases[] = {
        {0, {QStringLiteral("Ok")}, 0},
        {1 + 256, {QStringLiteral("Ok"), QStringLiteral("Cancel")}, 1},
        {2 + 512, {QStringLiteral("中止"), QStringLiteral("再試行"), QStringLiteral("無視")}, 2},
        {3 + 256, {QStringLiteral("はい"), QStringLiteral("いいえ"), QStringLiteral("キャンセル")}, 1},
        {4 + 512, {QStringLiteral("はい"), QStringLiteral("いいえ")}, 0},  // no third button
        {5, {QStringLiteral("再試行"), QStringLiteral("キャンセル")}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MsgBoxCaptions(c.buttons), c.captions) << c.buttons;
        EXPECT_EQ(MsgBoxDefaultIndex(c.buttons), c.defaultIndex) << c.buttons;
    }
    const std::pair<const char16_t*, long> results[] = {{u"Ok", 1},     {u"Cancel", 2}, {u"キャンセル", 2}, {u"中止", 3},
                                                        {u"再試行", 4}, {u"無視", 5},   {u"はい", 6},       {u"いいえ", 7},
                                                        {u"OK", 0},     {u"", 0}};
    for (const auto& [caption, result] : results)
        EXPECT_EQ(MsgBoxResult(QString::fromUtf16(caption)), result);
}

TEST_F(StatusTest, StandardAndInputBoxesThroughTheHook)
{
    stAppTitle = QStringLiteral("勤務表");
    ui::setNextAnswer(ui::vbNo);
    EXPECT_EQ(MsgBox(QStringLiteral("続けますか"), 4356), ui::vbNo);
    EXPECT_EQ(ui::shownMessages().back().title, QStringLiteral("勤務表"));
    EXPECT_EQ(ui::shownMessages().back().buttons, 4356);

    ui::setNextText(QStringLiteral("12"));
    EXPECT_EQ(InputBox(QStringLiteral("ID"), QStringLiteral("入力"), QStringLiteral("1")), QStringLiteral("12"));
    EXPECT_EQ(ui::shownMessages().back().kind, ui::Kind::Input);
    EXPECT_EQ(ui::shownMessages().back().text, QStringLiteral("1"));
    ui::setNextAnswer(ui::vbCancel);
    EXPECT_EQ(InputBox(QStringLiteral("ID")), QString());
    // Headless without an answer: the default button, cancel for the input box.
    EXPECT_EQ(MsgBox(QStringLiteral("q"), 4 + 256), ui::vbNo);
    EXPECT_EQ(InputBox(QStringLiteral("ID"), QString(), QStringLiteral("5")), QString());
    EXPECT_EQ(ui::pendingAnswers(), 0u);
}
