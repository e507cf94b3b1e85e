// IAMDroppedFrames on the capture pin: how many frames the stream has sent and how many
// slots it missed since the pin last started streaming, as capture drivers report them.
#include "vcam/filter/VcamPin.h"

#include "comkit/OutParam.h"
#include "vcam/filter/VcamFilter.h"

STDMETHODIMP VcamPin::GetNumDropped(long* dropped)
{
    return comkit::SetOut(dropped, static_cast<long>(m_counts.dropped.load()));
}

STDMETHODIMP VcamPin::GetNumNotDropped(long* notDropped)
{
    return comkit::SetOut(notDropped, static_cast<long>(m_counts.sent.load()));
}

// Which frames were dropped is not kept.
STDMETHODIMP VcamPin::GetDroppedInfo(long, long* frames, long* copied)
{
    if (!frames || !copied)
        return E_POINTER;
    *copied = 0;
    return S_OK;
}

STDMETHODIMP VcamPin::GetAverageFrameSize(long* averageSize)
{
    if (!averageSize)
        return E_POINTER;
    comkit::Lock data(m_filter.DataLock());
    VideoMode mode = m_formats.Current();
    ReadVideoType(ConnectedType(), &mode);
    *averageSize = ImageSize(mode.format);
    return S_OK;
}
