#include "shell/forms/shell_windows.h"

#include "platform/ui/widgets/form_instance.h"
#include "platform/ui/widgets/message_box.h"
#include "platform/ui/widgets/screen.h"
#include "shell/forms/message_box_form.h"
#include "shell/forms/wait_message_form.h"
#include "shell/forms/small_forms.h"
#include "shell/globals.h"
#include "shell/status.h"

#include <QApplication>
#include <QLabel>

namespace {

DefaultInstance<frmSplash> g_splash;
DefaultInstance<frmBootSplash> g_boot;
DefaultInstance<frmPrgB> g_prgB;

class WindowedStatus : public StatusWindows {
public:
    void splash(const SplashState& s) override
    {
        if (s.loaded) {
            g_splash.get().apply(s);
        } else if (g_splash.loaded()) {
            g_splash.unload();
            ui::flushClosedWindow();
        }
    }
    void bootSplash(const QString& message) override
    {
        if (message.isEmpty()) {
            g_boot.unload();
            return;
        }
        const bool fresh = !g_boot.loaded();
        frmBootSplash& f = g_boot.get();
        if (fresh)
            QObject::connect(&f, &frmBootSplash::unloadRequested, &f, [] { g_boot.unload(); });
        centreOnScreen(&f);
        f.lblMsg->setText(message);
        f.show();
    }
    bool bootSplashLoaded() const override { return g_boot.loaded() != nullptr; }
    void bootProgress(const QString& line) override
    {
        if (frmBootSplash* f = g_boot.loaded())
            f->lblProgress->setText(line.section(QStringLiteral("\r\n"), -1));
    }
    void progress(const ProgressState& s) override
    {
        if (!s.loaded) {
            g_prgB.unload();
            return;
        }
        g_prgB.get().apply(s);
    }
};

QWidget* activeParent()
{
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
}

}  // namespace

frmSplash* loadedSplash()
{
    return g_splash.loaded();
}

frmBootSplash* loadedBootSplash()
{
    return g_boot.loaded();
}

frmPrgB* loadedPrgB()
{
    return g_prgB.loaded();
}

void installShellWindows()
{
    ui::installWidgetDialogs();
    ui::setDialogHandler(ui::Kind::Custom, [](const ui::MessageRequest& r) {
        QString caption;
        {
            frmMsgBox box(r.record, r.width, r.height, activeParent());
            box.exec();
            caption = box.pressedCaption();
        }
        ui::flushClosedWindow();
        return ui::Answer{0, caption};
    });
    ui::setDialogHandler(ui::Kind::Notice, [](const ui::MessageRequest& r) {
        int result = 0;
        {
            frmMsgWait box(activeParent());
            box.lblMsg->setText(r.prompt);
            result = box.exec();
        }
        ui::flushClosedWindow();
        return ui::Answer{result, {}};
    });
    setStatusWindows(std::make_unique<WindowedStatus>());
}
