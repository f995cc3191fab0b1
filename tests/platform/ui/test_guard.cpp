#include "platform/os/vb_error.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompt.h"

#include <gtest/gtest.h>
#include <stdexcept>

TEST(Guarded, AnErrorEndsOnlyTheHandlerAndIsShownWithItsNumber)
{
    ui::resetMessages();
    EXPECT_TRUE(ui::guarded([] {}, QStringLiteral("T")));
    EXPECT_TRUE(ui::shownMessages().empty());

    bool after = false;
    EXPECT_FALSE(ui::guarded([&] {
        throw VbError(9, QStringLiteral("インデックスが有効範囲にありません。"));
        after = true;
    }, QStringLiteral("T")));
    EXPECT_FALSE(after);
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(ui::shownMessages()[0].prompt, QStringLiteral("9 インデックスが有効範囲にありません。"));
    EXPECT_EQ(ui::shownMessages()[0].title, QStringLiteral("T"));

    // Errors of other kinds are caught the same way.
    EXPECT_FALSE(ui::guarded([] { throw std::out_of_range("vector"); }, QStringLiteral("T")));
    EXPECT_EQ(ui::shownMessages()[1].prompt, QStringLiteral("51 内部エラーです。 vector"));
    EXPECT_FALSE(ui::guarded([] { throw 3; }, QStringLiteral("T")));
    EXPECT_EQ(ui::shownMessages()[2].prompt, QStringLiteral("51 内部エラーです。"));
    ui::resetMessages();

    // A layer's own box gets the same text; its failure stays inside the trap.
    QString shown;
    EXPECT_FALSE(ui::guarded([] { throw VbError(5, QStringLiteral("引数が不正です。")); },
                             [&](const QString& text) {
                                 shown = text;
                                 throw std::runtime_error("box");
                             }));
    EXPECT_EQ(shown, QStringLiteral("5 引数が不正です。"));
    EXPECT_TRUE(ui::shownMessages().empty());
}
