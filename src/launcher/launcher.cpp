// The launcher of a work folder: makes its own folder the current directory and starts the main
// program of the folder above, then ends at once. Nothing else passes between the two programs.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace {

bool haveDesktop()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform == "offscreen" || platform == "minimal")
        return false;
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

// "number description", titled "エラー発生": on stderr always, in a message box on a desktop.
int fail(int argc, char* argv[], int error, const QString& detail)
{
    const QString text = QString::number(error) + QLatin1Char(' ') + QString::fromLocal8Bit(std::strerror(error));
    std::fprintf(stderr, "エラー発生: %s\n%s\n", qUtf8Printable(text), qUtf8Printable(detail));
    if (haveDesktop()) {
        QApplication app(argc, argv);
        QMessageBox::information(nullptr, QStringLiteral("エラー発生"), text + QStringLiteral("\n") + detail);
    }
    return 1;
}

}  // namespace

int main(int argc, char* argv[])
{
    // The launcher's own folder, from the running executable (no application object is needed
    // unless there is an error to show).
    const QString ownFolder = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
    if (!QDir::setCurrent(ownFolder))
        return fail(argc, argv, errno ? errno : ENOENT, ownFolder);

    const QString program = QDir::cleanPath(ownFolder + QStringLiteral("/../qvmain"));
    const QByteArray programPath = QFile::encodeName(program);
    char* args[] = {const_cast<char*>("qvmain"), nullptr};
    pid_t pid = 0;
    // The child is not waited for: it is re-parented when the launcher ends.
    const int rc = posix_spawn(&pid, programPath.constData(), nullptr, nullptr, args, environ);
    if (rc != 0)
        return fail(argc, argv, rc, program);
    return 0;
}
