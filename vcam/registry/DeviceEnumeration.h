// Walking the video input category through the system device enumerator.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <objidl.h>
#include <wrl/client.h>
#include <string>
#include <vector>

struct FoundDevice
{
    Microsoft::WRL::ComPtr<IMoniker> moniker;
    Microsoft::WRL::ComPtr<IPropertyBag> bag;  // null when the device's storage cannot be opened
    std::wstring instance;                     // instance key name; empty unless a software device
};

// Every device of the category in enumeration order; an empty category is S_OK.
HRESULT EnumerateVideoInputDevices(std::vector<FoundDevice>* devices);

// The instance name of a "@device:sw:{category}\<instance>" display name, else empty.
std::wstring SoftwareDeviceInstance(const std::wstring& displayName);

HRESULT ReadBagText(IPropertyBag* bag, const wchar_t* name, std::wstring* text);

// Carries the marker value that vcamctl writes.
bool IsOurDevice(IPropertyBag* bag);
