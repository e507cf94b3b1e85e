// The writer's input pin. Besides IMemInputPin (samples whose times are byte offsets,
// as a mux that delivers its output sends them) it offers IStream, through which the
// AVI mux writes directly, seeking back for its headers and index.
#pragma once

#include <strmif.h>
#include <wrl/client.h>

#include "CriticalSection.h"
#include "FileTarget.h"

// What the pin needs from its filter; the pin lives and dies with the filter.
class WriterPinHost {
public:
    virtual IBaseFilter* HostFilter() = 0;
    virtual FileTarget& File() = 0;
    virtual bool IsStopped() = 0;
    virtual void OnEndOfStream() = 0;

protected:
    ~WriterPinHost() = default;
};

class WriterPin final : public IPin, public IMemInputPin, public IStream {
public:
    explicit WriterPin(WriterPinHost& host) : m_host(host) {}
    WriterPin(const WriterPin&) = delete;
    WriterPin& operator=(const WriterPin&) = delete;

    // IUnknown: the filter's reference count.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return m_host.HostFilter()->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_host.HostFilter()->Release(); }

    // IPin
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* properties) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
    STDMETHODIMP ReceiveCanBlock() override;

    // IStream
    STDMETHODIMP Read(void* data, ULONG size, ULONG* read) override;
    STDMETHODIMP Write(const void* data, ULONG size, ULONG* written) override;
    STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override;
    STDMETHODIMP SetSize(ULARGE_INTEGER size) override;
    STDMETHODIMP CopyTo(IStream* target, ULARGE_INTEGER size, ULARGE_INTEGER* read,
                        ULARGE_INTEGER* written) override;
    STDMETHODIMP Commit(DWORD flags) override;
    STDMETHODIMP Revert() override;
    STDMETHODIMP LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type) override;
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type) override;
    STDMETHODIMP Stat(STATSTG* stat, DWORD flags) override;
    STDMETHODIMP Clone(IStream** stream) override;

private:
    WriterPinHost& m_host;
    CriticalSection m_lock;
    Microsoft::WRL::ComPtr<IPin> m_peer;
    GUID m_majorType = GUID_NULL;
    GUID m_subType = GUID_NULL;
    bool m_flushing = false;
};
