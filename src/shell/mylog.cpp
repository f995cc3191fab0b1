#include "shell/mylog.h"

#include "shell/globals.h"
#include "shell/msg_box.h"
#include "shell/myfile.h"
#include "shell/desktop.h"
#include "platform/os/clock.h"
#include "platform/ui/prompt.h"

#include <QDir>
#include <QFile>
#include <array>

namespace {

int BootLog_Cnt = -1;

std::array<QString, 201> MemLog_Table;  // slots 1..200
int MemLog_Pos = 0;
int MemLog_Seq = 0;
bool MemLog_Sized = false;

QString nowText()
{
    return os::now().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

// Writes lines with CR LF ends; errors are swallowed so that logging cannot stop the program.
void writeLines(const QString& path, const QStringList& lines, bool append)
{
    QFile f(path);
    if (!f.open(append ? QIODevice::Append : (QIODevice::WriteOnly | QIODevice::Truncate)))
        return;
    for (const QString& line : lines)
        f.write(line.toUtf8() + "\r\n");
}

}  // namespace

void resetLogState()
{
    BootLog_Cnt = -1;
    MemLog_Table = {};
    MemLog_Pos = 0;
    MemLog_Seq = 0;
    MemLog_Sized = false;
}

void BootLog(const QString& text, bool reset)
{
    const QString path = QDir(AppPath).filePath(QStringLiteral("log_boot.txt"));
    QStringList lines;
    bool append = true;
    if (reset) {
        BootLog_Cnt = -1;
        append = false;
        lines << QString();
    } else if (BootLog_Cnt > 200) {
        return;
    }
    ++BootLog_Cnt;
    lines << (BootLog_Cnt > 0 ? QString::number(BootLog_Cnt).rightJustified(5, QLatin1Char(' ')) + QLatin1Char(' ') + text
                              : text);
    writeLines(path, lines, append);
}

int BootLogCount()
{
    return BootLog_Cnt;
}

void MemLog(const QString& text, bool reset)
{
    if (reset || !MemLog_Sized) {
        MemLog_Table.fill(QString());
        MemLog_Seq = 0;
        MemLog_Pos = 0;
        MemLog_Sized = true;
    }
    MemLog_Pos = MemLog_Pos == 200 ? 1 : MemLog_Pos + 1;
    MemLog_Seq = MemLog_Seq + 1 > 9999 ? 1 : MemLog_Seq + 1;
    MemLog_Table[size_t(MemLog_Pos)] = QString::number(MemLog_Seq) + QLatin1Char(',') + nowText() + QLatin1Char(',')
        + (text.isEmpty() ? QStringLiteral("?????") : text);
}

QStringList MemLogEntries()
{
    QStringList out;
    for (int i = MemLog_Pos; i >= 1; --i)
        out << MemLog_Table[size_t(i)];
    if (MemLog_Pos < 200 && !MemLog_Table[size_t(MemLog_Pos) + 1].isEmpty())
        for (int i = 200; i > MemLog_Pos; --i)
            out << MemLog_Table[size_t(i)];
    return out;
}

void MemLog保存(const QString& fileName)
{
    const QString name = fileName.isEmpty() ? QStringLiteral("log.txt") : fileName;
    writeLines(QDir(AppPath).filePath(name), MemLogEntries(), false);
}

void LogView()
{
    const QString path = QDir(AppPath).filePath(QStringLiteral("log.txt"));
    if (!QFileInfo::exists(path)) {
        MsgBox(path + QStringLiteral(" は存在しません！"), ui::vbOKOnly | ui::vbSystemModal, stAppTitle);
        return;
    }
    ShellOpen(path, QStringLiteral("ログファイル"));
}

void LogWrite(const QString& fileName, const QString& text, bool overwrite, bool noDate)
{
    const QString line = noDate ? text : nowText() + QLatin1Char(',') + text;
    const QString folder = QDir(stWorkPath).filePath(QStringLiteral("log"));
    if (!QFileInfo(folder).isDir() && !MakeFolder(folder).isEmpty())
        return;
    const QString path = QDir(folder).filePath(fileName);
    if (text.isEmpty()) {
        if (overwrite) {
            QFile f(path);
            (void)f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        }
        return;
    }
    writeLines(path, {line}, !overwrite);
}

void ResultLog書込(const QString& text, bool overwrite)
{
    LogWrite(QStringLiteral("log_result.txt"), text, overwrite, true);
}
