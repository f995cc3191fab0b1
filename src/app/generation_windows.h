#pragma once
// Puts the generation behind the program's windows: the progress window, the analysis dialog,
// the main window's generation command and the best-shift list's post-processing. The windowed
// program calls it once at start-up.
void installGenerationWindows();
