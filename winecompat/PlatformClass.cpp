#include "PlatformClass.h"

#include <uuids.h>

using Microsoft::WRL::ComPtr;

bool LibraryHandle::Load(const wchar_t* name)
{
    Reset();
    m_module = LoadLibraryW(name);
    return m_module != nullptr;
}

void LibraryHandle::Reset()
{
    if (m_module) {
        FreeLibrary(m_module);
        m_module = nullptr;
    }
}

HRESULT GetPlatformClassFactory(LibraryHandle* library, const wchar_t* dll, REFCLSID clsid,
                                ComPtr<IClassFactory>* factory)
{
    using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    if (!library->Load(dll))
        return HRESULT_FROM_WIN32(GetLastError());
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(library->Get(), "DllGetClassObject")));
    if (!getClassObject)
        return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    ComPtr<IClassFactory> found;
    HRESULT hr = getClassObject(clsid, IID_PPV_ARGS(&found));
    if (SUCCEEDED(hr))
        *factory = found;
    return hr;
}

HRESULT CreatePlatformCaptureBuilder(LibraryHandle* library, ComPtr<ICaptureGraphBuilder2>* builder)
{
    ComPtr<IClassFactory> factory;
    HRESULT hr = GetPlatformClassFactory(library, L"qcap.dll", CLSID_CaptureGraphBuilder2, &factory);
    ComPtr<ICaptureGraphBuilder2> created;
    if (SUCCEEDED(hr))
        hr = factory->CreateInstance(nullptr, IID_PPV_ARGS(&created));
    if (SUCCEEDED(hr))
        *builder = created;
    return hr;
}
