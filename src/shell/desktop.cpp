#include "shell/desktop.h"

#include "platform/os/settings_store.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/mymod.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>

namespace {

std::function<bool(const QUrl&)> g_opener;
std::function<bool()> g_probe;

QClipboard* clipboard()
{
    // Without a window system (command-line tools, core tests) there is no clipboard at all.
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

// One clipboard call tried up to 10 times, 100 ms apart with events running.
template <class F>
bool clipRetry(F call)
{
    QClipboard* cb = clipboard();
    if (!cb)
        return false;
    for (int attempt = 1; attempt <= 10; ++attempt) {
        if (call(cb))
            return true;
        WaitMs(100);
    }
    return false;
}

}  // namespace

QString ClipGetText()
{
    QString text;
    clipRetry([&](QClipboard* cb) {
        text = cb->text();
        return true;
    });
    return text;
}

void ClipSetText(const QString& text)
{
    clipRetry([&](QClipboard* cb) {
        cb->setText(text);
        return cb->text() == text;
    });
}

void ClipClear()
{
    clipRetry([](QClipboard* cb) {
        cb->clear();
        return cb->text().isEmpty();
    });
}

void setShellOpener(std::function<bool(const QUrl&)> opener)
{
    g_opener = std::move(opener);
}

namespace {

// What could not be opened and where it is, so that the user can open it some other way.
void showOpenFailure(const QString& what, const QString& where)
{
    MsgBox(what + QStringLiteral("を開けませんでした。\n") + where + QStringLiteral("\n\n")
               + QStringLiteral("これを開くプログラムがデスクトップに設定されていないようです。")
               + QStringLiteral("上の場所を、ファイルマネージャやブラウザから開いてください。"),
           ui::vbOKOnly | ui::vbExclamation, stAppTitle);
}

// xdg-open says whether it could open the target only when it ends, and it may wait for the
// program it started; its failure is said then. Its messages go to our stderr as before.
void desktopOpen(const QUrl& url, const QString& what, const QString& where)
{
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, [process, what, where](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        if (status != QProcess::NormalExit || code != 0)
            showOpenFailure(what, where);
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, what, where](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        process->deleteLater();
        showOpenFailure(what, where);
    });
    process->start(QStringLiteral("xdg-open"), {url.isLocalFile() ? url.toLocalFile() : url.toString()});
}

}  // namespace

void ShellOpen(const QString& target, const QString& what)
{
    if (target.isEmpty())
        return;
    QUrl url = QUrl(target, QUrl::StrictMode);
    // A path (with "\" from the workbook or Windows habits) is a local file; an address keeps its scheme.
    if (!url.isValid() || url.scheme().size() <= 1)
        url = QUrl::fromLocalFile(
            QFileInfo(QString(target).replace(QLatin1Char('\\'), QLatin1Char('/'))).absoluteFilePath());
    const QString where = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
    QString name = what;
    if (name.isEmpty())
        name = !url.isLocalFile() ? QStringLiteral("ページ")
             : QFileInfo(url.toLocalFile()).isDir() ? QStringLiteral("フォルダ") : QStringLiteral("ファイル");
    // The desktop's opener would blame a missing program for a path that is not there.
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        MsgBox(name + QStringLiteral("がありません。\n") + where, ui::vbOKOnly | ui::vbExclamation, stAppTitle);
        return;
    }
    if (!g_opener) {
        desktopOpen(url, name, where);
        return;
    }
    if (!g_opener(url))
        showOpenFailure(name, where);
}

QString BrowseForFolder(QObject* owner, const QString& title, const QString& startFolder)
{
    return ui::browseFolder(title, startFolder, owner);
}

QString HelpBaseUrl()
{
    const QSettings settings(QDir(os::configFolder()).filePath(QStringLiteral("Quorvane.ini")), QSettings::IniFormat);
    QString base = settings.value(QStringLiteral("help/base"),
                                  QStringLiteral("https://quorvane.example/web_dl/qvmain/Help_qvmain/"))
                       .toString();
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base;
}

QString HelpUrl(const QString& page)
{
    // "/output/..." is below the base too, not at the site's root.
    QString p = page;
    while (p.startsWith(QLatin1Char('/')))
        p.remove(0, 1);
    return QUrl(HelpBaseUrl()).resolved(QUrl(p)).toString();
}

void setOnlineProbe(std::function<bool()> probe)
{
    g_probe = std::move(probe);
}

