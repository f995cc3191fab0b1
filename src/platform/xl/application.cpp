#include "application.h"

#include "address.h"
#include "error.h"
#include "xlsx.h"

#include <QFileInfo>

namespace xl {

namespace {

// Never destroyed: an Application held in a static object leaves the list after every
// function-local static of this file is gone.
std::vector<Application*>& liveApplications()
{
    static auto* list = new std::vector<Application*>;
    return *list;
}

std::function<void(Application&)>& creationHook()
{
    static std::function<void(Application&)> hook;
    return hook;
}

Error noWorkbook()
{
    return Error(1004, QStringLiteral("開いているブックがありません。 (No workbook is open)"));
}

}  // namespace

Workbook& Workbooks::open(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    for (auto& b : books_)
        if (b->fullName() == full)
            return *b;
    if (Workbook* same = find(QFileInfo(full).fileName()))
        throw Error(1004, QStringLiteral("同じ名前のブック \"%1\" が既に開いています。 (A workbook with this name is already open)")
                              .arg(same->name()));
    BookData data = readWorkbookFile(full);
    books_.push_back(std::make_unique<Workbook>(app_, std::move(data), full));
    Workbook& book = *books_.back();
    app_->notify([&](ApplicationObserver* o) { o->workbooksChanged(*app_); });
    return book;
}

Workbook& Workbooks::add()
{
    QString name;
    do
        name = QStringLiteral("Book%1").arg(++added_);
    while (find(name));
    books_.push_back(std::make_unique<Workbook>(app_, BookData{}, name));
    Workbook& book = *books_.back();
    app_->notify([&](ApplicationObserver* o) { o->workbooksChanged(*app_); });
    return book;
}

Workbook& Workbooks::item(int index)
{
    if (index < 1 || index > count())
        throw Error(9, QStringLiteral("インデックスが有効範囲にありません。 (Subscript out of range: workbook %1)").arg(index));
    return *books_[size_t(index - 1)];
}

Workbook& Workbooks::item(const QString& name)
{
    if (Workbook* b = find(name))
        return *b;
    throw Error(9, QStringLiteral("インデックスが有効範囲にありません。 (Subscript out of range: no workbook \"%1\")").arg(name));
}

Workbook* Workbooks::find(const QString& name)
{
    for (auto& b : books_)
        if (b->name().compare(name, Qt::CaseInsensitive) == 0)
            return b.get();
    return nullptr;
}

Application::Application()
{
    liveApplications().push_back(this);
    if (creationHook())
        creationHook()(*this);
}

Application::~Application()
{
    std::erase(liveApplications(), this);
    notify([&](ApplicationObserver* o) { o->applicationDestroyed(*this); });
    observers_.clear();
    books_.books_.clear();
}

std::vector<Application*> Application::instances()
{
    return liveApplications();
}

void Application::quitAll()
{
    for (Application* app : instances())
        if (!app->hasQuit())
            app->quit();
}

void Application::setCreationHook(std::function<void(Application&)> hook)
{
    creationHook() = std::move(hook);
}

Workbook* Application::activeWorkbook()
{
    return books_.books_.empty() ? nullptr : books_.books_.back().get();
}

Worksheet& Application::worksheets(const QString& name)
{
    Workbook* book = activeWorkbook();
    if (!book)
        throw noWorkbook();
    return book->worksheets(name);
}

Range Application::range(const QString& reference)
{
    Workbook* book = activeWorkbook();
    if (!book)
        throw noWorkbook();
    const SheetRef ref = splitSheetRef(reference);
    if (!ref.sheet.isEmpty())
        return book->worksheets(ref.sheet).range(ref.rest);
    if (parseArea(ref.rest))
        return book->activeSheet().range(ref.rest);
    return book->names(ref.rest);
}

QVariant Application::run(const QString& macro)
{
    const SheetRef ref = splitSheetRef(macro);   // "book!Module.Macro" splits like "sheet!A1"
    if (ref.sheet.isEmpty()) {
        Workbook* book = activeWorkbook();
        if (!book)
            throw noWorkbook();
        return book->runMacro(ref.rest);
    }
    Workbook* book = books_.find(ref.sheet);
    if (!book)
        throw Error(1004, QStringLiteral("マクロ '%1' を実行できません。 (Cannot run the macro: workbook \"%2\" is not open)")
                              .arg(macro, ref.sheet));
    return book->runMacro(ref.rest);
}

void Application::calculate()
{
    for (auto& b : books_.books_)
        b->calculate();
}

void Application::changed()
{
    notify([&](ApplicationObserver* o) { o->applicationChanged(*this); });
}

void Application::setVisible(bool visible)
{
    if (visible_ != visible) {
        visible_ = visible;
        changed();
    }
}

void Application::setScreenUpdating(bool on)
{
    if (screenUpdating_ != on) {
        screenUpdating_ = on;
        changed();
    }
}

void Application::setCalculation(int mode)
{
    if (mode != kCalculationAutomatic && mode != kCalculationManual)
        throw Error(1004, QStringLiteral("Calculation の値が正しくありません。 (Calculation must be -4105 or -4135, not %1)").arg(mode));
    calculation_ = mode;
    if (mode == kCalculationAutomatic)
        for (auto& b : books_.books_)
            b->scheduleCalculation();
}

void Application::setDisplayFullScreen(bool on)
{
    if (displayFullScreen_ != on) {
        displayFullScreen_ = on;
        changed();
    }
}

void Application::setWindowState(int state)
{
    if (state != kMaximized && state != kNormal && state != kMinimized)
        throw Error(1004, QStringLiteral("WindowState の値が正しくありません。 (WindowState must be -4137, -4143 or -4140, not %1)").arg(state));
    if (windowState_ != state) {
        windowState_ = state;
        changed();
    }
}

int Application::cutCopyMode() const
{
    return copied_.active ? 1 : 0;
}

void Application::setCutCopyMode(int mode)
{
    if (mode == 0)
        copied_ = Copied{};
}

void Application::setDisplayWorkbookTabs(bool on)
{
    if (displayWorkbookTabs_ != on) {
        displayWorkbookTabs_ = on;
        changed();
    }
}

void Application::setDisplayFormulaBar(bool on)
{
    if (displayFormulaBar_ != on) {
        displayFormulaBar_ = on;
        changed();
    }
}

void Application::bringToFront()
{
    notify([&](ApplicationObserver* o) { o->bringToFrontRequested(*this); });
}

void Application::cancelCellEdit()
{
    notify([&](ApplicationObserver* o) { o->cancelEditRequested(*this); });
}

void Application::quit()
{
    notify([&](ApplicationObserver* o) { o->quitting(*this); });
    while (!books_.books_.empty())
        books_.books_.back()->close(false);
    copied_ = Copied{};
    visible_ = false;
    quit_ = true;
}

void Application::addObserver(ApplicationObserver* observer)
{
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void Application::removeObserver(ApplicationObserver* observer)
{
    std::erase(observers_, observer);
}

QString Application::copiedText() const
{
    return copied_.text;
}

void Application::workbookClosing(Workbook& book)
{
    auto& list = books_.books_;
    const auto it = std::find_if(list.begin(), list.end(), [&](const auto& b) { return b.get() == &book; });
    if (it == list.end())
        return;
    std::unique_ptr<Workbook> gone = std::move(*it);
    list.erase(it);
    notify([&](ApplicationObserver* o) { o->workbooksChanged(*this); });
}

}  // namespace xl
