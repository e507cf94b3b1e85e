// The writer pin's connection side (IPin).
#include "WriterPin.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include <cwchar>

#include "Enumerators.h"

namespace {
const wchar_t kPinName[] = L"in";

LPWSTR TaskCopy(const wchar_t* text)
{
    size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (copy)
        memcpy(copy, text, bytes);
    return copy;
}
}  // namespace

STDMETHODIMP WriterPin::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IPin)
        *ppv = static_cast<IPin*>(this);
    else if (riid == IID_IMemInputPin)
        *ppv = static_cast<IMemInputPin*>(this);
    else if (riid == IID_IStream || riid == IID_ISequentialStream)
        *ppv = static_cast<IStream*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP WriterPin::Connect(IPin*, const AM_MEDIA_TYPE*)
{
    return E_UNEXPECTED;  // an input pin is connected to, it does not connect
}

STDMETHODIMP WriterPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type)
{
    if (!connector || !type)
        return E_POINTER;
    ScopedLock lock(m_lock);
    if (m_peer)
        return VFW_E_ALREADY_CONNECTED;
    if (!m_host.IsStopped())
        return VFW_E_NOT_STOPPED;
    if (QueryAccept(type) != S_OK)
        return VFW_E_TYPE_NOT_ACCEPTED;
    m_peer = connector;
    m_majorType = type->majortype;
    m_subType = type->subtype;
    return S_OK;
}

STDMETHODIMP WriterPin::Disconnect()
{
    ScopedLock lock(m_lock);
    if (!m_host.IsStopped())
        return VFW_E_NOT_STOPPED;
    if (!m_peer)
        return S_FALSE;
    m_peer.Reset();
    return S_OK;
}

STDMETHODIMP WriterPin::ConnectedTo(IPin** pin)
{
    if (!pin)
        return E_POINTER;
    ScopedLock lock(m_lock);
    *pin = m_peer.Get();
    if (!*pin)
        return VFW_E_NOT_CONNECTED;
    (*pin)->AddRef();
    return S_OK;
}

STDMETHODIMP WriterPin::ConnectionMediaType(AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    ScopedLock lock(m_lock);
    ZeroMemory(type, sizeof(*type));
    if (!m_peer)
        return VFW_E_NOT_CONNECTED;
    type->majortype = m_majorType;
    type->subtype = m_subType;
    type->bFixedSizeSamples = TRUE;
    type->lSampleSize = 1;
    type->formattype = GUID_NULL;
    return S_OK;
}

STDMETHODIMP WriterPin::QueryPinInfo(PIN_INFO* info)
{
    if (!info)
        return E_POINTER;
    info->pFilter = m_host.HostFilter();
    info->pFilter->AddRef();
    info->dir = PINDIR_INPUT;
    wcsncpy(info->achName, kPinName, MAX_PIN_NAME - 1);
    info->achName[MAX_PIN_NAME - 1] = L'\0';
    return S_OK;
}

STDMETHODIMP WriterPin::QueryDirection(PIN_DIRECTION* direction)
{
    if (!direction)
        return E_POINTER;
    *direction = PINDIR_INPUT;
    return S_OK;
}

STDMETHODIMP WriterPin::QueryId(LPWSTR* id)
{
    if (!id)
        return E_POINTER;
    *id = TaskCopy(kPinName);
    return *id ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP WriterPin::QueryAccept(const AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    // A byte stream of any kind; the file holds whatever the mux makes of it.
    return type->majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
}

STDMETHODIMP WriterPin::EnumMediaTypes(IEnumMediaTypes** types)
{
    return CreateEmptyMediaTypeEnum(types);
}

STDMETHODIMP WriterPin::QueryInternalConnections(IPin**, ULONG*)
{
    return E_NOTIMPL;
}

STDMETHODIMP WriterPin::EndOfStream()
{
    m_host.OnEndOfStream();
    return S_OK;
}

STDMETHODIMP WriterPin::BeginFlush()
{
    ScopedLock lock(m_lock);
    m_flushing = true;
    return S_OK;
}

STDMETHODIMP WriterPin::EndFlush()
{
    ScopedLock lock(m_lock);
    m_flushing = false;
    return S_OK;
}

STDMETHODIMP WriterPin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double)
{
    return S_OK;
}
