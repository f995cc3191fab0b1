#include "workbook.h"

#include "address.h"
#include "application.h"
#include "error.h"
#include "xlsx.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QObject>
#include <QTimer>
#include <algorithm>

namespace xl {

namespace {

size_t hashStyle(const CellStyle& s)
{
    auto edge = [](const BorderEdge& e) { return qHashMulti(0, e.lineStyle, e.weight, e.color.rgba()); };
    return qHashMulti(0, s.fill.isValid() ? s.fill.rgba() : 1u, s.fontColor.isValid() ? s.fontColor.rgba() : 1u,
                      s.bold, s.fontSize, s.fontName, s.horizontalAlignment, s.verticalAlignment, s.wrapText,
                      s.numberFormat, s.locked, edge(s.left), edge(s.top), edge(s.bottom), edge(s.right));
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

Workbook::Workbook(Application* app, BookData data, QString fullName)
    : app_(app), data_(std::move(data)), fullName_(std::move(fullName)), timerContext_(std::make_unique<QObject>())
{
    if (data_.sheets.empty()) {
        data_.sheets.emplace_back();
        data_.sheets.back().name = QStringLiteral("Sheet1");
    }
    if (data_.styles.empty())
        data_.styles.emplace_back();
    if (data_.activeSheet < 0 || data_.activeSheet >= int(data_.sheets.size()))
        data_.activeSheet = 0;
    if (data_.sheets[size_t(data_.activeSheet)].visible != -1) {
        const auto shown = std::find_if(data_.sheets.begin(), data_.sheets.end(), [](const SheetData& s) { return s.visible == -1; });
        if (shown != data_.sheets.end())
            data_.activeSheet = int(shown - data_.sheets.begin());
    }
    for (int i = 0; i < int(data_.sheets.size()); ++i)
        sheets_.push_back(std::make_unique<Worksheet>(this, i));
    rebuildStyleIndex();
}

Workbook::~Workbook() = default;

QString Workbook::name() const
{
    return QFileInfo(fullName_).fileName();
}

QString Workbook::fullName() const
{
    return fullName_;
}

QString Workbook::path() const
{
    return fullName_.contains(QLatin1Char('/')) ? QFileInfo(fullName_).absolutePath() : QString();
}

int Workbook::worksheetCount() const
{
    return int(sheets_.size());
}

Worksheet& Workbook::worksheets(int index)
{
    if (index < 1 || index > int(sheets_.size()))
        throw Error(9, QStringLiteral("インデックスが有効範囲にありません。 (Subscript out of range: sheet %1)").arg(index));
    return *sheets_[size_t(index - 1)];
}

Worksheet& Workbook::worksheets(const QString& name)
{
    if (Worksheet* ws = findSheet(name))
        return *ws;
    throw Error(9, QStringLiteral("インデックスが有効範囲にありません。 (Subscript out of range: no sheet \"%1\")").arg(name));
}

Worksheet* Workbook::findSheet(const QString& name)
{
    for (auto& ws : sheets_)
        if (sameName(data_.sheets[size_t(ws->index_)].name, name))
            return ws.get();
    return nullptr;
}

Worksheet& Workbook::addSheet(const QString& name)
{
    touch();
    const int index = int(sheets_.size());
    data_.sheets.emplace_back();
    sheets_.push_back(std::make_unique<Worksheet>(this, index));
    try {
        sheets_.back()->setName(name);
    } catch (...) {
        sheets_.pop_back();
        data_.sheets.pop_back();
        throw;
    }
    saved_ = false;
    viewChanged(*sheets_.back());
    return *sheets_.back();
}

Worksheet& Workbook::activeSheet()
{
    return *sheets_[size_t(data_.activeSheet)];
}

void Workbook::defineName(const QString& name, const Range& target, Worksheet* scope)
{
    touch();
    const QString n = name.trimmed();
    bool valid = !n.isEmpty() && !n.at(0).isDigit() && !parseArea(n);
    for (QChar c : n)
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.') || c == QLatin1Char('\\')))
            valid = false;
    if (!valid)
        throw Error(1004, QStringLiteral("名前が正しくありません。 (The name \"%1\" is not valid)").arg(name));
    const int sheet = scope ? scope->index_ : -1;
    const QString refersTo = quoteSheetName(target.parent().name()) + QLatin1Char('!') + target.address();
    for (DefinedName& d : data_.names) {
        if (d.sheet == sheet && sameName(d.name, n)) {
            d.refersTo = refersTo;
            saved_ = false;
            return;
        }
    }
    data_.names.push_back(DefinedName{n, sheet, refersTo});
    saved_ = false;
}

void Workbook::deleteName(const QString& name, Worksheet* scope)
{
    touch();
    const int sheet = scope ? scope->index_ : -1;
    const auto it = std::find_if(data_.names.begin(), data_.names.end(),
                                 [&](const DefinedName& d) { return d.sheet == sheet && sameName(d.name, name); });
    if (it == data_.names.end())
        throw Error(1004, QStringLiteral("名前 \"%1\" がありません。 (No such name)").arg(name));
    data_.names.erase(it);
    saved_ = false;
}

Range Workbook::names(const QString& name)
{
    for (const DefinedName& d : data_.names) {
        if (d.sheet == -1 && sameName(d.name, name)) {
            const SheetRef ref = splitSheetRef(d.refersTo);
            Worksheet* ws = findSheet(ref.sheet);
            const auto area = parseArea(ref.rest);
            if (ws && area)
                return Range(ws, area->top, area->left, area->bottom, area->right);
            break;
        }
    }
    throw Error(1004, QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。 (No workbook-level name \"%1\")").arg(name));
}

std::optional<Range> Workbook::findName(const QString& name, const Worksheet* sheet)
{
    auto resolve = [&](const DefinedName& d) -> std::optional<Range> {
        const SheetRef ref = splitSheetRef(d.refersTo);
        const bool ownSheet = ref.sheet.isEmpty() && d.sheet >= 0 && d.sheet < int(sheets_.size());
        Worksheet* ws = ownSheet ? sheets_[size_t(d.sheet)].get() : findSheet(ref.sheet);
        const auto area = parseArea(ref.rest);
        if (!ws || !area)
            return std::nullopt;
        return Range(ws, area->top, area->left, area->bottom, area->right);
    };
    if (sheet)
        for (const DefinedName& d : data_.names)
            if (d.sheet == sheet->index_ && sameName(d.name, name))
                return resolve(d);
    for (const DefinedName& d : data_.names)
        if (d.sheet == -1 && sameName(d.name, name))
            return resolve(d);
    return std::nullopt;
}

void Workbook::save()
{
    if (path().isEmpty())
        throw Error(1004, QStringLiteral("ブック \"%1\" はまだ保存先がありません。 (The workbook has no file yet; use SaveAs)").arg(name()));
    saveAs(fullName_);
}

void Workbook::saveAs(const QString& path)
{
    if (dirty_ && (app_->calculation() == kCalculationAutomatic || app_->calculateBeforeSave()))
        calculate();
    const QString full = QFileInfo(path).absoluteFilePath();
    const QString suffix = QFileInfo(full).suffix().toLower();
    if (suffix != QLatin1String("xlsx") && suffix != QLatin1String("xlsm"))
        throw Error(1004, QStringLiteral("\"%1\" には保存できません。ブックは .xlsx か .xlsm で保存します。 (Workbooks are saved as .xlsx or .xlsm)")
                              .arg(QFileInfo(full).fileName()));
    if (Workbook* other = app_->workbooks().find(QFileInfo(full).fileName()); other && other != this)
        throw Error(1004, QStringLiteral("同じ名前のブック \"%1\" が開いています。 (A workbook with this name is already open)")
                              .arg(other->name()));
    writeWorkbookFile(data_, full, full.endsWith(QLatin1String(".xlsm"), Qt::CaseInsensitive));
    const bool renamed = full != fullName_;
    fullName_ = full;
    saved_ = true;
    if (renamed)
        app_->notify([&](ApplicationObserver* o) { o->workbooksChanged(*app_); });
}

void Workbook::close(bool saveChanges)
{
    if (saveChanges && !saved_)
        save();
    notify([&](WorkbookObserver* o) { o->closing(*this); });
    app_->workbookClosing(*this);   // destroys this workbook
}

void Workbook::registerMacro(const QString& module, const QString& name, Macro macro)
{
    for (MacroEntry& m : macros_) {
        if (sameName(m.module, module) && sameName(m.name, name)) {
            m.proc = std::move(macro);
            return;
        }
    }
    macros_.push_back(MacroEntry{module, name, std::move(macro)});
}

QVariant Workbook::runMacro(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString module = dot < 0 ? QString() : name.left(dot).trimmed();
    const QString proc = (dot < 0 ? name : name.mid(dot + 1)).trimmed();
    for (const MacroEntry& m : macros_) {
        if (sameName(m.name, proc) && (dot < 0 || sameName(m.module, module))) {
            const Macro copy = m.proc;   // the macro may register others while it runs
            return copy(*this);
        }
    }
    throw Error(1004, QStringLiteral("マクロ '%1!%2' を実行できません。 (Cannot run the macro: it is not available in this workbook)")
                          .arg(this->name(), name));
}

void Workbook::setRecalculation(Recalculation hook)
{
    recalc_ = std::move(hook);
    calculatedAt_.reset();
    dirty_ = false;
}

void Workbook::calculate()
{
    if (!recalc_ || calculating_ || calculatedAt_ == changes_) {
        dirty_ = false;
        return;
    }
    calculating_ = true;
    dirty_ = false;
    try {
        recalc_(*this);
    } catch (...) {
        calculating_ = false;
        throw;
    }
    calculating_ = false;
    calculatedAt_ = changes_;
    otherChange_ = false;
}

void Workbook::setTrackedArea(const Worksheet& sheet, const QRect& area)
{
    trackedSheet_ = sheet.index_;
    trackedArea_ = area;
}

void Workbook::ensureCalculated()
{
    if (dirty_ && !calculating_ && app_->calculation() == kCalculationAutomatic)
        calculate();
}

void Workbook::addObserver(WorkbookObserver* observer)
{
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void Workbook::removeObserver(WorkbookObserver* observer)
{
    std::erase(observers_, observer);
}

const BookData& Workbook::data()
{
    ensureCalculated();
    return data_;
}

bool Workbook::eventsOn() const
{
    return app_->enableEvents();
}

void Workbook::cellsWritten(Worksheet& sheet, const QRect& area, bool values)
{
    saved_ = false;
    // The write counted itself as a change when it reached the cells.
    if (!calculating_ && !UserAction::active()) {
        undo_.clear();
        redo_.clear();
    }
    if (values && recalc_ && !calculating_) {
        dirty_ = true;
        scheduleCalculation();
    }
    notify([&](WorkbookObserver* o) { o->cellsChanged(sheet, area); });
}

void Workbook::scheduleCalculation()
{
    if (!dirty_ || scheduled_ || app_->calculation() != kCalculationAutomatic || !QCoreApplication::instance())
        return;
    scheduled_ = true;
    QTimer::singleShot(0, timerContext_.get(), [this] {
        scheduled_ = false;
        try {
            ensureCalculated();
        } catch (const std::exception& e) {
            qWarning("recalculation failed: %s", e.what());
        }
    });
}

void Workbook::viewChanged(Worksheet& sheet)
{
    touch();
    notify([&](WorkbookObserver* o) { o->viewChanged(sheet); });
}

int Workbook::internStyle(const CellStyle& style)
{
    const size_t h = hashStyle(style);
    const auto [first, last] = styleIndex_.equal_range(h);
    for (auto it = first; it != last; ++it)
        if (data_.styles[size_t(it->second)] == style)
            return it->second;
    data_.styles.push_back(style);
    const int index = int(data_.styles.size()) - 1;
    styleIndex_.emplace(h, index);
    return index;
}

void Workbook::rebuildStyleIndex()
{
    styleIndex_.clear();
    for (int i = 0; i < int(data_.styles.size()); ++i)
        styleIndex_.emplace(hashStyle(data_.styles[size_t(i)]), i);
}

}  // namespace xl
