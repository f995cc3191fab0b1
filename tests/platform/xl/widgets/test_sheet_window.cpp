// The window around the grids: selection, repainting, tabs and formula bar, visibility, the
// second Application's window and the save commands.
#include "sheet_window_fixture.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPaintEvent>
#include <QScreen>
#include <QTabBar>
#include <QTemporaryDir>

using namespace xl;

TEST_F(SheetWindowTest, SelectionFollowsTheUserAndTheProgram)
{
    log.selections.clear();
    select(3, 4);
    EXPECT_EQ(log.selections, QStringList{QStringLiteral("$D$3")});
    EXPECT_EQ(ws->selection().address(), QStringLiteral("$D$3"));
    view()->selectionModel()->select(QItemSelection(at(3, 4), at(5, 6)), QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(ws->selection().address(), QStringLiteral("$D$3:$F$5"));

    // A click reports its cell once, when the button goes up.
    log.selections.clear();
    QTest::mousePress(view()->viewport(), Qt::LeftButton, {}, view()->visualRect(at(7, 2)).center());
    EXPECT_TRUE(log.selections.isEmpty());
    QTest::mouseRelease(view()->viewport(), Qt::LeftButton, {}, view()->visualRect(at(7, 2)).center());
    EXPECT_EQ(log.selections, QStringList{QStringLiteral("$B$7")});
    EXPECT_EQ(window->addressBox()->text(), QStringLiteral("B7"));

    // The program selects: the view follows and reports nothing back as the user's.
    log.selections.clear();
    ws->range("H10:I12").select();
    settle();
    EXPECT_EQ(log.selections, QStringList{QStringLiteral("$H$10:$I$12")});
    EXPECT_EQ(view()->currentIndex(), at(10, 8));
    EXPECT_EQ(view()->selectedRange().address(), QStringLiteral("$H$10:$I$12"));
    EXPECT_EQ(window->addressBox()->text(), QStringLiteral("H10"));

    // Whole columns, by the program or typed, select the column without growing the table.
    const int rows = view()->model()->rowCount();
    ws->range("C:D").select();
    settle();
    EXPECT_EQ(view()->selectedRange().address(), QStringLiteral("$C:$D"));
    window->addressBox()->setText(QStringLiteral("E:E"));
    QTest::keyClick(window->addressBox(), Qt::Key_Return);
    EXPECT_EQ(ws->selection().address(), QStringLiteral("$E:$E"));
    ws->range("F:F").clearContents();
    ws->range("F:F").interior().setColor(QColor(Qt::yellow));
    settle();
    EXPECT_EQ(view()->model()->rowCount(), rows);
}

TEST_F(SheetWindowTest, ScreenUpdatingOffFreezesThenRepaintsOnce)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    settle();
    PaintCounter counter;
    view()->viewport()->installEventFilter(&counter);

    // Many single-cell writes in one turn are painted together, not one by one.
    for (int r = 1; r <= 300; ++r)
        ws->cells(r % 20 + 1, r % 7 + 1).setValue(double(r));
    settle();
    EXPECT_GE(counter.paints, 1);
    EXPECT_LE(counter.paints, 3);

    counter.paints = 0;
    app->setScreenUpdating(false);
    for (int r = 1; r <= 300; ++r)
        ws->cells(r % 20 + 1, r % 7 + 1).setValue(QStringLiteral("x%1").arg(r));
    ws->range("A1").select();
    settle();
    EXPECT_EQ(counter.paints, 0);
    app->setScreenUpdating(true);
    settle();
    EXPECT_GE(counter.paints, 1);
    EXPECT_LE(counter.paints, 3);
    EXPECT_EQ(view()->model()->data(at(1, 1)).toString(), ws->range("A1").text());
    view()->viewport()->removeEventFilter(&counter);
}

// Screen updating switched on and off again before the window had its turn: the turn it gets while
// frozen paints nothing, and switching on again still repaints all of it, what another window
// uncovered meanwhile included.
TEST_F(SheetWindowTest, ScreenUpdatingBackOnRepaintsAllAfterATurnSpentFrozen)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    settle();
    struct PaintedArea : QObject {
        QRegion painted;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                painted += static_cast<QPaintEvent*>(e)->region();
            return false;
        }
    } area;
    QWidget* viewport = view()->viewport();
    viewport->installEventFilter(&area);

    app->setScreenUpdating(false);
    app->setScreenUpdating(true);
    app->setScreenUpdating(false);
    ws->range("B2").setValue(QStringLiteral("日勤"));
    settle();
    EXPECT_TRUE(area.painted.isEmpty());
    app->setScreenUpdating(true);
    settle();
    EXPECT_EQ(area.painted, QRegion(viewport->rect()));
    EXPECT_EQ(view()->model()->data(at(2, 2)).toString(), QStringLiteral("日勤"));
    viewport->removeEventFilter(&area);
}

