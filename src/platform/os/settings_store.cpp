#include "platform/os/settings_store.h"

#include "platform/os/save_file.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace os {

namespace {

// "Software\ODBC\ODBC.INI\AccessDb32" → "Software/ODBC/ODBC.INI/AccessDb32".
QString settingsKey(const QString& keyPath, const QString& name)
{
    QString k = keyPath;
    k.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (k.endsWith(QLatin1Char('/')))
        k.chop(1);
    return k + QLatin1Char('/') + name;
}

bool isSection(const QString& line, QString* name = nullptr)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
        return false;
    if (name)
        *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

QStringList readLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(f.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

}  // namespace

QString configFolder()
{
    QString base = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(base).filePath(QStringLiteral("Quorvane"));
}

SettingsStore::SettingsStore(QString fileName) : fileName_(std::move(fileName)) {}

QString SettingsStore::filePath() const
{
    return QDir(configFolder()).filePath(fileName_);
}

bool SettingsStore::write(const QString& keyPath, const QString& name, const QVariant& value)
{
    QDir().mkpath(configFolder());
    QSettings s(filePath(), QSettings::IniFormat);
    s.setValue(settingsKey(keyPath, name), value);
    s.sync();
    return s.status() == QSettings::NoError;
}

QVariant SettingsStore::read(const QString& keyPath, const QString& name) const
{
    QSettings s(filePath(), QSettings::IniFormat);
    return s.value(settingsKey(keyPath, name));
}

bool SettingsStore::writeText(const QString& keyPath, const QString& name, const QString& value)
{
    // The prefix keeps a text that looks like a number a text when it is read back.
    return write(keyPath, name, QStringLiteral("sz:") + value);
}

bool SettingsStore::writeInt(const QString& keyPath, const QString& name, qint32 value)
{
    return write(keyPath, name, QStringLiteral("dword:") + QString::number(value));
}

QVariant SettingsStore::readText(const QString& keyPath, const QString& name) const
{
    const QString v = read(keyPath, name).toString();
    if (!v.startsWith(QLatin1String("sz:")))
        return {};
    return v.mid(3);
}

QVariant SettingsStore::readInt(const QString& keyPath, const QString& name) const
{
    const QString v = read(keyPath, name).toString();
    if (!v.startsWith(QLatin1String("dword:")))
        return {};
    bool ok = false;
    const qint32 n = v.mid(6).toInt(&ok);
    return ok ? QVariant(n) : QVariant();
}

QString userDsnFile()
{
    return QDir(QDir::homePath()).filePath(QStringLiteral(".odbc.ini"));
}

QMap<QString, QString> readUserDsn(const QString& dsn)
{
    QMap<QString, QString> out;
    bool inside = false;
    for (const QString& line : readLines(userDsnFile())) {
        QString section;
        if (isSection(line, &section)) {
            inside = section.compare(dsn, Qt::CaseInsensitive) == 0;
            continue;
        }
        const QString t = line.trimmed();
        if (!inside || t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
            continue;
        const int eq = t.indexOf(QLatin1Char('='));
        if (eq > 0)
            out.insert(t.left(eq).trimmed(), t.mid(eq + 1).trimmed());
    }
    return out;
}

bool writeUserDsn(const QString& dsn, const QMap<QString, QString>& entries)
{
    QStringList lines = readLines(userDsnFile());
    QMap<QString, QString> pending = entries;
    int sectionEnd = -1;  // the line after the data source's last entry
    bool inside = false;
    for (int i = 0; i < lines.size(); ++i) {
        QString section;
        if (isSection(lines[i], &section)) {
            if (inside)
                break;
            inside = section.compare(dsn, Qt::CaseInsensitive) == 0;
            if (inside)
                sectionEnd = i + 1;
            continue;
        }
        if (!inside)
            continue;
        const QString t = lines[i].trimmed();
        const int eq = t.indexOf(QLatin1Char('='));
        if (eq > 0 && !t.startsWith(QLatin1Char(';')) && !t.startsWith(QLatin1Char('#'))) {
            const QString key = t.left(eq).trimmed();
            for (auto it = pending.begin(); it != pending.end(); ++it) {
                if (it.key().compare(key, Qt::CaseInsensitive) == 0) {
                    lines[i] = it.key() + QStringLiteral(" = ") + it.value();
                    pending.erase(it);
                    break;
                }
            }
            sectionEnd = i + 1;
        }
    }
    QStringList added;
    for (auto it = pending.cbegin(); it != pending.cend(); ++it)
        added << it.key() + QStringLiteral(" = ") + it.value();
    if (sectionEnd < 0) {
        if (!lines.isEmpty() && !lines.back().trimmed().isEmpty())
            lines << QString();
        lines << QLatin1Char('[') + dsn + QLatin1Char(']');
        lines << added;
    } else {
        for (int k = 0; k < added.size(); ++k)
            lines.insert(sectionEnd + k, added[k]);
    }
    return writeWholeFile(userDsnFile(), lines.join(QLatin1Char('\n')).toUtf8() + '\n').isEmpty();
}

}  // namespace os
