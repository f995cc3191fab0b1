// qvmain: the main program. For now it writes its boot log and ends; the main window comes with
// the shell's start-up.
#include "shell/globals.h"
#include "shell/mylog.h"

#include <QCoreApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    AppPath = QCoreApplication::applicationDirPath();
    stWorkPath = QDir::currentPath();
    BootLog(QStringLiteral("Ver.") + QCoreApplication::applicationVersion() + QLatin1Char(' ') + stAppTitle, true);
    BootLog(QStringLiteral("CurDir :") + QDir::currentPath());
    BootLog(QStringLiteral("App.Path :") + AppPath);
    return 0;
}
