#include "capture/MediaTypeRecord.h"

void FreeMediaTypeContents(AM_MEDIA_TYPE& type)
{
    if (type.cbFormat != 0)
    {
        CoTaskMemFree(type.pbFormat);
        type.cbFormat = 0;
        type.pbFormat = nullptr;
    }
    if (type.pUnk)
    {
        type.pUnk->Release();
        type.pUnk = nullptr;
    }
}

void DeleteMediaTypeRecord(AM_MEDIA_TYPE* type)
{
    if (!type)
        return;
    FreeMediaTypeContents(*type);
    CoTaskMemFree(type);
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
