#include "platform/ui/widgets/screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

TEST(Screen, WindowsArePlacedInsideTheFreeAreaOfTheirScreen)
{
    QWidget window;
    const QScreen* primary = QGuiApplication::primaryScreen();
    ASSERT_TRUE(primary);
    const QRect area = screenOf(&window);
    EXPECT_EQ(area, primary->availableGeometry());
    EXPECT_EQ(screenOf(nullptr), area);

    window.resize(area.width() / 2, area.height() / 3);
    centreOnScreen(&window);
    EXPECT_TRUE(area.contains(window.frameGeometry()));
    EXPECT_LE(std::abs(window.frameGeometry().center().x() - area.center().x()), 1);
    EXPECT_LE(std::abs(window.frameGeometry().center().y() - area.center().y()), 1);

    // Larger than the area: its title bar stays reachable at the area's top left.
    window.resize(area.width() + 200, area.height() + 100);
    centreOnScreen(&window);
    EXPECT_EQ(window.frameGeometry().topLeft(), area.topLeft());
}
