#include "app/generation_windows.h"

#include "engine/forms/analysis_form.h"
#include "engine/forms/progress_form.h"
#include "engine/generation_driver.h"
#include "engine/postprocess.h"
#include "optimise/window_steps.h"
#include "app/mainwindow.h"

void installGenerationWindows()
{
    install処理中Window();
    install分析結果Dialog();
    開始条件確認Load = [] { cmd開始_Click(); };
    最適化窓手順.作成後処理 = 作成後処理;
}
