// The mux's two pins: video in (IMemInputPin), the AVI byte stream out to a file
// writer whose input pin offers IStream. Both live and die with the filter.
#pragma once

#include <strmif.h>
#include <vfwmsgs.h>
#include <wrl/client.h>

#include "comkit/CriticalSection.h"

// What the pins need from their filter.
class MuxPinHost {
public:
    virtual IBaseFilter* HostFilter() = 0;
    virtual bool IsStopped() = 0;
    virtual HRESULT OnFrame(IMediaSample* sample) = 0;
    virtual void OnEndOfStream() = 0;
    virtual void OnFlush(bool flushing) = 0;

protected:
    ~MuxPinHost() = default;
};

// IPin parts both pins share: identity, peer and stored type.
class MuxPinBase : public IPin {
public:
    MuxPinBase(MuxPinHost& host, PIN_DIRECTION direction, const wchar_t* name)
        : m_host(host), m_direction(direction), m_name(name)
    {
    }
    virtual ~MuxPinBase();
    MuxPinBase(const MuxPinBase&) = delete;
    MuxPinBase& operator=(const MuxPinBase&) = delete;

    STDMETHODIMP_(ULONG) AddRef() override { return m_host.HostFilter()->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_host.HostFilter()->Release(); }

    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    bool IsConnected();

protected:
    HRESULT StoreConnection(IPin* peer, const AM_MEDIA_TYPE& type);  // under m_lock
    void ClearConnection();                                          // under m_lock

    MuxPinHost& m_host;
    comkit::CriticalSection m_lock;
    Microsoft::WRL::ComPtr<IPin> m_peer;
    AM_MEDIA_TYPE m_type = {};

private:
    PIN_DIRECTION m_direction;
    const wchar_t* m_name;
};

class MuxInputPin final : public MuxPinBase, public IMemInputPin {
public:
    explicit MuxInputPin(MuxPinHost& host) : MuxPinBase(host, PINDIR_INPUT, L"Input 01") {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return MuxPinBase::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return MuxPinBase::Release(); }

    // IPin
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;

    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* properties) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
    STDMETHODIMP ReceiveCanBlock() override;

    // The connected type (a copy the caller frees), for the file's headers.
    HRESULT CopyType(AM_MEDIA_TYPE* type);

private:
    Microsoft::WRL::ComPtr<IMemAllocator> m_allocator;
};

class MuxOutputPin final : public MuxPinBase {
public:
    explicit MuxOutputPin(MuxPinHost& host) : MuxPinBase(host, PINDIR_OUTPUT, L"AVI Out") {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;

    // The writer's IStream, or null while not connected.
    Microsoft::WRL::ComPtr<IStream> Stream();
    void DeliverEndOfStream();

private:
    Microsoft::WRL::ComPtr<IStream> m_stream;
};

// Frees what an AM_MEDIA_TYPE holds (not the structure).
void FreeMediaTypeContents(AM_MEDIA_TYPE& type);
HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE& source);
