// The writer pin's connection side (IPin).
#include "WriterPin.h"

#include <uuids.h>
#include <vfwmsgs.h>

const comkit::InterfaceEntry* WriterPin::Interfaces()
{
    using namespace comkit;
    return InterfaceTable<WriterPin, Is<IPin>, Is<IMemInputPin>, Is<IStream>,
                          As<IStream, ISequentialStream>>();
}

STDMETHODIMP WriterPin::QueryAccept(const AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    // A byte stream of any kind; the file holds whatever the mux makes of it.
    return type->majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
}

// The connection is a stream of bytes whatever format the proposal names.
HRESULT WriterPin::AcceptConnection(const AM_MEDIA_TYPE& proposed, comkit::MediaType* agreed)
{
    if (QueryAccept(&proposed) != S_OK)
        return S_FALSE;
    AM_MEDIA_TYPE& type = agreed->Edit();
    type.majortype = proposed.majortype;
    type.subtype = proposed.subtype;
    type.bFixedSizeSamples = TRUE;
    type.lSampleSize = 1;
    type.formattype = GUID_NULL;
    return S_OK;
}

HRESULT WriterPin::OnEndOfStream()
{
    m_host.OnEndOfStream();
    return S_OK;
}
