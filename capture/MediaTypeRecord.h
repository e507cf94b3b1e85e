// AM_MEDIA_TYPE that frees what it owns, and the two operations that free any
// AM_MEDIA_TYPE, including those the framework allocated.
#pragma once

#include <windows.h>
#include <dshow.h>

// Frees the format block (when cbFormat says there is one) and releases pUnk.
void FreeMediaTypeContents(AM_MEDIA_TYPE& type);

// Frees the contents and then the record itself, which must come from task memory
// (IAMStreamConfig::GetStreamCaps, GetFormat). Does nothing for null.
void DeleteMediaTypeRecord(AM_MEDIA_TYPE* type);

// The record itself, with the same layout, so it goes wherever an AM_MEDIA_TYPE does.
struct MediaTypeRecord : AM_MEDIA_TYPE
{
    MediaTypeRecord();
    ~MediaTypeRecord();
    MediaTypeRecord(const MediaTypeRecord&) = delete;
    MediaTypeRecord& operator=(const MediaTypeRecord&) = delete;

    void SetMajorType(const GUID& major) { majortype = major; }
    void SetSubtype(const GUID& sub) { subtype = sub; }
};
static_assert(sizeof(MediaTypeRecord) == sizeof(AM_MEDIA_TYPE), "same layout as AM_MEDIA_TYPE");
