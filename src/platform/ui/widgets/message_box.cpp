#include "platform/ui/widgets/message_box.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
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
    setDialogFrame(this);
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

void StandardMessageBox::showEvent(QShowEvent* e)
{
    // The box sizes itself to its text and leaves the caption only a little room: a short text
    // ("出力完了") left the title bar too narrow for a word of it. The layout's width decides the
    // box's, so a spacer reserves the caption's width and room for the frame's icon and buttons.
    if (!widened_) {
        widened_ = true;
        if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
            const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
            const int width = title.horizontalAdvance(windowTitle()) + 8 * title.height();
            grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                          grid->columnCount());
        }
    }
    QMessageBox::showEvent(e);
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

StandardInputBox::StandardInputBox(const QString& prompt, const QString& title, const QString& text, QWidget* parent)
    : QInputDialog(parent)
{
    setWindowTitle(title);
    setDialogFrame(this);
    setLabelText(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // The label is as wide as its longest line, with a tenth to spare: where a fallback font
    // draws some of the characters, the measured width can fall short of the drawn one.
    for (QLabel* label : findChildren<QLabel*>()) {
        label->setWordWrap(false);
        int widest = 0;
        for (const QString& line : label->text().split(QLatin1Char('\n')))
            widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
        label->setMinimumWidth(widest + widest / 10);
    }
    setTextValue(text);
}

void setDialogFrame(QWidget* window)
{
    const Qt::WindowFlags kept = window->windowFlags() & ~(Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint
                                                           | Qt::WindowFullscreenButtonHint);
    window->setWindowFlags(kept | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint);
}

void flushClosedWindow()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
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
        int result = vbCancel;
        {
            StandardMessageBox box(r.prompt, r.buttons, r.title, activeParent());
            box.exec();
            result = box.vbResult();
        }
        flushClosedWindow();
        return result;
    });
    setDialogHandler(Kind::Input, [](const MessageRequest& r) {
        Answer answer{vbCancel, QString()};
        {
            StandardInputBox box(r.prompt, r.title, r.text, activeParent());
            if (box.exec() == QDialog::Accepted)
                answer = Answer{vbOK, box.textValue()};
        }
        flushClosedWindow();
        return answer;
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
