#include "platform/ui/guard.h"

#include "platform/os/vb_error.h"
#include "platform/ui/prompt.h"

#include <new>

namespace ui {

QString errorText(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const VbError& e) {
        return e.text();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("7 メモリが不足しています。");
    } catch (const std::exception& e) {
        const QString what = QString::fromLocal8Bit(e.what());
        return QStringLiteral("51 内部エラーです。") + (what.isEmpty() ? QString() : QLatin1Char(' ') + what);
    } catch (...) {
        return QStringLiteral("51 内部エラーです。");
    }
}

bool guarded(const std::function<void()>& handler, const std::function<void(const QString& text)>& show)
{
    try {
        handler();
        return true;
    } catch (...) {
        const QString text = errorText(std::current_exception());
        // The message box itself must not throw into the event loop either.
        try {
            show(text);
        } catch (...) {
        }
        return false;
    }
}

bool guarded(const std::function<void()>& handler, const QString& title)
{
    return guarded(handler, [&](const QString& text) { showMessage(text, vbOKOnly | vbCritical, title); });
}

}  // namespace ui
