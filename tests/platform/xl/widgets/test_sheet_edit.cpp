// The user's edits in the grid: commit, cancel, protection, delete, copy and paste.
#include "sheet_window_fixture.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <stdexcept>

using namespace xl;

TEST_F(SheetWindowTest, TypingAndEnterCommitOnceAndMoveDown)
{
    // A key starts the edit (F2 keeps the content, Backspace empties it); Enter commits and moves
    // down, Tab right; typed text is converted.
    const struct { Qt::Key start; const char* shown; const char* typed; Qt::Key commit; double value; int row, column; } edits[] = {
        {Qt::Key_4, "4", "2", Qt::Key_Return, 42, 3, 2},
        {Qt::Key_F2, "42", "0", Qt::Key_Tab, 420, 2, 3},
        {Qt::Key_Backspace, "", "7", Qt::Key_Return, 7, 3, 2},
    };
    for (const auto& e : edits) {
        SCOPED_TRACE(e.typed);
        select(2, 2);
        log.selections.clear();
        QTest::keyClick(view(), e.start);
        QLineEdit* edit = qobject_cast<QLineEdit*>(editor());
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), QString::fromLatin1(e.shown));
        QTest::keyClicks(edit, QString::fromLatin1(e.typed));
        QTest::keyClick(edit, e.commit);
        settle();
        EXPECT_EQ(ws->range("B2").value(), QVariant(e.value));
        EXPECT_EQ(view()->model()->data(at(2, 2)).toString(), QString::number(e.value));
        EXPECT_EQ(view()->currentIndex(), at(e.row, e.column));
        EXPECT_EQ(ws->selection().address(), ws->cells(e.row, e.column).address());
        EXPECT_EQ(log.selections, QStringList{ws->selection().address()});
    }
    EXPECT_EQ(log.changes, QStringList(3, QStringLiteral("$B$2")));
    EXPECT_FALSE(book->saved());

    // Without an edit, Enter and Tab only move.
    select(2, 3);
    QTest::keyClick(view(), Qt::Key_Tab);
    EXPECT_EQ(view()->currentIndex(), at(2, 4));
    QTest::keyClick(view(), Qt::Key_Return);
    EXPECT_EQ(view()->currentIndex(), at(3, 4));
    QTest::keyClick(view(), Qt::Key_Backtab);
    EXPECT_EQ(view()->currentIndex(), at(3, 3));
    EXPECT_EQ(log.changes.size(), 3);
}

TEST_F(SheetWindowTest, TheInputMethodStartsAnEditWithJapaneseText)
{
    select(4, 1);
    QInputMethodEvent composing(QStringLiteral("にっきん"), {});
    QCoreApplication::sendEvent(view(), &composing);
    ASSERT_TRUE(view()->isEditing());
    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral("日勤"));
    QCoreApplication::sendEvent(editor(), &committed);
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(ws->range("A4").value(), QVariant(QStringLiteral("日勤")));
    EXPECT_EQ(log.changes, QStringList{QStringLiteral("$A$4")});
}

TEST_F(SheetWindowTest, EscapeAndTheProgramsCancelLeaveTheCell)
{
    ws->range("C3").setValue(QStringLiteral("元"));
    book->setSaved(true);
    select(3, 3);
    QTest::keyClick(view(), Qt::Key_F2);
    QLineEdit* edit = qobject_cast<QLineEdit*>(editor());
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, QStringLiteral("xyz"));
    QTest::keyClick(edit, Qt::Key_Escape);
    settle();
    EXPECT_EQ(ws->range("C3").value(), QVariant(QStringLiteral("元")));
    EXPECT_FALSE(view()->isEditing());

    QTest::keyClick(view(), Qt::Key_A);
    ASSERT_TRUE(view()->isEditing());
    app->cancelCellEdit();   // the program leaves the edit before touching the workbook
    settle();
    EXPECT_FALSE(view()->isEditing());
    EXPECT_EQ(ws->range("C3").value(), QVariant(QStringLiteral("元")));
    EXPECT_TRUE(log.changes.isEmpty());
    EXPECT_TRUE(book->saved());
}

TEST_F(SheetWindowTest, LockedCellsOfAProtectedSheetRefuseEdits)
{
    ws->range("C2").setLocked(false);
    ws->range("B2:C2").setValue(QStringLiteral("元"));
    ws->protect();
    settle();

    struct Try { int column; bool editable; } tries[] = {{2, false}, {3, true}};
    for (const Try& t : tries) {
        ui::resetMessages();
        ui::setNextAnswer(ui::vbOK);
        select(2, t.column);
        QTest::keyClick(view(), Qt::Key_X);
        EXPECT_EQ(view()->isEditing(), t.editable) << t.column;
        EXPECT_EQ(ui::shownMessages().size(), t.editable ? 0u : 1u) << t.column;
        if (t.editable)
            QTest::keyClick(editor(), Qt::Key_Return);
        else
            EXPECT_TRUE(ui::shownMessages()[0].prompt.contains(QStringLiteral("保護")));
        settle();
    }
    EXPECT_EQ(ws->range("B2").value(), QVariant(QStringLiteral("元")));
    EXPECT_EQ(ws->range("C2").value(), QVariant(QStringLiteral("x")));
    EXPECT_EQ(log.changes, QStringList{QStringLiteral("$C$2")});

    // Only unlocked cells can be selected when the protection says so.
    ws->setEnableSelection(kSelectUnlocked);
    settle();
    EXPECT_EQ(view()->model()->flags(at(2, 2)), Qt::NoItemFlags);
    EXPECT_TRUE(view()->model()->flags(at(2, 3)) & Qt::ItemIsSelectable);
    select(2, 3);
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, view()->visualRect(at(2, 2)).center());
    EXPECT_EQ(ws->selection().address(), QStringLiteral("$C$2"));
    ws->setEnableSelection(kSelectAny);
    settle();

    // Delete over a block holding a locked cell changes nothing.
    ui::resetMessages();
    ui::setNextAnswer(ui::vbOK);
    view()->selectionModel()->select(QItemSelection(at(2, 2), at(2, 3)), QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(ws->range("C2").value(), QVariant(QStringLiteral("x")));
}

