#pragma once
// Single settings values in the per-user settings store (in place of the registry), and the
// registration of the data source AccessDb32 for other tools.
#include <QString>
#include <QVariant>

enum : long {
    HKEY_CLASSES_ROOT = static_cast<long>(0x80000000L), HKEY_CURRENT_USER = static_cast<long>(0x80000001L),
    HKEY_LOCAL_MACHINE = static_cast<long>(0x80000002L), HKEY_USERS = static_cast<long>(0x80000003L),
};
enum : long { REG_SZ = 1, REG_DWORD = 4 };

// Writes one value (type REG_SZ text or REG_DWORD integer); false for any other type or when
// it cannot be written.
bool RegWrite(long root, const QString& key, const QString& name, long type, const QVariant& data);
// The value, or the default when it is missing, of the other type, or the type is not handled.
QVariant RegRead(long root, const QString& key, const QString& name, long type, const QVariant& def);

// Registers AccessDb32 as a user data source (driver SQLite3, database = the work folder's
// 集計.db) when it is missing or points at another file; a data source the user set up with
// another driver is left alone. True when it was written.
bool SetRegistry();
