// What the mux's pins share: media type copies, identity, the peer.
#include "MuxPins.h"

#include <cwchar>

#include "comkit/Enumerator.h"

void FreeMediaTypeContents(AM_MEDIA_TYPE& type)
{
    CoTaskMemFree(type.pbFormat);
    type.pbFormat = nullptr;
    type.cbFormat = 0;
    if (type.pUnk) {
        type.pUnk->Release();
        type.pUnk = nullptr;
    }
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE& source)
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
        memcpy(target->pbFormat, source.pbFormat, source.cbFormat);
        target->cbFormat = source.cbFormat;
    }
    if (target->pUnk)
        target->pUnk->AddRef();
    return S_OK;
}

MuxPinBase::~MuxPinBase()
{
    FreeMediaTypeContents(m_type);
}

HRESULT MuxPinBase::StoreConnection(IPin* peer, const AM_MEDIA_TYPE& type)
{
    AM_MEDIA_TYPE copy;
    HRESULT hr = CopyMediaType(&copy, type);
    if (FAILED(hr))
        return hr;
    FreeMediaTypeContents(m_type);
    m_type = copy;
    m_peer = peer;
    return S_OK;
}

void MuxPinBase::ClearConnection()
{
    m_peer.Reset();
    FreeMediaTypeContents(m_type);
    m_type = AM_MEDIA_TYPE{};
}

bool MuxPinBase::IsConnected()
{
    comkit::Lock lock(m_lock);
    return m_peer != nullptr;
}

STDMETHODIMP MuxPinBase::ConnectedTo(IPin** pin)
{
    if (!pin)
        return E_POINTER;
    comkit::Lock lock(m_lock);
    *pin = m_peer.Get();
    if (!*pin)
        return VFW_E_NOT_CONNECTED;
    (*pin)->AddRef();
    return S_OK;
}

STDMETHODIMP MuxPinBase::ConnectionMediaType(AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    comkit::Lock lock(m_lock);
    ZeroMemory(type, sizeof(*type));
    if (!m_peer)
        return VFW_E_NOT_CONNECTED;
    return CopyMediaType(type, m_type);
}

STDMETHODIMP MuxPinBase::QueryPinInfo(PIN_INFO* info)
{
    if (!info)
        return E_POINTER;
    info->pFilter = m_host.HostFilter();
    info->pFilter->AddRef();
    info->dir = m_direction;
    wcsncpy(info->achName, m_name, MAX_PIN_NAME - 1);
    info->achName[MAX_PIN_NAME - 1] = L'\0';
    return S_OK;
}

STDMETHODIMP MuxPinBase::QueryDirection(PIN_DIRECTION* direction)
{
    if (!direction)
        return E_POINTER;
    *direction = m_direction;
    return S_OK;
}

STDMETHODIMP MuxPinBase::QueryId(LPWSTR* id)
{
    if (!id)
        return E_POINTER;
    const size_t bytes = (wcslen(m_name) + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*id)
        return E_OUTOFMEMORY;
    memcpy(*id, m_name, bytes);
    return S_OK;
}

STDMETHODIMP MuxPinBase::EnumMediaTypes(IEnumMediaTypes** types)
{
    try {
        return comkit::CreateMediaTypeEnumerator(m_host.HostFilter(), {}, types);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP MuxPinBase::QueryInternalConnections(IPin**, ULONG*)
{
    return E_NOTIMPL;
}

STDMETHODIMP MuxPinBase::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double)
{
    return S_OK;
}
