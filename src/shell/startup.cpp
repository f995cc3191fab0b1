#include "shell/startup.h"

#include "platform/text/text_constants.h"
#include "platform/text/vb.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/desktop.h"

#include <QDir>
#include <QFileInfo>

QString VersionText(const QString& version)
{
    const QStringList parts = version.split(QLatin1Char('.'));
    const auto part = [&](int i) { return i < parts.size() && !parts.at(i).isEmpty() ? parts.at(i) : QStringLiteral("0"); };
    return part(0) + QLatin1Char('.') + part(1) + part(2);
}

QString FindFileNoCase(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    if (QFileInfo(dir, name).isFile())
        return dir.filePath(name);
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& f : files)
        if (f.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(f);
    return {};
}

bool ChkExecEnv()
{
    // The product's own name as the file name: a development build, not checked.
    if (AppEXEName == stAppTitle)
        return false;
    if (FindFileNoCase(QDir::currentPath(), AppEXEName).isEmpty())
        return false;
    MsgBox(QStringLiteral("実行するファイルが違います。") + kCrLf + kCrLf + QStringLiteral("「シフト表作成」「作成例1」「作成例2」の中の")
               + kCrLf + kCrLf + QStringLiteral("Quorvaneの起動") + kCrLf + kCrLf + QStringLiteral("を実行して下さい。"),
           ui::vbOKOnly, QStringLiteral("実行ファイル相違"));
    return true;
}

bool ChkSetUp()
{
    const QStringList setups = QDir(AppPath).entryList({QStringLiteral("セットアップ.*")}, QDir::Files, QDir::Name);
    if (setups.isEmpty())
        return true;
    if (!FindFileNoCase(QDir::currentPath(), QStringLiteral("setup_log.txt")).isEmpty() || DebugMode)
        return true;
    if (ChkOcxFiles().isEmpty())
        return true;
    const QString found = setups.first();
    const int answer = MsgBox(QStringLiteral("「") + found + QStringLiteral("」が、実行されていないようです。") + kCrLf + kCrLf
                                  + QStringLiteral("続行しても正常な動作が出来ない可能性があります。") + kCrLf + kCrLf
                                  + QStringLiteral("続行しますか？"),
                              ui::vbYesNo | ui::vbDefaultButton2 | ui::vbSystemModal,
                              QStringLiteral("「") + found + QStringLiteral("」未実行"));
    return answer != ui::vbNo;
}

QString ChkOcxFiles()
{
    const QString system = IsWow64() ? SpecialFolderPath(0) + QStringLiteral("/SysWOW64") : SpecialFolderPath(1);
    const QDir ocxs(QDir(AppPath).filePath(QStringLiteral("parts/ocxs")));
    if (!ocxs.exists())
        return {};
    QString missing;
    const QStringList files = ocxs.entryList(QDir::Files, QDir::Name);
    for (const QString& f : files) {
        const QString path = system + QLatin1Char('/') + f;
        if (!QFileInfo::exists(path))
            missing += path + kCrLf;
    }
    return missing;
}

QString GetXlsName(const QString& folder)
{
    const double v = Int(Val(stXlVer));
    const QString old = QStringLiteral("shift.xls");
    if (v >= 9 && v <= 11)
        return old;
    const QString current = FindFileNoCase(folder, QStringLiteral("shift.xlsm"));
    if (!current.isEmpty())
        return QFileInfo(current).fileName();
    // An old-format book is named, so that its reader says how to convert it; with neither
    // there, the message names the book the program needs.
    const QString found = FindFileNoCase(folder, old);
    return found.isEmpty() ? QStringLiteral("shift.xlsm") : QFileInfo(found).fileName();
}

QString WorkFolder()
{
    if (!FindFileNoCase(AppPath, GetXlsName(AppPath)).isEmpty())
        return AppPath;
    return QDir::currentPath();
}

bool DebugMarker(const QString& folder)
{
    return !FindFileNoCase(folder, QStringLiteral("debug")).isEmpty();
}
