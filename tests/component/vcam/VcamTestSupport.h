// Shared pieces of the virtual camera's component tests: COM, devices registered for
// one test, binding them as a capture program does, and the DLL's live-object count.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "vcam/registry/VcamDevices.h"

using Microsoft::WRL::ComPtr;

class ComApartment
{
public:
    ComApartment() : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() { if (SUCCEEDED(m_hr)) CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT m_hr;
};

// Registers devices for the lifetime of one test and removes every device of ours after.
class DeviceScope
{
public:
    DeviceScope();
    ~DeviceScope();
    DeviceScope(const DeviceScope&) = delete;
    DeviceScope& operator=(const DeviceScope&) = delete;

    // Registers the device and binds it; fails the test when either fails.
    ComPtr<IBaseFilter> Add(const std::wstring& friendlyName, const DeviceSettings& settings = DeviceSettings());
};

ComPtr<IBaseFilter> BindDevice(const std::wstring& friendlyName);

// VcamLiveObjects() of the loaded DLL (which the tests keep loaded), or -1.
LONG LiveObjects();

std::vector<ComPtr<IPin>> PinsOf(IBaseFilter* filter);
ComPtr<IPin> PinOfCategory(IBaseFilter* filter, const GUID& category);
GUID CategoryOf(IPin* pin);
ComPtr<IAMStreamConfig> StreamConfigOf(IPin* pin);
ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION direction);

// An RGB24 VIDEOINFOHEADER type as a program would pass to SetFormat.
struct OwnedMediaType
{
    AM_MEDIA_TYPE mt = {};
    VIDEOINFOHEADER vih = {};
    OwnedMediaType(LONG width, LONG height, REFERENCE_TIME interval);
    OwnedMediaType(const OwnedMediaType&) = delete;
    OwnedMediaType& operator=(const OwnedMediaType&) = delete;
};

// Frees an AM_MEDIA_TYPE handed out in task memory.
void DeleteMediaTypeRecord(AM_MEDIA_TYPE* mt);
struct MediaTypeRecordDeleter
{
    void operator()(AM_MEDIA_TYPE* mt) const { DeleteMediaTypeRecord(mt); }
};

const VIDEOINFOHEADER* VideoInfoOf(const AM_MEDIA_TYPE& mt);

// Runs a filter graph state change and returns when it took effect (or the timeout passed).
HRESULT WaitForState(IMediaControl* control, OAFilterState wanted, DWORD timeoutMs = 5000);
