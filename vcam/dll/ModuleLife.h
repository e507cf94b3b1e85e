// Live-object and lock counting for the virtual camera's COM server. Every COM object
// the DLL hands out (filter, pins' enumerators, settings page, class factories' locks)
// counts itself here, so that DllCanUnloadNow answers truthfully.
#pragma once

#include <windows.h>

void ModuleAddObject();
void ModuleReleaseObject();
void ModuleLock(BOOL lock);
LONG ModuleLiveObjects();
LONG ModuleLocks();

// RAII member for COM objects: counts the object for as long as it lives.
class ModuleObjectCount
{
public:
    ModuleObjectCount() { ModuleAddObject(); }
    ~ModuleObjectCount() { ModuleReleaseObject(); }
    ModuleObjectCount(const ModuleObjectCount&) = delete;
    ModuleObjectCount& operator=(const ModuleObjectCount&) = delete;
};
