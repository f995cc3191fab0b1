#pragma once
// Every global of the optimiser and of the layers below back to how a fresh start leaves it: the
// kept best shifts and the steps the windows install. Installed windows stay.
void resetOptimiseState();
