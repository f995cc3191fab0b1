#pragma once
// The start-condition dialog: year and month of the roster, first day of the period and the day
// generation starts from; ticking 詳細設定 shows the tries, the time limit and the weights.
// Modeless and on top; it reads the workbook when it opens and deletes itself when it closes.
#include "engine/start_conditions.h"

#include <QDialog>
#include <QDoubleSpinBox>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The time limit in minutes: whole minutes by the arrows, fractions as typed.
class FractionSpinBox : public QDoubleSpinBox {
public:
    explicit FractionSpinBox(QWidget* parent = nullptr);

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
    FractionSpinBox* txt制限時間;
    // Opt[1..10]: the weight of each shift type, Opt[12] that of rest; lbl[1..11] their captions.
    std::array<QLineEdit*, kRestWeight + 1> Opt{};
    std::array<QLabel*, kRestWeight> lbl{};
    QCheckBox* chk詳細設定;
    QPushButton* cmd設定;
    QPushButton* cmdCancel;
    QLabel* lblYear;
    QLabel* lblDay;
    QLabel* lblStdDay;
    QWidget* fraDetails;

private:
    void Form_Load();
    void onDetailsToggled();
    StartConditions entered() const;
    void buildLayout();

    int typeCount_ = 0;
};
