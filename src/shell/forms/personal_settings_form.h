#pragma once
// Per-person settings applied through the user's own workbook "in.xls" and its macro
// 個人別設定反映. The main window's per-person button shows the sheet スケジュール instead; this
// dialog is opened only through showPersonalSettings.
#include <QDialog>

class QPushButton;

// No Q_OBJECT: the meta-object compiler cannot read the class's name.
class frm個人別 : public QDialog {
public:
    // Form_Load: on top, in the middle of the screen.
    explicit frm個人別(QWidget* parent = nullptr);

    // After the question: opens in.xls from the work folder when it is not open and runs its
    // macro once. A missing book, a book that cannot be read and a macro that cannot run are
    // each said in a message; nothing is reported as applied then.
    void onSaveSettingsClicked();
    // Closes in.xls without saving, then the dialog.
    void cmdClose_Click();

    QPushButton* cmd設定保存;
    QPushButton* cmdClose;
};

// Shows frm個人別 modally over owner (asked as the dialog "frm個人別").
void showPersonalSettings(QWidget* owner);
