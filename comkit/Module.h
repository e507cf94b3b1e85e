// The module's live objects and server locks, which decide DllCanUnloadNow. Each DLL
// links its own copy of this library and so keeps its own counts.
#pragma once

#include <windows.h>

#include "comkit/NonCopyable.h"

namespace comkit
{

void ModuleAddObject();
void ModuleReleaseObject();
void ModuleLock(bool lock);
LONG ModuleLiveObjects();
LONG ModuleLocks();

// S_OK when no object is alive and no lock held, S_FALSE otherwise.
HRESULT ModuleCanUnloadNow();

// The DLL (or program) this library is linked into.
HMODULE ThisModule();

// Counts its owner among the live objects for as long as it lives.
class ModuleObjectCount : NonCopyable
{
public:
    ModuleObjectCount() { ModuleAddObject(); }
    ~ModuleObjectCount() { ModuleReleaseObject(); }
};

}  // namespace comkit