TEST_F(SheetWindowTest, TabsAndFormulaBarFollowTheSwitchesAndTheActiveSheet)
{
    EXPECT_FALSE(window->sheetTabs()->isHidden());
    EXPECT_FALSE(window->formulaBar()->isHidden());
    app->setDisplayWorkbookTabs(false);
    app->setDisplayFormulaBar(false);
    EXPECT_TRUE(window->sheetTabs()->isHidden());
    EXPECT_TRUE(window->formulaBar()->isHidden());
    app->setDisplayFormulaBar(true);
    EXPECT_FALSE(window->formulaBar()->isHidden());

    Worksheet& second = book->addSheet(QStringLiteral("人員配置表"));
    second.range("B2").setValue(QStringLiteral("日勤"));
    settle();
    ASSERT_EQ(window->sheetTabs()->count(), 2);
    EXPECT_EQ(window->sheetTabs()->tabText(1), QStringLiteral("人員配置表"));

    log.activations.clear();
    second.activate();
    settle();
    EXPECT_EQ(window->currentView(), window->viewOf(second));
    EXPECT_EQ(window->sheetTabs()->currentIndex(), 1);
    EXPECT_EQ(log.activations, QStringList{QStringLiteral("人員配置表")});

    select(2, 2);
    EXPECT_EQ(window->addressBox()->text(), QStringLiteral("B2"));
    EXPECT_EQ(window->contentBox()->text(), QStringLiteral("日勤"));

    // The user picks the first tab: that sheet becomes active, with its event.
    window->sheetTabs()->setCurrentIndex(0);
    EXPECT_EQ(&book->activeSheet(), ws);
    EXPECT_EQ(window->currentView(), window->viewOf(*ws));
    EXPECT_EQ(log.activations.last(), ws->name());

    // A protected sheet's tab says so; a hidden sheet has none.
    second.protect();
    ws->setVisible(kSheetHidden);
    settle();
    EXPECT_FALSE(window->sheetTabs()->tabIcon(1).isNull());
    EXPECT_FALSE(window->sheetTabs()->isTabVisible(0));
}

TEST_F(SheetWindowTest, TheFormulaBarEchoesTypingAndCtrlEndFindsTheLastUsedCell)
{
    ws->range("C3").setValue(QStringLiteral("元"));
    select(3, 3);
    QTest::keyClick(view(), Qt::Key_A);
    QTest::keyClick(editor(), Qt::Key_B);
    EXPECT_EQ(window->contentBox()->text(), QStringLiteral("ab"));
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_EQ(window->contentBox()->text(), QStringLiteral("元"));

    // The last row and column holding something shown, not the edge of the grid.
    ws->range("E9").setValue(1.0);
    ws->range("H4").setValue(2.0);
    ws->range("Z40").setValue(3.0);
    ws->setColumnHidden(26, true);
    ws->setRowHidden(40, true);
    settle();
    QTest::keyClick(view(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view()->currentIndex(), at(9, 8));
}

TEST_F(SheetWindowTest, FormulaBarEditsAndGoesToAddresses)
{
    window->addressBox()->setText(QStringLiteral("c4"));
    QTest::keyClick(window->addressBox(), Qt::Key_Return);
    EXPECT_EQ(ws->selection().address(), QStringLiteral("$C$4"));
    window->addressBox()->setText(QStringLiteral("B2:D3"));
    QTest::keyClick(window->addressBox(), Qt::Key_Return);
    EXPECT_EQ(ws->selection().address(), QStringLiteral("$B$2:$D$3"));

    log.changes.clear();
    window->contentBox()->setText(QStringLiteral("夜勤"));
    QTest::keyClick(window->contentBox(), Qt::Key_Escape);
    EXPECT_EQ(window->contentBox()->text(), QString());
    window->contentBox()->setText(QStringLiteral("夜勤"));
    QTest::keyClick(window->contentBox(), Qt::Key_Return);
    EXPECT_EQ(ws->range("B2").value(), QVariant(QStringLiteral("夜勤")));
    EXPECT_EQ(log.changes, QStringList{QStringLiteral("$B$2")});

    ws->protect();
    ui::resetMessages();
    ui::setNextAnswer(ui::vbOK);
    select(2, 2);
    window->contentBox()->setText(QStringLiteral("日勤"));
    QTest::keyClick(window->contentBox(), Qt::Key_Return);
    EXPECT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(ws->range("B2").value(), QVariant(QStringLiteral("夜勤")));
    EXPECT_EQ(window->contentBox()->text(), QStringLiteral("夜勤"));
}

TEST_F(SheetWindowTest, ZoomCommandScalesTheActiveSheet)
{
    QAction* zoom150 = nullptr;
    for (QAction* a : window->findChildren<QAction*>())
        if (a->text() == QStringLiteral("150%"))
            zoom150 = a;
    ASSERT_NE(zoom150, nullptr);
    zoom150->trigger();
    settle();
    EXPECT_EQ(ws->zoom(), 150);
    EXPECT_TRUE(zoom150->isChecked());
    EXPECT_EQ(view()->columnWidth(0), widgets::columnPixels(8.43, 150));
}

TEST_F(SheetWindowTest, VisibilityWindowStateTitleAndQuit)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Book1 - 勤務表"));
    EXPECT_TRUE(window->isVisible());
    app->setWindowState(kMaximized);
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    app->setWindowState(kNormal);
    EXPECT_FALSE(window->windowState() & Qt::WindowMaximized);
    // The user maximises: the model knows, and other switches leave the window as it is.
    window->showMaximized();
    EXPECT_EQ(app->windowState(), kMaximized);
    app->setScreenUpdating(false);
    app->setScreenUpdating(true);
    app->setDisplayFormulaBar(false);
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    app->setWindowState(kNormal);
    EXPECT_FALSE(window->windowState() & Qt::WindowMaximized);
    app->setDisplayFullScreen(true);
    EXPECT_TRUE(window->isFullScreen());
    app->setDisplayFullScreen(false);
    EXPECT_FALSE(window->isFullScreen());
    app->setVisible(false);
    EXPECT_FALSE(window->isVisible());
    app->setVisible(true);
    EXPECT_TRUE(window->isVisible());
    // The user cannot close the program's own workbook window, only put it aside.
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMinimized());
    EXPECT_EQ(app->windowState(), kMinimized);
    app->bringToFront();
    EXPECT_FALSE(window->isMinimized());
    app->quit();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->currentView(), nullptr);
}

