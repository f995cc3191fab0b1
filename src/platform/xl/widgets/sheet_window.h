#pragma once
// The spreadsheet window: one top-level window per Application, showing its active workbook as
// a grid per sheet, with a formula bar, sheet tabs and a small menu. It follows the object model
// (display switches, visibility, active sheet, selection, cell writes coalesced per event-loop
// turn) and feeds the user's edits and selection back through the model's user entry points.
#include "platform/xl/xl.h"

#include <QMainWindow>
#include <QRect>
#include <QTimer>
#include <functional>
#include <map>
#include <set>
#include <vector>

class QLineEdit;
class QStackedWidget;
class QTabBar;
class QActionGroup;

namespace xl::widgets {

class SheetModel;
class SheetView;

// Gives every Application created from now on (and every live one without) its window.
void install();
// The program title that follows the workbook name in window titles and titles message boxes.
void setProgramTitle(const QString& title);
QString programTitle();
// Asked before the Save command saves a workbook; false keeps it unsaved. Without a hook the
// command saves.
using SavePermission = std::function<bool(Workbook&)>;
void setSavePermission(SavePermission permission);
// Asks for the Save As file name (empty: cancelled). The default shows the file dialog.
using SaveAsDialog = std::function<QString(QWidget* parent, const QString& suggestedPath)>;
void setSaveAsDialog(SaveAsDialog dialog);

class SheetWindow : public QMainWindow, private ApplicationObserver, private WorkbookObserver {
    Q_OBJECT
public:
    explicit SheetWindow(Application& app);
    ~SheetWindow() override;

    // The window of an Application; nullptr when it has none.
    static SheetWindow* of(const Application& app);
    // Cuts every window off its Application and workbook, leaving the widgets alone (at exit).
    static void releaseAll();

    Application* application() const { return app_; }
    Workbook* workbook() const { return book_; }
    SheetView* currentView() const;
    SheetView* viewOf(const Worksheet& sheet) const;
    QTabBar* sheetTabs() const { return tabs_; }
    QWidget* formulaBar() const { return formulaBar_; }
    QLineEdit* addressBox() const { return address_; }
    QLineEdit* contentBox() const { return content_; }
    QAction* saveAction() const { return saveAction_; }
    QAction* saveAsAction() const { return saveAsAction_; }

    void save();
    void saveAs();
    void setZoom(int percent);
    void updateTitle();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // ApplicationObserver
    void applicationChanged(Application& app) override;
    void workbooksChanged(Application& app) override;
    void bringToFrontRequested(Application& app) override;
    void cancelEditRequested(Application& app) override;
    void quitting(Application& app) override;
    void applicationDestroyed(Application& app) override;
    // WorkbookObserver
    void cellsChanged(Worksheet& sheet, const QRect& area) override;
    void viewChanged(Worksheet& sheet) override;
    void shown(Worksheet& sheet) override;
    void closing(Workbook& book) override;

    void attach(Workbook* book);
    void detach();
    void addSheetViews();
    void flush();
    void schedule();
    void showActiveSheet();
    void fitToActiveSheet();
    void userSelected(SheetView* view);
    void updateFormulaBar();
    void goToAddress();
    void commitFormulaBar();

    Application* app_;
    Workbook* book_ = nullptr;
    bool second_ = false;           // a later Application: the program's export view
    bool frozen_ = false;           // ScreenUpdating off
    int syncing_ = 0;               // applying the model to the view: no user events
    bool userSwitch_ = false;       // the user chose a sheet tab: it stays scrolled as it was left
    Worksheet* reveal_ = nullptr;   // a sheet shown by the program: its active cell comes into view
    struct Shown {
        bool visible = false;
        int state = 0;
        bool fullScreen = false;
        bool operator==(const Shown&) const = default;
    } shown_;                       // the switches last applied to the window
    bool fitted_ = false;           // sized to its sheet at the first showing
    int applyingState_ = 0;
    struct Sheet {
        Worksheet* sheet;
        SheetModel* model;
        SheetView* view;
    };
    std::vector<Sheet> sheets_;
    std::map<Worksheet*, QRect> dirtyCells_;
    std::set<Worksheet*> dirtyViews_;
    QTimer flushTimer_;
    QWidget* formulaBar_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* content_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QTabBar* tabs_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* saveAsAction_ = nullptr;
    QActionGroup* zoomGroup_ = nullptr;
};

}  // namespace xl::widgets
