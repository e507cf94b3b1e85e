// The platform's own classes, taken straight from their DLLs' class factories:
// CoCreateInstance would follow TreatAs back to us.
#pragma once

#include <windows.h>
#include <strmif.h>
#include <wrl/client.h>

#include "comkit/NonCopyable.h"

// Keeps a platform DLL (qcap.dll, quartz.dll) loaded for as long as an object from it may be alive.
class LibraryHandle : comkit::NonCopyable
{
public:
    LibraryHandle() = default;
    ~LibraryHandle() { Reset(); }

    bool Load(const wchar_t* name);
    HMODULE Get() const { return m_module; }
    void Reset();

private:
    HMODULE m_module = nullptr;
};

// Loads `dll` into *library and asks its DllGetClassObject for `clsid`'s factory.
HRESULT GetPlatformClassFactory(LibraryHandle* library, const wchar_t* dll, REFCLSID clsid,
                                Microsoft::WRL::ComPtr<IClassFactory>* factory);

// Creates `clsid` through `dll`'s own factory, aggregated by `outer` when it is given.
HRESULT CreatePlatformObject(LibraryHandle* library, const wchar_t* dll, REFCLSID clsid, IUnknown* outer,
                             REFIID riid, void** ppv);

HRESULT CreatePlatformCaptureBuilder(LibraryHandle* library,
                                     Microsoft::WRL::ComPtr<ICaptureGraphBuilder2>* builder);
