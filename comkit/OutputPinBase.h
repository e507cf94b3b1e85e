// An output pin's side of a connection and of delivery. Connect tries, in order: the
// complete type it was given (and nothing else), the pin's own ConnectionTypes, then the
// peer's complete types; a partial type narrows both lists. For each candidate the pin
// records the connection (the peer may query it while it accepts), asks the peer's
// ReceiveConnection, then sets up the transport. A peer that refused is left alone; one
// that accepted is disconnected again if the transport fails.
//
// A pin on it supplies QueryAccept, OfferedTypes and, for the allocator transport,
// DecideBufferSize; AgreeType, ConnectionTypes, TransportKind and OnConnected as needed.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <vector>

#include "comkit/PinBase.h"

namespace comkit
{

class OutputPinBase : public PinBase
{
public:
    enum class Transport
    {
        Allocator,  // IMemInputPin and a memory allocator sized by DecideBufferSize
        Stream      // the peer pin's IStream (a file writer under a mux)
    };

    // IPin (QueryAccept is the pin's own)
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;

    // The transport, for the filter's streaming code; null while not connected.
    Microsoft::WRL::ComPtr<IMemInputPin> PeerInput();
    Microsoft::WRL::ComPtr<IMemAllocator> Allocator();
    Microsoft::WRL::ComPtr<IStream> PeerStream();

    // Delivery. Each takes its references under the data lock and calls out without it.
    HRESULT Commit();  // S_OK without an allocator
    void Decommit();   // wakes a thread waiting in GetDeliveryBuffer
    HRESULT GetDeliveryBuffer(IMediaSample** sample);
    HRESULT Deliver(IMediaSample* sample);
    HRESULT DeliverEndOfStream();
    HRESULT DeliverBeginFlush();
    HRESULT DeliverEndFlush();
    HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

protected:
    OutputPinBase(FilterBase& filter, const wchar_t* name) : PinBase(filter, name, PINDIR_OUTPUT) {}

    // The types EnumMediaTypes lists, preferred first.
    virtual HRESULT OfferedTypes(std::vector<MediaType>* types) = 0;
    // The types Connect tries on its own; OfferedTypes unless said otherwise.
    virtual HRESULT ConnectionTypes(std::vector<MediaType>* types) { return OfferedTypes(types); }
    // The type proposed to the peer for a candidate; S_OK to try it. By default a
    // candidate QueryAccept takes, as it is.
    virtual HRESULT AgreeType(const AM_MEDIA_TYPE& candidate, MediaType* agreed);
    virtual Transport TransportKind() { return Transport::Allocator; }
    // Sets the allocator's properties; `request` is what the peer asked for.
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& request);
    // The connection stands (state lock held).
    virtual void OnConnected(const AM_MEDIA_TYPE&) {}
    // Lets the transport go; an override calls it too.
    void OnDisconnect() override;

    // For DecideBufferSize: at least `buffers` buffers of `bytes`, or what the peer asked
    // if more; fails unless the allocator gives buffers of `bytes`.
    static HRESULT SizeBuffers(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& request, long buffers,
                               long bytes);

private:
    HRESULT TryTypes(IPin* receivePin, const std::vector<MediaType>& types, const AM_MEDIA_TYPE* partial);
    HRESULT TryPeerTypes(IPin* receivePin, const AM_MEDIA_TYPE* partial);
    HRESULT TryConnection(IPin* receivePin, const AM_MEDIA_TYPE& candidate);
    HRESULT ConnectTransport(IPin* receivePin);
    HRESULT DecideAllocator(IMemInputPin* input);
    HRESULT TryAllocator(IMemInputPin* input, IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& request);
    void DropConnection();

    // Guarded by the filter's data lock.
    Microsoft::WRL::ComPtr<IMemInputPin> m_input;
    Microsoft::WRL::ComPtr<IMemAllocator> m_allocator;
    Microsoft::WRL::ComPtr<IStream> m_stream;
};

}  // namespace comkit