TEST_F(SheetWindowTest, CopyPasteAndDeleteOfBlocks)
{
    ws->range("B2").setValue(QStringLiteral("早"));
    ws->range("C2").setValue(1.0);
    ws->range("B3").setValue(QStringLiteral("遅"));
    view()->selectionModel()->select(QItemSelection(at(2, 2), at(3, 3)), QItemSelectionModel::ClearAndSelect);
    QTest::keySequence(view(), QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("早\t1\r\n遅\t\r\n"));

    log.changes.clear();
    select(5, 5);
    QApplication::clipboard()->setText(QStringLiteral("1\t2\r\n夜\t\r\n"));
    QTest::keySequence(view(), QKeySequence::Paste);
    EXPECT_EQ(ws->range("E5").value(), QVariant(1.0));
    EXPECT_EQ(ws->range("F5").value(), QVariant(2.0));
    EXPECT_EQ(ws->range("E6").value(), QVariant(QStringLiteral("夜")));
    EXPECT_FALSE(ws->range("F6").value().isValid());
    EXPECT_EQ(log.changes, QStringList{QStringLiteral("$E$5:$F$6")});

    // One copied value fills the whole selection.
    QApplication::clipboard()->setText(QStringLiteral("休\r\n"));
    view()->selectionModel()->select(QItemSelection(at(8, 1), at(9, 2)), QItemSelectionModel::ClearAndSelect);
    QTest::keySequence(view(), QKeySequence::Paste);
    EXPECT_EQ(ws->range("B9").value(), QVariant(QStringLiteral("休")));

    view()->selectionModel()->select(QItemSelection(at(5, 5), at(6, 6)), QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_FALSE(ws->range("E5").value().isValid());
    EXPECT_FALSE(ws->range("E6").value().isValid());
    EXPECT_EQ(log.changes.size(), 3);

    // Whole columns picked at the header are the sheet's columns; Delete clears what they hold.
    view()->selectColumn(1);
    EXPECT_EQ(ws->selection().address(), QStringLiteral("$B:$B"));
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_FALSE(ws->range("B9").value().isValid());
    EXPECT_FALSE(ws->range("B2").value().isValid());
    EXPECT_EQ(ws->range("A9").value(), QVariant(QStringLiteral("休")));

    // Copying the whole sheet copies its used cells.
    view()->selectAll();
    EXPECT_EQ(ws->selection().address(), QStringLiteral("$A:$XFD"));
    QTest::keySequence(view(), QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(), ws->usedRange().textBlock());
}

TEST_F(SheetWindowTest, UndoRedoAndCutOfTheUsersOwnEdits)
{
    ws->range("B2").setValue(QStringLiteral("元"));   // the program's: never undone
    select(2, 2);
    QTest::keyClicks(view(), QStringLiteral("5"));
    QTest::keyClick(editor(), Qt::Key_Return);
    select(2, 2);
    QTest::keySequence(view(), QKeySequence::Cut);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("5\r\n"));
    EXPECT_FALSE(ws->range("B2").value().isValid());
    for (const QVariant& was : {QVariant(5.0), QVariant(QStringLiteral("元")), QVariant(QStringLiteral("元"))}) {
        QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(ws->range("B2").value(), was);
    }
    QTest::keyClick(view(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(ws->range("B2").value(), QVariant(5.0));

    // Cutting a locked cell is refused as a whole: nothing is copied either.
    ws->protect();
    ui::setNextAnswer(ui::vbOK);
    QTest::keySequence(view(), QKeySequence::Cut);
    EXPECT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("5\r\n"));
    EXPECT_EQ(ws->range("B2").value(), QVariant(5.0));
}

TEST_F(SheetWindowTest, TheWorkbookMayCloseFromTheChangeEventOfAnEdit)
{
    struct Closer : WorkbookObserver {
        Workbook* book;
        void sheetChange(const Range&) override { book->close(false); }
    } closer;
    closer.book = book;
    book->addObserver(&closer);
    book->removeObserver(&log);
    select(2, 2);
    QTest::keyClick(view(), Qt::Key_1);
    ASSERT_NE(editor(), nullptr);
    QTest::keyClick(editor(), Qt::Key_Return);
    settle();
    EXPECT_EQ(app->workbooks().count(), 0);
    EXPECT_EQ(window->currentView(), nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("勤務表"));
}

TEST_F(SheetWindowTest, AFaultOfTheChangeEventIsShownAndTheEditStays)
{
    struct Faulty : WorkbookObserver {
        void sheetChange(const Range&) override { throw std::runtime_error("boom"); }
    } faulty;
    book->addObserver(&faulty);
    select(2, 2);
    QTest::keyClick(view(), Qt::Key_3);
    ASSERT_NE(editor(), nullptr);
    QTest::keyClick(editor(), Qt::Key_Return);
    settle();
    book->removeObserver(&faulty);
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_TRUE(ui::shownMessages()[0].prompt.startsWith(QStringLiteral("51 ")));
    EXPECT_EQ(ws->range("B2").value(), QVariant(3.0));
}
