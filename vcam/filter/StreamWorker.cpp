#include "vcam/filter/StreamWorker.h"

#include <objbase.h>
#include <algorithm>
#include <chrono>
#include <system_error>
#include <vector>

#include "comkit/ComApartment.h"
#include "vcam/filter/FrameSchedule.h"

using Microsoft::WRL::ComPtr;

namespace
{

// 100 ns units from the performance counter, for graphs that run without a clock.
REFERENCE_TIME CounterTime()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<REFERENCE_TIME>(counter.QuadPart / frequency.QuadPart * 10000000 +
                                       counter.QuadPart % frequency.QuadPart * 10000000 / frequency.QuadPart);
}

REFERENCE_TIME ClockTime(IReferenceClock* clock)
{
    REFERENCE_TIME now = 0;
    if (clock && SUCCEEDED(clock->GetTime(&now)))
        return now;
    return CounterTime();
}

}  // namespace

StreamWorker::StreamWorker(StreamSetup setup) : m_setup(std::move(setup)), m_painter(m_setup.format)
{
}

StreamWorker::~StreamWorker()
{
    RequestStop();
    Join();
}

HRESULT StreamWorker::Start()
{
    try
    {
        m_thread = std::thread(&StreamWorker::ThreadMain, this);
        return S_OK;
    }
    catch (const std::system_error&)
    {
        return E_FAIL;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

void StreamWorker::Run(REFERENCE_TIME streamStart, ComPtr<IReferenceClock> clock)
{
    const REFERENCE_TIME now = ClockTime(clock.Get());
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_running = true;
        ++m_generation;
        m_captureStart = now;
        // Without a clock the stream's time starts now, on the counter.
        m_streamStart = clock ? streamStart : now;
        m_clock = std::move(clock);
    }
    m_wake.notify_all();
}

void StreamWorker::Pause()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_running = false;
    ++m_generation;
    m_wake.notify_all();
    // Lets a frame already on its way finish, so that filters stopped after us see no
    // more samples. Bounded: a paused renderer may hold that frame until it stops.
    m_wake.wait_for(lock, std::chrono::milliseconds(PauseGraceMs), [this] { return !m_delivering; });
}

void StreamWorker::RequestStop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
}

void StreamWorker::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

void StreamWorker::ThreadMain()
{
    comkit::ComApartment apartment(COINIT_MULTITHREADED);
    try
    {
        StreamLoop();
    }
    catch (...)
    {
        // Out of memory while drawing: the stream falls silent, as a failing camera would.
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_clock.Reset();
        m_delivering = false;
    }
    m_wake.notify_all();
}

void StreamWorker::StreamLoop()
{
    // One frame drawn ahead, so that the generator's per-size preparation does not
    // make the first real frame late. Drawn as the frame before the next one, so that
    // an encoder working a frame ahead has the first real frame ready.
    std::vector<BYTE> scratch(static_cast<size_t>(m_setup.imageSize));
    LONG length = 0;
    m_painter.Paint(m_setup.nextNumber->load() - 1, m_setup.scene->Get(), scratch.data(), m_setup.imageSize,
                    &length);
    scratch = std::vector<BYTE>();

    RunParams params;
    while (WaitForRun(&params))
    {
        if (!StreamRun(params))
            return;
    }
}

// One run of the graph; false once the stream has reached its set end.
bool StreamWorker::StreamRun(const RunParams& params)
{
    // The first frame is captured at once and stamped in stream time, as a real
    // camera stamps it: a frame taken before the graph's stream start (it starts
    // streams a little after Run) carries a negative time, so a clocked renderer
    // shows it at once. After a pause the stamps never go back behind the last one.
    // A camera still preparing its first picture when the graph ran (a large sky, the
    // first JPEG) begins capturing once it is ready, rather than count the slots it
    // was not ready for as dropped frames.
    const REFERENCE_TIME start = std::max(params.captureStart, ClockTime(params.clock.Get()));
    const REFERENCE_TIME captured = std::max(start - params.streamStart, m_lastStop);
    // How far the first sample is ahead of the graph's stream time.
    const REFERENCE_TIME lead = params.streamStart + captured - start;
    const REFERENCE_TIME delay = m_started ? 0 : m_setup.irregular.firstFrameDelay;
    m_started = true;
    const REFERENCE_TIME stampBase = captured + delay;
    FrameSchedule schedule(start + delay, FrameInterval(), lead);
    bool first = true;
    for (;;)
    {
        const REFERENCE_TIME interval = FrameInterval();
        if (interval != schedule.Interval())
            schedule.Retime(interval);
        if (!SleepUntil(schedule.Due() + Lateness(), params))
            return true;
        if (m_setup.stopAfterFrames && m_delivered >= m_setup.stopAfterFrames)
        {
            FinishDelivery();
            EndStream(params);
            return false;
        }
        REFERENCE_TIME held = 0;
        const REFERENCE_TIME stamp = stampBase + schedule.Elapsed();
        const HRESULT hr = FillSlot(stamp, stamp + interval, &first, params, &held);
        FinishDelivery();
        if (hr != S_OK)
        {
            // Downstream refused the frame: silent until the graph changes state.
            ReportRefusal(hr, params);
            WaitForStateChange(params);
            return true;
        }
        const LONGLONG slot = schedule.Slot();
        schedule.Advance(ClockTime(params.clock.Get()), held);
        if (m_setup.counts && schedule.Slot() > slot + 1)
            m_setup.counts->dropped += static_cast<long>(schedule.Slot() - slot - 1);
    }
}

