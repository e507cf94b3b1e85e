#include "MuxPins.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include "VideoFormatOf.h"
#include "comkit/Enumerator.h"

const comkit::InterfaceEntry* MuxInputPin::Interfaces()
{
    using namespace comkit;
    return InterfaceTable<MuxInputPin, Is<IPin>, Is<IMemInputPin>>();
}

STDMETHODIMP MuxInputPin::QueryAccept(const AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    try {
        AviVideoFormat format;
        return SUCCEEDED(VideoFormatOf(*type, &format)) ? S_OK : S_FALSE;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP MuxInputPin::EnumMediaTypes(IEnumMediaTypes** types)
{
    try {
        return comkit::CreateMediaTypeEnumerator(Owner(), {}, types);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP MuxInputPin::EndOfStream()
{
    m_host.OnEndOfStream();
    return S_OK;
}

STDMETHODIMP MuxInputPin::BeginFlush()
{
    m_host.OnFlush(true);
    return S_OK;
}

STDMETHODIMP MuxInputPin::EndFlush()
{
    m_host.OnFlush(false);
    return S_OK;
}

STDMETHODIMP MuxInputPin::GetAllocator(IMemAllocator** allocator)
{
    if (!allocator)
        return E_POINTER;
    *allocator = nullptr;
    comkit::Lock data(Filter().DataLock());
    if (!m_allocator) {
        HRESULT hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&m_allocator));
        if (FAILED(hr))
            return hr;
    }
    *allocator = m_allocator.Get();
    (*allocator)->AddRef();
    return S_OK;
}

STDMETHODIMP MuxInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL)
{
    if (!allocator)
        return E_POINTER;
    comkit::Lock data(Filter().DataLock());
    m_allocator = allocator;
    return S_OK;
}

STDMETHODIMP MuxInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*)
{
    return E_NOTIMPL;
}

STDMETHODIMP MuxInputPin::Receive(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    return m_host.OnFrame(sample);
}

STDMETHODIMP MuxInputPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed)
{
    if (!samples || !processed)
        return E_POINTER;
    *processed = 0;
    HRESULT hr = S_OK;
    while (*processed < count && hr == S_OK) {
        hr = Receive(samples[*processed]);
        if (hr == S_OK)
            ++*processed;
    }
    return hr;
}

STDMETHODIMP MuxInputPin::ReceiveCanBlock()
{
    return S_OK;  // it writes to the file
}

void MuxInputPin::OnDisconnect()
{
    comkit::Lock data(Filter().DataLock());
    m_allocator.Reset();
}
