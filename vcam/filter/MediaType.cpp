#include "vcam/filter/MediaType.h"

#include <new>
#include <utility>

void FreeMediaTypeContents(AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return;
    if (mt->pbFormat)
        CoTaskMemFree(mt->pbFormat);
    mt->pbFormat = nullptr;
    mt->cbFormat = 0;
    if (mt->pUnk)
        mt->pUnk->Release();
    mt->pUnk = nullptr;
}

HRESULT CopyMediaTypeContents(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE& source)
{
    *target = source;
    target->pbFormat = nullptr;
    target->cbFormat = 0;
    if (source.cbFormat && source.pbFormat) {
        target->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source.cbFormat));
        if (!target->pbFormat) {
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

HRESULT NewTaskMediaType(const AM_MEDIA_TYPE& source, AM_MEDIA_TYPE** out)
{
    *out = nullptr;
    auto* mt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!mt)
        return E_OUTOFMEMORY;
    const HRESULT hr = CopyMediaTypeContents(mt, source);
    if (FAILED(hr)) {
        CoTaskMemFree(mt);
        return hr;
    }
    *out = mt;
    return S_OK;
}

void DeleteTaskMediaType(AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return;
    FreeMediaTypeContents(mt);
    CoTaskMemFree(mt);
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

bool IsCompleteType(const AM_MEDIA_TYPE& mt)
{
    return mt.majortype != GUID_NULL && mt.formattype != GUID_NULL && mt.pbFormat && mt.cbFormat;
}

MediaType::MediaType() { ZeroMemory(&m_mt, sizeof(m_mt)); }

MediaType::~MediaType() { FreeMediaTypeContents(&m_mt); }

MediaType::MediaType(const MediaType& other) : MediaType()
{
    if (FAILED(Assign(other.m_mt)))
        throw std::bad_alloc();
}

MediaType& MediaType::operator=(const MediaType& other)
{
    if (this != &other && FAILED(Assign(other.m_mt)))
        throw std::bad_alloc();
    return *this;
}

MediaType::MediaType(MediaType&& other) noexcept : m_mt(other.m_mt)
{
    ZeroMemory(&other.m_mt, sizeof(other.m_mt));
}

MediaType& MediaType::operator=(MediaType&& other) noexcept
{
    if (this != &other) {
        FreeMediaTypeContents(&m_mt);
        m_mt = other.m_mt;
        ZeroMemory(&other.m_mt, sizeof(other.m_mt));
    }
    return *this;
}

HRESULT MediaType::Assign(const AM_MEDIA_TYPE& source)
{
    AM_MEDIA_TYPE copy;
    const HRESULT hr = CopyMediaTypeContents(&copy, source);
    if (FAILED(hr))
        return hr;
    FreeMediaTypeContents(&m_mt);
    m_mt = copy;
    return S_OK;
}

void MediaType::SetFormat(const GUID& formatType, BYTE* block, ULONG size)
{
    if (m_mt.pbFormat)
        CoTaskMemFree(m_mt.pbFormat);
    m_mt.formattype = formatType;
    m_mt.pbFormat = block;
    m_mt.cbFormat = size;
}

void MediaType::Clear()
{
    FreeMediaTypeContents(&m_mt);
    ZeroMemory(&m_mt, sizeof(m_mt));
}
