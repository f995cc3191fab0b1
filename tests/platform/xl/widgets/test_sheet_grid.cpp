// What the grid shows of the sheet: texts, colours, layout, growth and frozen panes.
#include "sheet_window_fixture.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QScrollBar>

using namespace xl;

TEST_F(SheetWindowTest, GridShowsTextsColoursAndFonts)
{
    ws->range("A1").setValue(QStringLiteral("氏名"));
    ws->range("B2").setValue(12.5);
    ws->range("C3").setValue(QDate(2024, 4, 1));
    ws->range("C3").setNumberFormat(QStringLiteral("m/d"));
    ws->range("A1").interior().setColor(QColor(255, 255, 0));
    ws->range("A1").font().setColor(QColor(255, 0, 0));
    ws->range("A1").font().setBold(true);
    ws->range("B2").setHorizontalAlignment(kAlignCenter);
    settle();

    QAbstractItemModel* m = view()->model();
    struct Case { int row, column; QString text; } cases[] = {
        {1, 1, QStringLiteral("氏名")}, {2, 2, QStringLiteral("12.5")}, {3, 3, QStringLiteral("4/1")}, {4, 4, QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(m->data(at(c.row, c.column)).toString(), c.text) << c.row << "," << c.column;
    EXPECT_EQ(m->data(at(1, 1), Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 0));
    EXPECT_FALSE(m->data(at(2, 2), Qt::BackgroundRole).isValid());
    EXPECT_EQ(m->data(at(1, 1), Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_EQ(m->data(at(2, 2), Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
    EXPECT_TRUE(m->data(at(1, 1), Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(m->data(at(2, 2), Qt::FontRole).value<QFont>().bold());
    // General alignment: text left, numbers right; explicit centre wins.
    EXPECT_TRUE(m->data(at(1, 1), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignLeft);
    EXPECT_TRUE(m->data(at(3, 3), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
    EXPECT_TRUE(m->data(at(2, 2), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHCenter);
    EXPECT_EQ(m->headerData(27, Qt::Horizontal).toString(), QStringLiteral("AB"));
    EXPECT_EQ(m->headerData(9, Qt::Vertical).toString(), QStringLiteral("10"));

    // A picture of the grid shows the fill and the red text where the model has them.
    const QImage shot = view()->viewport()->grab().toImage();
    const QRect a1 = view()->visualRect(at(1, 1));
    EXPECT_EQ(QColor(shot.pixel(a1.left() + 1, a1.top() + 1)), QColor(255, 255, 0));
    bool red = false;
    for (int x = a1.left(); x < a1.right() && !red; ++x)
        for (int y = a1.top(); y < a1.bottom() && !red; ++y)
            red = QColor(shot.pixel(x, y)).red() > 200 && QColor(shot.pixel(x, y)).green() < 80;
    EXPECT_TRUE(red);
}

// A view mark is drawn over the cells' fills and leaves them, and the saved flag, alone.
TEST_F(SheetWindowTest, ViewMarksAreDrawnOverTheFillsUntilCleared)
{
    ws->range("B2").interior().setColor(QColor(0, 255, 0));
    settle();
    book->setSaved(true);
    ws->setViewMarks({{QRect(2, 2, 2, 1), QColor(255, 235, 156)}});
    settle();
    QAbstractItemModel* m = view()->model();
    EXPECT_EQ(m->data(at(2, 2), Qt::BackgroundRole).value<QColor>(), QColor(255, 235, 156));
    EXPECT_EQ(m->data(at(2, 3), Qt::BackgroundRole).value<QColor>(), QColor(255, 235, 156));
    const QRect c2 = view()->visualRect(at(2, 3));
    EXPECT_EQ(QColor(view()->viewport()->grab().toImage().pixel(c2.left() + 2, c2.top() + 2)), QColor(255, 235, 156));
    EXPECT_EQ(ws->styleAt(2, 2).fill, QColor(0, 255, 0));
    EXPECT_TRUE(book->saved());
    ws->setViewMarks({});
    settle();
    EXPECT_EQ(m->data(at(2, 2), Qt::BackgroundRole).value<QColor>(), QColor(0, 255, 0));
    EXPECT_FALSE(m->data(at(2, 3), Qt::BackgroundRole).isValid());
}

TEST_F(SheetWindowTest, BordersAreDrawnPerEdgeWithTheirWeightAndColour)
{
    ws->range("B2").borders(kEdgeBottom).setLineStyle(kContinuous);
    ws->range("B2").borders(kEdgeBottom).setWeight(kThick);
    ws->range("B2").borders(kEdgeBottom).setColor(QColor(0, 0, 255));
    ws->range("C2").interior().setColor(QColor(0, 255, 0));   // a filled neighbour must not hide it
    ws->range("C2").borders(kEdgeLeft).setLineStyle(kContinuous);
    ws->range("C2").borders(kEdgeLeft).setColor(QColor(255, 0, 0));
    settle();
    const QImage shot = view()->viewport()->grab().toImage();
    const QRect b2 = view()->visualRect(at(2, 2));
    const QRect c2 = view()->visualRect(at(2, 3));
    const int midX = b2.center().x(), midY = b2.center().y();
    for (int dy = -1; dy <= 1; ++dy)   // thick: three pixels centred on the edge line
        EXPECT_EQ(QColor(shot.pixel(midX, b2.bottom() + dy)), QColor(0, 0, 255)) << dy;
    EXPECT_EQ(QColor(shot.pixel(midX, b2.bottom() - 2)), QColor(Qt::white));
    EXPECT_EQ(QColor(shot.pixel(c2.left() - 1, midY)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(shot.pixel(c2.left() + 1, midY)), QColor(0, 255, 0));
    EXPECT_EQ(QColor(shot.pixel(b2.center().x(), b2.top() - 1)), QColor(0xD4, 0xD4, 0xD4));   // plain gridline
}

TEST_F(SheetWindowTest, ModelPassesTheItemModelTester)
{
    ws->range("A1:C3").setValue(QStringLiteral("x"));
    SheetView* v = view();
    QAbstractItemModelTester tester(v->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    ws->range("B2").setValue(2.0);
    ws->cells(500, 60).setValue(QStringLiteral("far"));   // the table grows to hold it
    settle();
    EXPECT_GE(v->model()->rowCount(), 500);
    EXPECT_GE(v->model()->columnCount(), 60);
    EXPECT_EQ(v->model()->data(v->model()->index(499, 59)).toString(), QStringLiteral("far"));
    // Rows the table gains keep the sheet's heights and hidden state.
    ws->setRowHeight(900, 30);
    ws->setRowHidden(901, true);
    settle();
    ws->cells(950, 1).setValue(1.0);
    settle();
    EXPECT_EQ(v->rowHeight(899), 40);
    EXPECT_TRUE(v->isRowHidden(900));
}

TEST_F(SheetWindowTest, LayoutFollowsTheSheet)
{
    ws->setColumnWidth(2, 20);
    ws->setRowHeight(3, 30);
    ws->setColumnHidden(4, true);
    ws->setRowHidden(5, true);
    settle();
    SheetView* v = view();
    EXPECT_EQ(v->columnWidth(1), widgets::columnPixels(20, 100));
    EXPECT_EQ(v->columnWidth(0), widgets::columnPixels(8.43, 100));
    EXPECT_EQ(v->rowHeight(2), 40);
    EXPECT_TRUE(v->isColumnHidden(3));
    EXPECT_TRUE(v->isRowHidden(4));

    ws->setColumnHidden(4, false);
    ws->setColumnWidth(2, 8.43);
    ws->setZoom(200);
    settle();
    EXPECT_FALSE(v->isColumnHidden(3));
    EXPECT_EQ(v->columnWidth(1), widgets::columnPixels(8.43, 200));
    EXPECT_EQ(v->rowHeight(2), 80);
}

TEST_F(SheetWindowTest, FrozenRowsStayInPlaceWhileTheGridScrolls)
{
    for (int r = 1; r <= 300; ++r)
        ws->cells(r, 1).setValue(double(r));
    ws->freezePanes(2, 1);
    settle();
    SheetView* v = view();
    std::vector<SheetView*> overlays;
    for (SheetView* child : v->findChildren<SheetView*>(Qt::FindDirectChildrenOnly))
        if (!child->isHidden())
            overlays.push_back(child);
    ASSERT_EQ(overlays.size(), 3u);

    select(250, 3);   // far down: the grid scrolls, the frozen rows do not
    settle();
    EXPECT_GT(v->verticalScrollBar()->value(), 0);
    for (SheetView* o : overlays) {
        if (o->width() > o->height()) {   // the pane of the frozen rows
            EXPECT_EQ(o->rowAt(0), 0);
        }
    }
    // The current cell is not hidden behind the frozen rows.
    EXPECT_GE(v->visualRect(at(250, 3)).top(), v->rowHeight(0) + v->rowHeight(1));

    select(3, 3);     // back up: row 3 shows just below the frozen rows
    settle();
    EXPECT_EQ(v->visualRect(at(3, 3)).top(), v->rowHeight(0) + v->rowHeight(1));

    // A frozen cell is edited in the pane that shows it, not under it.
    select(1, 1);
    QTest::keyClick(v, Qt::Key_F2);
    ASSERT_TRUE(v->isEditing());
    bool inOverlay = false;
    for (SheetView* o : overlays)
        inOverlay = inOverlay || o->indexWidget(at(1, 1)) != nullptr;
    EXPECT_TRUE(inOverlay);
    EXPECT_EQ(v->indexWidget(at(1, 1)), nullptr);
}

// Ctrl+Home goes to the first cell beside the frozen panes and back to the top left, and a sheet
// the program shows again brings its current cell back into view, however far it was scrolled.
TEST_F(SheetWindowTest, CtrlHomeAndShowingTheSheetBringBackTheTopLeft)
{
    for (int r = 1; r <= 300; ++r)
        ws->cells(r, 60).setValue(double(r));
    ws->freezePanes(2, 1);
    settle();
    SheetView* v = view();
    QScrollBar* rows = v->verticalScrollBar();
    QScrollBar* columns = v->horizontalScrollBar();
    select(250, 50);
    settle();
    ASSERT_GT(rows->value(), 0);
    ASSERT_GT(columns->value(), 0);
    QTest::keyClick(v, Qt::Key_Home, Qt::ControlModifier);
    settle();
    EXPECT_EQ(v->currentIndex(), at(3, 2));
    EXPECT_EQ(ws->selection().address(), QStringLiteral("$B$3"));
    EXPECT_EQ(rows->value(), 0);
    EXPECT_EQ(columns->value(), 0);
    // Scrolled away with the bars, the cursor already home: the key still scrolls back.
    rows->setValue(rows->maximum());
    QTest::keyClick(v, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(rows->value(), 0);

    // The program shows the sheet it already shows: the current cell comes back into view.
    select(40, 10);
    settle();
    rows->setValue(rows->maximum());
    columns->setValue(columns->maximum());
    ws->activate();
    settle();
    EXPECT_TRUE(v->viewport()->rect().contains(v->visualRect(at(40, 10))));
    // A current cell in the frozen panes brings the start of the rows and columns beside it.
    select(1, 1);
    settle();
    rows->setValue(rows->maximum());
    columns->setValue(columns->maximum());
    ws->select();
    settle();
    EXPECT_EQ(rows->value(), 0);
    EXPECT_EQ(columns->value(), 0);
    EXPECT_TRUE(log.activations.isEmpty());   // no activation event for a sheet already active
}

TEST_F(SheetWindowTest, AWheelNotchScrollsThreeRowsOrColumns)
{
    ws->freezePanes(2, 1);
    ws->setRowHeight(5, 40);
    ws->setRowHidden(7, true);
    settle();
    SheetView* v = view();
    auto wheel = [&](QPoint delta, Qt::KeyboardModifiers modifiers = {}) {
        const QPoint at = v->viewport()->rect().center();
        QWheelEvent e(at, v->viewport()->mapToGlobal(at), QPoint(), delta, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(v->viewport(), &e);
        // the first row and column shown below and beside the frozen ones
        return std::pair{v->rowAt(v->rowHeight(0) + v->rowHeight(1)) + 1, v->columnAt(v->columnWidth(0)) + 1};
    };
    EXPECT_EQ(wheel(QPoint(0, -120)), std::pair(6, 2));    // rows of any height
    EXPECT_EQ(wheel(QPoint(0, -120)), std::pair(10, 2));   // a hidden row does not count
    wheel(QPoint(0, -60));
    EXPECT_EQ(wheel(QPoint(0, -60)), std::pair(13, 2));    // two half notches make one
    EXPECT_EQ(wheel(QPoint(0, 240)), std::pair(6, 2));
    EXPECT_EQ(wheel(QPoint(0, -120), Qt::ShiftModifier), std::pair(6, 5));
}
