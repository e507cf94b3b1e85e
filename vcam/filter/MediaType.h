// Owning holder for AM_MEDIA_TYPE (format block in task memory) and the helpers that
// hand media types out in task memory, as IAMStreamConfig and IEnumMediaTypes must.
#pragma once

#include <windows.h>
#include <dshow.h>

void FreeMediaTypeContents(AM_MEDIA_TYPE* mt);
HRESULT CopyMediaTypeContents(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE& source);
// A new AM_MEDIA_TYPE in task memory, for the caller to free with DeleteTaskMediaType.
HRESULT NewTaskMediaType(const AM_MEDIA_TYPE& source, AM_MEDIA_TYPE** out);
void DeleteTaskMediaType(AM_MEDIA_TYPE* mt);

// True when every non-null GUID of the partial type equals the full type's.
bool MatchesPartialType(const AM_MEDIA_TYPE* partial, const AM_MEDIA_TYPE& full);
// True when majortype, formattype and a format block are given, i.e. a connection can
// be tried as is; a type naming only the header is a partial type.
bool IsCompleteType(const AM_MEDIA_TYPE& mt);

class MediaType
{
public:
    MediaType();
    ~MediaType();
    MediaType(const MediaType& other);             // throws std::bad_alloc
    MediaType& operator=(const MediaType& other);  // throws std::bad_alloc
    MediaType(MediaType&& other) noexcept;
    MediaType& operator=(MediaType&& other) noexcept;

    HRESULT Assign(const AM_MEDIA_TYPE& source);
    // Takes a format block allocated with CoTaskMemAlloc.
    void SetFormat(const GUID& formatType, BYTE* block, ULONG size);
    void Clear();

    const AM_MEDIA_TYPE& Get() const { return m_mt; }
    AM_MEDIA_TYPE& Edit() { return m_mt; }

private:
    AM_MEDIA_TYPE m_mt;
};