bool HasDefaultRoute(const QByteArray& ipv4Routes, const QByteArray& ipv6Routes)
{
    constexpr uint kUp = 0x0001;
    constexpr uint kReject = 0x0200;
    const auto usable = [](const QByteArray& iface, const QByteArray& flags) {
        bool ok = false;
        const uint f = flags.toUInt(&ok, 16);
        return ok && (f & kUp) && !(f & kReject) && iface != "lo";
    };
    // Iface Destination Gateway Flags RefCnt Use Metric Mask ...; the first line names the fields.
    const QList<QByteArray> v4 = ipv4Routes.split('\n');
    for (qsizetype i = 1; i < v4.size(); ++i) {
        const QList<QByteArray> f = v4[i].simplified().split(' ');
        if (f.size() >= 8 && f[1] == "00000000" && f[7] == "00000000" && usable(f[0], f[3]))
            return true;
    }
    // Destination, its prefix length, source, its prefix length, next hop, metric, use counts,
    // flags, interface; no header.
    for (const QByteArray& line : ipv6Routes.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 10 && f[1] == "00" && f[0] == QByteArray(32, '0') && usable(f[9], f[8]))
            return true;
    }
    return false;
}

bool IsOnline()
{
    const auto read = [](const char* path) {
        QFile f(QString::fromLatin1(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    return HasDefaultRoute(read("/proc/net/route"), read("/proc/net/ipv6_route"));
}

void WebHelp(const QString& url, const QString& offlineText, const QString& offlineTitle)
{
    const bool online = g_probe ? g_probe() : IsOnline();
    if (online) {
        ShellOpen(QUrl(url).isRelative() ? HelpUrl(url) : url, QStringLiteral("ヘルプのページ"));
        return;
    }
    if (!offlineText.isEmpty())
        MsgBox(QString(offlineText).replace(QStringLiteral("\\n"), QStringLiteral("\r\n")), ui::vbOKOnly,
               offlineTitle.isEmpty() ? stAppTitle : offlineTitle);
    else
        MsgBox(QStringLiteral("インターネットに接続されていないようです。"), ui::vbOKOnly,
               QStringLiteral("オンラインヘルプ不可"));
}

QString SpecialFolderName(QString& path)
{
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        path.chop(1);
    const struct {
        int id;
        const char16_t* name;
    } names[] = {{16, u"デスクトップ"}, {5, u"マイドキュメント"}, {38, u"プログラムフォルダ"}, {46, u"共有ドキュメント"}};
    for (const auto& n : names) {
        QString folder = GetFolderPath(n.id);
        if (folder.endsWith(QLatin1Char('/')))
            folder.chop(1);
        if (!folder.isEmpty() && QString::compare(folder, path, Qt::CaseInsensitive) == 0)
            return QString::fromUtf16(n.name);
    }
    return {};
}

QString GetFolderPath(int id)
{
    switch (id) {
    case 16: return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    case 5: return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    case 38: {
        QDir dir(QCoreApplication::applicationDirPath());
        return dir.cdUp() ? dir.path() : QString();
    }
    case 46: return QStandardPaths::writableLocation(QStandardPaths::PublicShareLocation);
    default: return {};
    }
}

QString SpecialFolderPath(int number)
{
    return number == 2 ? QDir::tempPath() : QString();
}

QString SpecialFolderPath(const QString& name)
{
    const struct {
        const char* name;
        QStandardPaths::StandardLocation where;
    } map[] = {{"Desktop", QStandardPaths::DesktopLocation},   {"MyDocuments", QStandardPaths::DocumentsLocation},
               {"Templates", QStandardPaths::TemplatesLocation}, {"Fonts", QStandardPaths::FontsLocation},
               {"AppData", QStandardPaths::GenericDataLocation}, {"Programs", QStandardPaths::ApplicationsLocation}};
    for (const auto& m : map)
        if (name.compare(QLatin1String(m.name), Qt::CaseInsensitive) == 0)
            return QStandardPaths::writableLocation(m.where);
    return {};
}

bool IsWow64()
{
    return false;
}

QString GetOSVersion()
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^(\\d+)\\.(\\d+)(?:\\.(\\d+))?")).match(QSysInfo::kernelVersion());
    if (!m.hasMatch())
        return QSysInfo::kernelVersion();
    return m.captured(1) + QLatin1Char('.') + m.captured(2) + QLatin1Char(' ')
        + (m.captured(3).isEmpty() ? QStringLiteral("0") : m.captured(3));
}
