// An input pin that takes samples through IMemInputPin: the allocator handshake,
// ReceiveMultiple as a run of Receive calls, flushing and end of stream, and the
// allocator let go when the pin is disconnected. A pin on it implements Receive (and
// IPin's QueryAccept); it lists no types of its own unless it overrides EnumMediaTypes.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "comkit/PinBase.h"

namespace comkit
{

class InputPinBase : public PinBase, public IMemInputPin
{
public:
    // IPin: the flag and the hooks below; EnumMediaTypes lists nothing.
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;

    // IMemInputPin
    // A memory allocator of the pin's own, made on the first request, unless the peer
    // has named one.
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* properties) override;  // none
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
    STDMETHODIMP ReceiveCanBlock() override;  // S_OK: our sinks write to disk

protected:
    InputPinBase(FilterBase& filter, const wchar_t* name) : PinBase(filter, name, PINDIR_INPUT) {}

    bool Flushing();
    // Whether Receive may take a sample now: VFW_E_WRONG_STATE while the filter is
    // stopped, S_FALSE while flushing, else S_OK.
    HRESULT CheckStreaming();

    // Called outside the data lock. End of stream is not passed on while flushing.
    virtual HRESULT OnEndOfStream() { return S_OK; }
    virtual void OnBeginFlush() {}  // after the flag is up: Receive refuses from now on
    virtual void OnEndFlush() {}    // before the flag goes down

    // Lets the allocator go; an override calls it too.
    void OnDisconnect() override;

private:
    // Guarded by the filter's data lock.
    Microsoft::WRL::ComPtr<IMemAllocator> m_allocator;
    bool m_flushing = false;
};

}  // namespace comkit
