// The platform's own classes, taken straight from their DLLs' class factories:
// CoCreateInstance would follow TreatAs back to us.
#pragma once

#include <windows.h>
#include <strmif.h>
#include <wrl/client.h>

// Keeps qcap.dll loaded for as long as an object from it may be alive.
class LibraryHandle {
public:
    LibraryHandle() = default;
    ~LibraryHandle() { Reset(); }
    LibraryHandle(const LibraryHandle&) = delete;
    LibraryHandle& operator=(const LibraryHandle&) = delete;

    bool Load(const wchar_t* name);
    HMODULE Get() const { return m_module; }
    void Reset();

private:
    HMODULE m_module = nullptr;
};

// Loads `dll` into *library and asks its DllGetClassObject for `clsid`'s factory.
HRESULT GetPlatformClassFactory(LibraryHandle* library, const wchar_t* dll, REFCLSID clsid,
                                Microsoft::WRL::ComPtr<IClassFactory>* factory);

HRESULT CreatePlatformCaptureBuilder(LibraryHandle* library,
                                     Microsoft::WRL::ComPtr<ICaptureGraphBuilder2>* builder);
