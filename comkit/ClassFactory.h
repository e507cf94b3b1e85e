// The class factory DllGetClassObject hands out: one per request, creating objects
// through a plain creation function (comkit::CreateObject<T> fits).
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace comkit
{

using CreateInstanceFn = HRESULT (*)(REFIID riid, void** ppv);

struct ClassEntry
{
    const CLSID* clsid;
    CreateInstanceFn create;
};

// A factory for `create`, queried for riid.
HRESULT GetClassFactory(CreateInstanceFn create, REFIID riid, void** ppv);

// DllGetClassObject over a table of the module's classes.
HRESULT GetClassObject(const ClassEntry* classes, size_t count, REFCLSID clsid, REFIID riid, void** ppv);

template <size_t N>
HRESULT GetClassObject(const ClassEntry (&classes)[N], REFCLSID clsid, REFIID riid, void** ppv)
{
    return GetClassObject(classes, N, clsid, riid, ppv);
}

}  // namespace comkit
