// The pin's part in the filter's state changes: its allocator and streaming thread.
#include "vcam/filter/VcamPin.h"

#include <new>

#include "vcam/filter/VcamFilter.h"

using Microsoft::WRL::ComPtr;

namespace
{
// How long an unplugged device with the replug fault stays away, in 100 ns units.
constexpr REFERENCE_TIME kReplugDelay = 2 * 10000000;
}  // namespace

HRESULT VcamPin::Activate()
{
    const HRESULT hr = Commit();
    m_counts.Reset();
    // The thread starts here, so that it has drawn its first frame ahead before Run.
    return FAILED(hr) ? hr : StartWorker();
}

HRESULT VcamPin::StartWorker()
{
    if (m_worker)
        return S_OK;
    std::unique_ptr<StreamWorker> worker(new (std::nothrow) StreamWorker(MakeStreamSetup()));
    if (!worker)
        return E_OUTOFMEMORY;
    const HRESULT hr = worker->Start();
    if (FAILED(hr))
        return hr;
    m_worker = std::move(worker);
    return S_OK;
}

HRESULT VcamPin::Run(REFERENCE_TIME streamStart, ComPtr<IReferenceClock> clock)
{
    const HRESULT hr = StartWorker();
    if (FAILED(hr))
        return hr;
    m_worker->Run(streamStart, std::move(clock));
    return S_OK;
}

void VcamPin::Pause()
{
    if (m_worker)
        m_worker->Pause();
}

void VcamPin::Deactivate()
{
    if (m_worker)
        m_worker->RequestStop();
    Decommit();  // wakes a streaming thread that waits for a free buffer
    if (m_worker)
        m_worker->Join();
    m_worker.reset();
}

StreamSetup VcamPin::MakeStreamSetup()
{
    comkit::Lock data(m_filter.DataLock());
    VideoMode mode = m_formats.Current();
    ReadVideoType(ConnectedType(), &mode);
    // The interval as set: the connected type's may carry a since shortened exposure.
    mode.interval = m_formats.Current().interval;
    StreamSetup setup;
    setup.allocator = Allocator();
    setup.input = PeerInput();
    setup.format = mode.format;
    setup.imageSize = ImageSize(mode.format);
    setup.interval = mode.interval;
    setup.irregular = m_irregular;
    setup.stopAfterFrames = m_stopAfterFrames;
    setup.unplugAtEnd = (m_faults & VcamFault::Unplug) != 0;
    setup.replugAfter = (m_faults & VcamFault::Replug) ? kReplugDelay : 0;
    setup.events = &m_filter.Events();
    setup.counts = &m_counts;
    setup.scene = &m_filter.Scene();
    setup.nextNumber = &m_nextNumber;
    return setup;
}
