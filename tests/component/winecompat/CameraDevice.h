// One virtual camera registered for a test, and its filter.
#pragma once

#include <strmif.h>
#include <wrl/client.h>

#include "vcam/registry/VcamDevices.h"

class CameraDevice
{
public:
    explicit CameraDevice(const DeviceSettings& settings);
    ~CameraDevice();
    CameraDevice(const CameraDevice&) = delete;
    CameraDevice& operator=(const CameraDevice&) = delete;

    HRESULT Added() const { return m_added; }
    // The first video input device, as the program finds its camera.
    HRESULT Bind(Microsoft::WRL::ComPtr<IBaseFilter>* filter) const;

private:
    HRESULT m_added;
};
