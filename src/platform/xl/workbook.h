#pragma once
// An open workbook: its content (BookData), sheets, defined names, Saved state, file, macros,
// recalculation hook and observers.
#include "book_data.h"
#include "range.h"
#include "worksheet.h"

#include <QRect>
#include <QString>
#include <QVariant>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class QObject;

namespace xl {

class Application;

// What the workbook's code and the sheet window hear from a workbook. The first three are the
// spreadsheet's events and arrive only while the Application's EnableEvents is on; the last two
// always arrive and are meant for repainting (cheap; coalesce them).
class WorkbookObserver {
public:
    virtual ~WorkbookObserver() = default;
    virtual void sheetChange(const Range& /*target*/) {}        // the user changed cells
    virtual void selectionChange(const Range& /*target*/) {}    // user or program selection
    virtual void sheetActivate(Worksheet& /*sheet*/) {}
    // Values or formats in area (x = column, y = row, both 1-based) changed.
    virtual void cellsChanged(Worksheet& /*sheet*/, const QRect& /*area*/) {}
    // Anything else shown changed: widths, heights, hidden, panes, zoom, name, protection,
    // selection, active sheet, sheets added.
    virtual void viewChanged(Worksheet& /*sheet*/) {}
    // The sheet was activated (Activate, Select), also when it was active already: a window
    // brings it and its active cell into view.
    virtual void shown(Worksheet& /*sheet*/) {}
    // The workbook is about to close; it and its sheets and ranges are gone afterwards.
    virtual void closing(Workbook& /*book*/) {}
};

class Workbook {
public:
    // A macro: a registered procedure run by Application::run; its result is Run's result.
    using Macro = std::function<QVariant(Workbook&)>;
    using Recalculation = std::function<void(Workbook&)>;

    Workbook(Application* app, BookData data, QString fullName);
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    Application& application() const { return *app_; }
    QString name() const;          // file name, or "Book1" for a new workbook
    QString fullName() const;      // path and file name (the name alone for a new workbook)
    QString path() const;          // folder, "" for a new workbook

    int worksheetCount() const;                      // Worksheets.Count
    Worksheet& worksheets(int index);                // 1-based; Error 9 when out of range
    Worksheet& worksheets(const QString& name);      // ignoring case; Error 9 when missing
    Worksheet& sheets(const QString& name) { return worksheets(name); }
    Worksheet* findSheet(const QString& name);       // nullptr when missing
    Worksheet& addSheet(const QString& name);        // appended; Error 1004 for a bad name
    Worksheet& activeSheet();

    // Defined names (ignoring case). scope nullptr = workbook level.
    void defineName(const QString& name, const Range& target, Worksheet* scope = nullptr);
    void deleteName(const QString& name, Worksheet* scope = nullptr);
    // The range of a workbook-level name; Error 1004 when missing or not a single-area reference.
    Range names(const QString& name);
    // A name visible from sheet: that sheet's own, else a workbook-level one (any sheet).
    std::optional<Range> findName(const QString& name, const Worksheet* sheet = nullptr);

    bool saved() const { return saved_; }
    void setSaved(bool saved) { saved_ = saved; }
    void save();                                      // Error 1004 for a new, never saved book
    // .xlsm is written macro-enabled; other names than .xlsx/.xlsm, or the file name of another
    // open workbook, are refused (Error 1004).
    void saveAs(const QString& path);
    void close(bool saveChanges = false);             // removes it from its Application

    // Code of the workbook. A macro is reachable as "Name" and, with a module, "Module.Name".
    void registerMacro(const QString& module, const QString& name, Macro macro);
    QVariant runMacro(const QString& name);           // Error 1004 when not registered
    // The recalculation ("formulas"). Automatic calculation runs it once per event-loop turn
    // after changes, or at once when a value is read while it is pending; manual calculation
    // runs it only on calculate().
    void setRecalculation(Recalculation hook);
    void calculate();
    bool calculationPending() const { return dirty_; }
    // An area of one sheet whose cells the recalculation can follow on its own. When every change
    // since the last completed calculation was to values or formats inside it,
    // onlyTrackedAreaChanged() says so, and the recalculation may redo only what depends on it.
    void setTrackedArea(const Worksheet& sheet, const QRect& area);
    bool onlyTrackedAreaChanged() const { return calculatedAt_.has_value() && !otherChange_; }
    // Runs a pending automatic calculation now, as reading a value would.
    void calculateIfPending() { ensureCalculated(); }
    // A stamp of the workbook's state: it moves on every access that may change the workbook,
    // and no two workbooks share one. Equal stamps mean nothing was changed in between.
    std::uint64_t changeStamp() const { return changes_; }

