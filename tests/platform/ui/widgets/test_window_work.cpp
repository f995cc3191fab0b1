#include "platform/ui/widgets/window_work.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Every way a dialog deleted on close can be asked to go while its handler is at work.
const std::vector<std::pair<const char*, std::function<void(QDialog&)>>> kWays = {
    {"close", [](QDialog& d) { d.close(); }},
    {"window manager", [](QDialog& d) {
         QCloseEvent event;
         QCoreApplication::sendEvent(&d, &event);
     }},
    {"Escape", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
    {"deleteLater", [](QDialog& d) { d.deleteLater(); }},
};

}  // namespace

TEST(WindowWork, AWindowAskedToGoDuringItsWorkStaysUntilTheWorkHasEnded)
{
    for (const auto& [name, way] : kWays) {
        SCOPED_TRACE(name);
        QPointer<QDialog> dialog = new QDialog;
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
        {
            const ui::WindowWork outer(dialog);
            {
                // A second handler of the same window, nested in the first.
                const ui::WindowWork inner(dialog);
                EXPECT_EQ(ui::handlersRunning(), 2);
                way(*dialog);
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            ASSERT_TRUE(dialog);
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_TRUE(ui::closeAsked(dialog));
        }
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(dialog);
        EXPECT_EQ(ui::handlersRunning(), 0);
    }
}

TEST(WindowWork, OutsideItsWorkAWindowClosesAtOnceAndTheEndOfTheLastHandlerIsTold)
{
    int ended = 0;
    ui::setHandlersEndedHook([&] { ++ended; });
    QPointer<QDialog> dialog = new QDialog;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    {
        const ui::WindowWork work(nullptr);
        EXPECT_FALSE(ui::closeAsked(dialog));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(dialog);
        EXPECT_EQ(ended, 0);
    }
    EXPECT_EQ(ended, 1);
    ui::setHandlersEndedHook(nullptr);

    // Escape closes dialogs only: to another window during its work it is no close.
    QWidget window;
    window.show();
    {
        const ui::WindowWork work(&window);
        QTest::keyClick(&window, Qt::Key_Escape);
        EXPECT_FALSE(ui::closeAsked(&window));
    }
    EXPECT_TRUE(window.isVisible());
}
