#pragma once
// Where the manual tools' windows open on the screen.
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

// The top right corner of the screen: the sheet's names and first days stay in sight, and the
// cells to choose can still be clicked.
inline void 右上配置(QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window->move(area.right() - window->frameGeometry().width() - 10, area.top() + 10);
}
