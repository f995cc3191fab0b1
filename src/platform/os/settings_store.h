#pragma once
// Persistent per-user settings in place of the Windows registry, and the user's ODBC data sources.
#include <QMap>
#include <QString>
#include <QVariant>

namespace os {

// The program's folder under the user's configuration folder ($XDG_CONFIG_HOME/Quorvane).
QString configFolder();

// An INI file in the configuration folder ("registry.ini"): a value is found by a key path
// ("Software\\ODBC\\…", either separator) and a name; texts and integers are kept apart.
class SettingsStore {
public:
    explicit SettingsStore(QString fileName = QStringLiteral("registry.ini"));
    QString filePath() const;
    // False when the file cannot be written.
    bool writeText(const QString& keyPath, const QString& name, const QString& value);
    bool writeInt(const QString& keyPath, const QString& name, qint32 value);
    // Invalid when missing (or of the other kind).
    QVariant readText(const QString& keyPath, const QString& name) const;
    QVariant readInt(const QString& keyPath, const QString& name) const;

private:
    bool write(const QString& keyPath, const QString& name, const QVariant& value);
    QVariant read(const QString& keyPath, const QString& name) const;
    QString fileName_;
};

// ~/.odbc.ini: the entries of one data source, or an empty map.
QMap<QString, QString> readUserDsn(const QString& dsn);
// Sets the entries of the data source, keeping every other line of the file (other data sources,
// comments) as it was; the file is replaced atomically. False when it cannot be written.
bool writeUserDsn(const QString& dsn, const QMap<QString, QString>& entries);
QString userDsnFile();

}  // namespace os
