// The Application: workbooks and their files, macros, switches and live instances.
#include "model_fixture.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct AppRecorder : xl::ApplicationObserver {
    QStringList log;
    void applicationChanged(xl::Application&) override { log << QStringLiteral("changed"); }
    void workbooksChanged(xl::Application& a) override { log << QStringLiteral("books %1").arg(a.workbooks().count()); }
    void bringToFrontRequested(xl::Application&) override { log << QStringLiteral("front"); }
    void cancelEditRequested(xl::Application&) override { log << QStringLiteral("cancel"); }
    void quitting(xl::Application&) override { log << QStringLiteral("quit"); }
};

TEST(Application, MacrosRunByBookAndModuleName)
{
    xl::Application app;
    xl::Workbook& book = app.workbooks().add();
    QStringList ran;
    book.registerMacro(QStringLiteral("MyMainから起動"), QStringLiteral("勤務Clear"), [&](xl::Workbook& b) {
        ran << QStringLiteral("clear in ") + b.name();
        return QVariant(true);
    });
    book.registerMacro(QString(), QStringLiteral("MacroFixShift"), [&](xl::Workbook&) {
        ran << QStringLiteral("fix");
        return QVariant();
    });
    EXPECT_EQ(app.run(QStringLiteral("Book1!勤務Clear")), QVariant(true));
    app.run(QStringLiteral("book1!MyMainから起動.勤務clear"));
    app.run(QStringLiteral("'Book1'!MacroFixShift"));
    app.run(QStringLiteral("MacroFixShift"));
    EXPECT_EQ(ran, (QStringList{QStringLiteral("clear in Book1"), QStringLiteral("clear in Book1"),
                                QStringLiteral("fix"), QStringLiteral("fix")}));
    for (const char* bad : {"Book1!Nothing", "Book1!Other.勤務Clear", "in.xls!勤務Clear", "Nothing"})
        EXPECT_EQ(errorNumber([&] { app.run(QString::fromUtf8(bad)); }), 1004) << bad;
}

TEST(Application, SwitchesAndTheirNotices)
{
    xl::Application app;
    AppRecorder rec;
    app.addObserver(&rec);
    EXPECT_FALSE(app.visible());
    app.setVisible(true);
    app.setVisible(true);                          // unchanged: no notice
    app.setWindowState(xl::kMaximized);
    app.setScreenUpdating(false);
    app.setDisplayWorkbookTabs(false);
    app.setDisplayFormulaBar(false);
    app.setDisplayFullScreen(true);
    app.bringToFront();
    app.cancelCellEdit();
    EXPECT_EQ(rec.log.count(QStringLiteral("changed")), 6);
    EXPECT_TRUE(rec.log.contains(QStringLiteral("front")));
    EXPECT_TRUE(rec.log.contains(QStringLiteral("cancel")));
    EXPECT_EQ(app.windowState(), xl::kMaximized);
    EXPECT_EQ(errorNumber([&] { app.setWindowState(0); }), 1004);
    EXPECT_EQ(errorNumber([&] { app.worksheets(QStringLiteral("Sheet1")); }), 1004);   // no workbook
    app.removeObserver(&rec);
}

TEST(Application, LiveInstancesAreQuitTogether)
{
    const size_t before = xl::Application::instances().size();
    int created = 0;
    xl::Application::setCreationHook([&](xl::Application&) { ++created; });
    {
        xl::Application first;
        auto second = std::make_unique<xl::Application>();
        AppRecorder rec;
        second->addObserver(&rec);
        second->workbooks().add();
        second->setVisible(true);
        EXPECT_EQ(xl::Application::instances().size(), before + 2);
        EXPECT_EQ(created, 2);
        xl::Application::quitAll();
        EXPECT_TRUE(first.hasQuit());
        EXPECT_TRUE(second->hasQuit());
        EXPECT_FALSE(second->visible());
        EXPECT_EQ(second->workbooks().count(), 0);
        EXPECT_EQ(rec.log.first(), QStringLiteral("books 1"));
        EXPECT_TRUE(rec.log.contains(QStringLiteral("quit")));
        second.reset();
        EXPECT_EQ(xl::Application::instances().size(), before + 1);
    }
    xl::Application::setCreationHook(nullptr);
    EXPECT_EQ(xl::Application::instances().size(), before);
}

