// The virtual camera's events in its graph, raised through the graph's
// IMediaEventSink as a capture driver raises them: EC_DEVICE_LOST with 0 when the
// device is unplugged and with 1 when it is back, EC_STREAM_ERROR_STOPPED with the
// error when downstream refuses a frame. One filter raises each at most once per run,
// however many of its pins stream.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <atomic>

#include "vcam/filter/StreamEvents.h"

class VcamFilter;

class DeviceEvents final : public StreamEvents
{
public:
    explicit DeviceEvents(VcamFilter& filter) : m_filter(filter) {}

    // A new run after a stop may report again.
    void Rearm();

    void DeviceLost() override;
    void DeviceBack() override;
    void StreamFailed(HRESULT hr) override;

private:
    void Notify(long code, LONG_PTR param1, LONG_PTR param2);

    VcamFilter& m_filter;
    std::atomic<bool> m_lost{false};
    std::atomic<bool> m_back{false};
    std::atomic<bool> m_failed{false};
};
