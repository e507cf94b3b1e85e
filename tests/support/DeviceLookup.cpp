#include "support/DeviceLookup.h"

#include <dshow.h>

#include "comkit/Variant.h"

using Microsoft::WRL::ComPtr;

namespace support
{

std::wstring FriendlyNameOf(IMoniker* moniker)
{
    ComPtr<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag))))
        return std::wstring();
    comkit::Variant name;
    if (SUCCEEDED(bag->Read(L"FriendlyName", name.Get(), nullptr)) && name.Value().vt == VT_BSTR &&
        name.Value().bstrVal)
        return name.Value().bstrVal;
    return std::wstring();
}

std::vector<ComPtr<IMoniker>> VideoInputMonikers()
{
    std::vector<ComPtr<IMoniker>> found;
    ComPtr<ICreateDevEnum> devices;
    ComPtr<IEnumMoniker> monikers;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&devices))) ||
        devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0) != S_OK)
        return found;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK)
        found.push_back(moniker);
    return found;
}

ComPtr<IMoniker> FindDeviceByName(const std::wstring& friendlyName)
{
    for (const ComPtr<IMoniker>& moniker : VideoInputMonikers())
    {
        if (FriendlyNameOf(moniker.Get()) == friendlyName)
            return moniker;
    }
    return nullptr;
}

ComPtr<IBaseFilter> BindDeviceByName(const std::wstring& friendlyName)
{
    for (const ComPtr<IMoniker>& moniker : VideoInputMonikers())
    {
        ComPtr<IBaseFilter> filter;
        if (FriendlyNameOf(moniker.Get()) == friendlyName &&
            SUCCEEDED(moniker->BindToObject(nullptr, nullptr, IID_PPV_ARGS(&filter))))
            return filter;
    }
    return nullptr;
}

HRESULT BindFirstDevice(ComPtr<IBaseFilter>* filter)
{
    const std::vector<ComPtr<IMoniker>> monikers = VideoInputMonikers();
    if (monikers.empty())
        return VFW_E_NOT_FOUND;
    return monikers.front()->BindToObject(nullptr, nullptr, IID_PPV_ARGS(filter->ReleaseAndGetAddressOf()));
}

CameraCounts FramesCounted(IBaseFilter* camera)
{
    CameraCounts counted;
    ComPtr<IEnumPins> pins;
    if (!camera || FAILED(camera->EnumPins(&pins)))
        return counted;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK)
    {
        ComPtr<IAMDroppedFrames> counts;
        if (SUCCEEDED(pin.As(&counts)) && SUCCEEDED(counts->GetNumNotDropped(&counted.sent)) &&
            SUCCEEDED(counts->GetNumDropped(&counted.dropped)))
            return counted;
    }
    return CameraCounts{};
}

}  // namespace support
