#include "ModuleLife.h"

namespace {
HMODULE g_module = nullptr;
volatile LONG g_objects = 0;
volatile LONG g_locks = 0;
}

HMODULE ModuleHandle() { return g_module; }
void ModuleObjectCreated() { InterlockedIncrement(&g_objects); }
void ModuleObjectDestroyed() { InterlockedDecrement(&g_objects); }
LONG ModuleLiveObjects() { return InterlockedCompareExchange(&g_objects, 0, 0); }

void ModuleLock(bool lock)
{
    if (lock)
        InterlockedIncrement(&g_locks);
    else
        InterlockedDecrement(&g_locks);
}

bool ModuleInUse()
{
    return ModuleLiveObjects() != 0 || InterlockedCompareExchange(&g_locks, 0, 0) != 0;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
