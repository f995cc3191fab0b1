#include "shell/forms/form_helpers.h"

#include "platform/os/clock.h"
#include "platform/ui/widgets/screen.h"
#include "platform/ui/widgets/window_work.h"
#include "shell/lifecycle.h"
#include "shell/msg_box.h"
#include "shell/mymod.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QEventLoop>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cmath>

namespace {

int twipsPerPixel(const QWidget* w, bool x)
{
    const QScreen* s = screenFor(w);
    const double dpi = s ? (x ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY()) : 96.0;
    return dpi > 0 ? qMax(1, int(1440 / dpi)) : 15;
}

Qt::Key qtKey(int vk)
{
    if (vk >= '0' && vk <= '9')
        return Qt::Key(Qt::Key_0 + (vk - '0'));
    if (vk >= 'A' && vk <= 'Z')
        return Qt::Key(Qt::Key_A + (vk - 'A'));
    if (vk >= 112 && vk <= 123)
        return Qt::Key(Qt::Key_F1 + (vk - 112));
    switch (vk) {
    case 8: return Qt::Key_Backspace;
    case 9: return Qt::Key_Tab;
    case 13: return Qt::Key_Return;
    case 16: return Qt::Key_Shift;
    case 17: return Qt::Key_Control;
    case 18: return Qt::Key_Alt;
    case 27: return Qt::Key_Escape;
    case 32: return Qt::Key_Space;
    case 33: return Qt::Key_PageUp;
    case 34: return Qt::Key_PageDown;
    case 35: return Qt::Key_End;
    case 36: return Qt::Key_Home;
    case 37: return Qt::Key_Left;
    case 38: return Qt::Key_Up;
    case 39: return Qt::Key_Right;
    case 40: return Qt::Key_Down;
    case 45: return Qt::Key_Insert;
    case 46: return Qt::Key_Delete;
    default: return Qt::Key_unknown;
    }
}

void sendKey(int vk, bool up)
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        return;
    QApplication::postEvent(target, new QKeyEvent(up ? QEvent::KeyRelease : QEvent::KeyPress, qtKey(vk), Qt::NoModifier));
}

}  // namespace

void RunHandler(const std::function<void()>& handler, QWidget* window)
{
    if (AppEnded)
        return;
    const ui::WindowWork work(window ? window->window() : nullptr);
    runGuarded(handler);
}

void OnClick(QAbstractButton* button, QObject* context, std::function<void()> handler)
{
    QObject::connect(button, &QAbstractButton::clicked, context, [button, handler] { RunHandler(handler, button); });
}

void OnTimeout(QTimer* timer, QObject* context, std::function<void()> handler)
{
    QWidget* window = qobject_cast<QWidget*>(context);
    QObject::connect(timer, &QTimer::timeout, context, [window, handler] { RunHandler(handler, window); });
}

int TwipsPerPixelX(const QWidget* w)
{
    return twipsPerPixel(w, true);
}

int TwipsPerPixelY(const QWidget* w)
{
    return twipsPerPixel(w, false);
}

void LoadObj(QWidget* form)
{
    if (form)
        form->show();
}

void UnloadObj(QWidget* form)
{
    if (!form)
        return;
    form->close();
    form->deleteLater();
}

void ShowWaitVisible(QWidget* form)
{
    if (!form)
        return;
    QPointer<QWidget> p(form);
    form->show();
    while (p && p->isVisible()) {
        QCoreApplication::processEvents();
        os::sleepMs(100);
    }
}

void ShowWaitClose(QWidget* form)
{
    if (!form)
        return;
    QPointer<QWidget> p(form);
    form->setAttribute(Qt::WA_DeleteOnClose);
    QEventLoop loop;
    QObject::connect(form, &QObject::destroyed, &loop, &QEventLoop::quit);
    form->show();
    if (p)
        loop.exec();
}

namespace {

// The topmost band entered or left without re-creating the window: setWindowFlags destroys a
// shown window and makes a new one (a blink, and the window misses what happens meanwhile), so
// a created window gets the flag through its QWindow, which tells the window system in place.
void setStaysOnTop(QWidget* form, bool on)
{
    Qt::WindowFlags flags = form->windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (QWindow* window = form->windowHandle()) {
        form->overrideWindowFlags(flags);
        window->setFlags(flags);
    } else {
        form->setWindowFlags(flags);
    }
}

}  // namespace

void FormTopMost(QWidget* form, bool toBottom)
{
    if (!form)
        return;
    setStaysOnTop(form, !toBottom);
    if (toBottom)
        form->lower();
}

void FormNoTopMost(QWidget* form)
{
    if (form)
        setStaysOnTop(form, false);
}

QString GetClsName(const QWidget* w)
{
    return w ? QString::fromLatin1(w->metaObject()->className()) : QString();
}

void SetFocusCursor(QWidget* control, bool moveCursor)
{
    if (!control)
        return;
    control->setFocus();
    if (moveCursor && control->isVisible())
        QCursor::setPos(control->mapToGlobal(control->rect().center()));
}

QString FindWinSearchText(const QString& name)
{
    if (!name.contains(QLatin1Char('.')))
        return name;
    if (name.endsWith(QLatin1String("mdb")))
        return QStringLiteral("Microsoft Access");
    return name.left(name.indexOf(QLatin1Char('.')));
}

QWidget* FindWinByTitle(const QString& name)
{
    const QString search = FindWinSearchText(name);
    QWidget* found = nullptr;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        const QString title = w->windowTitle();
        if (!title.contains(search))
            continue;
        found = w;
        if (title.size() == search.size())
            break;
    }
    return found;
}

void KeyDown(int vk)
{
    sendKey(vk, false);
}

void KeyUp(int vk)
{
    sendKey(vk, true);
}

void KeyPress(int vk)
{
    KeyDown(vk);
    DoWait(100);
    KeyUp(vk);
}

void KeyEsc()
{
    KeyPress(27);
}

void SendKeys(int count, const int* codes, const int* upFlags)
{
    for (int i = 0; i < count; ++i)
        sendKey(codes[i], upFlags[i] > 0);
}

void ComboSetList(QComboBox* box, const QString& text)
{
    if (!box)
        return;
    box->setUpdatesEnabled(false);
    box->clear();
    if (!text.isEmpty())
        box->addItems(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n')));
    box->setUpdatesEnabled(true);
}

void SetRedraw(QWidget* w, bool on)
{
    if (w)
        w->setUpdatesEnabled(on);
}

void ListHScroll(QListWidget* list, long factor)
{
    if (!list)
        return;
    const int extent = int(std::lround(list->width() * 1.5 * double(factor)));
    const int h = list->fontMetrics().height() + 2;
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setSizeHint(QSize(extent, h));
}

int ListFindIdx(const QListWidget* list, const QString& text)
{
    if (!list)
        return 0;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text)
            return i;
    return 0;
}

int ListFindIdx(const QComboBox* box, const QString& text)
{
    if (!box)
        return 0;
    const int i = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return i > 0 ? i : 0;
}
