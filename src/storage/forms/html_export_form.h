#pragma once
// The publishing dialog: which page kinds of the HTML site to build and the folder that receives
// it; both are kept on sheet Main (HTML_ITEM, HTML_PATH).
#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// No Q_OBJECT: the meta-object compiler cannot read the class's name, and the dialog declares no
// signals of its own.
class frm公開用HTML作成 : public QDialog {
public:
    explicit frm公開用HTML作成(QWidget* parent = nullptr);
    void cmdAllCheck_Click(int index);
    void cmd変更_Click();
    void cmdOpenFOlder_Click();
    void cmd開始_Click();
    // The flag text: one "0" or "1" per check box.
    QString HTML_ITEM_作成() const;
    // Every way of closing (閉じる, the close box, Escape, the end of a build) writes back what changed.
    void done(int result) override;

    QGroupBox* FrShift;
    std::array<QCheckBox*, 10> ChkShift{};
    QGroupBox* frAllCheck;
    std::array<QPushButton*, 2> cmdAllCheck{};
    QLabel* lblPath;
    QLineEdit* txtPath;
    QLabel* lblPathName;
    QPushButton* cmd変更;
    QPushButton* cmdOpenFOlder;
    QPushButton* cmd開始;
    QPushButton* cmd閉じる;

private:
    void Form_Load();
    void Form_Unload();
    // 作成開始 is offered only for a folder that exists.
    void updateStartButton();
    void buildLayout();

    bool unloaded_ = false;
};

// The hub's publishing command: the process priority is lowered while the dialog is open (and
// the site is built), then raised again.
void 公開用HTML作成(QWidget* owner = nullptr);
