#include "comkit/InputPinBase.h"

#include "comkit/CriticalSection.h"

namespace comkit
{

STDMETHODIMP InputPinBase::GetAllocator(IMemAllocator** allocator)
{
    if (!allocator)
        return E_POINTER;
    *allocator = nullptr;
    Lock data(Filter().DataLock());
    if (!m_allocator)
    {
        const HRESULT hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_PPV_ARGS(&m_allocator));
        if (FAILED(hr))
            return hr;
    }
    *allocator = Microsoft::WRL::ComPtr<IMemAllocator>(m_allocator).Detach();
    return S_OK;
}

STDMETHODIMP InputPinBase::NotifyAllocator(IMemAllocator* allocator, BOOL)
{
    if (!allocator)
        return E_POINTER;
    Lock data(Filter().DataLock());
    m_allocator = allocator;
    return S_OK;
}

STDMETHODIMP InputPinBase::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*)
{
    return E_NOTIMPL;
}

STDMETHODIMP InputPinBase::ReceiveMultiple(IMediaSample** samples, long count, long* processed)
{
    if (!samples || !processed)
        return E_POINTER;
    HRESULT hr = S_OK;
    long done = 0;
    while (done < count && hr == S_OK)
    {
        hr = Receive(samples[done]);
        if (hr == S_OK)
            ++done;
    }
    *processed = done;
    return hr;
}

STDMETHODIMP InputPinBase::ReceiveCanBlock()
{
    return S_OK;
}

void InputPinBase::OnDisconnect()
{
    Lock data(Filter().DataLock());
    m_allocator.Reset();
}

}  // namespace comkit
