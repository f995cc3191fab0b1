#include "sheet_window.h"

#include "platform/ui/guard.h"
#include "platform/ui/prompt.h"
#include "platform/ui/widgets/screen.h"
#include "platform/xl/address.h"
#include "sheet_model.h"
#include "sheet_view.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace xl::widgets {

namespace {

struct Settings {
    QString title;
    SavePermission savePermission;
    SaveAsDialog saveAsDialog;
    std::map<const Application*, SheetWindow*> windows;
};

Settings& settings()
{
    static Settings s;
    return s;
}

QString askSaveAs(QWidget* parent, const QString& suggested)
{
    if (settings().saveAsDialog)
        return settings().saveAsDialog(parent, suggested);
    return QFileDialog::getSaveFileName(parent, QStringLiteral("名前を付けて保存"), suggested,
                                        QStringLiteral("ブック (*.xlsx);;マクロ有効ブック (*.xlsm)"));
}

const int kZoomSteps[] = {50, 75, 100, 125, 150, 200};

// A small padlock for the tabs of protected sheets.
QIcon lockIcon()
{
    static const QIcon icon = [] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor ink(0x60, 0x60, 0x60);
        p.setPen(QPen(ink, 1.6));
        p.drawArc(QRectF(4.5, 1.5, 7, 9), 0, 180 * 16);
        p.drawLine(QPointF(4.5, 6), QPointF(4.5, 8));
        p.drawLine(QPointF(11.5, 6), QPointF(11.5, 8));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(2.5, 7.5, 11, 7.5), 1.5, 1.5);
        return QIcon(pixmap);
    }();
    return icon;
}

}  // namespace

void install()
{
    static const bool atExit = [] {
        // An Application the program holds until it ends is destroyed after the window system's
        // own state: by then its window must be out of its way, untouched.
        settings();
        return std::atexit(&SheetWindow::releaseAll) == 0;
    }();
    Q_UNUSED(atExit);
    Application::setCreationHook([](Application& app) { new SheetWindow(app); });
    for (Application* app : Application::instances())
        if (!SheetWindow::of(*app))
            new SheetWindow(*app);
}

void setProgramTitle(const QString& title)
{
    settings().title = title;
    for (const auto& [app, window] : settings().windows)
        window->updateTitle();
}

QString programTitle()
{
    return settings().title;
}

void setSavePermission(SavePermission permission)
{
    settings().savePermission = std::move(permission);
}

void setSaveAsDialog(SaveAsDialog dialog)
{
    settings().saveAsDialog = std::move(dialog);
}

void SheetWindow::releaseAll()
{
    for (const auto& [app, window] : std::exchange(settings().windows, {})) {
        if (window->app_)
            window->app_->removeObserver(window);
        if (window->book_)
            window->book_->removeObserver(window);
        window->app_ = nullptr;
        window->book_ = nullptr;
    }
}

SheetWindow* SheetWindow::of(const Application& app)
{
    const auto it = settings().windows.find(&app);
    return it == settings().windows.end() ? nullptr : it->second;
}

SheetWindow::SheetWindow(Application& app) : app_(&app)
{
    settings().windows[&app] = this;
    second_ = Application::instances().size() > 1 && Application::instances().front() != &app;
    resize(1000, 700);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    formulaBar_ = new QWidget(central);
    auto* barLayout = new QHBoxLayout(formulaBar_);
    barLayout->setContentsMargins(2, 2, 2, 2);
    address_ = new QLineEdit(formulaBar_);
    address_->setFixedWidth(90);
    address_->setAlignment(Qt::AlignCenter);
    content_ = new QLineEdit(formulaBar_);
    connect(address_, &QLineEdit::returnPressed, this, &SheetWindow::goToAddress);
    connect(content_, &QLineEdit::returnPressed, this, &SheetWindow::commitFormulaBar);
    address_->installEventFilter(this);
    content_->installEventFilter(this);
    barLayout->addWidget(address_);
    barLayout->addWidget(content_, 1);
    layout->addWidget(formulaBar_);

    stack_ = new QStackedWidget(central);
    layout->addWidget(stack_, 1);

    tabs_ = new QTabBar(central);
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setExpanding(false);
    tabs_->setDrawBase(true);
    layout->addWidget(tabs_);
    setCentralWidget(central);

    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        if (syncing_ || !book_ || index < 0 || index >= int(sheets_.size()))
            return;
        // The user chose a sheet: it becomes active (the model fires its activation event).
        stack_->setCurrentWidget(sheets_[size_t(index)].view);
        userSwitch_ = true;
        sheets_[size_t(index)].sheet->activate();
        userSwitch_ = false;
        updateFormulaBar();
    });

    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    saveAction_ = file->addAction(QStringLiteral("上書き保存(&S)"), this, &SheetWindow::save);
    saveAction_->setShortcut(QKeySequence::Save);
    saveAsAction_ = file->addAction(QStringLiteral("名前を付けて保存(&A)..."), this, &SheetWindow::saveAs);
    saveAsAction_->setVisible(second_);
    saveAsAction_->setEnabled(second_);
    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    QMenu* zoom = view->addMenu(QStringLiteral("ズーム(&Z)"));
    zoomGroup_ = new QActionGroup(this);
    for (int percent : kZoomSteps) {
        QAction* a = zoom->addAction(QStringLiteral("%1%").arg(percent), this, [this, percent] { setZoom(percent); });
        a->setCheckable(true);
        a->setData(percent);
        zoomGroup_->addAction(a);
    }

    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(0);
    connect(&flushTimer_, &QTimer::timeout, this, &SheetWindow::flush);

    app.addObserver(this);
    attach(app.activeWorkbook());
    applicationChanged(app);
}

