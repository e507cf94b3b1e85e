// The pin's identity and the queries on its connection.
#include "vcam/filter/VcamPin.h"

#include "vcam/filter/VcamFilter.h"

using Microsoft::WRL::ComPtr;

namespace
{
const wchar_t* PinName(PinRole role)
{
    switch (role)
    {
    case PinRole::Preview:
        return L"Preview";
    case PinRole::VideoPort:
        return L"Video Port";
    case PinRole::Capture:
        break;
    }
    return L"Capture";
}
}  // namespace

VcamPin::VcamPin(VcamFilter& filter, PinRole role)
    : OutputPinBase(filter, PinName(role)),
      m_filter(filter),
      m_role(role)
{
    m_formats.UseScene(&filter.Scene());
}

VcamPin::~VcamPin() = default;

const comkit::InterfaceEntry* VcamPin::Interfaces()
{
    using namespace comkit;
    return InterfaceTable<VcamPin, Is<IPin>, Is<IKsPropertySet>, Is<IQualityControl>,
                          IsIf<IAMStreamConfig, &VcamPin::OffersStreamConfig>,
                          IsIf<IAMDroppedFrames, &VcamPin::OffersDroppedFrames>>();
}

void VcamPin::Configure(const DeviceSettings& settings)
{
    comkit::Lock data(m_filter.DataLock());
    m_formats.Configure(settings.formats, settings.fps, settings.videoInfo2);
    m_faults = settings.faults;
    m_stopAfterFrames = settings.stopAfterFrames;
    m_irregular = Irregularity{settings.firstFrameDelay, settings.jitter, settings.dropFrom, settings.dropCount};
}

bool VcamPin::OffersStreamConfig()
{
    comkit::Lock data(m_filter.DataLock());
    return m_role != PinRole::VideoPort && !(m_faults & VcamFault::NoStreamConfig);
}

STDMETHODIMP VcamPin::QueryAccept(const AM_MEDIA_TYPE* pmt)
{
    if (!pmt)
        return E_POINTER;
    comkit::Lock data(m_filter.DataLock());
    VideoMode mode;
    return m_formats.Accept(*pmt, &mode) ? S_OK : S_FALSE;
}

// A live camera cannot slow its sensor down: quality messages are taken and ignored.
STDMETHODIMP VcamPin::Notify(IBaseFilter*, Quality)
{
    return S_OK;
}

STDMETHODIMP VcamPin::SetSink(IQualityControl*)
{
    return S_OK;
}
