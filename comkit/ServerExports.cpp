#include "comkit/ServerExports.h"

#include "comkit/Module.h"

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    const comkit::ClassTable classes = comkit::ServerClasses();
    return comkit::GetClassObject(classes.entries, classes.count, clsid, riid, ppv);
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return comkit::ModuleCanUnloadNow();
}
