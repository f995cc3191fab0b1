#include "platform/os/state.h"
#include "platform/ui/prompt.h"

#include <gtest/gtest.h>

namespace {

class PromptTest : public ::testing::Test {
protected:
    void SetUp() override { resetPlatformState(); }
    void TearDown() override
    {
        ui::setMessageHandler(nullptr);
        ui::setDialogHandler(ui::Kind::Dialog, nullptr);
        resetPlatformState();
    }
};

}  // namespace

TEST_F(PromptTest, QueuedAnswerBeatsHandlerBeatsShowBeatsDefault)
{
    int shown = 0;
    const auto show = [&] {
        ++shown;
        return ui::Answer{ui::vbRetry, {}};
    };
    ui::MessageRequest r(QStringLiteral("frm開始条件設定"), ui::vbOKCancel, QStringLiteral("frm開始条件設定"), ui::Kind::Dialog);

    EXPECT_EQ(ui::ask(r).result, ui::vbOK);  // headless default button
    EXPECT_EQ(ui::ask(r, show).result, ui::vbRetry);
    EXPECT_EQ(shown, 1);
    ui::setDialogHandler(ui::Kind::Dialog, [](const ui::MessageRequest&) { return ui::Answer{ui::vbIgnore, {}}; });
    EXPECT_EQ(ui::ask(r, show).result, ui::vbIgnore);
    ui::setNextAnswer(ui::vbCancel);
    EXPECT_EQ(ui::ask(r, show).result, ui::vbCancel);
    EXPECT_EQ(shown, 1);
    ASSERT_EQ(ui::shownMessages().size(), 4u);
    EXPECT_EQ(ui::shownMessages()[3].kind, ui::Kind::Dialog);
    EXPECT_EQ(ui::shownMessages()[3].title, QStringLiteral("frm開始条件設定"));
}

TEST_F(PromptTest, StandardHandlerAndQueuedAnswersInOrder)
{
    ui::setMessageHandler([](const ui::MessageRequest& r) { return r.buttons == 4 ? ui::vbYes : ui::vbOK; });
    ui::setNextAnswer(ui::vbNo);
    ui::setNextText(QStringLiteral("入力"));
    EXPECT_EQ(ui::showMessage(QStringLiteral("a"), ui::vbYesNo, QStringLiteral("t")), ui::vbNo);
    bool ok = false;
    EXPECT_EQ(ui::inputBox(QStringLiteral("b"), QStringLiteral("t"), QString(), &ok), QStringLiteral("入力"));
    EXPECT_TRUE(ok);
    EXPECT_EQ(ui::showMessage(QStringLiteral("c"), ui::vbYesNo, QStringLiteral("t")), ui::vbYes);
    EXPECT_EQ(ui::pendingAnswers(), 0u);
    // No picker is installed: the input box, folder picker and file dialogs count as cancelled.
    EXPECT_EQ(ui::inputBox(QStringLiteral("d"), QStringLiteral("t"), QStringLiteral("x"), &ok), QString());
    EXPECT_FALSE(ok);
    EXPECT_EQ(ui::browseFolder(QStringLiteral("e"), QStringLiteral("/")), QString());
    EXPECT_EQ(ui::openFileName(QStringLiteral("f"), QStringLiteral("/"), QString()), QString());
    EXPECT_EQ(ui::saveFileName(QStringLiteral("g"), QStringLiteral("/a.csv"), QString()), QString());
}

TEST_F(PromptTest, DefaultResults)
{
    const std::pair<int, int> cases[] = {{0, ui::vbOK},      {1, ui::vbOK},     {3, ui::vbYes},   {4, ui::vbYes},
                                         {260, ui::vbNo},    {4096, ui::vbOK},  {4097, ui::vbOK}, {4353, ui::vbCancel},
                                         {4356, ui::vbNo},   {3 + 512, ui::vbCancel}, {4 + 512, ui::vbYes}};
    for (const auto& [style, result] : cases)
        EXPECT_EQ(ui::defaultResult(style), result) << style;
}
