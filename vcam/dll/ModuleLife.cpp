#include "vcam/dll/ModuleLife.h"

namespace {
volatile LONG g_liveObjects = 0;
volatile LONG g_locks = 0;
}

void ModuleAddObject() { InterlockedIncrement(&g_liveObjects); }
void ModuleReleaseObject() { InterlockedDecrement(&g_liveObjects); }

void ModuleLock(BOOL lock)
{
    if (lock)
        InterlockedIncrement(&g_locks);
    else
        InterlockedDecrement(&g_locks);
}

LONG ModuleLiveObjects() { return InterlockedCompareExchange(&g_liveObjects, 0, 0); }
LONG ModuleLocks() { return InterlockedCompareExchange(&g_locks, 0, 0); }