SheetWindow::~SheetWindow()
{
    detach();
    if (app_) {
        app_->removeObserver(this);
        settings().windows.erase(app_);
    }
}

SheetView* SheetWindow::currentView() const
{
    return qobject_cast<SheetView*>(stack_->currentWidget());
}

SheetView* SheetWindow::viewOf(const Worksheet& sheet) const
{
    for (const Sheet& s : sheets_)
        if (s.sheet == &sheet)
            return s.view;
    return nullptr;
}

void SheetWindow::updateTitle()
{
    const QString title = programTitle();
    if (!book_)
        setWindowTitle(title);
    else
        setWindowTitle(title.isEmpty() ? book_->name() : book_->name() + QStringLiteral(" - ") + title);
}

void SheetWindow::attach(Workbook* book)
{
    if (book == book_)
        return;
    detach();
    book_ = book;
    if (book_) {
        book_->addObserver(this);
        addSheetViews();
        showActiveSheet();
    }
    updateTitle();
    updateFormulaBar();
}

void SheetWindow::detach()
{
    flushTimer_.stop();
    dirtyCells_.clear();
    dirtyViews_.clear();
    reveal_ = nullptr;
    if (book_)
        book_->removeObserver(this);
    book_ = nullptr;
    ++syncing_;
    while (tabs_->count() > 0)
        tabs_->removeTab(tabs_->count() - 1);
    --syncing_;
    // The workbook may close from within a handler of the user's own edit or click: the views and
    // models go at the next turn, cut off from the closed sheets now.
    for (Sheet& s : sheets_) {
        stack_->removeWidget(s.view);
        s.view->release();
        s.view->hide();
        s.view->deleteLater();
        s.model->deleteLater();
    }
    sheets_.clear();
}

void SheetWindow::addSheetViews()
{
    ++syncing_;
    for (int i = int(sheets_.size()) + 1; i <= book_->worksheetCount(); ++i) {
        Worksheet& ws = book_->worksheets(i);
        auto* model = new SheetModel(ws, this);
        auto* view = new SheetView(model, stack_);
        stack_->addWidget(view);
        sheets_.push_back(Sheet{&ws, model, view});
        tabs_->addTab(ws.name());
        view->showSheetSelection();
        auto follow = [this, view] { userSelected(view); };
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, follow);
        connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, follow);
        connect(view, &SheetView::mouseSelectionDone, this, follow);
        // The formula bar shows what is being typed into the cell, and the cell again after.
        connect(view, &SheetView::editTextChanged, this, [this, view](const QString& text) {
            if (view == currentView())
                content_->setText(text);
        });
        connect(view, &SheetView::editEnded, this, &SheetWindow::updateFormulaBar);
    }
    for (int i = 0; i < int(sheets_.size()); ++i) {
        const Worksheet& ws = *sheets_[size_t(i)].sheet;
        tabs_->setTabText(i, ws.name());
        tabs_->setTabVisible(i, ws.visible() == kSheetVisible);
        const bool locked = ws.protectContents();
        tabs_->setTabIcon(i, locked ? lockIcon() : QIcon());
        tabs_->setTabToolTip(i, locked ? QStringLiteral("保護されたシート（鍵のないセルだけ入力できます）") : QString());
    }
    --syncing_;
}

void SheetWindow::showActiveSheet()
{
    if (!book_)
        return;
    const int index = book_->activeSheet().index() - 1;
    ++syncing_;
    tabs_->setCurrentIndex(index);
    stack_->setCurrentIndex(index);
    --syncing_;
    if (QAction* a = zoomGroup_->checkedAction())
        a->setChecked(false);
    for (QAction* a : zoomGroup_->actions())
        if (a->data().toInt() == book_->activeSheet().zoom())
            a->setChecked(true);
    updateFormulaBar();
}

