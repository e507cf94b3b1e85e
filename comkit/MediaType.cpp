#include "comkit/MediaType.h"

#include <new>

namespace comkit
{

HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE& source)
{
    *target = source;
    target->pbFormat = nullptr;
    target->cbFormat = 0;
    if (source.cbFormat && source.pbFormat)
    {
        target->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source.cbFormat));
        if (!target->pbFormat)
        {
            target->pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        CopyMemory(target->pbFormat, source.pbFormat, source.cbFormat);
        target->cbFormat = source.cbFormat;
    }
    if (target->pUnk)
        target->pUnk->AddRef();
    return S_OK;
}

HRESULT CreateMediaType(const AM_MEDIA_TYPE& source, AM_MEDIA_TYPE** out)
{
    *out = nullptr;
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!type)
        return E_OUTOFMEMORY;
    const HRESULT hr = CopyMediaType(type, source);
    if (FAILED(hr))
    {
        CoTaskMemFree(type);
        return hr;
    }
    *out = type;
    return S_OK;
}

bool MatchesPartialType(const AM_MEDIA_TYPE* partial, const AM_MEDIA_TYPE& full)
{
    if (!partial)
        return true;
    if (partial->majortype != GUID_NULL && partial->majortype != full.majortype)
        return false;
    if (partial->subtype != GUID_NULL && partial->subtype != full.subtype)
        return false;
    return partial->formattype == GUID_NULL || partial->formattype == full.formattype;
}

bool IsCompleteType(const AM_MEDIA_TYPE& type)
{
    return type.majortype != GUID_NULL && type.formattype != GUID_NULL && type.pbFormat && type.cbFormat;
}

MediaType::MediaType() : m_type{}
{
}

MediaType::~MediaType()
{
    FreeMediaType(m_type);
}

MediaType::MediaType(const MediaType& other) : MediaType()
{
    if (FAILED(Assign(other.m_type)))
        throw std::bad_alloc();
}

MediaType& MediaType::operator=(const MediaType& other)
{
    if (this != &other && FAILED(Assign(other.m_type)))
        throw std::bad_alloc();
    return *this;
}

MediaType::MediaType(MediaType&& other) noexcept : m_type(other.m_type)
{
    other.m_type = AM_MEDIA_TYPE{};
}

MediaType& MediaType::operator=(MediaType&& other) noexcept
{
    if (this != &other)
    {
        FreeMediaType(m_type);
        m_type = other.m_type;
        other.m_type = AM_MEDIA_TYPE{};
    }
    return *this;
}

HRESULT MediaType::Assign(const AM_MEDIA_TYPE& source)
{
    AM_MEDIA_TYPE copy;
    const HRESULT hr = CopyMediaType(&copy, source);
    if (FAILED(hr))
        return hr;
    FreeMediaType(m_type);
    m_type = copy;
    return S_OK;
}

void MediaType::SetFormat(const GUID& formatType, BYTE* block, ULONG size)
{
    if (m_type.cbFormat != 0)
        CoTaskMemFree(m_type.pbFormat);
    m_type.formattype = formatType;
    m_type.pbFormat = block;
    m_type.cbFormat = size;
}

void MediaType::Clear()
{
    FreeMediaType(m_type);
    m_type = AM_MEDIA_TYPE{};
}

}  // namespace comkit
