#include "VcamTestSupport.h"

#include <gtest/gtest.h>

namespace
{

HMODULE VcamModule()
{
    // Loaded once and kept, so that the count survives the filters' releases.
    static HMODULE module = LoadLibraryW(L"tarnview-vcam.dll");
    return module;
}

}  // namespace

DeviceScope::DeviceScope()
{
    RemoveAllDevices();
}

DeviceScope::~DeviceScope()
{
    RemoveAllDevices();
}

ComPtr<IBaseFilter> DeviceScope::Add(const std::wstring& friendlyName, const DeviceSettings& settings)
{
    static int counter = 0;
    DeviceSpec entry;
    entry.instance = L"vcamtest" + std::to_wstring(++counter);
    entry.friendlyName = friendlyName;
    entry.settings = settings;
    const HRESULT hr = AddDevice(entry);
    EXPECT_EQ(S_OK, hr);
    ComPtr<IBaseFilter> filter = BindDeviceByName(friendlyName);
    EXPECT_TRUE(filter);
    return filter;
}

LONG LiveObjects()
{
    HMODULE module = VcamModule();
    if (!module)
        return -1;
    using Fn = LONG(WINAPI*)();
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, "VcamLiveObjects")));
    return fn ? fn() : -1;
}

std::vector<ComPtr<IPin>> PinsOf(IBaseFilter* filter)
{
    std::vector<ComPtr<IPin>> pins;
    ComPtr<IEnumPins> enumerator;
    if (FAILED(filter->EnumPins(&enumerator)))
        return pins;
    ComPtr<IPin> pin;
    while (enumerator->Next(1, &pin, nullptr) == S_OK)
        pins.push_back(pin);
    return pins;
}

GUID CategoryOf(IPin* pin)
{
    GUID category = GUID_NULL;
    ComPtr<IKsPropertySet> properties;
    DWORD size = 0;
    if (SUCCEEDED(pin->QueryInterface(IID_PPV_ARGS(&properties))))
        properties->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &category, sizeof(category),
                        &size);
    return category;
}

ComPtr<IPin> PinOfCategory(IBaseFilter* filter, const GUID& category)
{
    for (const ComPtr<IPin>& pin : PinsOf(filter))
        if (CategoryOf(pin.Get()) == category)
            return pin;
    return nullptr;
}

ComPtr<IAMStreamConfig> StreamConfigOf(IPin* pin)
{
    ComPtr<IAMStreamConfig> config;
    pin->QueryInterface(IID_PPV_ARGS(&config));
    return config;
}

OwnedMediaType::OwnedMediaType(LONG width, LONG height, REFERENCE_TIME interval)
{
    const LONG stride = (width * 3 + 3) & ~3;
    vih.AvgTimePerFrame = interval;
    vih.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih.bmiHeader.biWidth = width;
    vih.bmiHeader.biHeight = height;
    vih.bmiHeader.biPlanes = 1;
    vih.bmiHeader.biBitCount = 24;
    vih.bmiHeader.biCompression = BI_RGB;
    vih.bmiHeader.biSizeImage = static_cast<DWORD>(stride * (height < 0 ? -height : height));
    mt.majortype = MEDIATYPE_Video;
    mt.subtype = MEDIASUBTYPE_RGB24;
    mt.formattype = FORMAT_VideoInfo;
    mt.bFixedSizeSamples = TRUE;
    mt.lSampleSize = vih.bmiHeader.biSizeImage;
    mt.cbFormat = sizeof(vih);
    mt.pbFormat = reinterpret_cast<BYTE*>(&vih);
}

const VIDEOINFOHEADER* VideoInfoOf(const AM_MEDIA_TYPE& mt)
{
    if (mt.formattype != FORMAT_VideoInfo || mt.cbFormat < sizeof(VIDEOINFOHEADER) || !mt.pbFormat)
        return nullptr;
    return reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
}

HRESULT WaitForState(IMediaControl* control, OAFilterState wanted, DWORD timeoutMs)
{
    HRESULT hr = E_FAIL;
    switch (wanted)
    {
    case State_Running:
        hr = control->Run();
        break;
    case State_Paused:
        hr = control->Pause();
        break;
    default:
        hr = control->Stop();
        break;
    }
    if (FAILED(hr))
        return hr;
    OAFilterState state = -1;
    const HRESULT stateHr = control->GetState(timeoutMs, &state);
    if (FAILED(stateHr))
        return stateHr;
    return state == wanted ? S_OK : E_FAIL;
}
