#pragma once
// The saved-shift browser frm既存シフト読込: the saved periods, newest first, to delete, to put
// back onto the roster sheet, or to export a span of them into a new workbook. Non-modal and on
// top; one window at a time.
#include "storage/saved_shifts.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

// No Q_OBJECT: the meta-object compiler cannot read the class's name, and the window declares no
// signals of its own.
class frm既存シフト読込 : public QWidget {
public:
    explicit frm既存シフト読込(QWidget* parent = nullptr);

    // Rebuilds the list: "" when periods were found (or the database's failure was shown),
    // "データ無し" when no shift is saved.
    QString 期間一覧作成();
    void onDeleteClicked();
    // Asks how to read: Yes puts the selected period back onto the sheet, No exports the
    // selected span; either closes the window once done.
    void onLoadClicked();
    void cmd閉じる_Click();

    // The span of selected rows (0-based, first <= last), or -1, -1 when nothing is selected.
    std::pair<int, int> selectedRange() const;

    QLabel* Label1;
    QTreeWidget* ListV;
    QGroupBox* Frame1;
    // ChkDt[1] クロス集計, [2] シフト表, [3] 期間データ.
    std::array<QCheckBox*, 4> ChkDt{};
    QPushButton* cmd削除;
    QPushButton* cmd読み込み;
    QPushButton* cmd閉じる;

private:
    friend void showSavedShifts();
    void Form_Load();
    void keepSelectionContiguous();
    // The period of the selected row: the current row when it is selected, else the first one.
    const SavedPeriod* selectedPeriod() const;
    void restoreSelected();
    void exportSelected();

    std::vector<SavedPeriod> periods_;
    bool selecting_ = false;
};

// Shows the browser (loading it and its list the first time); the hub's 勤務データ読込 and the
// main window's File menu open it through here.
void showSavedShifts();
// The loaded browser; nullptr when it is not loaded.
frm既存シフト読込* savedShiftsWindow();
