#include "CameraDevice.h"

#include "support/DeviceLookup.h"

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

HRESULT CameraDevice::Bind(Microsoft::WRL::ComPtr<IBaseFilter>* filter) const
{
    return support::BindFirstDevice(filter);
}
