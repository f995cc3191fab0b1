#include "shell/state.h"

#include "shell/do_events.h"
#include "shell/globals.h"
#include "shell/lifecycle.h"
#include "shell/process_list.h"
#include "shell/excel_layer.h"
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
