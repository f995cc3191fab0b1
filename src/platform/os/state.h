#pragma once
// What the platform layer keeps between calls, as a fresh process has it: no queued or recorded
// messages, the random sequence from its start. Installed hooks (dialogs, clock) stay.
void resetPlatformState();