    void addObserver(WorkbookObserver* observer);
    void removeObserver(WorkbookObserver* observer);

    // Undo and Redo of the user's own edits (Worksheet::userEdit), up to kUndoSteps deep. Any
    // other cell write clears both, so nothing the program wrote is undone; the recalculation and
    // what the workbook's code writes in answer to the user's edit or selection do not count.
    static constexpr size_t kUndoSteps = 100;
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // Each puts the step's cells back, selects them and fires the change event. Error 1004 when
    // there is no step or one of its cells is protected now; nothing changes then.
    void undo();
    void redo();

    // While one lives, cell writes are the user's own (see undo()).
    class UserAction {
    public:
        UserAction();
        ~UserAction();
        UserAction(const UserAction&) = delete;
        UserAction& operator=(const UserAction&) = delete;
        static bool active();
    };

    // The content as the file stores it (recalculated first when pending).
    const BookData& data();

private:
    friend class Worksheet;
    friend class Range;
    friend class Application;
    friend class Interior;
    friend class Font;
    friend class Border;

    // One step of the history: the stored cells of an area on a sheet, and the formats to give
    // back (to the first style where a cell still has the second).
    struct EditStep {
        int sheet = 0;
        QRect area;
        std::vector<std::pair<std::pair<int, int>, Cell>> cells;
        std::vector<std::pair<std::pair<int, int>, std::pair<int, int>>> formats;
    };
    EditStep takeStep(int sheet, const QRect& area);
    // Pushes the step of an edit that has just been made (its cells as they were before).
    void recordUserEdit(EditStep before);
    void stepBack(std::vector<EditStep>& from, std::vector<EditStep>& to);

    // Called by the sheets and ranges after they changed something.
    void cellsWritten(Worksheet& sheet, const QRect& area, bool values);
    void viewChanged(Worksheet& sheet);
    void ensureCalculated();
    void scheduleCalculation();
    int internStyle(const CellStyle& style);
    void rebuildStyleIndex();
    template <class F> void notify(F&& f)
    {
        const auto list = observers_;   // an observer may remove itself
        for (WorkbookObserver* o : list)
            if (std::find(observers_.begin(), observers_.end(), o) != observers_.end())
                f(o);
    }
    bool eventsOn() const;

    Application* app_;
    BookData data_;
    QString fullName_;
    std::vector<std::unique_ptr<Worksheet>> sheets_;
    bool saved_ = true;
    bool dirty_ = false;
    bool calculating_ = false;
    bool scheduled_ = false;
    // Every access that may change what the recalculation reads (a sheet's cells or settings, a
    // name, a sheet, the active sheet) counts as a change; reads, cell writes that leave the cells
    // as they were and the recalculation's own writes do not. A calculation with no change since
    // the last completed one would write what is there. Stamps come from one sequence for every
    // workbook.
    void touch()
    {
        if (!calculating_) {
            changes_ = ++stampSequence_;
            otherChange_ = true;
        }
    }
    // A change to cells (values or formats) of area of sheet only.
    void touchCells(int sheet, const QRect& area)
    {
        if (!calculating_) {
            changes_ = ++stampSequence_;
            otherChange_ = otherChange_ || sheet != trackedSheet_ || !trackedArea_.contains(area);
        }
    }
    static inline std::uint64_t stampSequence_ = 0;
    std::uint64_t changes_ = ++stampSequence_;
    std::optional<std::uint64_t> calculatedAt_;
    int trackedSheet_ = -1;
    QRect trackedArea_;
    bool otherChange_ = true;
    Recalculation recalc_;
    struct MacroEntry { QString module, name; Macro proc; };
    std::vector<MacroEntry> macros_;
    std::vector<WorkbookObserver*> observers_;
    std::vector<EditStep> undo_, redo_;
    std::unique_ptr<QObject> timerContext_;
    std::unordered_multimap<size_t, int> styleIndex_;
};

}  // namespace xl
