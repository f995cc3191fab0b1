#pragma once
// The standard message box, the input box and the folder picker as real windows, installed as the
// handlers of ui/prompt.h by the windowed program.
#include "platform/ui/prompt.h"

#include <QInputDialog>
#include <QMessageBox>
#include <map>

namespace ui {

// A QMessageBox for a numeric style: the button set of style & 7 in Japanese (OK, キャンセル,
// 中止, 再試行, 無視, はい, いいえ), the default button by 256/512, the icon by 16/32/48/64, and
// 4096 as an application-modal box that stays on top. vbResult() gives 1..7 after exec(). The box
// is at least as wide as its caption needs beside the window manager's buttons.
class StandardMessageBox : public QMessageBox {
public:
    StandardMessageBox(const QString& prompt, int style, const QString& title, QWidget* parent = nullptr);
    int vbResult() const;
    QAbstractButton* buttonFor(int result) const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    std::map<QAbstractButton*, int> results_;
    bool widened_ = false;
};

// The input box: the prompt's lines shown whole, however long (the box grows to the longest).
class StandardInputBox : public QInputDialog {
public:
    StandardInputBox(const QString& prompt, const QString& title, const QString& text, QWidget* parent = nullptr);
};

// Gives a window a dialog's frame: a title and a close button, no minimise or maximise button.
void setDialogFrame(QWidget* window);

// Lets the window system take down a modal window that has just closed. Its caller often goes on
// with long work at once; until window events run again the closed window's frame would stay on
// the screen, empty. Runs no user input (the closed window ran a whole event loop already).
void flushClosedWindow();

// Installs the standard box, the input box, the folder picker and the file dialog handlers, and
// Qt's Japanese texts for its own windows.
void installWidgetDialogs();

}  // namespace ui
