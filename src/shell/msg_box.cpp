#include "shell/msg_box.h"

#include "platform/ui/guard.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/status.h"

namespace {

const QChar kSep(1);

QString orTitle(const QString& title)
{
    return title.isEmpty() ? stAppTitle : title;
}

// The boot splash puts itself back on top every second: a box shown during start-up would stay
// hidden under it. The splash goes first.
void clearBootSplash()
{
    DspBootSplash(QString());
}

}  // namespace

QString MsgBoxRequest(const QString& prompt, long buttons, const QString& title, long autoCloseMs, long n4,
                      const QString& t1, long v1, const QString& t2, long v2, const QString& t3, long v3,
                      long displayFlag)
{
    const QStringList fields{prompt,
                             QString::number(buttons),
                             title,
                             QString::number(autoCloseMs),
                             QString::number(n4),
                             t1,
                             QString::number(v1),
                             t2,
                             QString::number(v2),
                             t3,
                             QString::number(v3),
                             QString::number(displayFlag)};
    return fields.join(kSep);
}

MsgBoxFields ParseMsgBoxRequest(const QString& record)
{
    QStringList f = record.split(kSep);
    while (f.size() < 12)
        f << QString();
    MsgBoxFields out;
    out.prompt = f[0];
    out.buttons = f[1].toLong();
    out.title = f[2];
    out.autoCloseMs = f[3].toLong();
    out.displayFlag = f[11].toLong();
    return out;
}

QStringList MsgBoxCaptions(long buttons)
{
    switch (buttons & 255) {
    case 1: return {QStringLiteral("Ok"), QStringLiteral("Cancel")};
    case 2: return {QStringLiteral("中止"), QStringLiteral("再試行"), QStringLiteral("無視")};
    case 3: return {QStringLiteral("はい"), QStringLiteral("いいえ"), QStringLiteral("キャンセル")};
    case 4: return {QStringLiteral("はい"), QStringLiteral("いいえ")};
    case 5: return {QStringLiteral("再試行"), QStringLiteral("キャンセル")};
    default: return {QStringLiteral("Ok")};
    }
}

int MsgBoxDefaultIndex(long buttons)
{
    const int shown = int(MsgBoxCaptions(buttons).size());
    const int pick = (buttons & 256) ? 1 : (buttons & 512) ? 2 : 0;
    return pick < shown ? pick : 0;
}

long MsgBoxResult(const QString& caption)
{
    if (caption == QLatin1String("Ok"))
        return 1;
    if (caption == QLatin1String("Cancel") || caption == QStringLiteral("キャンセル"))
        return 2;
    if (caption == QStringLiteral("中止"))
        return 3;
    if (caption == QStringLiteral("再試行"))
        return 4;
    if (caption == QStringLiteral("無視"))
        return 5;
    if (caption == QStringLiteral("はい"))
        return 6;
    if (caption == QStringLiteral("いいえ"))
        return 7;
    return 0;
}

long MyMsgBox(const QString& prompt, long buttons, const QString& title, long width, long height, long autoCloseMs,
              const QString& t1, long v1, const QString& t2, long v2, const QString& t3, long v3, long n4,
              long displayFlag)
{
    const QString caption = orTitle(title);
    const QString record = MsgBoxRequest(prompt, buttons, caption, autoCloseMs, n4, t1, v1, t2, v2, t3, v3, displayFlag);
    DlgParam = record;
    ui::MessageRequest r{prompt, int(buttons), caption, ui::Kind::Custom};
    r.record = record;
    if (width >= 1 && height > 0) {
        r.width = int(width);
        r.height = int(height);
    }
    r.autoCloseMs = int(autoCloseMs);
    r.displayFlag = int(displayFlag);
    clearBootSplash();
    const ui::Answer a = ui::ask(r);
    if (!a.text.isEmpty()) {
        DlgParam = a.text;
        return MsgBoxResult(a.text);
    }
    return a.result;
}

int MsgBox(const QString& prompt, int style, const QString& title)
{
    clearBootSplash();
    return ui::showMessage(prompt, style, orTitle(title));
}

QString InputBox(const QString& prompt, const QString& title, const QString& proposal)
{
    return ui::inputBox(prompt, orTitle(title), proposal);
}

bool runGuarded(const std::function<void()>& handler, const QString& title)
{
    return ui::guarded(handler, [&](const QString& text) { MsgBox(text, ui::vbOKOnly | ui::vbCritical, title); });
}
