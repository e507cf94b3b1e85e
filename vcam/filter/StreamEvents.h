// What a pin's streaming thread reports while it runs: the frame counts a capture pin
// answers IAMDroppedFrames with, and the events its device raises in the graph.
#pragma once

#include <windows.h>

#include <atomic>

struct FrameCounts
{
    std::atomic<long> sent{0};     // delivered downstream
    std::atomic<long> dropped{0};  // slots the stream fell too far behind to fill

    void Reset()
    {
        sent = 0;
        dropped = 0;
    }
};

class StreamEvents
{
public:
    // The device was unplugged (its stream has ended).
    virtual void DeviceLost() = 0;
    // The unplugged device is back.
    virtual void DeviceBack() = 0;
    // Downstream refused a frame with an error while the stream ran: the stream stops.
    virtual void StreamFailed(HRESULT hr) = 0;

protected:
    ~StreamEvents() = default;
};
