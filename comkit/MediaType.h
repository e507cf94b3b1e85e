// AM_MEDIA_TYPE: the platform's free/copy/delete operations, and an owning holder.
// Freeing goes by cbFormat as the platform's FreeMediaType does (a format block the count
// does not announce is not the type's to free) and releases pUnk. The program keeps its
// own names for them (capture/MediaTypeRecord.h).
#pragma once

#include <windows.h>
#include <dshow.h>

#include <memory>

namespace comkit
{

inline void FreeMediaType(AM_MEDIA_TYPE& type)
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

// A deep copy into *target (format block in task memory, pUnk AddRef'ed); on failure
// *target owns nothing.
HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE& source);
// A copy in task memory, as IEnumMediaTypes and IAMStreamConfig hand types out.
HRESULT CreateMediaType(const AM_MEDIA_TYPE& source, AM_MEDIA_TYPE** out);
// Frees a type from task memory and its contents. Does nothing for null.
inline void DeleteMediaType(AM_MEDIA_TYPE* type)
{
    if (!type)
        return;
    FreeMediaType(*type);
    CoTaskMemFree(type);
}

struct MediaTypeDelete
{
    void operator()(AM_MEDIA_TYPE* type) const { DeleteMediaType(type); }
};
// Owner of a task-memory media type handed out by someone else.
using TaskMediaType = std::unique_ptr<AM_MEDIA_TYPE, MediaTypeDelete>;

// True when every non-null GUID of the partial type equals the full type's; null
// matches everything.
bool MatchesPartialType(const AM_MEDIA_TYPE* partial, const AM_MEDIA_TYPE& full);
// True when majortype, formattype and a format block are given, i.e. a connection can
// be tried as is; a type naming only the header is a partial type.
bool IsCompleteType(const AM_MEDIA_TYPE& type);

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

    const AM_MEDIA_TYPE& Get() const { return m_type; }
    AM_MEDIA_TYPE& Edit() { return m_type; }

private:
    AM_MEDIA_TYPE m_type;
};

}  // namespace comkit
