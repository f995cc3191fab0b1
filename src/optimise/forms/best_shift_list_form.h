#pragma once
// The best-shift list window frmベストシフトリスト: every table the best-shift store kept, with
// its summary; the user sorts it by any column, puts any table back on the sheet and follows the
// problems of the restored table from their labels.
#include <QLabel>
#include <QWidget>
#include <functional>
#include <vector>

class QFrame;
class QPushButton;
class QTreeWidget;

// A label that runs an action when clicked (the problem labels).
class ClickLabel : public QLabel {
public:
    ClickLabel(const QString& text, QWidget* parent, std::function<void()> clicked);

protected:
    void mousePressEvent(QMouseEvent* e) override;

private:
    std::function<void()> clicked_;
};

// No Q_OBJECT: the meta-object compiler cannot read the name, and the window needs no signals.
class frmベストシフトリスト : public QWidget {
public:
    explicit frmベストシフトリスト(QWidget* parent = nullptr);

    // Lists the store, selects the best row and restores it with the post-processing.
    void Form_Load();
    // Restores the table of the selected row; nothing while no row is selected.
    void cmdRestore_Click();
    void lstBestShiftList_Click();
    // Sorts by column (1-based): ascending, or the other way round when the same column is
    // clicked again.
    void lstBestShiftList_ColumnClick(int column);
    // The problem label's action: the rest-day report, or the consecutive-rest adjustment.
    void alert_Click(int index);
    void cmdClose_Click();

    QFrame* frTop;
    QLabel* lblTop;
    QPushButton* cmdRestore;
    QTreeWidget* lstBestShiftList;
    QFrame* frBottom;
    QLabel* lblStatus;
    QFrame* frAlert;
    // alert[0] is the template that gives the others their width; 1..k the shown problems.
    std::vector<QLabel*> alert;
    QPushButton* cmdClose;

private:
    void addColumns();
    void addRows();
    void showProblems(const QString& problems);
    void restDayReport();
    // Runs one handler; an error ends it with its number and description shown.
    void handle(const std::function<void()>& handler);

    int sortColumn_ = 0;
    int sortOrder_ = 0;  // 0 ascending, 1 descending
};

// Puts the window behind the store's showBestShiftList; the windowed program calls it once
// at start-up.
void installBestShiftListWindow();
// The loaded window (nullptr when not loaded).
frmベストシフトリスト* loadedBestShiftList();
