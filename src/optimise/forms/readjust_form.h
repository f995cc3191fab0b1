#pragma once
// The re-adjustment window frm再調整: shows the working cell selected on the shift sheet; "休みに変更"
// makes it a rest day through a proposed chain of exchanges, "戻す" takes the last applied chain
// back.
#include "optimise/readjust.h"

#include <QWidget>
#include <memory>
#include <optional>

class QLineEdit;
class QPushButton;

// No Q_OBJECT: the meta-object compiler cannot read the name, and the window needs no signals.
class frm再調整 : public QWidget {
public:
    explicit frm再調整(QWidget* parent = nullptr);
    ~frm再調整() override;

    // Shows the cell selected now.
    void Form_Load();
    // A grid cell was selected on the sheet.
    void selectCell(const SelectedCell& cell);
    void onReadjustClicked();
    void onUndoClicked();
    void cmd閉じる_Click();

    QLineEdit* txtTarget;
    QLineEdit* txtID;
    QLineEdit* txt氏名;
    QLineEdit* txt勤務名;
    QLineEdit* txtTargetDay;
    QPushButton* cmd再調整;
    QPushButton* cmd戻す;
    QPushButton* cmd閉じる;

private:
    // The selection again: a cell the window changed shows what it holds now.
    void refreshDisplay();

    SelectedCell cell_;
    std::optional<ReadjustTarget> target_;
    ReadjustState state_;
    std::unique_ptr<SheetSelectionFollower> follow_;
};

// Opens the window (the main window's button); an open one comes to the front.
void showReadjust();
frm再調整* loadedReadjust();
