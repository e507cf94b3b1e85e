// Registering virtual devices in the video input category, and removing them.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "vcam/registry/DeviceSettings.h"

struct DeviceSpec
{
    std::wstring instance;     // instance key name; devices enumerate in this key's order, e.g. L"01"
    std::wstring friendlyName;
    bool unbindable = false;   // registered with CLSID_TarnviewUnpluggedCamera
    DeviceSettings settings;
};

// Registers the device (replacing one with the same instance name), stores its
// settings beside FriendlyName and marks it as ours. The caller has COM initialised.
HRESULT AddDevice(const DeviceSpec& spec);

// Removes the device with this instance name if it is ours; S_FALSE when there is none.
HRESULT RemoveDevice(const std::wstring& instance);

// Removes every device marked as ours; others' devices stay.
HRESULT RemoveAllDevices();

// Friendly names of every video input device, in enumeration order.
std::vector<std::wstring> ListDeviceNames();
