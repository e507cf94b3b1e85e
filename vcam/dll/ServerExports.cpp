// The in-process server's entry points.
#include <windows.h>
#include <new>

#include "vcam/VcamGuids.h"
#include "vcam/dll/ClassFactory.h"
#include "vcam/dll/ModuleLife.h"
#include "vcam/filter/VcamFilter.h"
#include "vcam/pages/ScenePage.h"

namespace {
CreateInstanceFn CreatorFor(REFCLSID clsid)
{
    if (clsid == CLSID_TarnviewVirtualCamera)
        return &CreateVcamFilter;
    if (clsid == CLSID_TarnviewVcamScenePage)
        return &CreateScenePage;
    return nullptr;
}
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    const CreateInstanceFn create = CreatorFor(clsid);
    if (!create)
        return CLASS_E_CLASSNOTAVAILABLE;
    ClassFactory* factory = new (std::nothrow) ClassFactory(create);
    if (!factory)
        return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return ModuleLiveObjects() == 0 && ModuleLocks() == 0 ? S_OK : S_FALSE;
}

// For leak checks: objects of this DLL still alive (filters, pins' enumerators, pages, factories).
extern "C" LONG WINAPI VcamLiveObjects()
{
    return ModuleLiveObjects();
}
