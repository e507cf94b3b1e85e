#include "MuxPins.h"

#include <uuids.h>
#include <vfwmsgs.h>

const comkit::InterfaceEntry* MuxOutputPin::Interfaces()
{
    using namespace comkit;
    return InterfaceTable<MuxOutputPin, Is<IPin>>();
}

STDMETHODIMP MuxOutputPin::QueryAccept(const AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    const bool stream = type->majortype == MEDIATYPE_Stream || type->majortype == GUID_NULL;
    const bool avi = type->subtype == MEDIASUBTYPE_Avi || type->subtype == GUID_NULL;
    return stream && avi ? S_OK : S_FALSE;
}

// One type: an AVI byte stream, without a format block.
HRESULT MuxOutputPin::OfferedTypes(std::vector<comkit::MediaType>* types)
{
    comkit::MediaType avi;
    AM_MEDIA_TYPE& type = avi.Edit();
    type.majortype = MEDIATYPE_Stream;
    type.subtype = MEDIASUBTYPE_Avi;
    type.bFixedSizeSamples = TRUE;
    type.lSampleSize = 1;
    types->push_back(std::move(avi));
    return S_OK;
}
