#pragma once
// Every global of the shell and of the layers below back to how a fresh start leaves it: the
// program's start and every test fixture of the shell call this. Installed windows stay.
void resetShellState();