// Shown for the first time, the window takes what the sheet's used cells need (a month's columns
// on the shift table), within the screen's free area.
TEST_F(SheetWindowTest, AFirstShowingFitsTheUsedCellsWithinTheScreen)
{
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    for (const int lastColumn : {8, 200}) {
        xl::Application other;
        other.workbooks().add().activeSheet().cells(30, lastColumn).setValue(1.0);
        other.setVisible(true);
        settle();
        auto* w = xl::widgets::SheetWindow::of(other);
        ASSERT_NE(w, nullptr);
        EXPECT_LE(w->width(), free.width()) << lastColumn;
        EXPECT_LE(w->height(), free.height()) << lastColumn;
        SheetView* v = w->currentView();
        if (v->usedSize().width() < free.width() - 16) {
            EXPECT_GE(w->width(), v->usedSize().width()) << lastColumn;
            EXPECT_LE(v->visualRect(v->model()->index(0, lastColumn - 1)).right(), v->viewport()->width()) << lastColumn;
        } else {
            EXPECT_GE(w->width(), free.width() - 16) << lastColumn;
        }
    }
}

TEST_F(SheetWindowTest, SaveAsksThePrograms)
{
    QTemporaryDir dir;
    book->saveAs(dir.filePath(QStringLiteral("shift.xlsx")));
    settle();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("shift.xlsx - 勤務表"));
    EXPECT_FALSE(window->saveAsAction()->isVisible());

    struct Case { bool allowed; bool savedAfter; } cases[] = {{false, false}, {true, true}};
    for (const Case& c : cases) {
        ws->range("A1").setValue(QStringLiteral("変更"));
        int asked = 0;
        widgets::setSavePermission([&](Workbook& b) { ++asked; EXPECT_EQ(&b, book); return c.allowed; });
        window->saveAction()->trigger();
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(book->saved(), c.savedAfter);
    }
}

TEST_F(SheetWindowTest, ASecondApplicationHasItsOwnWindowWithSaveAs)
{
    Application exportApp;
    Workbook& other = exportApp.workbooks().add();
    other.activeSheet().range("A1").setValue(QStringLiteral("出力"));
    exportApp.setVisible(true);
    settle();
    widgets::SheetWindow* second = widgets::SheetWindow::of(exportApp);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, window);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->currentView()->model()->data(second->currentView()->model()->index(0, 0)).toString(),
              QStringLiteral("出力"));
    EXPECT_TRUE(second->saveAsAction()->isVisible());

    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("出力.xlsx"));
    QString suggested;
    widgets::setSaveAsDialog([&](QWidget*, const QString& s) { suggested = s; return target; });
    second->saveAsAction()->trigger();
    EXPECT_TRUE(QFileInfo::exists(target));
    EXPECT_TRUE(other.saved());
    EXPECT_TRUE(suggested.endsWith(QStringLiteral(".xlsx")));
    EXPECT_EQ(second->windowTitle(), QStringLiteral("出力.xlsx - 勤務表"));

    // Closing it with unsaved changes asks; Cancel keeps it open, No closes without saving.
    other.activeSheet().range("A2").setValue(1.0);
    ui::setNextAnswer(ui::vbCancel);
    second->close();
    EXPECT_TRUE(second->isVisible());
    ui::setNextAnswer(ui::vbNo);
    second->close();
    EXPECT_FALSE(second->isVisible());
    EXPECT_TRUE(exportApp.hasQuit());
    EXPECT_TRUE(window->isVisible());
}

// The program keeps its Application (and so its window) until it ends; ending the process then
// must not touch what is already gone.
TEST(SheetWindowDeathTest, AWindowAliveAtTheProcessEndLeavesCleanly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static std::unique_ptr<Application> held;   // made before the window layer's own state
            widgets::install();
            held = std::make_unique<Application>();
            held->workbooks().add().activeSheet().range("A1").setValue(1.0);
            held->setVisible(true);
            QCoreApplication::processEvents();
            std::fprintf(stderr, "ending\n");
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "ending");
}
