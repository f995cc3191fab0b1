#pragma once
// Puts the generation's windows behind the logic: the progress window, the analysis dialog.
// The windowed program calls it once at start-up.
void installGenerationWindows();
