#include "platform/ui/widgets/screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

const QScreen* screenFor(const QWidget* w)
{
    return w && w->screen() ? w->screen() : QGuiApplication::primaryScreen();
}

QRect screenOf(const QWidget* w)
{
    const QScreen* s = screenFor(w);
    return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

void centreOnScreen(QWidget* window)
{
    const QRect area = screenOf(window);
    const QSize size = window->frameGeometry().size();
    window->move(std::max(area.left(), area.left() + (area.width() - size.width()) / 2),
                 std::max(area.top(), area.top() + (area.height() - size.height()) / 2));
}
