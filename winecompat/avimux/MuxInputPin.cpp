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
    try
    {
        AviVideoFormat format;
        return SUCCEEDED(VideoFormatOf(*type, &format)) ? S_OK : S_FALSE;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP MuxInputPin::EnumMediaTypes(IEnumMediaTypes** types)
{
    try
    {
        return comkit::CreateMediaTypeEnumerator(Owner(), {}, types);
    }
    catch (...)
    {
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

STDMETHODIMP MuxInputPin::Receive(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    return m_host.OnFrame(sample);
}
