#pragma once
// The save and load hub frm保存読込: one button per storage command, each with its online-help
// link. Modal and on top, low on the screen. The query window and the saved-shift browser it
// opens are modeless windows of their own and outlive it.
//
// The main window's File menu runs the same commands without the hub: cmd出力_Click
// (storage/month_save.h), cmd復元_Click, cmd保存_Click and mnuNewFile_Click
// (storage/condition_exchange.h), and those below.
#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

// Shows the query window.
void cmdデーベース操作_Click();
// Shows the saved-shift browser.
void cmd勤務データ読込_Click();
// Shows the publishing dialog and returns once it is closed.
void cmdCreateHtml_Click();

// No Q_OBJECT: the meta-object compiler cannot read the class's name, and the dialog declares no
// signals of its own.
class frm保存読込 : public QDialog {
public:
    explicit frm保存読込(QWidget* parent = nullptr);

    // The buttons' handlers. Those that open another window close the hub; the save, the
    // condition save and a cancelled restore leave it open.
    void cmd出力_Click();
    void cmd勤務データ読込_Click();
    void cmdデーベース操作_Click();
    // Hidden while the publishing dialog is open; closed afterwards, however publishing ended.
    void cmdCreateHtml_Click();
    void cmd復元_Click();
    void cmd保存_Click();
    void cmdNew_Click();

    // The help page of each link, in the order of the buttons above (the close button has none).
    static const std::array<const char16_t*, 7> helpPages;

    QPushButton* cmd出力;
    QPushButton* cmd勤務データ読込;
    QPushButton* cmdデーベース操作;
    QPushButton* cmdCreateHtml;
    QPushButton* cmd復元;
    QPushButton* cmd保存;
    QPushButton* cmdNew;
    QPushButton* cmdClose;
    // lbl出力, lbl勤務データ読込, lblデーベース操作, lblCreateHtml, lbl復元, lbl保存, lbl新規.
    std::array<QLabel*, 7> lblHelp{};

private:
    void Form_Load();
    void 閉じる();
};

// Shows the hub (the one already open is brought to the front).
void showSaveLoad(QWidget* owner = nullptr);
