#include "comkit/OutputPinBase.h"

#include <algorithm>

#include "comkit/Enumerator.h"

using Microsoft::WRL::ComPtr;

namespace comkit
{

STDMETHODIMP OutputPinBase::Connect(IPin* receivePin, const AM_MEDIA_TYPE* type)
{
    if (!receivePin)
        return E_POINTER;
    try
    {
        Lock state(Filter().StateLock());
        if (IsConnected())
            return VFW_E_ALREADY_CONNECTED;
        if (Filter().State() != State_Stopped)
            return VFW_E_NOT_STOPPED;
        PIN_DIRECTION direction;
        if (FAILED(receivePin->QueryDirection(&direction)) || direction != PINDIR_INPUT)
            return VFW_E_INVALID_DIRECTION;
        if (type && IsCompleteType(*type))
            return TryConnection(receivePin, *type);
        std::vector<MediaType> own;
        if (SUCCEEDED(ConnectionTypes(&own)) && TryTypes(receivePin, own, type) == S_OK)
            return S_OK;
        return TryPeerTypes(receivePin, type);
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP OutputPinBase::EnumMediaTypes(IEnumMediaTypes** types)
{
    if (!types)
        return E_POINTER;
    *types = nullptr;
    try
    {
        std::vector<MediaType> offered;
        const HRESULT hr = OfferedTypes(&offered);
        if (FAILED(hr))
            return hr;
        return CreateMediaTypeEnumerator(Owner(), std::move(offered), types);
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT OutputPinBase::TryTypes(IPin* receivePin, const std::vector<MediaType>& types,
                                const AM_MEDIA_TYPE* partial)
{
    for (const MediaType& type : types)
    {
        if (MatchesPartialType(partial, type.Get()) && TryConnection(receivePin, type.Get()) == S_OK)
            return S_OK;
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT OutputPinBase::TryPeerTypes(IPin* receivePin, const AM_MEDIA_TYPE* partial)
{
    ComPtr<IEnumMediaTypes> types;
    if (FAILED(receivePin->EnumMediaTypes(&types)) || !types)
        return VFW_E_NO_ACCEPTABLE_TYPES;
    AM_MEDIA_TYPE* next = nullptr;
    while (types->Next(1, &next, nullptr) == S_OK && next)
    {
        const TaskMediaType candidate(next);
        if (IsCompleteType(*candidate) && MatchesPartialType(partial, *candidate) &&
            TryConnection(receivePin, *candidate) == S_OK)
            return S_OK;
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT OutputPinBase::TryConnection(IPin* receivePin, const AM_MEDIA_TYPE& candidate)
{
    MediaType agreed;
    HRESULT hr = AgreeType(candidate, &agreed);
    if (hr != S_OK)
        return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
    hr = SetConnection(receivePin, agreed.Get());
    if (FAILED(hr))
        return hr;
    hr = receivePin->ReceiveConnection(this, &agreed.Get());
    if (FAILED(hr))
    {
        DropConnection();  // the peer refused: whatever it is connected to stays
        return hr;
    }
    hr = ConnectTransport(receivePin);
    if (FAILED(hr))
    {
        receivePin->Disconnect();
        DropConnection();
        return hr;
    }
    OnConnected(agreed.Get());
    return S_OK;
}

HRESULT OutputPinBase::AgreeType(const AM_MEDIA_TYPE& candidate, MediaType* agreed)
{
    if (QueryAccept(&candidate) != S_OK)
        return S_FALSE;
    return agreed->Assign(candidate);
}

HRESULT OutputPinBase::ConnectTransport(IPin* receivePin)
{
    if (TransportKind() == Transport::Stream)
    {
        ComPtr<IStream> stream;
        if (FAILED(receivePin->QueryInterface(IID_PPV_ARGS(&stream))))
            return VFW_E_NO_TRANSPORT;
        Lock data(Filter().DataLock());
        m_stream = std::move(stream);
        return S_OK;
    }
    ComPtr<IMemInputPin> input;
    if (FAILED(receivePin->QueryInterface(IID_PPV_ARGS(&input))))
        return VFW_E_NO_TRANSPORT;
    const HRESULT hr = DecideAllocator(input.Get());
    if (FAILED(hr))
        return hr;
    Lock data(Filter().DataLock());
    m_input = std::move(input);
    return S_OK;
}

// The peer's allocator when it has one we can size, else a memory allocator of ours.
HRESULT OutputPinBase::DecideAllocator(IMemInputPin* input)
{
    ALLOCATOR_PROPERTIES request = {};
    input->GetAllocatorRequirements(&request);
    ComPtr<IMemAllocator> allocator;
    if (SUCCEEDED(input->GetAllocator(&allocator)) && allocator &&
        SUCCEEDED(TryAllocator(input, allocator.Get(), request)))
        return S_OK;
    allocator.Reset();
    const HRESULT hr =
        CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&allocator));
    return FAILED(hr) ? hr : TryAllocator(input, allocator.Get(), request);
}

HRESULT OutputPinBase::TryAllocator(IMemInputPin* input, IMemAllocator* allocator,
                                    const ALLOCATOR_PROPERTIES& request)
{
    HRESULT hr = DecideBufferSize(allocator, request);
    if (SUCCEEDED(hr))
        hr = input->NotifyAllocator(allocator, FALSE);
    if (FAILED(hr))
        return hr;
    Lock data(Filter().DataLock());
    m_allocator = allocator;
    return S_OK;
}

HRESULT OutputPinBase::DecideBufferSize(IMemAllocator*, const ALLOCATOR_PROPERTIES&)
{
    return VFW_E_SIZENOTSET;  // pins with the allocator transport size their buffers
}

HRESULT OutputPinBase::SizeBuffers(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& request,
                                   long buffers, long bytes)
{
    ALLOCATOR_PROPERTIES wanted = request;
    wanted.cBuffers = std::max(request.cBuffers, buffers);
    wanted.cbBuffer = std::max(request.cbBuffer, bytes);
    wanted.cbAlign = std::max(request.cbAlign, 1L);
    ALLOCATOR_PROPERTIES actual = {};
    const HRESULT hr = allocator->SetProperties(&wanted, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer >= bytes && actual.cBuffers > 0 ? S_OK : VFW_E_SIZENOTSET;
}

void OutputPinBase::OnDisconnect()
{
    const ComPtr<IMemAllocator> allocator = Allocator();
    if (allocator)
        allocator->Decommit();
    DropConnection();
}

// References leave the pin under the lock and are released after it.
void OutputPinBase::DropConnection()
{
    ComPtr<IMemInputPin> input;
    ComPtr<IMemAllocator> allocator;
    ComPtr<IStream> stream;
    {
        Lock data(Filter().DataLock());
        input.Swap(m_input);
        allocator.Swap(m_allocator);
        stream.Swap(m_stream);
    }
    ClearConnection();
}

ComPtr<IMemInputPin> OutputPinBase::PeerInput()
{
    Lock data(Filter().DataLock());
    return m_input;
}

ComPtr<IMemAllocator> OutputPinBase::Allocator()
{
    Lock data(Filter().DataLock());
    return m_allocator;
}

ComPtr<IStream> OutputPinBase::PeerStream()
{
    Lock data(Filter().DataLock());
    return m_stream;
}

HRESULT OutputPinBase::Commit()
{
    const ComPtr<IMemAllocator> allocator = Allocator();
    return allocator ? allocator->Commit() : S_OK;
}

void OutputPinBase::Decommit()
{
    const ComPtr<IMemAllocator> allocator = Allocator();
    if (allocator)
        allocator->Decommit();
}

HRESULT OutputPinBase::GetDeliveryBuffer(IMediaSample** sample)
{
    if (!sample)
        return E_POINTER;
    *sample = nullptr;
    const ComPtr<IMemAllocator> allocator = Allocator();
    return allocator ? allocator->GetBuffer(sample, nullptr, nullptr, 0) : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPinBase::Deliver(IMediaSample* sample)
{
    const ComPtr<IMemInputPin> input = PeerInput();
    return input ? input->Receive(sample) : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPinBase::DeliverEndOfStream()
{
    const ComPtr<IPin> peer = Peer();
    return peer ? peer->EndOfStream() : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPinBase::DeliverBeginFlush()
{
    const ComPtr<IPin> peer = Peer();
    return peer ? peer->BeginFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPinBase::DeliverEndFlush()
{
    const ComPtr<IPin> peer = Peer();
    return peer ? peer->EndFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPinBase::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    const ComPtr<IPin> peer = Peer();
    return peer ? peer->NewSegment(start, stop, rate) : VFW_E_NOT_CONNECTED;
}

}  // namespace comkit
