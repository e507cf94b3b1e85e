#include "vcam/filter/DeviceEvents.h"

#include "vcam/filter/VcamFilter.h"

void DeviceEvents::Rearm()
{
    m_lost = false;
    m_back = false;
    m_failed = false;
}

void DeviceEvents::DeviceLost()
{
    if (!m_lost.exchange(true))
        Notify(EC_DEVICE_LOST, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(&m_filter)), 0);
}

void DeviceEvents::DeviceBack()
{
    if (!m_back.exchange(true))
        Notify(EC_DEVICE_LOST, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(&m_filter)), 1);
}

void DeviceEvents::StreamFailed(HRESULT hr)
{
    if (!m_failed.exchange(true))
        Notify(EC_STREAM_ERROR_STOPPED, hr, 0);
}

// Called on a streaming thread. The graph's event sink only queues the event and
// posts to the application's window; it never waits for another thread.
void DeviceEvents::Notify(long code, LONG_PTR param1, LONG_PTR param2)
{
    m_filter.NotifyEvent(code, param1, param2);
}
