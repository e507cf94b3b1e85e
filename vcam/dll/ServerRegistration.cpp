// regsvr32 support: the class keys of the filter and of its settings page. Devices
// are registered separately (vcamctl), since one class serves every device.
#include <windows.h>

#include "comkit/ServerRegistration.h"
#include "vcam/VcamGuids.h"

extern "C" HRESULT WINAPI DllRegisterServer()
{
    const HRESULT hr = comkit::RegisterInprocServer(CLSID_TarnviewVirtualCamera, L"Tarnview Virtual Camera");
    if (FAILED(hr))
        return hr;
    return comkit::RegisterInprocServer(CLSID_TarnviewVcamScenePage, L"Tarnview Virtual Camera Picture Page");
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    const HRESULT filterResult = comkit::UnregisterInprocServer(CLSID_TarnviewVirtualCamera);
    const HRESULT pageResult = comkit::UnregisterInprocServer(CLSID_TarnviewVcamScenePage);
    return FAILED(filterResult) ? filterResult : pageResult;
}
