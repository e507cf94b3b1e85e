// The module's live objects and server locks, which decide DllCanUnloadNow. Each DLL
// links its own copy of this library and so keeps its own counts.
#pragma once

#include <windows.h>

#include <string>

namespace comkit {

void ModuleAddObject();
void ModuleReleaseObject();
void ModuleLock(bool lock);
LONG ModuleLiveObjects();
LONG ModuleLocks();

// S_OK when no object is alive and no lock held, S_FALSE otherwise.
HRESULT ModuleCanUnloadNow();

// The DLL (or program) this library is linked into, and its file's path.
HMODULE ThisModule();
HRESULT ThisModulePath(std::wstring* path);

// Counts its owner among the live objects for as long as it lives.
class ModuleObjectCount
{
public:
    ModuleObjectCount() { ModuleAddObject(); }
    ~ModuleObjectCount() { ModuleReleaseObject(); }
    ModuleObjectCount(const ModuleObjectCount&) = delete;
    ModuleObjectCount& operator=(const ModuleObjectCount&) = delete;
};

} // namespace comkit
