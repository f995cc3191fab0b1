#pragma once
// The spreadsheet application: its open workbooks, its switches, macro dispatch and the list of
// live instances (shut-down quits them all).
#include "range.h"
#include "workbook.h"
#include "worksheet.h"

#include <QString>
#include <QVariant>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace xl {

inline constexpr int kCalculationAutomatic = -4105;
inline constexpr int kCalculationManual = -4135;
inline constexpr int kMaximized = -4137;
inline constexpr int kNormal = -4143;
inline constexpr int kMinimized = -4140;

class Application;

// What the sheet window hears from an Application: everything it must show or do.
class ApplicationObserver {
public:
    virtual ~ApplicationObserver() = default;
    // Visible, WindowState, DisplayFullScreen, ScreenUpdating, the window's display switches.
    virtual void applicationChanged(Application& /*app*/) {}
    virtual void workbooksChanged(Application& /*app*/) {}      // opened, added, closed
    virtual void bringToFrontRequested(Application& /*app*/) {}
    virtual void cancelEditRequested(Application& /*app*/) {}   // leave a pending cell edit unchanged
    virtual void quitting(Application& /*app*/) {}
    // The Application is being destroyed; its workbooks go with it.
    virtual void applicationDestroyed(Application& /*app*/) {}
};

class Workbooks {
public:
    explicit Workbooks(Application* app) : app_(app) {}
    // Opens a workbook file, or returns the open workbook of that path. Errors of the file reader
    // (xl::Error) reach the caller and nothing open changes.
    Workbook& open(const QString& path);
    Workbook& add();                                  // a new workbook "BookN" with "Sheet1"
    int count() const { return int(books_.size()); }
    Workbook& item(int index);                        // 1-based; Error 9
    Workbook& item(const QString& name);              // by file name, ignoring case; Error 9
    Workbook* find(const QString& name);

private:
    friend class Application;
    friend class Workbook;
    Application* app_;
    std::vector<std::unique_ptr<Workbook>> books_;
    int added_ = 0;
};

class Application {
public:
    Application();
    // Destroying an Application closes its workbooks without any notice: observers leave first.
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Every Application alive in this process, oldest first.
    static std::vector<Application*> instances();
    static void quitAll();
    // Called for every Application created from now on (the window layer attaches itself).
    static void setCreationHook(std::function<void(Application&)> hook);

    Workbooks& workbooks() { return books_; }
    Workbook* activeWorkbook();                       // nullptr when none is open
    // Worksheets(name) and Range(name) of the active workbook; Error 1004 with no workbook.
    Worksheet& worksheets(const QString& name);
    Range range(const QString& reference);            // a workbook-level name or "Sheet!A1"
    // Run("book!Macro") / Run("book!Module.Macro") / Run("Macro") (active workbook).
    QVariant run(const QString& macro);
    void calculate();                                 // every open workbook

    QString version() const { return QStringLiteral("16.0"); }
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool screenUpdating() const { return screenUpdating_; }
    void setScreenUpdating(bool on);
    bool enableEvents() const { return enableEvents_; }
    void setEnableEvents(bool on) { enableEvents_ = on; }
    int calculation() const { return calculation_; }
    void setCalculation(int mode);                    // -4105 or -4135; Error 1004 otherwise
    bool calculateBeforeSave() const { return calculateBeforeSave_; }
    void setCalculateBeforeSave(bool on) { calculateBeforeSave_ = on; }
    bool displayAlerts() const { return displayAlerts_; }
    void setDisplayAlerts(bool on) { displayAlerts_ = on; }
    bool displayFullScreen() const { return displayFullScreen_; }
    void setDisplayFullScreen(bool on);
    int windowState() const { return windowState_; }
    void setWindowState(int state);                   // -4137, -4143, -4140; Error 1004 otherwise
    // CutCopyMode: 0 (False) or 1 (a copied range waits for pasting). Setting 0 drops the copy.
    int cutCopyMode() const;
    void setCutCopyMode(int mode);
    // ActiveWindow.DisplayWorkbookTabs / ActiveWindow.DisplayFormulaBar.
    bool displayWorkbookTabs() const { return displayWorkbookTabs_; }
    void setDisplayWorkbookTabs(bool on);
    bool displayFormulaBar() const { return displayFormulaBar_; }
    void setDisplayFormulaBar(bool on);
    // The window's stand-ins for Hwnd (raise the sheet window) and for Escape into it.
    void bringToFront();
    void cancelCellEdit();
    // Closes every workbook without saving and hides; the object stays usable for its flags.
    void quit();
    bool hasQuit() const { return quit_; }

    void addObserver(ApplicationObserver* observer);
    void removeObserver(ApplicationObserver* observer);

    // The copied cells (Range::copy) and their text, tabs and CR LF.
    QString copiedText() const;

private:
    friend class Workbook;
    friend class Workbooks;
    friend class Range;
    template <class F> void notify(F&& f)
    {
        const auto list = observers_;
        for (ApplicationObserver* o : list)
            if (std::find(observers_.begin(), observers_.end(), o) != observers_.end())
                f(o);
    }
    void workbookClosing(Workbook& book);
    void changed();

    Workbooks books_{this};
    bool visible_ = false;
    bool screenUpdating_ = true;
    bool enableEvents_ = true;
    int calculation_ = kCalculationAutomatic;
    bool calculateBeforeSave_ = true;
    bool displayAlerts_ = true;
    bool displayFullScreen_ = false;
    int windowState_ = kNormal;
    bool displayWorkbookTabs_ = true;
    bool displayFormulaBar_ = true;
    bool quit_ = false;
    std::vector<ApplicationObserver*> observers_;
    // The copied block: values, styles and texts, kept after its workbook closes.
    struct Copied {
        bool active = false;
        int rows = 0, columns = 0;
        std::vector<QVariant> values;
        std::vector<CellStyle> styles;
        QString text;
    } copied_;
};

}  // namespace xl
