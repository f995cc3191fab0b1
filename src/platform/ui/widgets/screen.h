#pragma once
// The screen area a window is placed in.
#include <QRect>

class QScreen;
class QWidget;

// The screen the window is on, the primary screen while it has none; null when there is no screen.
const QScreen* screenFor(const QWidget* w);
// The window's screen (the primary screen while it has none) without the panels and docks the
// desktop keeps for itself; 1024×768 when there is no screen at all.
QRect screenOf(const QWidget* w);
// Moves the window to the middle of that area; one larger than the area keeps its top left corner
// on it, so that its title bar can be reached.
void centreOnScreen(QWidget* window);
