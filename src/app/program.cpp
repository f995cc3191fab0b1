#include "app/program.h"

#include "engine/conditions.h"
#include "app/generation_windows.h"
#include "app/state.h"
#include "optimise/forms/best_shift_list_form.h"
#include "optimise/forms/optimiser_window_form.h"
#include "optimise/install.h"
#include "platform/xl/widgets/sheet_window.h"
#include "app/main_window.h"
#include "shell/forms/shell_windows.h"
#include "shell/globals.h"
#include "shell/lifecycle.h"
#include "shell/excel_layer.h"
#include "shell/rs_db.h"

#include <QApplication>
#include <memory>

void installProgram()
{
    installShellWindows();
    installProgramSteps();
}

void installProgramSteps()
{
    xl::widgets::setProgramTitle(stAppTitle);
    xl::widgets::install();
    installConditionModelSteps();
    installOptimiserSteps();
    installOptimiserWindow();
    installBestShiftListWindow();
    installGenerationWindows();
}

int runProgram(const QString& programFolder)
{
    resetAppState();
    AppPath = programFolder;
    installProgram();
    // Only End ends the program: a window closing on its own does not.
    QApplication::setQuitOnLastWindowClosed(false);
    setEnding([] { QCoreApplication::exit(0); });
    auto main = std::make_unique<frm勤務管理>();
    int code = 0;
    if (main->Form_Initialize()) {
        main->show();
        // The frame's size is known once the window is shown.
        main->placeWindow();
        code = QApplication::exec();
    }
    main.reset();
    DbClose();
    resetXlGlobals();
    return code;
}
