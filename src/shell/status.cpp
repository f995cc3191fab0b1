#include "shell/status.h"

#include "platform/os/clock.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/msg_box.h"

#include <QCoreApplication>
#include <exception>
#include <vector>

namespace {

std::unique_ptr<StatusWindows>& windows()
{
    static std::unique_ptr<StatusWindows> w;
    return w;
}

SplashState g_splash;
ProgressState g_progress;

struct Stamp {
    QString label;
    qint64 tick;
};
std::vector<Stamp> g_stamps;
QString g_lastLine;

}  // namespace

void resetStatusState()
{
    g_splash = SplashState{};
    g_progress = ProgressState{};
    g_stamps.clear();
    g_lastLine.clear();
}

void setStatusWindows(std::unique_ptr<StatusWindows> w)
{
    windows() = std::move(w);
}

QColor VbColor(long bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void DspSplash(const QString& message, long foreColor, long backColor, long hideNumber, bool force, int transparency)
{
    Q_UNUSED(transparency);  // windows stay opaque
    try {
        if (message.isEmpty()) {
            g_splash = SplashState{};
            if (windows())
                windows()->splash(g_splash);
            return;
        }
        if (!force && Sw_表示抑止)
            return;
        SplashState s;
        s.loaded = true;
        s.back = QColor(192, 255, 192);
        if (foreColor == 0) {
            s.fore = QColor(0, 0, 255);
        } else {
            s.fore = VbColor(foreColor);
            if (backColor != 0)
                s.back = VbColor(backColor);
        }
        s.widthTwips = (LenA(message) + 4) * 350;
        s.tag = QString::number(hideNumber);
        s.message = message;
        g_splash = s;
        if (windows())
            windows()->splash(g_splash);
        if (hideNumber > 0) {
            g_splash = SplashState{};
            if (windows())
                windows()->splash(g_splash);
        }
    } catch (const std::exception&) {
        MsgBox(ui::errorText(std::current_exception()), ui::vbOKOnly, QStringLiteral("DspSplash Error!"));
        QCoreApplication::processEvents();
    }
}

const SplashState& splashState()
{
    return g_splash;
}

QPoint StatusWindowPos(long placement, const QRect& screen, const QSize& window, const QPoint& current,
                       bool progressWindow)
{
    const int margin = 50;
    const int right = screen.left() + screen.width() - window.width() - margin;
    const int bottom = screen.top() + screen.height() - window.height() - margin;
    switch (placement) {
    case 0: {
        const int left = screen.left() + (screen.width() - window.width()) / 2;
        const int top = progressWindow ? screen.top() + (screen.height() - window.height()) / 2
                                       : screen.top() + int((screen.height() - window.height()) * 1.2 / 5);
        return {left, top};
    }
    case 1: return {right, screen.top()};
    case 2: return {right, bottom};
    case 3: return {screen.left(), bottom};
    default: return current;
    }
}

void DspBootSplash(const QString& message)
{
    if (windows()) {
        windows()->bootSplash(message);
        if (!message.isEmpty())
            QCoreApplication::processEvents();
    }
}

QString BootStampText(qint64 ms, const QString& label)
{
    // Minutes and seconds only: the hours drop out, as in the boot log's usual short runs.
    const qint64 secs = ms / 1000;
    const QString mmss = QStringLiteral("%1:%2.%3")
                             .arg((secs / 60) % 60, 2, 10, QLatin1Char('0'))
                             .arg(secs % 60, 2, 10, QLatin1Char('0'))
                             .arg(ms % 1000, 3, 10, QLatin1Char('0'));
    return Format(double(ms), QStringLiteral("#,##0")).rightJustified(9, QLatin1Char(' ')) + QLatin1Char(' ') + mmss
        + QLatin1Char(' ') + label;
}

void BootStepTime(QString& label, bool reset)
{
    const qint64 tick = os::elapsedMs();
    if (reset || g_stamps.empty()) {
        g_stamps.clear();
        g_stamps.push_back({label, tick});
        g_lastLine = Format(os::now(), QStringLiteral("yyyy/mm/dd hh:nn:ss"))
            + QStringLiteral(" -------\r\n") + BootStampText(0, label);
    } else {
        if (label.endsWith(QLatin1String("End"))) {
            const QString start = (label.chopped(3).trimmed() + QStringLiteral(" Start")).trimmed();
            for (auto it = g_stamps.rbegin(); it != g_stamps.rend(); ++it) {
                if (it->label == start) {
                    label += QStringLiteral("  (") + QString::number(tick - it->tick) + QLatin1Char(')');
                    break;
                }
            }
        }
        g_stamps.push_back({label, tick});
        g_lastLine = BootStampText(tick - g_stamps.front().tick, label);
    }
    if (windows() && windows()->bootSplashLoaded())
        windows()->bootProgress(g_lastLine);
}

QString BootStepLine()
{
    return g_lastLine;
}

void showSharedProgress(const QString& name)
{
    g_progress = ProgressState{};
    g_progress.loaded = true;
    g_progress.name = name;
    if (windows())
        windows()->progress(g_progress);
}

void setSharedProgress(int bar, int min, int max, int value)
{
    if (bar < 0 || bar > 1 || !g_progress.loaded)
        return;
    g_progress.min[bar] = min;
    g_progress.max[bar] = max < min ? min : max;
    g_progress.value[bar] = qBound(min, value, g_progress.max[bar]);
    if (windows())
        windows()->progress(g_progress);
}

void closeSharedProgress()
{
    g_progress = ProgressState{};
    if (windows())
        windows()->progress(g_progress);
}

const ProgressState& progressState()
{
    return g_progress;
}

void ShowMsgWait(const QString& message)
{
    ui::MessageRequest r{message, ui::vbOKOnly, QStringLiteral("frmMsgWait"), ui::Kind::Notice};
    r.autoCloseMs = int(MsgWaitTime);
    const ui::Answer a = ui::ask(r);
    if (a.result == ui::vbAbort)
        Sw_中止 = true;
}
