// The pin's formats (IAMStreamConfig) and category (IKsPropertySet).
#include "vcam/filter/VcamPin.h"

#include "vcam/filter/VcamFilter.h"

using Microsoft::WRL::ComPtr;

STDMETHODIMP VcamPin::SetFormat(AM_MEDIA_TYPE* pmt)
{
    if (!pmt)
        return E_POINTER;
    try
    {
        comkit::Lock state(m_filter.StateLock());
        if (m_filter.State() != State_Stopped)
            return VFW_E_NOT_STOPPED;
        VideoMode mode;
        {
            comkit::Lock data(m_filter.DataLock());
            if (!m_formats.Accept(*pmt, &mode))
                return VFW_E_INVALIDMEDIATYPE;
            if (!IsConnected())
            {
                m_formats.SetCurrent(mode);
                return S_OK;
            }
        }
        return ChangeConnectedFormat(mode);
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

// As capture drivers do: a connected pin changes format only if its peer takes the
// new type, and then reconnects through the graph.
HRESULT VcamPin::ChangeConnectedFormat(const VideoMode& mode)
{
    ComPtr<IPin> peer;
    comkit::MediaType wanted, connected;
    FormatCatalog previous;
    {
        comkit::Lock data(m_filter.DataLock());
        VideoMode current;
        // A long exposure keeps the connected interval whatever rate is asked for.
        if (ReadVideoType(ConnectedType(), &current) && SameFormat(current.format, mode.format) &&
            current.interval == m_formats.ExposedInterval(mode))
        {
            m_formats.SetCurrent(mode);
            return S_OK;  // nothing changes: no reason to disturb the peer
        }
        peer = Peer();
        previous = m_formats;
        HRESULT hr = connected.Assign(ConnectedType());
        if (SUCCEEDED(hr))
            hr = m_formats.TypeFor(mode, ConnectedType().formattype == FORMAT_VideoInfo2, &wanted);
        if (FAILED(hr))
            return hr;
        // Chosen before reconnecting: the reconnection offers the current format.
        m_formats.SetCurrent(mode);
    }
    HRESULT hr = peer->QueryAccept(&wanted.Get()) == S_OK ? Reconnect(wanted.Get()) : VFW_E_INVALIDMEDIATYPE;
    if (SUCCEEDED(hr))
        return hr;
    {
        comkit::Lock data(m_filter.DataLock());
        m_formats = previous;
    }
    // A reconnection that failed half way leaves the pins apart: join them as they were.
    if (!IsConnected())
        Connect(peer.Get(), &connected.Get());
    return hr;
}

HRESULT VcamPin::Reconnect(const AM_MEDIA_TYPE& mt)
{
    const ComPtr<IFilterGraph> graph = m_filter.Graph();
    ComPtr<IFilterGraph2> graph2;
    if (graph && SUCCEEDED(graph.As(&graph2)))
        return graph2->ReconnectEx(this, &mt);
    if (graph)
        return graph->Reconnect(this);
    // Outside a graph there is no one to ask: reconnect directly.
    ComPtr<IPin> peer;
    HRESULT hr = ConnectedTo(&peer);
    if (FAILED(hr))
        return hr;
    peer->Disconnect();
    Disconnect();
    return Connect(peer.Get(), &mt);
}

STDMETHODIMP VcamPin::GetFormat(AM_MEDIA_TYPE** pmt)
{
    if (!pmt)
        return E_POINTER;
    *pmt = nullptr;
    try
    {
        comkit::Lock data(m_filter.DataLock());
        if (m_faults & VcamFault::GetFormatFails)
            return E_FAIL;
        // The device's own header, also while connected with the other one: the
        // current format follows the connection's size and rate.
        comkit::MediaType current;
        const HRESULT hr = m_formats.CurrentType(&current);
        return FAILED(hr) ? hr : comkit::CreateMediaType(current.Get(), pmt);
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP VcamPin::GetNumberOfCapabilities(int* count, int* size)
{
    if (!count || !size)
        return E_POINTER;
    comkit::Lock data(m_filter.DataLock());
    *count = (m_faults & VcamFault::NoCapabilities) ? 0 : static_cast<int>(m_formats.Count());
    *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    return S_OK;
}

STDMETHODIMP VcamPin::GetStreamCaps(int index, AM_MEDIA_TYPE** pmt, BYTE* caps)
{
    if (!pmt || !caps)
        return E_POINTER;
    *pmt = nullptr;
    try
    {
        comkit::Lock data(m_filter.DataLock());
        if (m_faults & VcamFault::GetStreamCapsFails)
            return E_FAIL;
        if (index < 0)
            return E_INVALIDARG;
        const size_t count = (m_faults & VcamFault::NoCapabilities) ? 0 : m_formats.Count();
        if (static_cast<size_t>(index) >= count)
            return S_FALSE;
        comkit::MediaType type;
        HRESULT hr = m_formats.CapabilityType(static_cast<size_t>(index), &type);
        if (SUCCEEDED(hr))
            hr = comkit::CreateMediaType(type.Get(), pmt);
        if (FAILED(hr))
            return hr;
        const VIDEO_STREAM_CONFIG_CAPS capability = CapsFor(m_formats.FormatAt(static_cast<size_t>(index)));
        CopyMemory(caps, &capability, sizeof(capability));
        return S_OK;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

const GUID& VcamPin::Category() const
{
    switch (m_role)
    {
    case PinRole::Preview:
        return PIN_CATEGORY_PREVIEW;
    case PinRole::VideoPort:
        return PIN_CATEGORY_VIDEOPORT;
    case PinRole::Capture:
        break;
    }
    return PIN_CATEGORY_CAPTURE;
}

STDMETHODIMP VcamPin::Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD)
{
    return E_NOTIMPL;
}

STDMETHODIMP VcamPin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD dataSize, DWORD* returned)
{
    if (set != AMPROPSETID_Pin)
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (returned)
        *returned = sizeof(GUID);
    if (!data)
        return returned ? S_OK : E_POINTER;
    if (dataSize < sizeof(GUID))
        return E_UNEXPECTED;
    *static_cast<GUID*>(data) = Category();
    return S_OK;
}

STDMETHODIMP VcamPin::QuerySupported(REFGUID set, DWORD id, DWORD* support)
{
    if (set != AMPROPSETID_Pin)
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (support)
        *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}