// A frame of the set drop burst is counted and never sent; any other is delivered.
HRESULT StreamWorker::FillSlot(REFERENCE_TIME start, REFERENCE_TIME stop, bool* first, const RunParams& params,
                               REFERENCE_TIME* held)
{
    if (Dropped(m_setup.nextNumber->load()))
    {
        m_setup.nextNumber->fetch_add(1);
        if (m_setup.counts)
            ++m_setup.counts->dropped;
        return S_OK;
    }
    const HRESULT hr = DeliverFrame(start, stop, *first, params, held);
    *first = false;
    return hr;
}

REFERENCE_TIME StreamWorker::FrameInterval() const
{
    return std::max(m_setup.interval, static_cast<REFERENCE_TIME>(m_setup.scene->Get().exposure));
}

REFERENCE_TIME StreamWorker::Lateness()
{
    if (m_setup.irregular.jitter <= 0)
        return 0;
    return std::uniform_int_distribution<REFERENCE_TIME>(0, m_setup.irregular.jitter)(m_random);
}

bool StreamWorker::Dropped(uint32_t number) const
{
    return number >= m_setup.irregular.dropFrom && number - m_setup.irregular.dropFrom < m_setup.irregular.dropCount;
}

// The stream's set end: silent, or an unplugged device that may come back.
void StreamWorker::EndStream(const RunParams& params)
{
    if (!m_setup.unplugAtEnd || !m_setup.events)
        return;
    m_setup.events->DeviceLost();
    if (m_setup.replugAfter <= 0)
        return;
    if (SleepUntil(ClockTime(params.clock.Get()) + m_setup.replugAfter, params))
    {
        FinishDelivery();
        m_setup.events->DeviceBack();
    }
}

// An error from downstream while the run is current stops the stream and the graph
// hears why; refusals that come with a state change (a stopping or flushing filter
// downstream) are not errors of the stream.
void StreamWorker::ReportRefusal(HRESULT hr, const RunParams& params)
{
    if (!FAILED(hr) || hr == VFW_E_WRONG_STATE || hr == VFW_E_NOT_COMMITTED || hr == VFW_E_NOT_CONNECTED ||
        !m_setup.events)
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!RunIsCurrent(params))
            return;
    }
    m_setup.events->StreamFailed(hr);
}

void StreamWorker::FinishDelivery()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_delivering = false;
    }
    m_wake.notify_all();
}

bool StreamWorker::WaitForRun(RunParams* params)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait(lock, [this] { return m_stop || m_running; });
    if (m_stop)
        return false;
    *params = RunParams{m_generation, m_captureStart, m_streamStart, m_clock};
    return true;
}

void StreamWorker::WaitForStateChange(const RunParams& params)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait(lock, [&] { return !RunIsCurrent(params); });
}

bool StreamWorker::RunIsCurrent(const RunParams& params)
{
    return !m_stop && m_generation == params.generation;
}

bool StreamWorker::SleepUntil(REFERENCE_TIME due, const RunParams& params)
{
    for (;;)
    {
        const REFERENCE_TIME now = ClockTime(params.clock.Get());
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!RunIsCurrent(params))
            return false;
        if (now >= due)
        {
            m_delivering = true;
            return true;
        }
        const auto wait = std::chrono::milliseconds((due - now + 9999) / 10000);
        if (m_wake.wait_for(lock, wait, [&] { return !RunIsCurrent(params); }))
            return false;
    }
}

HRESULT StreamWorker::DeliverFrame(REFERENCE_TIME start, REFERENCE_TIME stop, bool discontinuity,
                                   const RunParams& params, REFERENCE_TIME* held)
{
    ComPtr<IMediaSample> sample;
    HRESULT hr = m_setup.allocator->GetBuffer(&sample, nullptr, nullptr, 0);
    if (FAILED(hr))
        return hr;
    BYTE* data = nullptr;
    if (sample->GetSize() < m_setup.imageSize || FAILED(sample->GetPointer(&data)) || !data)
        return E_FAIL;
    const uint32_t number = m_setup.nextNumber->fetch_add(1);
    LONG length = 0;
    if (FAILED(m_painter.Paint(number, m_setup.scene->Get(), data, sample->GetSize(), &length)))
    {
        // A JPEG that failed or did not fit: a frame the camera lost, not a fault downstream.
        if (m_setup.counts)
            ++m_setup.counts->dropped;
        return S_OK;
    }
    LONGLONG mediaStart = number, mediaStop = static_cast<LONGLONG>(number) + 1;
    sample->SetActualDataLength(length);
    sample->SetTime(&start, &stop);
    sample->SetMediaTime(&mediaStart, &mediaStop);
    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(discontinuity);
    sample->SetPreroll(FALSE);
    const REFERENCE_TIME handedOver = ClockTime(params.clock.Get());
    hr = m_setup.input->Receive(sample.Get());
    *held = ClockTime(params.clock.Get()) - handedOver;
    ++m_delivered;
    m_lastStop = stop;
    if (m_setup.counts && hr == S_OK)
        ++m_setup.counts->sent;
    return hr;
}
