#pragma once
// Every global of the storage layer and of the layers below back to how a fresh start leaves it.
void resetStorageState();
