#include "shell/win32_registory.h"

#include "platform/os/settings_store.h"
#include "shell/rs_db.h"

#include <QMap>

namespace {

QString rootName(long root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT: return QStringLiteral("HKEY_CLASSES_ROOT");
    case HKEY_CURRENT_USER: return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_LOCAL_MACHINE: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case HKEY_USERS: return QStringLiteral("HKEY_USERS");
    default: return QStringLiteral("HKEY_%1").arg(static_cast<qulonglong>(static_cast<quint32>(root)), 8, 16, QLatin1Char('0'));
    }
}

QString keyPath(long root, const QString& key)
{
    return rootName(root) + QLatin1Char('\\') + key;
}

}  // namespace

bool RegWrite(long root, const QString& key, const QString& name, long type, const QVariant& data)
{
    os::SettingsStore store;
    if (type == REG_SZ)
        return store.writeText(keyPath(root, key), name, data.toString());
    if (type == REG_DWORD)
        return store.writeInt(keyPath(root, key), name, static_cast<qint32>(data.toLongLong()));
    return false;
}

QVariant RegRead(long root, const QString& key, const QString& name, long type, const QVariant& def)
{
    const os::SettingsStore store;
    QVariant v;
    if (type == REG_SZ)
        v = store.readText(keyPath(root, key), name);
    else if (type == REG_DWORD)
        v = store.readInt(keyPath(root, key), name);
    return v.isValid() ? v : def;
}

bool SetRegistry()
{
    const QString dsn = QStringLiteral("AccessDb32");
    const QString driver = QStringLiteral("SQLite3");
    const QString database = DefaultDbPath();
    const QMap<QString, QString> current = os::readUserDsn(dsn);
    const QString currentDriver = current.value(QStringLiteral("Driver"));
    if (!currentDriver.isEmpty() && currentDriver != driver)
        return false;
    if (currentDriver == driver && current.value(QStringLiteral("Database")) == database)
        return false;
    return os::writeUserDsn(dsn, {{QStringLiteral("Driver"), driver}, {QStringLiteral("Database"), database}});
}
