// Registering virtual devices in the video input category, and removing them.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "vcam/registry/DeviceSettings.h"

struct DeviceSpec
{
    std::wstring instance;  // instance key name; devices enumerate in this key's order, e.g. L"01"
    std::wstring friendlyName;
    bool unbindable = false;  // registered with CLSID_TarnviewUnpluggedCamera
    DeviceSettings settings;
};

// The instance name belongs to a device that vcamctl did not add: it is left alone.
constexpr HRESULT VCAM_E_NOT_OURS = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201);

// Registers the device (replacing one with the same instance name), stores its
// settings beside FriendlyName and marks it as ours; VCAM_E_NOT_OURS when the instance
// name is taken by another device. The caller has COM initialised.
HRESULT AddDevice(const DeviceSpec& entry);

// Removes the device with this instance name if it is ours; S_FALSE when there is none,
// VCAM_E_NOT_OURS when it is someone else's.
HRESULT RemoveDevice(const std::wstring& instance);

// Removes every device marked as ours; others' devices stay.
HRESULT RemoveAllDevices();

// Friendly names of every video input device, in enumeration order.
std::vector<std::wstring> ListDeviceNames();
