// Protection, events and calculation modes of the spreadsheet model.
#include "model_fixture.h"

#include <QCoreApplication>

namespace {

struct Recorder : xl::WorkbookObserver {
    QStringList log;
    int repaints = 0;
    void sheetChange(const xl::Range& r) override { log << QStringLiteral("change ") + r.address(); }
    void selectionChange(const xl::Range& r) override { log << QStringLiteral("select ") + r.address(); }
    void sheetActivate(xl::Worksheet& ws) override { log << QStringLiteral("activate ") + ws.name(); }
    void cellsChanged(xl::Worksheet&, const QRect&) override { ++repaints; }
};

struct Behaviour : BookTest {
    xl::Worksheet& grid = ws;
    xl::Worksheet& other = book.addSheet(QStringLiteral("Other"));
    Recorder rec;
    int recalcs = 0;
    void SetUp() override { book.addObserver(&rec); }
    // A "formula": B1 = A1 * 2.
    void installDouble()
    {
        book.setRecalculation([this](xl::Workbook& b) {
            ++recalcs;
            xl::Worksheet& ws = b.worksheets(1);
            ws.range(QStringLiteral("B1")).setValue(ws.range(QStringLiteral("A1")).value().toDouble() * 2);
        });
    }
};

TEST_F(Behaviour, ProtectionLimitsTheUserNotTheProgram)
{
    at("B2:C3").setLocked(false);
    grid.protect(true, true, true, false, true, true);
    EXPECT_TRUE(grid.protectContents());
    EXPECT_FALSE(grid.protectionMode());
    at("A1").setValue(QStringLiteral("program"));   // program writes always succeed
    EXPECT_EQ(at("A1").value(), QVariant(QStringLiteral("program")));

    struct Case {
        int row, column, selection;
        bool editable, selectable;
    } cases[] = {
        {1, 1, xl::kSelectAny, false, true},
        {2, 2, xl::kSelectAny, true, true},
        {1, 1, xl::kSelectUnlocked, false, false},
        {3, 3, xl::kSelectUnlocked, true, true},
        {3, 3, xl::kSelectNone, true, false},
        {1, 1, xl::kSelectNone, false, false},
    };
    for (const Case& c : cases) {
        grid.setEnableSelection(c.selection);
        EXPECT_EQ(grid.isUserEditable(c.row, c.column), c.editable) << c.row << "," << c.column;
        EXPECT_EQ(grid.isUserSelectable(c.row, c.column), c.selectable) << c.row << "," << c.column << " " << c.selection;
    }
    EXPECT_THROW(grid.setEnableSelection(2), xl::Error);

    // A user edit touching a locked cell is refused as a whole.
    EXPECT_THROW(grid.userEdit(at("C3:D3"), QStringLiteral("x")), xl::Error);
    EXPECT_FALSE(at("C3").value().isValid());
    grid.userEdit(at("C3"), QStringLiteral("7"));
    EXPECT_EQ(at("C3").value(), QVariant(7.0));

    grid.protect(true, true, true, true);   // UserInterfaceOnly
    EXPECT_TRUE(grid.protectionMode());
    grid.unprotect();
    EXPECT_FALSE(grid.protectContents());
    EXPECT_TRUE(grid.isUserEditable(1, 1));
    EXPECT_TRUE(grid.isUserSelectable(1, 1));
}

TEST_F(Behaviour, EventsFollowEnableEventsAndOnlyUserEditsAreChanges)
{
    at("A1").setValue(1);                            // program write: no change event
    grid.userEdit(at("A2"), QStringLiteral("2"));
    grid.userSelect(at("B2:C3"));
    at("D4").select();                               // program selection fires too
    other.activate();
    other.activate();                                // already active: nothing
    EXPECT_EQ(rec.log, (QStringList{QStringLiteral("change $A$2"), QStringLiteral("select $B$2:$C$3"),
                                    QStringLiteral("select $D$4"), QStringLiteral("activate Other")}));
    EXPECT_EQ(grid.selection().address(), QStringLiteral("$D$4"));
    EXPECT_EQ(&book.activeSheet(), &other);
    EXPECT_EQ(rec.repaints, 2);                 // repaint notices come for every write

    rec.log.clear();
    app.setEnableEvents(false);
    grid.userEdit(at("A3"), QStringLiteral("3"));
    grid.userSelect(at("A3"));
    grid.activate();
    EXPECT_TRUE(rec.log.isEmpty());
    EXPECT_EQ(at("A3").value(), QVariant(3.0));
    EXPECT_EQ(rec.repaints, 3);

    // An observer may leave while it is being told.
    struct Leaver : xl::WorkbookObserver {
        xl::Workbook* book = nullptr;
        int heard = 0;
        void cellsChanged(xl::Worksheet&, const QRect&) override
        {
            ++heard;
            book->removeObserver(this);
        }
    } leaver;
    leaver.book = &book;
    book.addObserver(&leaver);
    at("A4").setValue(4);
    at("A5").setValue(5);
    EXPECT_EQ(leaver.heard, 1);
}

TEST_F(Behaviour, AutomaticCalculationIsCoalescedOrRunOnRead)
{
    installDouble();
    at("A1").setValue(2);
    at("A1").setValue(3);
    EXPECT_EQ(recalcs, 0);
    EXPECT_TRUE(book.calculationPending());
    QCoreApplication::processEvents();            // once per event-loop turn
    EXPECT_EQ(recalcs, 1);
    EXPECT_EQ(at("B1").value(), QVariant(6.0));
    EXPECT_EQ(recalcs, 1);                        // the hook's own write does not re-arm it

    at("A1").setValue(5);
    EXPECT_EQ(at("B1").value(), QVariant(10.0));   // a read while pending runs it at once
    EXPECT_EQ(recalcs, 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(recalcs, 2);
    at("C1").interior().setColorIndex(3);          // formats do not recalculate
    EXPECT_FALSE(book.calculationPending());
}

TEST_F(Behaviour, ManualCalculationWaitsForCalculate)
{
    installDouble();
    app.setCalculation(xl::kCalculationManual);
    at("A1").setValue(4);
    QCoreApplication::processEvents();
    EXPECT_FALSE(at("B1").value().isValid());
    EXPECT_EQ(recalcs, 0);
    grid.calculate();
    EXPECT_EQ(at("B1").value(), QVariant(8.0));
    at("A1").setValue(5);
    app.setCalculation(xl::kCalculationAutomatic);   // back to automatic catches up
    QCoreApplication::processEvents();
    EXPECT_EQ(at("B1").value(), QVariant(10.0));
    EXPECT_THROW(app.setCalculation(2), xl::Error);
}

TEST_F(Behaviour, SavedIsClearedByAnyChange)
{
    book.setSaved(true);
    at("A1").setValue(1);
    EXPECT_FALSE(book.saved());
    const std::function<void()> changes[] = {
        [&] { at("A1").interior().setColorIndex(3); },
        [&] { grid.setColumnWidth(2, 3); },
        [&] { grid.protect(); },
        [&] { other.setName(QStringLiteral("Renamed")); },
        [&] { book.defineName(QStringLiteral("Here"), at("A1")); },
        [&] { at("A1").clearContents(); },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        book.setSaved(true);
        changes[i]();
        EXPECT_FALSE(book.saved()) << i;
    }
    book.setSaved(true);
    at("A1").value();
    grid.selection();
    EXPECT_TRUE(book.saved());
}

TEST_F(Behaviour, UndoAndRedoTakeBackOnlyTheUsersOwnEdits)
{
    installDouble();   // the recalculation, and the workbook's code answering an edit, write too
    struct Dirty : xl::WorkbookObserver {
        explicit Dirty(const xl::Range& r) : flag(r) {}
        xl::Range flag;
        void sheetChange(const xl::Range&) override { flag.setValue(true); }
    } dirty(at("Z1"));
    book.addObserver(&dirty);
    at("A1").setValue(3.0);
    grid.userEdit(at("A1"), QStringLiteral("5"));
    grid.userEdit(at("C1:D2"), QStringLiteral("2024/4/1"));   // a date gives General cells a date format
    QCoreApplication::processEvents();
    other.activate();
    rec.log.clear();

    book.undo();   // on its sheet, selected, as a change
    EXPECT_FALSE(at("C1").value().isValid());
    EXPECT_EQ(at("C1").numberFormat(), QStringLiteral("General"));
    EXPECT_EQ(&book.activeSheet(), &grid);
    EXPECT_EQ(grid.selection().address(), QStringLiteral("$C$1:$D$2"));
    EXPECT_TRUE(rec.log.contains(QStringLiteral("change $C$1:$D$2")));
    book.undo();
    EXPECT_EQ(at("B1").value(), QVariant(6.0));
    EXPECT_FALSE(book.canUndo());
    book.redo();
    EXPECT_EQ(at("A1").value(), QVariant(5.0));

    grid.userEdit(at("E1"), QStringLiteral("x"));   // a new edit drops what could be redone
    EXPECT_FALSE(book.canRedo());
    grid.protect();
    EXPECT_THROW(book.undo(), xl::Error);
    EXPECT_EQ(at("E1").value(), QVariant(QStringLiteral("x")));
    grid.unprotect();
    book.undo();
    at("G1").setValue(1.0);   // a program's write clears the history
    EXPECT_FALSE(book.canUndo() || book.canRedo());
}

}  // namespace

// A calculation with nothing changed since the last one would write what is there: it is skipped.
// Anything the formulas may read since (a cell, a format, a name, a sheet, the active sheet)
// makes the next one run; reading does not, nor writing what a cell already holds.
TEST_F(Behaviour, CalculationRunsAgainOnlyAfterAChange)
{
    installDouble();
    app.setCalculation(xl::kCalculationManual);
    at("A1").setValue(3);
    at("C1").interior().setColorIndex(4);
    grid.calculate();
    (void)at("A1").value();
    (void)at("A1:C3").block();
    (void)grid.name();
    at("A1").setValue(3);
    at("A2:A3").setBlock(xl::Block(2, 1));
    at("C1").interior().setColorIndex(4);
    EXPECT_FALSE(book.saved());   // a write all the same
    grid.calculate();
    EXPECT_EQ(recalcs, 1);
    struct Case {
        const char* name;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"value", [&] { at("A1").setValue(7); }},
        {"format", [&] { at("C1").interior().setColorIndex(3); }},
        {"name", [&] { book.defineName(QStringLiteral("Cell"), at("A2")); }},
        {"sheet", [&] { book.addSheet(QStringLiteral("Third")); }},
        {"activation", [&] { other.activate(); }},
    };
    for (const Case& c : cases) {
        const int before = recalcs;
        c.change();
        grid.calculate();
        grid.calculate();
        EXPECT_EQ(recalcs, before + 1) << c.name;
    }
    EXPECT_EQ(at("B1").value(), QVariant(14.0));

