#pragma once
// Every global of the engine and of the layers below back to how a fresh start leaves it: the
// condition model, the last run's flags, counters and logs, and the steps the higher layers
// install. Installed windows stay.
void resetEngineState();
