#include "CameraDevice.h"

#include <dshow.h>

#include <fstream>
#include <vector>

#include "TestFiles.h"
#include "UnixShell.h"
#include "vcam/frame/FrameStamp.h"

using Microsoft::WRL::ComPtr;

CameraDevice::CameraDevice(const DeviceSettings& settings)
{
    RemoveAllDevices();
    DeviceSpec entry;
    entry.instance = L"01";
    entry.friendlyName = L"Winecompat Test Camera";
    entry.settings = settings;
    m_added = AddDevice(entry);
}

CameraDevice::~CameraDevice()
{
    RemoveAllDevices();
}

HRESULT CameraDevice::Bind(ComPtr<IBaseFilter>* filter) const
{
    ComPtr<ICreateDevEnum> devices;
    ComPtr<IEnumMoniker> monikers;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&devices));
    if (SUCCEEDED(hr))
        hr = devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0);
    if (hr != S_OK)
        return FAILED(hr) ? hr : VFW_E_NOT_FOUND;
    ComPtr<IMoniker> moniker;
    if (monikers->Next(1, &moniker, nullptr) != S_OK)
        return VFW_E_NOT_FOUND;
    return moniker->BindToObject(nullptr, nullptr, IID_PPV_ARGS(filter->ReleaseAndGetAddressOf()));
}

std::vector<uint32_t> StampedFrameNumbers(const std::string& unixAvi)
{
    // Only the top-left corner carries the stamp; decoding just that keeps large clips cheap.
    const std::string raw = unixAvi + ".stamps.bgr";
    RunUnixShell("ffmpeg -y -v error -i " + unixAvi + " -vf crop=" + std::to_string(FrameStampMinWidth) + ":" +
                     std::to_string(FrameStampMinHeight) + ":0:0 -f rawvideo -pix_fmt bgr24 " + raw,
                 ScratchDirUnix() + "/extract.log", 600000);
    std::vector<uint32_t> numbers;
    std::ifstream in(WindowsPathA(raw), std::ios::binary);
    const LONG stride = FrameStampMinWidth * 3;
    std::vector<BYTE> frame(static_cast<size_t>(stride) * FrameStampMinHeight);
    while (in.read(reinterpret_cast<char*>(frame.data()), static_cast<std::streamsize>(frame.size()))) {
        uint32_t number = 0;
        if (ReadFrameNumberTopDown(frame.data(), FrameStampMinWidth, FrameStampMinHeight, stride, &number))
            numbers.push_back(number);
    }
    in.close();
    DeleteFileA(WindowsPathA(raw).c_str());
    return numbers;
}
