#include "platform/ui/widgets/messagebox.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QPushButton>
#include <QTranslator>

namespace ui {
namespace {

QString captionOf(int result)
{
    switch (result) {
    case vbOK: return QStringLiteral("OK");
    case vbCancel: return QStringLiteral("キャンセル");
    case vbAbort: return QStringLiteral("中止(&A)");
    case vbRetry: return QStringLiteral("再試行(&R)");
    case vbIgnore: return QStringLiteral("無視(&I)");
    case vbYes: return QStringLiteral("はい(&Y)");
    default: return QStringLiteral("いいえ(&N)");
    }
}

QMessageBox::ButtonRole roleOf(int result)
{
    switch (result) {
    case vbOK:
    case vbYes:
    case vbRetry: return QMessageBox::AcceptRole;
    case vbNo: return QMessageBox::NoRole;
    case vbCancel:
    case vbAbort: return QMessageBox::RejectRole;
    default: return QMessageBox::ActionRole;
    }
}

QWidget* activeParent()
{
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
}

}  // namespace

StandardMessageBox::StandardMessageBox(const QString& prompt, int style, const QString& title, QWidget* parent)
    : QMessageBox(parent)
{
    setWindowTitle(title);
    setText(prompt);
    switch (style & 0x70) {
    case vbCritical: setIcon(Critical); break;
    case vbQuestion: setIcon(Question); break;
    case vbExclamation: setIcon(Warning); break;
    case vbInformation: setIcon(Information); break;
    default: break;
    }
    const std::vector<int> results = buttonResults(style);
    QAbstractButton* escape = nullptr;
    for (int r : results) {
        QPushButton* b = addButton(captionOf(r), roleOf(r));
        results_[b] = r;
        if (r == vbCancel || (results.size() == 1 && r == vbOK))
            escape = b;
    }
    // Without a cancel button the box can only be answered by its buttons, as with Yes/No.
    if (escape)
        setEscapeButton(escape);
    if (auto* def = qobject_cast<QPushButton*>(buttonFor(defaultResult(style))))
        setDefaultButton(def);
    if (style & vbSystemModal) {
        setWindowModality(Qt::ApplicationModal);
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
}

QAbstractButton* StandardMessageBox::buttonFor(int result) const
{
    for (const auto& [button, r] : results_)
        if (r == result)
            return button;
    return nullptr;
}

int StandardMessageBox::vbResult() const
{
    const auto it = results_.find(clickedButton());
    return it != results_.end() ? it->second : vbCancel;
}

namespace {

// Qt's own windows (the file and folder pickers, the input box, the edit menus) speak the
// program's language; without the translation files they stay in English.
void installJapaneseTranslation()
{
    static QTranslator* translator = nullptr;
    if (translator)
        return;
    translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

}  // namespace

void installWidgetDialogs()
{
    installJapaneseTranslation();
    setMessageHandler([](const MessageRequest& r) {
        StandardMessageBox box(r.prompt, r.buttons, r.title, activeParent());
        box.exec();
        return box.vbResult();
    });
    setDialogHandler(Kind::Input, [](const MessageRequest& r) {
        bool ok = false;
        const QString text = QInputDialog::getText(activeParent(), r.title, r.prompt, QLineEdit::Normal, r.text, &ok);
        return Answer{ok ? vbOK : vbCancel, ok ? text : QString()};
    });
    setDialogHandler(Kind::Folder, [](const MessageRequest& r) {
        QWidget* owner = qobject_cast<QWidget*>(r.owner);
        const QString dir = QFileDialog::getExistingDirectory(owner ? owner : activeParent(), r.title, r.text);
        return Answer{dir.isEmpty() ? vbCancel : vbOK, dir};
    });
    setDialogHandler(Kind::OpenFile, [](const MessageRequest& r) {
        QWidget* owner = qobject_cast<QWidget*>(r.owner);
        const QString path = QFileDialog::getOpenFileName(owner ? owner : activeParent(), r.title, r.text, r.filter);
        return Answer{path.isEmpty() ? vbCancel : vbOK, path};
    });
    setDialogHandler(Kind::SaveFile, [](const MessageRequest& r) {
        QWidget* owner = qobject_cast<QWidget*>(r.owner);
        const QString path = QFileDialog::getSaveFileName(owner ? owner : activeParent(), r.title, r.text, r.filter);
        return Answer{path.isEmpty() ? vbCancel : vbOK, path};
    });
}

}  // namespace ui
