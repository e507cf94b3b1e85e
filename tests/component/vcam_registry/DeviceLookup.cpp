#include "DeviceLookup.h"

#include <dshow.h>
#include <oleauto.h>

using Microsoft::WRL::ComPtr;

namespace {

std::wstring FriendlyNameOf(IMoniker* moniker)
{
    ComPtr<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag))))
        return std::wstring();
    VARIANT name;
    VariantInit(&name);
    std::wstring text;
    if (SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR && name.bstrVal)
        text = name.bstrVal;
    VariantClear(&name);
    return text;
}

} // namespace

// Straight through the system device enumerator, independent of the code under test.
ComPtr<IMoniker> FindDeviceByName(const std::wstring& friendlyName)
{
    ComPtr<ICreateDevEnum> devices;
    ComPtr<IEnumMoniker> monikers;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&devices))) ||
        devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0) != S_OK)
        return nullptr;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, &moniker, nullptr) == S_OK)
        if (FriendlyNameOf(moniker.Get()) == friendlyName)
            return moniker;
    return nullptr;
}

bool ContainsInOrder(const std::vector<std::wstring>& names, const std::vector<std::wstring>& expected)
{
    size_t next = 0;
    for (const std::wstring& name : names)
        if (next < expected.size() && name == expected[next])
            ++next;
    return next == expected.size();
}

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name)
{
    for (const std::wstring& candidate : names)
        if (candidate == name)
            return true;
    return false;
}
