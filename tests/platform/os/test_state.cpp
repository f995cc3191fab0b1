// The platform's reset leaves what a fresh process has: no scripted answers or recorded
// messages, and the random sequence from its start.
#include "platform/os/state.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"

#include <gtest/gtest.h>

TEST(PlatformState, ResetClearsMessagesAndRestartsTheRandomSequence)
{
    resetPlatformState();
    const double first = Rnd();
    const double second = Rnd();
    ui::setNextAnswer(ui::vbYes);
    ui::setNextAnswer(ui::vbNo);
    ui::showMessage(QStringLiteral("?"), ui::vbYesNo, QStringLiteral("T"));

    resetPlatformState();
    EXPECT_EQ(ui::pendingAnswers(), 0u);
    EXPECT_TRUE(ui::shownMessages().empty());
    EXPECT_EQ(Rnd(), first);
    EXPECT_EQ(Rnd(), second);
}
