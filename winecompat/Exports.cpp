// The DLL's COM entry points (registration lives in Registration.cpp).
#include <windows.h>

#include "CaptureBuilder.h"
#include "avimux/AviMuxFilter.h"
#include "ClassFactory.h"
#include "FilterGraph.h"
#include "ModuleLife.h"
#include "WinecompatGuids.h"

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (clsid == CLSID_TarnviewCaptureGraphBuilder)
        return GetClassFactory(CreateCaptureBuilder, riid, ppv);
    if (clsid == CLSID_TarnviewFilterGraph)
        return GetClassFactory(CreateFilterGraph, riid, ppv);
    if (clsid == CLSID_TarnviewAviMux)
        return GetClassFactory(CreateAviMux, riid, ppv);
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return ModuleInUse() ? S_FALSE : S_OK;
}

// For leak tests: the number of objects of this DLL still alive.
extern "C" LONG WINAPI WinecompatLiveObjects()
{
    return ModuleLiveObjects();
}
