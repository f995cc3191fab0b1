#include "env.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

namespace testenv {

void isolateHome()
{
    static QTemporaryDir home;
    const QByteArray path = QFile::encodeName(home.path());
    setenv("HOME", path.constData(), 1);
    setenv("XDG_CONFIG_HOME", (path + "/.config").constData(), 1);
    setenv("XDG_DATA_HOME", (path + "/.local/share").constData(), 1);
    QDir(home.path()).mkpath(QStringLiteral(".config"));
    // The system's temporary folder holds what every instance on the machine shares (the
    // instance lock): each test process has its own.
    QDir(home.path()).mkpath(QStringLiteral("tmp"));
    setenv("TMPDIR", (path + "/tmp").constData(), 1);
}

QString dataPath(const QString& relative)
{
    return QDir(QStringLiteral(QV_TEST_DATA_DIR)).filePath(relative);
}

}  // namespace testenv
