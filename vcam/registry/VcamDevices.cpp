// Devices in the video input category, registered through the filter mapper so that the
// system device enumerator lists them, with our settings stored beside FriendlyName.
#include "vcam/registry/VcamDevices.h"

#include <dshow.h>
#include <wrl/client.h>

#include "vcam/VcamGuids.h"
#include "vcam/registry/DeviceEnumeration.h"

using Microsoft::WRL::ComPtr;

namespace
{

constexpr size_t MaxInstanceLength = 100;

bool ValidInstance(const std::wstring& instance)
{
    return !instance.empty() && instance.size() <= MaxInstanceLength &&
           instance.find_first_of(L"\\/") == std::wstring::npos;
}

HRESULT CreateMapper(ComPtr<IFilterMapper2>* mapper)
{
    return CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&*mapper));
}

// The device's filter class as stored in its key; the unplugged class id when unreadable,
// since the mapper only needs it when no instance name is given.
CLSID StoredClassId(IPropertyBag* bag)
{
    std::wstring text;
    CLSID clsid = CLSID_TarnviewUnpluggedCamera;
    if (SUCCEEDED(ReadBagText(bag, L"CLSID", &text)) && FAILED(CLSIDFromString(text.c_str(), &clsid)))
        clsid = CLSID_TarnviewUnpluggedCamera;
    return clsid;
}

HRESULT Unregister(IFilterMapper2* mapper, const FoundDevice& device)
{
    return mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, device.instance.c_str(),
                                    StoredClassId(device.bag.Get()));
}

// S_OK with *found set, S_FALSE when no software device has this instance name.
HRESULT FindDevice(const std::wstring& instance, FoundDevice* found)
{
    std::vector<FoundDevice> devices;
    const HRESULT hr = EnumerateVideoInputDevices(&devices);
    if (FAILED(hr))
        return hr;
    for (FoundDevice& device : devices)
    {
        if (!device.instance.empty() && _wcsicmp(device.instance.c_str(), instance.c_str()) == 0)
        {
            *found = device;
            return S_OK;
        }
    }
    return S_FALSE;
}

HRESULT RemoveIfOurs(IFilterMapper2* mapper, const std::wstring& instance)
{
    FoundDevice device;
    const HRESULT hr = FindDevice(instance, &device);
    if (hr != S_OK)
        return hr;
    if (!IsOurDevice(device.bag.Get()))
        return VCAM_E_NOT_OURS;
    return Unregister(mapper, device);
}

HRESULT RegisterDevice(IFilterMapper2* mapper, const DeviceSpec& entry, ComPtr<IMoniker>* moniker)
{
    REGPINTYPES video = {&MEDIATYPE_Video, &MEDIASUBTYPE_NULL};
    REGFILTERPINS2 pin = {};
    pin.dwFlags = REG_PINFLAG_B_OUTPUT;
    pin.cInstances = 1;
    pin.nMediaTypes = 1;
    pin.lpMediaType = &video;
    pin.clsPinCategory = &PIN_CATEGORY_CAPTURE;
    REGFILTER2 filter = {};
    filter.dwVersion = 2;
    filter.dwMerit = MERIT_DO_NOT_USE;
    filter.cPins2 = 1;
    filter.rgPins2 = &pin;
    const CLSID& clsid = entry.unbindable ? CLSID_TarnviewUnpluggedCamera : CLSID_TarnviewVirtualCamera;
    return mapper->RegisterFilter(clsid, entry.friendlyName.c_str(), &*moniker,
                                  &CLSID_VideoInputDeviceCategory, entry.instance.c_str(), &filter);
}

// The mapper hands the device's moniker back; should it not, the enumerator finds it.
HRESULT OpenDeviceBag(const ComPtr<IMoniker>& moniker, const std::wstring& instance,
                      ComPtr<IPropertyBag>* bag)
{
    if (moniker)
        return moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&*bag));
    FoundDevice device;
    const HRESULT hr = FindDevice(instance, &device);
    if (hr != S_OK || !device.bag)
        return FAILED(hr) ? hr : E_UNEXPECTED;
    *bag = device.bag;
    return S_OK;
}

}  // namespace

HRESULT AddDevice(const DeviceSpec& entry)
{
    if (!ValidInstance(entry.instance) || entry.friendlyName.empty() || !SettingsAreValid(entry.settings))
        return E_INVALIDARG;
    ComPtr<IFilterMapper2> mapper;
    HRESULT hr = CreateMapper(&mapper);
    if (SUCCEEDED(hr))
        hr = RemoveIfOurs(mapper.Get(), entry.instance);
    ComPtr<IMoniker> moniker;
    if (SUCCEEDED(hr))
        hr = RegisterDevice(mapper.Get(), entry, &moniker);
    if (FAILED(hr))
        return hr;
    ComPtr<IPropertyBag> bag;
    hr = OpenDeviceBag(moniker, entry.instance, &bag);
    if (SUCCEEDED(hr))
        hr = SaveDeviceSettings(bag.Get(), entry.settings);
    if (FAILED(hr))  // a device without its settings would behave as another one: take it away
        mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, entry.instance.c_str(),
                                 entry.unbindable ? CLSID_TarnviewUnpluggedCamera
                                                  : CLSID_TarnviewVirtualCamera);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT RemoveDevice(const std::wstring& instance)
{
    if (!ValidInstance(instance))
        return E_INVALIDARG;
    ComPtr<IFilterMapper2> mapper;
    const HRESULT hr = CreateMapper(&mapper);
    return FAILED(hr) ? hr : RemoveIfOurs(mapper.Get(), instance);
}

HRESULT RemoveAllDevices()
{
    ComPtr<IFilterMapper2> mapper;
    HRESULT hr = CreateMapper(&mapper);
    std::vector<FoundDevice> devices;
    if (SUCCEEDED(hr))
        hr = EnumerateVideoInputDevices(&devices);
    HRESULT result = hr;
    for (const FoundDevice& device : devices)
    {
        if (device.instance.empty() || !IsOurDevice(device.bag.Get()))
            continue;
        hr = Unregister(mapper.Get(), device);
        if (FAILED(hr) && SUCCEEDED(result))
            result = hr;
    }
    return result;
}

std::vector<std::wstring> ListDeviceNames()
{
    std::vector<FoundDevice> devices;
    std::vector<std::wstring> names;
    if (FAILED(EnumerateVideoInputDevices(&devices)))
        return names;
    for (const FoundDevice& device : devices)
    {
        std::wstring name;
        if (SUCCEEDED(ReadBagText(device.bag.Get(), L"FriendlyName", &name)))
            names.push_back(name);
    }
    return names;
}