void SheetWindow::userSelected(SheetView* view)
{
    if (syncing_ || !book_)
        return;
    if (view->isMouseSelecting())
        return;   // a block dragged with the mouse counts once, when the button is released
    const Range picked = view->selectedRange();
    Worksheet& ws = view->sheet();
    if (!(picked == ws.selection())) {
        ++syncing_;   // selection signals raised meanwhile are not the user's
        ui::guarded([&] { ws.userSelect(picked); }, programTitle());
        --syncing_;
    }
    updateFormulaBar();
}

void SheetWindow::updateFormulaBar()
{
    SheetView* view = currentView();
    if (!view) {
        address_->clear();
        content_->clear();
        return;
    }
    const QModelIndex current = view->currentIndex();
    const int row = current.isValid() ? current.row() + 1 : view->sheet().selection().row();
    const int column = current.isValid() ? current.column() + 1 : view->sheet().selection().column();
    address_->setText(columnLetters(column) + QString::number(row));
    content_->setText(view->sheetModel()->editText(row, column));
    content_->setCursorPosition(0);
}

// Enter in the address box selects the cell or block typed there.
void SheetWindow::goToAddress()
{
    SheetView* view = currentView();
    const auto area = parseArea(address_->text().trimmed());
    if (!view || !area || area->bottom > kMaxRows || area->right > kMaxColumns) {
        if (view)
            showSheetError(QStringLiteral("参照が正しくありません。"));
        updateFormulaBar();
        return;
    }
    view->selectArea(area->top, area->left, area->bottom, area->right, true);
    view->setFocus();
}

// Enter in the content box writes it into the current cell, as an edit in the grid does.
void SheetWindow::commitFormulaBar()
{
    SheetView* view = currentView();
    if (!view)
        return;
    const QModelIndex current = view->currentIndex().isValid() ? view->currentIndex() : view->model()->index(0, 0);
    view->setFocus();
    if (view->sheet().isUserEditable(current.row() + 1, current.column() + 1)) {
        if (view->model()->setData(current, content_->text(), Qt::EditRole) && currentView() == view)
            view->moveCurrent(1, 0);
    } else {
        showSheetError(kProtectedCellMessage);
    }
    updateFormulaBar();
}

bool SheetWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Escape in the formula bar drops what was typed there.
    if ((watched == address_ || watched == content_) && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        updateFormulaBar();
        if (SheetView* view = currentView())
            view->setFocus();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void SheetWindow::schedule()
{
    if (!frozen_ && !flushTimer_.isActive())
        flushTimer_.start();
}

// Everything the model changed since the last turn of the event loop, shown at once.
void SheetWindow::flush()
{
    if (!book_ || frozen_)
        return;
    const auto cells = std::move(dirtyCells_);
    const auto views = std::move(dirtyViews_);
    dirtyCells_.clear();
    dirtyViews_.clear();
    if (int(sheets_.size()) != book_->worksheetCount() || !views.empty())
        addSheetViews();
    ++syncing_;
    for (const Sheet& s : sheets_) {
        const auto it = cells.find(s.sheet);
        if (it != cells.end())
            s.model->cellsChanged(it->second);
        if (views.count(s.sheet)) {
            s.model->refresh();
            s.view->applyLayout();
            s.view->showSheetSelection();
        }
    }
    --syncing_;
    if (!views.empty())
        showActiveSheet();
    else
        updateFormulaBar();
    if (reveal_ && reveal_ == &book_->activeSheet())
        if (SheetView* view = viewOf(*reveal_))
            view->showCurrentCell();
    reveal_ = nullptr;
    updateTitle();
}

void SheetWindow::cellsChanged(Worksheet& sheet, const QRect& area)
{
    QRect& dirty = dirtyCells_[&sheet];
    dirty = dirty.isEmpty() ? area : dirty.united(area);
    schedule();
}

void SheetWindow::viewChanged(Worksheet& sheet)
{
    dirtyViews_.insert(&sheet);
    schedule();
}

void SheetWindow::shown(Worksheet& sheet)
{
    if (userSwitch_)
        return;
    reveal_ = &sheet;
    schedule();
}

void SheetWindow::closing(Workbook& book)
{
    if (&book == book_)
        detach();
}

void SheetWindow::applicationChanged(Application& app)
{
    if (app.screenUpdating() == frozen_) {
        frozen_ = !app.screenUpdating();
        if (frozen_) {
            setUpdatesEnabled(false);
        } else {
            flush();
            setUpdatesEnabled(true);   // one repaint of everything
            // A repaint request that came while frozen was spent without painting, and Qt posts
            // no new one for widgets still marked dirty: ask again, or the sheet, and whatever a
            // window closed meanwhile uncovered, stays as it was.
            QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
        }
    }
    formulaBar_->setVisible(app.displayFormulaBar());
    tabs_->setVisible(app.displayWorkbookTabs());
    // Only a change of the switches moves the window, so that the program's other switches do
    // not undo what the user did to it.
    const Shown shown{app.visible() && !app.hasQuit(), app.windowState(), app.displayFullScreen()};
    if (shown == shown_)
        return;
    shown_ = shown;
    ++applyingState_;
    if (shown.visible && !fitted_)
        fitToActiveSheet();
    if (!shown.visible)
        hide();
    else if (shown.fullScreen)
        showFullScreen();
    else if (shown.state == kMaximized)
        showMaximized();
    else if (shown.state == kMinimized)
        showMinimized();
    else
        showNormal();
    --applyingState_;
}

// The first showing makes the window as large as the active sheet's used cells need (a month's
// columns on the shift table), within the screen's free area; never smaller than it was made.
void SheetWindow::fitToActiveSheet()
{
    SheetView* view = currentView();
    if (!view)
        return;
    fitted_ = true;
    int chrome = menuBar()->sizeHint().height();
    if (formulaBar_->isVisibleTo(this))
        chrome += formulaBar_->sizeHint().height();
    if (tabs_->isVisibleTo(this))
        chrome += tabs_->sizeHint().height();
    // Room for the frame and title bar the window manager adds.
    const QRect free = screenOf(this).adjusted(0, 0, -16, -48);
    const QSize used = view->usedSize();
    resize(std::min(std::max(used.width(), width()), free.width()),
           std::min(std::max(used.height() + chrome, height()), free.height()));
}

void SheetWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // The user maximised, restored or minimised the window: WindowState tells so.
    if (event->type() != QEvent::WindowStateChange || applyingState_ || !app_ || !isVisible())
        return;
    const int state = isMinimized() ? kMinimized : isMaximized() ? kMaximized : kNormal;
    shown_.state = state;
    app_->setWindowState(state);
}

