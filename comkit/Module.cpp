#include "comkit/Module.h"

namespace comkit
{

namespace
{
volatile LONG g_liveObjects = 0;
volatile LONG g_locks = 0;
}  // namespace

void ModuleAddObject()
{
    InterlockedIncrement(&g_liveObjects);
}
void ModuleReleaseObject()
{
    InterlockedDecrement(&g_liveObjects);
}

void ModuleLock(bool lock)
{
    if (lock)
        InterlockedIncrement(&g_locks);
    else
        InterlockedDecrement(&g_locks);
}

LONG ModuleLiveObjects()
{
    return InterlockedCompareExchange(&g_liveObjects, 0, 0);
}
LONG ModuleLocks()
{
    return InterlockedCompareExchange(&g_locks, 0, 0);
}

HRESULT ModuleCanUnloadNow()
{
    return ModuleLiveObjects() == 0 && ModuleLocks() == 0 ? S_OK : S_FALSE;
}

HMODULE ThisModule()
{
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &self);
    return self;
}

}  // namespace comkit
