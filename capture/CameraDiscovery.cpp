#include "capture/CameraDiscovery.h"

#include <string>

#include "capture/DeviceName.h"
#include "comkit/Bstr.h"
#include "comkit/Variant.h"

using comkit::Bstr;
using comkit::Variant;
using Microsoft::WRL::ComPtr;

namespace
{
// The camera's own name, then two other names it goes by.
const wchar_t kPreferredName[] = L"Halcyon Nightframe Vesper";
const wchar_t* const kOtherPreferredNames[] = {L"QM-415", L"VCX 4100"};

enum class SearchPass
{
    Preferred,
    Any
};

bool SameName(BSTR left, BSTR right)
{
    return VarBstrCmp(left, right, LOCALE_USER_DEFAULT, NORM_IGNORECASE) == VARCMP_EQ;
}

bool IsPreferredName(BSTR name)
{
    for (const wchar_t* other : kOtherPreferredNames)
        if (SameName(name, Bstr(other).Get()))
            return true;
    return SameName(name, Bstr(kPreferredName).Get());
}

bool ReadFriendlyName(IMoniker* moniker, Variant& name)
{
    ComPtr<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag))))
        return false;
    // The variant stays VT_EMPTY: a Read that fails without writing leaves nothing to free.
    return SUCCEEDED(bag->Read(L"FriendlyName", name.Get(), nullptr)) && name.Value().vt == VT_BSTR;
}

void ShowCameraName(HWND label, const std::string& name)
{
    if (label)
        SetWindowTextA(label, name.c_str());
}

// One walk over the devices: shows each candidate's name before trying to bind it, as
// the user then sees which device a failed search tried last.
ComPtr<IBaseFilter> BindFirstCamera(IEnumMoniker* devices, SearchPass pass, HWND label)
{
    ComPtr<IMoniker> moniker;
    while (devices->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK)
    {
        Variant name;
        if (!ReadFriendlyName(moniker.Get(), name))
            continue;
        if (pass == SearchPass::Preferred)
        {
            if (!IsPreferredName(name.Value().bstrVal))
                continue;
            Bstr shown(kPreferredName);
            ShowCameraName(label, AnsiDeviceName(shown.Get()));
        }
        else
        {
            ShowCameraName(label, AnsiDeviceName(name.Value().bstrVal));
        }
        ComPtr<IBaseFilter> camera;
        moniker->BindToObject(nullptr, nullptr, IID_PPV_ARGS(&camera));
        if (camera)
            return camera;
    }
    return nullptr;
}
}  // namespace

ComPtr<IBaseFilter> FindCameraFilter(HWND nameLabel)
{
    ComPtr<ICreateDevEnum> deviceEnum;
    CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&deviceEnum));
    if (!deviceEnum)
        return nullptr;
    // An empty category gives S_FALSE and no enumerator: test the pointer.
    ComPtr<IEnumMoniker> devices;
    deviceEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, devices.GetAddressOf(), 0);
    if (!devices)
        return nullptr;
    devices->Reset();
    ComPtr<IBaseFilter> found = BindFirstCamera(devices.Get(), SearchPass::Preferred, nameLabel);
    if (!found)
    {
        devices->Reset();
        found = BindFirstCamera(devices.Get(), SearchPass::Any, nameLabel);
    }
    return found;
}