void SheetWindow::workbooksChanged(Application& app)
{
    attach(app.activeWorkbook());
    updateTitle();   // a workbook saved under a new name keeps its window
}

void SheetWindow::bringToFrontRequested(Application& app)
{
    if (!app.visible())
        return;
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void SheetWindow::cancelEditRequested(Application&)
{
    // What Escape does in the grid: a cell edit in progress is left without changing the cell.
    if (SheetView* view = currentView())
        view->cancelEdit();
}

void SheetWindow::quitting(Application&)
{
    if (SheetView* view = currentView())
        view->cancelEdit();
    detach();
    hide();
}

void SheetWindow::applicationDestroyed(Application& app)
{
    detach();
    app.removeObserver(this);
    settings().windows.erase(&app);
    app_ = nullptr;
    hide();
    deleteLater();
}

void SheetWindow::save()
{
    if (!book_)
        return;
    if (SheetView* view = currentView())
        view->cancelEdit();
    if (settings().savePermission && !settings().savePermission(*book_))
        return;
    if (book_->path().isEmpty() && second_) {
        saveAs();
        return;
    }
    ui::guarded([&] { book_->save(); }, programTitle());
}

void SheetWindow::saveAs()
{
    if (!book_ || !second_)
        return;
    const QString suggested = book_->path().isEmpty() ? book_->name() + QStringLiteral(".xlsx") : book_->fullName();
    const QString path = askSaveAs(this, suggested);
    if (path.isEmpty())
        return;
    ui::guarded([&] { book_->saveAs(path); }, programTitle());
    updateTitle();
}

void SheetWindow::setZoom(int percent)
{
    if (!book_)
        return;
    ui::guarded([&] { book_->activeSheet().setZoom(percent); }, programTitle());
}

void SheetWindow::closeEvent(QCloseEvent* event)
{
    // The program's own workbook window stays until the program ends it: closing only
    // minimises it.
    if (!second_ || !app_) {
        event->ignore();
        if (app_)
            showMinimized();
        return;
    }
    if (book_ && !book_->saved()) {
        const int answer = ui::showMessage(QStringLiteral("'%1' への変更を保存しますか?").arg(book_->name()),
                                           ui::vbYesNoCancel | ui::vbExclamation, programTitle());
        if (answer == ui::vbCancel)
            return event->ignore();
        if (answer == ui::vbYes) {
            save();
            if (book_ && !book_->saved())
                return event->ignore();
        }
    }
    event->accept();
    app_->quit();
}

}  // namespace xl::widgets
