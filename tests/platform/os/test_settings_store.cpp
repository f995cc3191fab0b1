#include "platform/os/settings_store.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(SettingsStore, KeepsTextsAndIntegersApartUnderTheConfigFolder)
{
    EXPECT_TRUE(os::configFolder().startsWith(QDir::homePath()));  // tests run with HOME in a temp folder
    os::SettingsStore store(QStringLiteral("store-test.ini"));
    EXPECT_TRUE(store.filePath().startsWith(os::configFolder()));
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\作成\\Sub");
    EXPECT_TRUE(store.writeText(key, QStringLiteral("名前"), QStringLiteral("25")));
    EXPECT_TRUE(store.writeInt(key, QStringLiteral("Count"), 2048));
    EXPECT_EQ(store.readText(key, QStringLiteral("名前")).toString(), QStringLiteral("25"));
    EXPECT_FALSE(store.readInt(key, QStringLiteral("名前")).isValid());
    EXPECT_EQ(store.readInt(key, QStringLiteral("Count")).toInt(), 2048);
    EXPECT_FALSE(store.readText(key, QStringLiteral("Count")).isValid());
    EXPECT_FALSE(store.readText(key, QStringLiteral("missing")).isValid());
    // Either separator names the same key.
    EXPECT_EQ(store.readInt(QStringLiteral("HKEY_CURRENT_USER/Software/作成/Sub"), QStringLiteral("Count")).toInt(), 2048);
}

TEST(UserDsn, SetsItsOwnEntriesAndKeepsEveryOtherLine)
{
    const QString file = os::userDsnFile();
    EXPECT_TRUE(file.startsWith(QDir::homePath()));
    QFile::remove(file);
    EXPECT_TRUE(os::readUserDsn(QStringLiteral("AccessDb32")).isEmpty());

    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("; mine\n[Other]\nDriver = PostgreSQL\nDatabase = x\n\n[AccessDb32]\nDriver=SQLite3\nTimeout = 5\n[Last]\nDriver = y\n");
    }
    ASSERT_TRUE(os::writeUserDsn(QStringLiteral("AccessDb32"),
                                 {{QStringLiteral("Driver"), QStringLiteral("SQLite3")},
                                  {QStringLiteral("Database"), QStringLiteral("/w/集計.db")}}));
    EXPECT_EQ(readAll(file),
              QStringLiteral("; mine\n[Other]\nDriver = PostgreSQL\nDatabase = x\n\n[AccessDb32]\nDriver = SQLite3\n"
                             "Timeout = 5\nDatabase = /w/集計.db\n[Last]\nDriver = y\n")
                  .toUtf8());
    const auto entries = os::readUserDsn(QStringLiteral("accessdb32"));
    EXPECT_EQ(entries.value(QStringLiteral("Database")), QStringLiteral("/w/集計.db"));
    EXPECT_EQ(entries.value(QStringLiteral("Timeout")), QStringLiteral("5"));

    // A file without the data source gets it appended.
    QFile::remove(file);
    ASSERT_TRUE(os::writeUserDsn(QStringLiteral("AccessDb32"), {{QStringLiteral("Driver"), QStringLiteral("SQLite3")}}));
    EXPECT_EQ(readAll(file), QByteArray("[AccessDb32]\nDriver = SQLite3\n"));
    QFile::remove(file);
}
