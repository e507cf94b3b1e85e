// The plumbing every pin of ours shares: identity, direction, the connection's peer and
// media type, and the IPin methods that only read them. A pin is a part of its filter
// (comkit::Part<T>: the filter's reference count) and lists IPin in its table.
// Output pins implement Connect; input pins decide what they accept (QueryAccept, or
// AcceptConnection for the type they record).
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "comkit/FilterBase.h"
#include "comkit/MediaType.h"

namespace comkit
{

class PinBase : public IPin
{
public:
    PinBase(const PinBase&) = delete;
    PinBase& operator=(const PinBase&) = delete;
    virtual ~PinBase() = default;

    const wchar_t* Name() const { return m_name; }
    PIN_DIRECTION Direction() const { return m_direction; }
    IUnknown* Owner() { return &m_filter; }  // whose reference count the pin shares
    bool IsConnected();
    Microsoft::WRL::ComPtr<IPin> Peer();

    // IPin
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

protected:
    // `name` must outlive the pin (a literal).
    PinBase(FilterBase& filter, const wchar_t* name, PIN_DIRECTION direction)
        : m_filter(filter),
          m_name(name),
          m_direction(direction)
    {
    }

    FilterBase& Filter() { return m_filter; }

    // Input pins: the type recorded for a connection offered with `proposed`; S_OK to
    // accept. By default QueryAccept decides and the proposal is recorded as it is.
    virtual HRESULT AcceptConnection(const AM_MEDIA_TYPE& proposed, MediaType* agreed);
    // Called by Disconnect (stopped, state lock held) before the peer is dropped.
    virtual void OnDisconnect() {}

    // The connection, guarded by the filter's data lock.
    HRESULT SetConnection(IPin* peer, const AM_MEDIA_TYPE& type);
    void ClearConnection();
    // A copy of the connection's type; empty when not connected.
    HRESULT ConnectionType(MediaType* type);
    // The connection's type itself, for a caller holding the filter's data lock.
    const AM_MEDIA_TYPE& ConnectedType() const { return m_type.Get(); }

private:
    FilterBase& m_filter;
    const wchar_t* const m_name;
    const PIN_DIRECTION m_direction;
    Microsoft::WRL::ComPtr<IPin> m_peer;
    MediaType m_type;
};

}  // namespace comkit
