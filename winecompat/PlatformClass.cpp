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
    if (m_module)
    {
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

HRESULT CreatePlatformObject(LibraryHandle* library, const wchar_t* dll, REFCLSID clsid, IUnknown* outer,
                             REFIID riid, void** ppv)
{
    *ppv = nullptr;
    ComPtr<IClassFactory> factory;
    HRESULT hr = GetPlatformClassFactory(library, dll, clsid, &factory);
    return SUCCEEDED(hr) ? factory->CreateInstance(outer, riid, ppv) : hr;
}

HRESULT CreatePlatformCaptureBuilder(LibraryHandle* library, ComPtr<ICaptureGraphBuilder2>* builder)
{
    return CreatePlatformObject(library, L"qcap.dll", CLSID_CaptureGraphBuilder2, nullptr,
                                IID_PPV_ARGS(builder->ReleaseAndGetAddressOf()));
}
