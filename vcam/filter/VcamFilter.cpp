#include "vcam/filter/VcamFilter.h"

#include "vcam/VcamGuids.h"

using Microsoft::WRL::ComPtr;

HRESULT CreateVcamFilter(REFIID riid, void** ppv)
{
    return comkit::CreateObject<VcamFilter>(riid, ppv);
}

VcamFilter::VcamFilter()
    : FilterBase(CLSID_TarnviewVirtualCamera),
      m_capture(new comkit::Part<VcamPin>(*this, PinRole::Capture)),
      m_preview(new comkit::Part<VcamPin>(*this, PinRole::Preview)),
      m_videoPort(new comkit::Part<VcamPin>(*this, PinRole::VideoPort))
{
    ApplySettings(DeviceSettings());
}

VcamFilter::~VcamFilter()
{
    // Released while running (its graph gone without stopping it): end the threads first.
    StopStreaming();
}

const comkit::InterfaceEntry* VcamFilter::Interfaces()
{
    using namespace comkit;
    return InterfaceTable<VcamFilter, Is<IBaseFilter>, As<IBaseFilter, IMediaFilter>,
                          As<IBaseFilter, IPersist>, Is<IAMFilterMiscFlags>, Is<IAMCameraControl>, Is<IVcamScene>,
                          Is<IPersistPropertyBag>,
                          IsIf<ISpecifyPropertyPages, &VcamFilter::OffersPropertyPages>>();
}

bool VcamFilter::OffersPropertyPages()
{
    comkit::Lock data(DataLock());
    return !(m_settings.faults & VcamFault::NoPropertyPages);
}

comkit::PinBase* VcamFilter::PinAt(size_t index)
{
    const PinList pins = VisiblePins();
    return index < pins.count ? pins.pins[index] : nullptr;
}

HRESULT VcamFilter::OnPause(FILTER_STATE from)
{
    if (from == State_Stopped)
        m_events.Rearm();
    for (VcamPin* pin : VisiblePins())
    {
        if (!pin->IsConnected())
            continue;
        if (from == State_Running)
        {
            pin->Pause();
            continue;
        }
        if (from == State_Stopped)
        {
            const HRESULT hr = pin->Activate();
            if (FAILED(hr))
                return hr;
        }
    }
    return S_OK;
}

HRESULT VcamFilter::OnRun(REFERENCE_TIME streamStart)
{
    const ComPtr<IReferenceClock> clock = Clock();
    for (VcamPin* pin : VisiblePins())
    {
        if (!pin->IsConnected())
            continue;
        const HRESULT hr = pin->Run(streamStart, clock);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

void VcamFilter::OnStop()
{
    StopStreaming();
}

VcamFilter::PinList VcamFilter::VisiblePins()
{
    comkit::Lock data(DataLock());
    PinList list = {{m_capture.get(), nullptr, nullptr}, 1};
    if (m_settings.previewPin)
        list.pins[list.count++] = m_preview.get();
    if (m_settings.videoPortPin)
        list.pins[list.count++] = m_videoPort.get();
    return list;
}

bool VcamFilter::AnyPinConnected()
{
    return m_capture->IsConnected() || m_preview->IsConnected() || m_videoPort->IsConnected();
}

void VcamFilter::StopStreaming()
{
    m_capture->Deactivate();
    m_preview->Deactivate();
    m_videoPort->Deactivate();
}