// Start-up keeps an Application until the program ends: it must leave the list of live ones
// cleanly when the process exits while it still exists.
TEST(ApplicationDeathTest, OneHeldUntilTheProcessEndsLeavesCleanly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");   // a fresh process: no list made before
    EXPECT_EXIT(
        {
            static struct Watcher : xl::ApplicationObserver {
                void applicationDestroyed(xl::Application&) override
                {
                    std::fprintf(stderr, "live %zu\n", xl::Application::instances().size());
                }
            } watcher;
            static std::unique_ptr<xl::Application> held;
            held = std::make_unique<xl::Application>();
            held->workbooks().add();
            held->addObserver(&watcher);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "live 0");
}

TEST(Application, OpenSaveAndCloseWorkbooks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shift.xlsm"));
    {
        xl::Application app;
        xl::Workbook& book = app.workbooks().add();
        EXPECT_TRUE(book.saved());
        EXPECT_EQ(book.path(), QString());
        EXPECT_EQ(errorNumber([&] { book.save(); }), 1004);   // no file yet
        book.worksheets(1).setName(QStringLiteral("Main"));
        book.worksheets(1).range(QStringLiteral("B2")).setValue(QStringLiteral("保存"));
        book.defineName(QStringLiteral("年"), book.worksheets(1).range(QStringLiteral("B3")));
        book.saveAs(path);
        EXPECT_TRUE(book.saved());
        EXPECT_EQ(book.name(), QStringLiteral("shift.xlsm"));
        EXPECT_EQ(book.fullName(), path);
        EXPECT_EQ(book.path(), dir.path());
        xl::Worksheet& ws = book.worksheets(1);
        ws.range(QStringLiteral("B3")).setValue(2024);
        ws.range(QStringLiteral("C3")).setValue(QDate(2024, 4, 7));
        ws.range(QStringLiteral("C3")).interior().setColorIndex(36);
        ws.range(QStringLiteral("C3")).borderAround(xl::kContinuous, xl::kMedium, 3);
        ws.setColumnWidth(3, 4.5);
        ws.protect();
        book.close(true);                                     // saves the change
        EXPECT_EQ(app.workbooks().count(), 0);
    }
    xl::Application app;
    xl::Workbook& book = app.workbooks().open(path);
    EXPECT_EQ(&app.workbooks().open(path), &book);            // already open: the same one
    EXPECT_EQ(app.workbooks().count(), 1);
    EXPECT_EQ(app.worksheets(QStringLiteral("main")).range(QStringLiteral("B2")).value(), QVariant(QStringLiteral("保存")));
    EXPECT_EQ(app.range(QStringLiteral("年")).value(), QVariant(2024.0));
    const xl::Range c3 = app.worksheets(QStringLiteral("Main")).range(QStringLiteral("C3"));
    EXPECT_EQ(c3.value(), QVariant(QDate(2024, 4, 7)));
    EXPECT_EQ(c3.text(), QStringLiteral("2024/4/7"));
    EXPECT_EQ(c3.interior().colorIndex(), 36);
    EXPECT_EQ(c3.borders(xl::kEdgeRight).weight(), xl::kMedium);
    EXPECT_EQ(c3.borders(xl::kEdgeRight).colorIndex(), 3);
    EXPECT_EQ(c3.parent().range(QStringLiteral("D3")).borders(xl::kEdgeLeft).colorIndex(), 3);
    EXPECT_EQ(c3.columnWidth(), 4.5);
    EXPECT_TRUE(c3.parent().protectContents());
    EXPECT_TRUE(book.saved());
    EXPECT_EQ(&app.workbooks().item(QStringLiteral("SHIFT.xlsm")), &book);
    EXPECT_EQ(errorNumber([&] { app.workbooks().item(2); }), 9);

    // A second workbook of the same file name cannot open; a missing file leaves everything open.
    QTemporaryDir other;
    QFile::copy(path, other.filePath(QStringLiteral("shift.xlsm")));
    EXPECT_EQ(errorNumber([&] { app.workbooks().open(other.filePath(QStringLiteral("shift.xlsm"))); }), 1004);
    EXPECT_NE(errorNumber([&] { app.workbooks().open(dir.filePath(QStringLiteral("missing.xlsx"))); }), 0);
    EXPECT_EQ(app.workbooks().count(), 1);

    book.worksheets(1).range(QStringLiteral("B2")).setValue(QStringLiteral("捨てる"));
    struct Closing : xl::WorkbookObserver {
        QString heard;
        void closing(xl::Workbook& b) override { heard = b.name(); }
    } closing;
    book.addObserver(&closing);
    book.close(false);
    EXPECT_EQ(closing.heard, QStringLiteral("shift.xlsm"));
    xl::Workbook& again = app.workbooks().open(path);
    EXPECT_EQ(again.worksheets(1).range(QStringLiteral("B2")).value(), QVariant(QStringLiteral("保存")));
}

TEST(Application, SaveRunsAPendingManualCalculationFirst)
{
    QTemporaryDir dir;
    xl::Application app;
    xl::Workbook& book = app.workbooks().add();
    book.setRecalculation([](xl::Workbook& b) {
        b.worksheets(1).range(QStringLiteral("B1")).setValue(QStringLiteral("calculated"));
    });
    app.setCalculation(xl::kCalculationManual);
    book.worksheets(1).range(QStringLiteral("A1")).setValue(1);
    book.saveAs(dir.filePath(QStringLiteral("a.xlsx")));
    EXPECT_EQ(book.worksheets(1).range(QStringLiteral("B1")).value(), QVariant(QStringLiteral("calculated")));
    // Only the formats we write, and never the name of another open workbook.
    EXPECT_EQ(errorNumber([&] { book.saveAs(dir.filePath(QStringLiteral("old.xls"))); }), 1004);
    xl::Workbook& second = app.workbooks().add();
    EXPECT_EQ(errorNumber([&] { second.saveAs(dir.filePath(QStringLiteral("A.xlsx"))); }), 1004);
    EXPECT_EQ(book.name(), QStringLiteral("a.xlsx"));
    EXPECT_EQ(second.name(), QStringLiteral("Book2"));
}

}  // namespace
