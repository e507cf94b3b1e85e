// The mux's video input: takes uncompressed or compressed video described by a
// BITMAPINFOHEADER (VIDEOINFOHEADER or VIDEOINFOHEADER2), and can be connected again
// after a disconnection (Wine's mux could not).
#include "MuxPins.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include "VideoFormatOf.h"

STDMETHODIMP MuxInputPin::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IPin)
        *ppv = static_cast<IPin*>(this);
    else if (riid == IID_IMemInputPin)
        *ppv = static_cast<IMemInputPin*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP MuxInputPin::Connect(IPin*, const AM_MEDIA_TYPE*)
{
    return E_UNEXPECTED;  // an input pin is connected to
}

STDMETHODIMP MuxInputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type)
{
    if (!connector || !type)
        return E_POINTER;
    comkit::Lock lock(m_lock);
    if (m_peer)
        return VFW_E_ALREADY_CONNECTED;
    if (!m_host.IsStopped())
        return VFW_E_NOT_STOPPED;
    if (QueryAccept(type) != S_OK)
        return VFW_E_TYPE_NOT_ACCEPTED;
    return StoreConnection(connector, *type);
}

STDMETHODIMP MuxInputPin::Disconnect()
{
    comkit::Lock lock(m_lock);
    if (!m_host.IsStopped())
        return VFW_E_NOT_STOPPED;
    if (!m_peer)
        return S_FALSE;
    ClearConnection();
    m_allocator.Reset();
    return S_OK;
}

STDMETHODIMP MuxInputPin::QueryAccept(const AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    AviVideoFormat format;
    return SUCCEEDED(VideoFormatOf(*type, &format)) ? S_OK : S_FALSE;
}

STDMETHODIMP MuxInputPin::EndOfStream()
{
    m_host.OnEndOfStream();
    return S_OK;
}

STDMETHODIMP MuxInputPin::BeginFlush()
{
    m_host.OnFlush(true);
    return S_OK;
}

STDMETHODIMP MuxInputPin::EndFlush()
{
    m_host.OnFlush(false);
    return S_OK;
}

STDMETHODIMP MuxInputPin::GetAllocator(IMemAllocator** allocator)
{
    if (!allocator)
        return E_POINTER;
    *allocator = nullptr;
    comkit::Lock lock(m_lock);
    if (!m_allocator) {
        HRESULT hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&m_allocator));
        if (FAILED(hr))
            return hr;
    }
    *allocator = m_allocator.Get();
    (*allocator)->AddRef();
    return S_OK;
}

STDMETHODIMP MuxInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL)
{
    if (!allocator)
        return E_POINTER;
    comkit::Lock lock(m_lock);
    m_allocator = allocator;
    return S_OK;
}

STDMETHODIMP MuxInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*)
{
    return E_NOTIMPL;
}

STDMETHODIMP MuxInputPin::Receive(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    return m_host.OnFrame(sample);
}

STDMETHODIMP MuxInputPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed)
{
    if (!samples || !processed)
        return E_POINTER;
    *processed = 0;
    HRESULT hr = S_OK;
    while (*processed < count && hr == S_OK) {
        hr = Receive(samples[*processed]);
        if (hr == S_OK)
            ++*processed;
    }
    return hr;
}

STDMETHODIMP MuxInputPin::ReceiveCanBlock()
{
    return S_OK;  // it writes to the file
}

HRESULT MuxInputPin::CopyType(AM_MEDIA_TYPE* type)
{
    comkit::Lock lock(m_lock);
    if (!m_peer)
        return VFW_E_NOT_CONNECTED;
    return CopyMediaType(type, m_type);
}
