#include "app/generation_windows.h"

#include "engine/forms/analysis_form.h"
#include "engine/forms/progress_form.h"
#include "engine/generation_driver.h"
#include "engine/postprocess.h"
#include "optimise/window_steps.h"
#include "app/main_window.h"

void installGenerationWindows()
{
    installProgressWindow();
    installAnalysisDialog();
    startConditionsCheckLoad = [] { cmd開始_Click(); };
    optimiserWindowSteps.作成後処理 = 作成後処理;
}
