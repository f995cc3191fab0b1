#pragma once
// What the manual tools' windows share: one trap for every handler (an error ends that handler
// only, with its number and description shown under the window's caption), and their place on
// the screen.
#include "platform/os/vberror.h"
#include "platform/ui/prompt.h"
#include "shell/msgbox.h"
#include "shell/status.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <exception>

template <typename F>
void 手順実行(QWidget* window, F&& handler)
{
    try {
        handler();
    } catch (const VbError& e) {
        DspSplash(QString());
        MsgBox(e.text(), ui::vbOKOnly | ui::vbCritical, window->windowTitle());
    } catch (const std::exception& e) {
        DspSplash(QString());
        MsgBox(QStringLiteral("51 内部エラーです。 ") + QString::fromLocal8Bit(e.what()), ui::vbOKOnly | ui::vbCritical,
               window->windowTitle());
    }
}

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
