#include "comkit/InputPinBase.h"

#include "comkit/CriticalSection.h"
#include "comkit/Enumerator.h"

using Microsoft::WRL::ComPtr;

namespace comkit
{

STDMETHODIMP InputPinBase::EnumMediaTypes(IEnumMediaTypes** types)
{
    try
    {
        return CreateMediaTypeEnumerator(Owner(), {}, types);
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP InputPinBase::EndOfStream()
{
    if (Flushing())
        return S_FALSE;
    return OnEndOfStream();
}

STDMETHODIMP InputPinBase::BeginFlush()
{
    {
        Lock data(Filter().DataLock());
        m_flushing = true;
    }
    OnBeginFlush();
    return S_OK;
}

STDMETHODIMP InputPinBase::EndFlush()
{
    OnEndFlush();
    Lock data(Filter().DataLock());
    m_flushing = false;
    return S_OK;
}

bool InputPinBase::Flushing()
{
    Lock data(Filter().DataLock());
    return m_flushing;
}

HRESULT InputPinBase::CheckStreaming()
{
    if (Filter().State() == State_Stopped)
        return VFW_E_WRONG_STATE;
    return Flushing() ? S_FALSE : S_OK;
}

// The allocator is made outside the lock; a racing request may have made one first,
// and then ours goes, after the lock.
STDMETHODIMP InputPinBase::GetAllocator(IMemAllocator** allocator)
{
    if (!allocator)
        return E_POINTER;
    *allocator = nullptr;
    ComPtr<IMemAllocator> kept;
    {
        Lock data(Filter().DataLock());
        kept = m_allocator;
    }
    ComPtr<IMemAllocator> made;
    if (!kept)
    {
        const HRESULT hr =
            CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&made));
        if (FAILED(hr))
            return hr;
        Lock data(Filter().DataLock());
        if (!m_allocator)
            m_allocator = made;
        kept = m_allocator;
    }
    *allocator = kept.Detach();
    return S_OK;
}

STDMETHODIMP InputPinBase::NotifyAllocator(IMemAllocator* allocator, BOOL)
{
    if (!allocator)
        return E_POINTER;
    ComPtr<IMemAllocator> previous = allocator;
    Lock data(Filter().DataLock());
    m_allocator.Swap(previous);
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
    ComPtr<IMemAllocator> allocator;
    Lock data(Filter().DataLock());
    m_allocator.Swap(allocator);
}

}  // namespace comkit
