#pragma once
// The assignability test window frm勤務可能判定: a member (or all), a day and a shift chosen in
// three boxes or taken from the cell selected on the shift sheet, and "判定" tells whether the
// shift may be assigned and, if not, the rule that forbids it.
#include <QWidget>
#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class SheetSelectionFollower;
struct SelectedCell;

// No Q_OBJECT: the meta-object compiler cannot read the name, and the window needs no signals.
class frm勤務可能判定 : public QWidget {
public:
    explicit frm勤務可能判定(QWidget* parent = nullptr);
    ~frm勤務可能判定() override;

    // Fills the boxes and chooses the first entry of the member and day boxes and the first shift.
    void Form_Load();
    // The user chose an entry: following stops and the cell of the member and day is selected.
    void cmbInConst_Click(int index);
    void cmbInConst_GotFocus(int index);
    // A grid cell was selected on the sheet: the boxes show it while 自動更新 is ticked.
    void selectCell(const SelectedCell& cell);
    void cmd開始_Click();
    void cmd閉じる_Click();

    // 0 member, 1 day, 2 shift.
    std::array<QComboBox*, 3> cmbInConst;
    QCheckBox* chkAuto;
    QLabel* lbl略称;
    QPushButton* cmd開始;
    QPushButton* cmd閉じる;
    QLabel* hlp関数テスト;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showAbbreviation();

    bool filling_ = false;
    std::unique_ptr<SheetSelectionFollower> follow_;
};

// Opens the window (the main window's menu); an open one comes to the front.
void showAssignability();
frm勤務可能判定* loadedAssignability();
