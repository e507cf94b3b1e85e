// One output pin's streaming thread: paces frames on the graph's reference clock,
// draws them with the frame generator and pushes them downstream. Lives from the
// pin's first Run after a stop until the next Stop; Pause only holds it, because a
// paused renderer downstream may keep it inside Receive until the graph stops.
// Capture starts when the filter is run, not at the later stream start the graph
// hands over: samples are stamped from that moment, so a recording holds everything
// from Run on, without negative times.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <limits>
#include <mutex>
#include <random>
#include <thread>

#include "vcam/filter/SceneStore.h"
#include "vcam/filter/StreamEvents.h"
#include "vcam/filter/FramePainter.h"

// Irregular delivery asked for by the device's settings.
struct Irregularity
{
    REFERENCE_TIME firstFrameDelay = 0;  // the first frame after a stop comes this late
    REFERENCE_TIME jitter = 0;           // each frame comes up to this much late
    uint32_t dropFrom = 0;               // frame numbers dropFrom.. are dropped,
    uint32_t dropCount = 0;              // this many of them
};

struct StreamSetup
{
    Microsoft::WRL::ComPtr<IMemAllocator> allocator;
    Microsoft::WRL::ComPtr<IMemInputPin> input;
    VideoFormat format;
    LONG imageSize;  // the largest frame
    REFERENCE_TIME interval;            // as set; a longer exposure lengthens it
    Irregularity irregular;
    unsigned stopAfterFrames;           // 0 = never
    bool unplugAtEnd;                   // the end after stopAfterFrames is an unplugged device
    REFERENCE_TIME replugAfter;         // 0 = an unplugged device stays away
    StreamEvents* events;               // outlives the worker
    FrameCounts* counts;                // the pin's, outlives the worker
    const SceneStore* scene;            // outlives the worker
    std::atomic<uint32_t>* nextNumber;  // the pin's frame counter, outlives the worker
};

class StreamWorker
{
public:
    static constexpr int PauseGraceMs = 250;

    explicit StreamWorker(StreamSetup setup);
    ~StreamWorker();
    StreamWorker(const StreamWorker&) = delete;
    StreamWorker& operator=(const StreamWorker&) = delete;

    HRESULT Start();
    void Run(REFERENCE_TIME streamStart, Microsoft::WRL::ComPtr<IReferenceClock> clock);
    // Stops delivering; waits up to PauseGraceMs for a frame already on its way.
    void Pause();
    // Ends the thread; the caller decommits the allocator in between so that a
    // thread waiting for a buffer wakes up.
    void RequestStop();
    void Join();

private:
    struct RunParams
    {
        uint64_t generation;
        REFERENCE_TIME captureStart;  // clock time of the Run call
        REFERENCE_TIME streamStart;
        Microsoft::WRL::ComPtr<IReferenceClock> clock;
    };

    void ThreadMain();
    void StreamLoop();
    bool StreamRun(const RunParams& params);
    // The set interval, or the exposure when that is longer.
    REFERENCE_TIME FrameInterval() const;
    REFERENCE_TIME Lateness();
    bool Dropped(uint32_t number) const;
    HRESULT FillSlot(REFERENCE_TIME start, REFERENCE_TIME stop, bool* first, const RunParams& params,
                     REFERENCE_TIME* held);
    bool WaitForRun(RunParams* params);
    bool SleepUntil(REFERENCE_TIME due, const RunParams& params);
    bool RunIsCurrent(const RunParams& params);
    void WaitForStateChange(const RunParams& params);
    void FinishDelivery();
    void EndStream(const RunParams& params);
    void ReportRefusal(HRESULT hr, const RunParams& params);
    // `held` receives the time downstream kept the sample inside Receive.
    HRESULT DeliverFrame(REFERENCE_TIME start, REFERENCE_TIME stop, bool discontinuity,
                         const RunParams& params, REFERENCE_TIME* held);

    StreamSetup m_setup;
    FramePainter m_painter;
    unsigned m_delivered = 0;
    bool m_started = false;  // a run has begun since the stop that made this worker
    std::minstd_rand m_random;
    // Where the last frame ended, in stream time; none yet.
    REFERENCE_TIME m_lastStop = std::numeric_limits<REFERENCE_TIME>::min();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    bool m_running = false;
    bool m_delivering = false;  // between the decision to send a frame and Receive's return
    uint64_t m_generation = 0;
    REFERENCE_TIME m_captureStart = 0;
    REFERENCE_TIME m_streamStart = 0;
    Microsoft::WRL::ComPtr<IReferenceClock> m_clock;
    std::thread m_thread;
};
