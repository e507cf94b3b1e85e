#include "capture/MediaTypeRecord.h"

#include "comkit/MediaType.h"

// The platform's rules for freeing, shared with the COM servers (inline in comkit).
void FreeMediaTypeContents(AM_MEDIA_TYPE& type)
{
    comkit::FreeMediaType(type);
}

void DeleteMediaTypeRecord(AM_MEDIA_TYPE* type)
{
    comkit::DeleteMediaType(type);
}

MediaTypeRecord::MediaTypeRecord() : AM_MEDIA_TYPE{}
{
    lSampleSize = 1;
    bFixedSizeSamples = TRUE;
}

MediaTypeRecord::~MediaTypeRecord()
{
    FreeMediaTypeContents(*this);
}
