// Lifetime bookkeeping of the DLL: live objects and server locks decide DllCanUnloadNow.
#pragma once

#include <windows.h>

HMODULE ModuleHandle();
void ModuleObjectCreated();
void ModuleObjectDestroyed();
void ModuleLock(bool lock);
LONG ModuleLiveObjects();
bool ModuleInUse();

// Counts one live object for as long as it exists; a member of every COM class here.
class ModuleObjectCount {
public:
    ModuleObjectCount() { ModuleObjectCreated(); }
    ~ModuleObjectCount() { ModuleObjectDestroyed(); }
    ModuleObjectCount(const ModuleObjectCount&) = delete;
    ModuleObjectCount& operator=(const ModuleObjectCount&) = delete;
};
