#include "shell/state.h"

#include "shell/doevents.h"
#include "shell/globals.h"
#include "shell/lifecycle.h"
#include "shell/myapi_process.h"
#include "shell/myexcel.h"
#include "shell/myfunc_main.h"
#include "shell/mylog.h"
#include "shell/mymod.h"
#include "shell/rs_db.h"
#include "shell/status.h"
#include "workbook/state.h"

void resetShellState()
{
    resetWorkbookState();
    resetShellGlobals();
    resetDbGlobals();
    resetXlGlobals();
    resetWeights();
    resetLifecycle();
    resetLogState();
    resetStatusState();
    resetMyRnd();
    resetDoEvents();
    resetProcessState();
}
