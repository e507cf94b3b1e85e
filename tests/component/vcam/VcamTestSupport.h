// Shared pieces of the virtual camera's component tests: COM, devices registered for
// one test, binding them as a capture program does, and the DLL's live-object count.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "comkit/ComApartment.h"
#include "comkit/MediaType.h"
#include "comkit/NonCopyable.h"
#include "support/DeviceLookup.h"
#include "support/Pins.h"
#include "vcam/registry/VcamDevices.h"

using Microsoft::WRL::ComPtr;

using comkit::ComApartment;

// Registers devices for the lifetime of one test and removes every device of ours after.
class DeviceScope : comkit::NonCopyable
{
public:
    DeviceScope();
    ~DeviceScope();

    // Registers the device and binds it; fails the test when either fails.
    ComPtr<IBaseFilter> Add(const std::wstring& friendlyName,
                            const DeviceSettings& settings = DeviceSettings());
};

using support::BindDeviceByName;

// VcamLiveObjects() of the loaded DLL (which the tests keep loaded), or -1.
LONG LiveObjects();

std::vector<ComPtr<IPin>> PinsOf(IBaseFilter* filter);
ComPtr<IPin> PinOfCategory(IBaseFilter* filter, const GUID& category);
GUID CategoryOf(IPin* pin);
ComPtr<IAMStreamConfig> StreamConfigOf(IPin* pin);
using support::FirstPin;

// An RGB24 VIDEOINFOHEADER type as a program would pass to SetFormat.
struct OwnedMediaType
{
    AM_MEDIA_TYPE mt = {};
    VIDEOINFOHEADER vih = {};
    OwnedMediaType(LONG width, LONG height, REFERENCE_TIME interval);
    OwnedMediaType(const OwnedMediaType&) = delete;
    OwnedMediaType& operator=(const OwnedMediaType&) = delete;
};

using comkit::DeleteMediaType;
using comkit::TaskMediaType;

const VIDEOINFOHEADER* VideoInfoOf(const AM_MEDIA_TYPE& mt);

// Runs a filter graph state change and returns when it took effect (or the timeout passed).
HRESULT WaitForState(IMediaControl* control, OAFilterState wanted, DWORD timeoutMs = 30000);
