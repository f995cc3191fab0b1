#pragma once
// The work of a window's handler. A handler that lets events run (waits, message boxes, progress
// windows, file dialogs) may meanwhile see its window asked to close or go: by its own buttons,
// Escape, the window manager or another window. While its work runs, a window keeps its place:
// a close or an Escape is held and carried out once the window's last work has ended, and so is a
// deletion. Every handler of the program's windows runs as such work, so the count of handlers
// running also tells whether a command is in progress anywhere.
#include <QPointer>
#include <QWidget>
#include <functional>

namespace ui {

class WindowWork {
public:
    // window may be nullptr (a handler of no particular window): then only the count is kept.
    explicit WindowWork(QWidget* window);
    ~WindowWork();
    WindowWork(const WindowWork&) = delete;
    WindowWork& operator=(const WindowWork&) = delete;

private:
    QPointer<QWidget> window_;
};

// Handlers running now, nested ones included.
int handlersRunning();
// Whether a close, Escape or deletion of window came during its work and waits for its end.
bool closeAsked(const QWidget* window);
// Called each time the last handler running has ended.
void setHandlersEndedHook(std::function<void()> hook);

}  // namespace ui
