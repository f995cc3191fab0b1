#pragma once
// A visible Application with one new workbook and its window, and a recorder of the workbook's
// events.
#include "platform/os/state.h"
#include "platform/ui/prompt.h"
#include "platform/xl/widgets/sheet_model.h"
#include "platform/xl/widgets/sheet_view.h"
#include "platform/xl/widgets/sheet_window.h"
#include "platform/xl/xl.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using xl::widgets::SheetView;

struct EventLog : xl::WorkbookObserver {
    QStringList changes, selections, activations;
    void sheetChange(const xl::Range& target) override { changes << target.address(); }
    void selectionChange(const xl::Range& target) override { selections << target.address(); }
    void sheetActivate(xl::Worksheet& sheet) override { activations << sheet.name(); }
};

// Counts paint events of a widget.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class SheetWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        xl::widgets::install();
        xl::widgets::setProgramTitle(QStringLiteral("勤務表"));
        resetPlatformState();
        app = std::make_unique<xl::Application>();
        book = &app->workbooks().add();
        ws = &book->activeSheet();
        book->addObserver(&log);
        app->setVisible(true);
        window = xl::widgets::SheetWindow::of(*app);
        ASSERT_NE(window, nullptr);
        settle();
    }
    void TearDown() override
    {
        xl::widgets::setSavePermission({});
        xl::widgets::setSaveAsDialog({});
        app.reset();
        settle();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    xl::widgets::SheetView* view() const { return window->currentView(); }
    QModelIndex at(int row, int column) const { return view()->model()->index(row - 1, column - 1); }
    void select(int row, int column) const
    {
        view()->selectionModel()->setCurrentIndex(at(row, column), QItemSelectionModel::ClearAndSelect);
    }
    QWidget* editor() const { return view()->indexWidget(view()->currentIndex()); }

    std::unique_ptr<xl::Application> app;
    xl::Workbook* book = nullptr;
    xl::Worksheet* ws = nullptr;
    xl::widgets::SheetWindow* window = nullptr;
    EventLog log;
};
