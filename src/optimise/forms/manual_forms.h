#pragma once
// Where and how the manual tools' windows open on the screen.
#include "platform/ui/widgets/form_instance.h"
#include "platform/ui/widgets/screen.h"

#include <QApplication>
#include <QWidget>

// The top right corner of the screen: the sheet's names and first days stay in sight, and the
// cells to choose can still be clicked. A tool window already open there keeps its place and the
// new one opens below it, so neither hides the other.
inline void placeTopRight(QWidget* window)
{
    const char* const kPlaced = "右上配置";
    window->setProperty(kPlaced, true);
    const QRect area = screenOf(window);
    QRect place(QPoint(area.right() - window->frameGeometry().width() - 10, area.top() + 10),
                window->frameGeometry().size());
    for (bool moved = true; moved;) {
        moved = false;
        for (const QWidget* other : QApplication::topLevelWidgets())
            if (other != window && other->isVisible() && other->property(kPlaced).toBool()
                && other->frameGeometry().intersects(place)) {
                place.moveTop(other->frameGeometry().bottom() + 10);
                moved = true;
            }
    }
    // No room below: the corner, as before.
    if (place.bottom() > area.bottom())
        place.moveTop(area.top() + 10);
    window->move(place.topLeft());
}

// Opens a manual tool window: placed when it is new, loaded once it shows.
template <class Form>
Form& openToolWindow(DefaultInstance<Form>& slot)
{
    const bool fresh = !slot.loaded();
    Form& w = slot.get();
    if (fresh) {
        w.adjustSize();
        placeTopRight(&w);
    }
    w.show();
    if (fresh)
        w.Form_Load();
    return w;
}
