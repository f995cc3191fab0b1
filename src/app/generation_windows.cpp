#include "app/generation_windows.h"

#include "engine/forms/analysis_form.h"
#include "engine/forms/progress_form.h"
#include "engine/generation_driver.h"
#include "app/main_window.h"

void installGenerationWindows()
{
    installProgressWindow();
    installAnalysisDialog();
    startConditionsCheckLoad = [] { cmd開始_Click(); };
}
