#pragma once
// The start-condition dialog: year and month of the roster, first day of the period and the day
// generation starts from; ticking 詳細設定 shows the tries, the time limit and the weights.
// Modeless and on top; it reads the workbook when it opens and deletes itself when it closes.
#include "engine/startcond.h"

#include <QDialog>
#include <QDoubleSpinBox>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The time limit in minutes: whole minutes by the arrows, fractions as typed.
class 分数入力 : public QDoubleSpinBox {
public:
    explicit 分数入力(QWidget* parent = nullptr);

protected:
    QString textFromValue(double value) const override;
};

// No Q_OBJECT: the meta-object compiler cannot read the class's name, and the dialog declares
// no signals of its own.
class frm開始条件設定 : public QDialog {
public:
    explicit frm開始条件設定(QWidget* parent = nullptr);
    // Checks and applies the values, then closes; after a fault the dialog stays as it was.
    void cmd設定_Click();
    void cmdCancel_Click();

    QComboBox* cmbYear;
    QComboBox* cmbMonth;
    QComboBox* cmbDay;
    QComboBox* cmbStdDay;
    QComboBox* cmb試行回数;
    分数入力* txt制限時間;
    // Opt[1..10]: the weight of each shift type, Opt[12] that of rest; lbl[1..11] their captions.
    std::array<QLineEdit*, 休み比重 + 1> Opt{};
    std::array<QLabel*, 休み比重> lbl{};
    QCheckBox* chk詳細設定;
    QPushButton* cmd設定;
    QPushButton* cmdCancel;
    QLabel* lblYear;
    QLabel* lblDay;
    QLabel* lblStdDay;
    QWidget* fra詳細;

private:
    void Form_Load();
    void chk詳細設定_Click();
    開始条件 入力() const;
    void レイアウト();

    int 種別数_ = 0;
};
