#pragma once
// The standard message box, the input box and the folder picker as real windows, installed as the
// handlers of ui/prompt.h by the windowed program.
#include "platform/ui/prompt.h"

#include <QMessageBox>
#include <map>

namespace ui {

// A QMessageBox for a numeric style: the button set of style & 7 in Japanese (OK, キャンセル,
// 中止, 再試行, 無視, はい, いいえ), the default button by 256/512, the icon by 16/32/48/64, and
// 4096 as an application-modal box that stays on top. vbResult() gives 1..7 after exec().
class StandardMessageBox : public QMessageBox {
public:
    StandardMessageBox(const QString& prompt, int style, const QString& title, QWidget* parent = nullptr);
    int vbResult() const;
    QAbstractButton* buttonFor(int result) const;

private:
    std::map<QAbstractButton*, int> results_;
};

// Installs the standard box, the input box, the folder picker and the file dialog handlers, and
// Qt's Japanese texts for its own windows.
void installWidgetDialogs();

}  // namespace ui