    // A calculation that failed leaves the next one to run.
    book.setRecalculation([this](xl::Workbook&) {
        ++recalcs;
        throw xl::Error(1004, QStringLiteral("broken"));
    });
    const int before = recalcs;
    EXPECT_THROW(grid.calculate(), xl::Error);
    EXPECT_THROW(grid.calculate(), xl::Error);
    EXPECT_EQ(recalcs, before + 2);
}

// Changes to cells inside the tracked area alone leave the next calculation free to redo only
// what depends on it; anything else since the last calculation, or no calculation yet, does not.
TEST_F(Behaviour, OnlyChangesInsideTheTrackedAreaCountAsAreaChanges)
{
    installDouble();
    app.setCalculation(xl::kCalculationManual);
    at("A1").setValue(1);
    EXPECT_FALSE(book.onlyTrackedAreaChanged());
    book.setTrackedArea(grid, at("B2:D5").area());
    grid.calculate();
    EXPECT_TRUE(book.onlyTrackedAreaChanged());
    at("B2:C3").setValue(QStringLiteral("x"));
    at("D5").setBlock(xl::Block(1, 1));
    at("C3").clearContents();
    at("B2:D5").setCells({{4, 3, 5}});
    at("B2:D5").interior().setColorIndex(3);
    (void)at("A1:Z9").block();
    EXPECT_TRUE(book.onlyTrackedAreaChanged());
    const std::function<void()> others[] = {
        [&] { at("B2:E2").setValue(1); },                       // reaches past the area
        [&] { at("A1:E9").setCells({{2, 2, 7}, {1, 1, 7}}); },
        [&] { other.range(QStringLiteral("B2")).setValue(1); },  // the same cell of another sheet
        [&] { at("A1").interior().setColorIndex(3); },           // a format outside it
        [&] { at("B:B").clearContents(); },
        [&] { other.activate(); },
    };
    for (const auto& change : others) {
        grid.calculate();
        EXPECT_TRUE(book.onlyTrackedAreaChanged());
        change();
        EXPECT_FALSE(book.onlyTrackedAreaChanged());
    }
}
