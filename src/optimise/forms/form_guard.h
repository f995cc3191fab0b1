#pragma once
// The manual tools' windows run every handler through one trap: an error ends that handler only,
// with its number and description shown under the window's caption.
#include "platform/os/vberror.h"
#include "platform/ui/prompt.h"
#include "shell/msgbox.h"
#include "shell/status.h"

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
