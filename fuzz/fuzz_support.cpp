#include "fuzz_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace fuzz {

QString scratchFolder()
{
    static QTemporaryDir dir;
    return dir.path();
}

QString inputFile(const uint8_t* data, size_t size, const QString& name)
{
    const QString path = QDir(scratchFolder()).filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort();  // the run itself is broken, not the code under test
    return path;
}

}  // namespace fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    const QByteArray home = QFile::encodeName(fuzz::scratchFolder());
    setenv("HOME", home.constData(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").constData(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").constData(), 1);
    // Never destroyed: at exit Qt's own globals are gone before any static of ours would go.
    static QCoreApplication* app = new QCoreApplication(*argc, *argv);
    Q_UNUSED(app);
    return 0;
}
