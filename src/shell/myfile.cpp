#include "shell/myfile.h"

#include "platform/os/save_file.h"
#include "platform/os/vb_error.h"
#include "platform/xl/address.h"
#include "platform/text/cp932.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/msg_box.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

int lastSeparator(const QString& path)
{
    return qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

fs::path toPath(const QString& s)
{
    return fs::path(s.toStdString());
}

void showFileError(const VbError& e)
{
    MsgBox(e.text(), ui::vbOKOnly, stAppTitle);
}

}  // namespace

QString DelQuote(const QString& s)
{
    QString t = s.trimmed();
    while (t.size() >= 2 && t.startsWith(QLatin1Char('"')) && t.endsWith(QLatin1Char('"')))
        t = t.mid(1, t.size() - 2).trimmed();
    return t;
}

QString GetBaseName(const QString& path)
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? path : path.left(dot);
}

QString GetExtName(const QString& path)
{
    const QString p = DelQuote(path);
    const int dot = p.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || lastSeparator(p) > dot)
        return {};
    return p.mid(dot + 1);
}

QString GetFileName(const QString& path)
{
    if (!path.isEmpty() && QFileInfo(path).isDir())
        return {};
    return path.mid(lastSeparator(path) + 1);
}

QString GetFolderName(const QString& path)
{
    if (!path.isEmpty() && QFileInfo(path).isDir())
        return path;
    QString p = path.trimmed();
    if (p.startsWith(QLatin1Char('"')))
        p = p.mid(1, p.size() - 2);
    const int sep = lastSeparator(p);
    return sep < 0 ? p : p.left(sep);
}

QString GetParentPath(const QString& path)
{
    const int sep = lastSeparator(path);  // 0-based
    const bool unc = path.startsWith(QLatin1String("\\\\")) || path.startsWith(QLatin1String("//"));
    if (sep < 0 || sep == 0 || (unc && sep <= 2))
        return {};
    return path.left(sep);
}

int StrCount(const QString& text, const QString& part, int ignoreCase)
{
    const QString t = DelQuote(text);
    const QString p = DelQuote(part);
    if (t.isEmpty() || p.isEmpty())
        return 0;
    const Qt::CaseSensitivity cs = ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    int n = 0;
    for (int at = t.indexOf(p, 0, cs); at >= 0; at = t.indexOf(p, at + p.size(), cs))
        ++n;
    return n;
}

QString CellAddr(long row, long column)
{
    return xl::columnLetters(int(column)) + QString::number(row);
}

bool ChDirEx(const QString& path)
{
    return QDir::setCurrent(path);
}

QString GetAbsPath(const QString& path, QString base)
{
    if (base.isEmpty())
        base = AppPath;
    if (path.isEmpty())
        return base;
    QString p = path;
    if (p.trimmed().startsWith(QLatin1Char('"'))) {
        p = p.trimmed();
        if (p.size() < 2 || !p.endsWith(QLatin1Char('"')))
            return {};
        p = p.mid(1, p.size() - 2);
    }
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    base.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (p.startsWith(QLatin1Char('/')))
        return p;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    if (p.contains(QLatin1String("../")) || p == QLatin1String(".."))
        return QDir::cleanPath(base + p);
    if (p.startsWith(QLatin1String("./")))
        return base + p.mid(2);
    return base + p;
}

QString MakeTempFile()
{
    QTemporaryFile f(QDir(QDir::tempPath()).filePath(QStringLiteral("qvXXXXXX.tmp")));
    f.setAutoRemove(false);
    if (!f.open())
        return {};
    return f.fileName();
}

bool FolderCopy(const QString& source, const QString& target)
{
    if (!QFileInfo(source).isDir())
        return true;
    std::error_code ec;
    fs::copy(toPath(source), toPath(target),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    return false;
}

bool FileKill(const QString& path)
{
    std::error_code ec;
    const fs::path p = toPath(path);
    if (!fs::exists(fs::symlink_status(p, ec))) {
        showFileError(fileError(ENOENT));
        return true;
    }
    if (!fs::remove(p, ec) || ec) {
        showFileError(fileError(ec ? ec.value() : EACCES));
        return true;
    }
    return false;
}

bool WrBinFile(const QString& path, const QByteArray& data)
{
    const QString abs = GetAbsPath(path, AppPath);
    int e = 0;
    if (!os::writeWholeFile(abs, data, &e).isEmpty()) {
        showFileError(fileError(QFileInfo(abs).dir().exists() ? (e ? e : EACCES) : ENOENT));
        return true;
    }
    return false;
}

bool WrBinFile(const QString& path, const QString& text)
{
    return WrBinFile(path, text::toCp932(text));
}

QString FilesDelete(const QStringList& names)
{
    for (const QString& name : names) {
        const QFileInfo info(name);
        QStringList targets;
        if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'))) {
            const QDir dir = info.dir();
            for (const QString& f : dir.entryList({info.fileName()}, QDir::Files | QDir::Hidden | QDir::System))
                targets << dir.filePath(f);
        } else if (info.exists() || info.isSymLink()) {
            targets << name;
        }
        if (targets.isEmpty())
            return fileError(ENOENT).text();
        for (const QString& t : targets) {
            std::error_code ec;
            if (!fs::remove(toPath(t), ec) || ec)
                return fileError(ec ? ec.value() : EACCES).text();
        }
    }
    return {};
}

QString FileMove(const QString& source, const QString& target)
{
    std::error_code ec;
    fs::rename(toPath(source), toPath(target), ec);
    if (ec.value() == EXDEV) {
        ec.clear();
        fs::copy_file(toPath(source), toPath(target), fs::copy_options::overwrite_existing, ec);
        if (!ec)
            fs::remove(toPath(source), ec);
    }
    return ec ? fileError(ec.value()).text() : QString();
}

qint64 FolderSize(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        throw fileError(ENOENT);
    qint64 total = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
    }
    return total;
}

QString MakeFolder(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    if (GetParentPath(p).isEmpty() && !p.startsWith(QLatin1Char('/')))
        return QStringLiteral("0 ");
    std::error_code ec;
    fs::create_directories(toPath(p), ec);
    if (ec)
        return fileError(ec.value()).text();
    return {};
}
