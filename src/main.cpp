// qvmain: the main program, started by a work folder's launcher with that folder as the current
// directory.
#include "app/program.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The program places its own windows, which the X11 desktop allows.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(QV_VERSION));
    return runProgram(QCoreApplication::applicationDirPath());
}
