#include "comkit/PinBase.h"

#include <cwchar>
#include <utility>

#include "comkit/OutParam.h"
#include "comkit/TaskMemory.h"

using Microsoft::WRL::ComPtr;

namespace comkit
{

bool PinBase::IsConnected()
{
    Lock data(m_filter.DataLock());
    return m_peer != nullptr;
}

ComPtr<IPin> PinBase::Peer()
{
    Lock data(m_filter.DataLock());
    return m_peer;
}

STDMETHODIMP PinBase::Connect(IPin*, const AM_MEDIA_TYPE*)
{
    // An input pin is connected to; it does not connect. Output pins override this.
    return m_direction == PINDIR_INPUT ? E_UNEXPECTED : E_NOTIMPL;
}

STDMETHODIMP PinBase::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type)
{
    // Output pins start connections; they never receive them.
    if (m_direction == PINDIR_OUTPUT)
        return E_UNEXPECTED;
    if (!connector || !type)
        return E_POINTER;
    try
    {
        Lock state(m_filter.StateLock());
        if (IsConnected())
            return VFW_E_ALREADY_CONNECTED;
        if (m_filter.State() != State_Stopped)
            return VFW_E_NOT_STOPPED;
        MediaType agreed;
        if (AcceptConnection(*type, &agreed) != S_OK)
            return VFW_E_TYPE_NOT_ACCEPTED;
        return SetConnection(connector, agreed.Get());
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT PinBase::AcceptConnection(const AM_MEDIA_TYPE& proposed, MediaType* agreed)
{
    if (QueryAccept(&proposed) != S_OK)
        return S_FALSE;
    return agreed->Assign(proposed);
}

STDMETHODIMP PinBase::Disconnect()
{
    Lock state(m_filter.StateLock());
    if (m_filter.State() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    if (!IsConnected())
        return S_FALSE;
    OnDisconnect();
    ClearConnection();
    return S_OK;
}

STDMETHODIMP PinBase::ConnectedTo(IPin** pin)
{
    if (!pin)
        return E_POINTER;
    *pin = Peer().Detach();
    return *pin ? S_OK : VFW_E_NOT_CONNECTED;
}

STDMETHODIMP PinBase::ConnectionMediaType(AM_MEDIA_TYPE* type)
{
    if (!type)
        return E_POINTER;
    Lock data(m_filter.DataLock());
    if (!m_peer)
    {
        *type = AM_MEDIA_TYPE{};
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(type, m_type.Get());
}

STDMETHODIMP PinBase::QueryPinInfo(PIN_INFO* info)
{
    if (!info)
        return E_POINTER;
    info->pFilter = &m_filter;
    m_filter.AddRef();
    info->dir = m_direction;
    wcsncpy(info->achName, m_name, MAX_PIN_NAME - 1);
    info->achName[MAX_PIN_NAME - 1] = L'\0';
    return S_OK;
}

STDMETHODIMP PinBase::QueryDirection(PIN_DIRECTION* direction)
{
    return SetOut(direction, m_direction);
}

STDMETHODIMP PinBase::QueryId(LPWSTR* id)
{
    if (!id)
        return E_POINTER;
    return CopyToTaskString(m_name, id);
}

STDMETHODIMP PinBase::QueryInternalConnections(IPin**, ULONG*)
{
    return E_NOTIMPL;
}

// Stream control messages travel downstream: an output pin takes none.
STDMETHODIMP PinBase::EndOfStream()
{
    return m_direction == PINDIR_OUTPUT ? E_UNEXPECTED : S_OK;
}
STDMETHODIMP PinBase::BeginFlush()
{
    return m_direction == PINDIR_OUTPUT ? E_UNEXPECTED : S_OK;
}
STDMETHODIMP PinBase::EndFlush()
{
    return m_direction == PINDIR_OUTPUT ? E_UNEXPECTED : S_OK;
}

STDMETHODIMP PinBase::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double)
{
    return S_OK;
}

HRESULT PinBase::SetConnection(IPin* peer, const AM_MEDIA_TYPE& type)
{
    MediaType copy;
    const HRESULT hr = copy.Assign(type);
    if (FAILED(hr))
        return hr;
    Lock data(m_filter.DataLock());
    m_type = std::move(copy);
    m_peer = peer;
    return S_OK;
}

// The peer and the type's pUnk are released after the lock is left.
void PinBase::ClearConnection()
{
    ComPtr<IPin> peer;
    MediaType type;
    {
        Lock data(m_filter.DataLock());
        peer.Swap(m_peer);
        type = std::move(m_type);
    }
}

HRESULT PinBase::ConnectionType(MediaType* type)
{
    Lock data(m_filter.DataLock());
    if (!m_peer)
    {
        type->Clear();
        return S_OK;
    }
    return type->Assign(m_type.Get());
}

}  // namespace comkit
