#include "MuxPins.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include "VideoFormatOf.h"

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

STDMETHODIMP MuxInputPin::Receive(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    const HRESULT hr = CheckStreaming();
    return hr == S_OK ? m_host.OnFrame(sample) : hr;
}
