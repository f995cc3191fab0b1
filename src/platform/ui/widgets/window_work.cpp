#include "platform/ui/widgets/window_work.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QTimer>
#include <utility>

namespace ui {
namespace {

int g_running = 0;
std::function<void()> g_ended;

// Lives on the window it holds, as its child.
class Hold : public QObject {
public:
    explicit Hold(QWidget* window) : QObject(window)
    {
        setObjectName(kName);
        window->installEventFilter(this);
    }
    static inline const QString kName = QStringLiteral("ui::WindowWork");

    int works = 0;
    bool closeHeld = false;
    bool deleteHeld = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (works == 0 || watched != parent())
            return false;
        switch (event->type()) {
        case QEvent::Close:
            event->ignore();
            closeHeld = true;
            return true;
        case QEvent::KeyPress:
            // Escape closes a dialog only.
            if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape || !qobject_cast<QDialog*>(watched))
                return false;
            closeHeld = true;
            return true;
        case QEvent::DeferredDelete:
            deleteHeld = true;
            return true;
        default:
            return false;
        }
    }
};

Hold* holdOf(const QWidget* window)
{
    // Without a meta-object of its own, findChild<Hold*> would take any child: find it by name.
    return window ? dynamic_cast<Hold*>(window->findChild<QObject*>(Hold::kName, Qt::FindDirectChildrenOnly)) : nullptr;
}

}  // namespace

WindowWork::WindowWork(QWidget* window) : window_(window)
{
    ++g_running;
    if (!window)
        return;
    Hold* hold = holdOf(window);
    if (!hold)
        hold = new Hold(window);
    ++hold->works;
}

WindowWork::~WindowWork()
{
    --g_running;
    if (Hold* hold = holdOf(window_); hold && --hold->works == 0) {
        const bool remove = std::exchange(hold->deleteHeld, false);
        const bool close = std::exchange(hold->closeHeld, false);
        // Qt drops a second deleteLater of an object whose first one was held: the deletion
        // comes from the event loop as a deferred one would.
        if (remove)
            QTimer::singleShot(0, qApp, [window = window_] { delete window.data(); });
        else if (close)
            window_->close();
    }
    if (g_running == 0 && g_ended)
        g_ended();
}

int handlersRunning()
{
    return g_running;
}

bool closeAsked(const QWidget* window)
{
    const Hold* hold = holdOf(window);
    return hold && (hold->closeHeld || hold->deleteHeld);
}

void setHandlersEndedHook(std::function<void()> hook)
{
    g_ended = std::move(hook);
}

}  // namespace ui
