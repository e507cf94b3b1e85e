// The writer's input pin. Besides IMemInputPin (samples whose times are byte offsets,
// as a mux that delivers its output sends them) it offers IStream, through which the
// AVI mux writes directly, seeking back for its headers and index.
#pragma once

#include <strmif.h>

#include "FileTarget.h"
#include "comkit/InputPinBase.h"
#include "comkit/Unknown.h"

// What the pin needs from its filter beyond comkit::FilterBase; the pin lives and dies
// with the filter.
class WriterPinHost
{
public:
    virtual FileTarget& File() = 0;
    virtual void OnEndOfStream() = 0;

protected:
    ~WriterPinHost() = default;
};

class WriterPin : public comkit::InputPinBase, public IStream
{
public:
    WriterPin(comkit::FilterBase& filter, WriterPinHost& host) : InputPinBase(filter, L"in"), m_host(host) {}

    static const comkit::InterfaceEntry* Interfaces();

    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;

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
    // comkit::PinBase
    HRESULT AcceptConnection(const AM_MEDIA_TYPE& proposed, comkit::MediaType* agreed) override;
    // comkit::InputPinBase
    HRESULT OnEndOfStream() override;

    WriterPinHost& m_host;
};
