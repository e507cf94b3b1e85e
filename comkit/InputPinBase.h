// An input pin that takes samples through IMemInputPin: the allocator handshake,
// ReceiveMultiple as a run of Receive calls, and the allocator let go when the pin is
// disconnected. A pin on it implements Receive (and IPin's QueryAccept and the rest).
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

    // Lets the allocator go; an override calls it too.
    void OnDisconnect() override;

private:
    Microsoft::WRL::ComPtr<IMemAllocator> m_allocator;  // guarded by the filter's data lock
};

}  // namespace comkit
