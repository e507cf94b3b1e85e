// Finding video input devices the way a capture program does (the system device
// enumerator), independent of the code under test.
#pragma once

#include <windows.h>
#include <strmif.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace support
{

std::wstring FriendlyNameOf(IMoniker* moniker);
// Every video input device's moniker, in the enumerator's order.
std::vector<Microsoft::WRL::ComPtr<IMoniker>> VideoInputMonikers();
// The first device with this friendly name, or null.
Microsoft::WRL::ComPtr<IMoniker> FindDeviceByName(const std::wstring& friendlyName);
// The filter of the first device with this friendly name that binds, or null.
Microsoft::WRL::ComPtr<IBaseFilter> BindDeviceByName(const std::wstring& friendlyName);
// The first video input device's filter, as a program that takes the first camera finds it.
HRESULT BindFirstDevice(Microsoft::WRL::ComPtr<IBaseFilter>* filter);
// What a camera says of its stream (IAMDroppedFrames on the first output pin that
// counts), -1 each when none does. A loaded machine makes a camera skip slots, so a
// recording holds `sent` frames and `dropped` empty ones, not rate times duration.
struct CameraCounts
{
    long sent = -1;
    long dropped = -1;
};
CameraCounts FramesCounted(IBaseFilter* camera);

}  // namespace support
