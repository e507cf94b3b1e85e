#include "vcam/registry/DeviceEnumeration.h"

#include <dshow.h>

#include "comkit/TaskMemory.h"
#include "comkit/Variant.h"
#include "vcam/registry/DeviceSettings.h"

using Microsoft::WRL::ComPtr;

namespace
{

std::wstring DisplayNameOf(IMoniker* moniker)
{
    LPOLESTR text = nullptr;
    const HRESULT hr = moniker->GetDisplayName(nullptr, nullptr, &text);
    const comkit::TaskMemory<wchar_t> name(text);
    return SUCCEEDED(hr) && name ? std::wstring(name.get()) : std::wstring();
}

FoundDevice Describe(const ComPtr<IMoniker>& moniker)
{
    FoundDevice device;
    device.moniker = moniker;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&device.bag))))
        device.bag.Reset();
    device.instance = SoftwareDeviceInstance(DisplayNameOf(moniker.Get()));
    return device;
}

}  // namespace

HRESULT EnumerateVideoInputDevices(std::vector<FoundDevice>* devices)
{
    if (!devices)
        return E_POINTER;
    ComPtr<ICreateDevEnum> deviceEnum;
    HRESULT hr =
        CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&deviceEnum));
    if (FAILED(hr))
        return hr;
    ComPtr<IEnumMoniker> monikers;
    hr = deviceEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0);
    std::vector<FoundDevice> found;
    if (hr == S_OK && monikers)
    {
        ComPtr<IMoniker> moniker;
        while (monikers->Next(1, &moniker, nullptr) == S_OK)
            found.push_back(Describe(moniker));
    }
    else if (FAILED(hr))
    {
        return hr;
    }
    devices->swap(found);
    return S_OK;
}

std::wstring SoftwareDeviceInstance(const std::wstring& displayName)
{
    static const wchar_t prefix[] = L"@device:sw:";
    if (displayName.compare(0, wcslen(prefix), prefix) != 0)
        return std::wstring();
    const size_t slash = displayName.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : displayName.substr(slash + 1);
}

HRESULT ReadBagText(IPropertyBag* bag, const wchar_t* name, std::wstring* text)
{
    if (!bag || !text)
        return E_POINTER;
    comkit::Variant value;
    HRESULT hr = bag->Read(name, value.Get(), nullptr);
    if (FAILED(hr))
        return hr;
    if (value.Value().vt != VT_BSTR)
        return DISP_E_TYPEMISMATCH;
    const BSTR stored = value.Value().bstrVal;
    text->assign(stored ? stored : L"", stored ? SysStringLen(stored) : 0);
    return S_OK;
}

bool IsOurDevice(IPropertyBag* bag)
{
    if (!bag)
        return false;
    comkit::Variant stored;
    comkit::Variant number;
    return SUCCEEDED(bag->Read(VcamValue::Marker, stored.Get(), nullptr)) &&
           SUCCEEDED(VariantChangeType(number.Get(), stored.Get(), 0, VT_I4)) && number.Value().lVal == 1;
}
