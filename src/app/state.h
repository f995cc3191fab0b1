#pragma once
// Every global of the program back to how a fresh start leaves it: the program's start and every
// test of its windows call this. Open windows and installed windows stay.
void resetAppState();
