// The mux's output: an AVI byte stream written through the IStream of the peer pin
// (our file writer offers it), so headers and indexes can be rewritten in place.
#include "MuxPins.h"

#include <uuids.h>
#include <vfwmsgs.h>

STDMETHODIMP MuxOutputPin::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IPin)
        return E_NOINTERFACE;
    *ppv = static_cast<IPin*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP MuxOutputPin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* type)
{
    if (!receivePin)
        return E_POINTER;
    if (type && QueryAccept(type) != S_OK)
        return VFW_E_TYPE_NOT_ACCEPTED;
    comkit::Lock lock(m_lock);
    if (m_peer)
        return VFW_E_ALREADY_CONNECTED;
    if (!m_host.IsStopped())
        return VFW_E_NOT_STOPPED;
    Microsoft::WRL::ComPtr<IStream> stream;
    if (FAILED(receivePin->QueryInterface(IID_PPV_ARGS(&stream))))
        return VFW_E_NO_TRANSPORT;
    AM_MEDIA_TYPE offered = {};
    offered.majortype = MEDIATYPE_Stream;
    offered.subtype = MEDIASUBTYPE_Avi;
    offered.bFixedSizeSamples = TRUE;
    offered.lSampleSize = 1;
    offered.formattype = GUID_NULL;
    HRESULT hr = receivePin->ReceiveConnection(this, &offered);
    if (FAILED(hr))
        return hr;
    hr = StoreConnection(receivePin, offered);
    if (FAILED(hr)) {
        receivePin->Disconnect();
        return hr;
    }
    m_stream = stream;
    return S_OK;
}

STDMETHODIMP MuxOutputPin::ReceiveConnection(IPin*, const AM_MEDIA_TYPE*)
{
    return E_UNEXPECTED;  // an output pin connects
}

STDMETHODIMP MuxOutputPin::Disconnect()
{
    comkit::Lock lock(m_lock);
    if (!m_host.IsStopped())
        return VFW_E_NOT_STOPPED;
    if (!m_peer)
        return S_FALSE;
    ClearConnection();
    m_stream.Reset();
    return S_OK;
}

STDMETHODIMP MuxOutputPin::QueryAccept(const AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    const bool stream = type->majortype == MEDIATYPE_Stream || type->majortype == GUID_NULL;
    const bool avi = type->subtype == MEDIASUBTYPE_Avi || type->subtype == GUID_NULL;
    return stream && avi ? S_OK : S_FALSE;
}

STDMETHODIMP MuxOutputPin::EndOfStream()
{
    return E_UNEXPECTED;
}

STDMETHODIMP MuxOutputPin::BeginFlush()
{
    return E_UNEXPECTED;
}

STDMETHODIMP MuxOutputPin::EndFlush()
{
    return E_UNEXPECTED;
}

Microsoft::WRL::ComPtr<IStream> MuxOutputPin::Stream()
{
    comkit::Lock lock(m_lock);
    return m_stream;
}

void MuxOutputPin::DeliverEndOfStream()
{
    Microsoft::WRL::ComPtr<IPin> peer;
    {
        comkit::Lock lock(m_lock);
        peer = m_peer;
    }
    if (peer)
        peer->EndOfStream();
}
