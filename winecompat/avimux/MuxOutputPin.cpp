#include "MuxPins.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include "comkit/Enumerator.h"

using Microsoft::WRL::ComPtr;

const comkit::InterfaceEntry* MuxOutputPin::Interfaces()
{
    using namespace comkit;
    return InterfaceTable<MuxOutputPin, Is<IPin>>();
}

STDMETHODIMP MuxOutputPin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* type)
{
    if (!receivePin)
        return E_POINTER;
    if (type && QueryAccept(type) != S_OK)
        return VFW_E_TYPE_NOT_ACCEPTED;
    comkit::Lock state(Filter().StateLock());
    if (IsConnected())
        return VFW_E_ALREADY_CONNECTED;
    if (Filter().State() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    ComPtr<IStream> stream;
    if (FAILED(receivePin->QueryInterface(IID_PPV_ARGS(&stream))))
        return VFW_E_NO_TRANSPORT;
    AM_MEDIA_TYPE offered = {};
    offered.majortype = MEDIATYPE_Stream;
    offered.subtype = MEDIASUBTYPE_Avi;
    offered.bFixedSizeSamples = TRUE;
    offered.lSampleSize = 1;
    offered.formattype = GUID_NULL;
    HRESULT hr = receivePin->ReceiveConnection(this, &offered);
    if (SUCCEEDED(hr))
        hr = SetConnection(receivePin, offered);
    if (FAILED(hr))
    {
        receivePin->Disconnect();
        return hr;
    }
    comkit::Lock data(Filter().DataLock());
    m_stream = stream;
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

STDMETHODIMP MuxOutputPin::EnumMediaTypes(IEnumMediaTypes** types)
{
    try
    {
        return comkit::CreateMediaTypeEnumerator(Owner(), {}, types);
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

ComPtr<IStream> MuxOutputPin::Stream()
{
    comkit::Lock data(Filter().DataLock());
    return m_stream;
}

void MuxOutputPin::DeliverEndOfStream()
{
    ComPtr<IPin> peer = Peer();
    if (peer)
        peer->EndOfStream();
}

void MuxOutputPin::OnDisconnect()
{
    comkit::Lock data(Filter().DataLock());
    m_stream.Reset();
}
