#pragma once
// The exchangeable-shift list window frmリストボックス_交換: the exchanges of one member, one line
// each; a line picked and "交換" applies it to the sheet, "戻す" takes it back.
#include <QDialog>
#include <array>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

// No Q_OBJECT: the meta-object compiler cannot read the name, and the window needs no signals.
class frmリストボックス_交換 : public QDialog {
public:
    explicit frmリストボックス_交換(QWidget* parent = nullptr);
    ~frmリストボックス_交換() override;

    void lstItem_Click();
    // 0 "交換", 1 "戻す", 2 "閉じる".
    void cmdOk_Click(int index);

    QLabel* lblPromptTop;
    QFrame* frItem;
    QListWidget* lstItem;
    QFrame* frBottom;
    std::array<QPushButton*, 3> cmdOk;
    QLabel* lblPromptBottom;
    QLabel* hlp交換可能勤務リスト;

private:
    void 交換();
    void 戻す();
    void showQuestion(const QString& question, const char* colour);

    int memberA_ = 0;
    int memberB_ = 0;
    int day_ = 0;
    QString caption_;
    bool forbidden_ = false;
};

// The command of the main window's menu: asks for a member, lists the exchanges in the window and
// asks again when it closes, until the answer is empty.
void 交換可能勤務一覧表示();
// The window while it is open (nullptr otherwise).
frmリストボックス_交換* loadedExchangeList();
