// The launcher of a work folder: makes its own folder the current directory and starts the main
// program of the folder above, then ends at once. Nothing else passes between the two programs.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace {

// "number description", shown as the "エラー発生" message.
int fail(int error, const QString& detail)
{
    const QString text = QString::number(error) + QLatin1Char(' ') + QString::fromLocal8Bit(std::strerror(error));
    std::fprintf(stderr, "エラー発生: %s\n%s\n", qUtf8Printable(text), qUtf8Printable(detail));
    return 1;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString ownFolder = QCoreApplication::applicationDirPath();
    if (!QDir::setCurrent(ownFolder))
        return fail(errno ? errno : ENOENT, ownFolder);

    const QString program = QDir::cleanPath(ownFolder + QStringLiteral("/../qvmain"));
    const QByteArray programPath = QFile::encodeName(program);
    char* args[] = {const_cast<char*>("qvmain"), nullptr};
    pid_t pid = 0;
    // The child is not waited for: it is re-parented when the launcher ends.
    const int rc = posix_spawn(&pid, programPath.constData(), nullptr, nullptr, args, environ);
    if (rc != 0)
        return fail(rc, program);
    return 0;
}
