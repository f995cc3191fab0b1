#include "engine/forms/generation_windows.h"

#include "engine/forms/analysis_form.h"
#include "engine/forms/progress_form.h"

void installGenerationWindows()
{
    install処理中Window();
    install分析結果Dialog();
}
