// The pin's identity and the queries on its connection.
#include "vcam/filter/VcamPin.h"

#include <algorithm>

#include "vcam/filter/MediaTypeEnumerator.h"
#include "vcam/filter/VcamFilter.h"

using Microsoft::WRL::ComPtr;

namespace {
const wchar_t* PinName(PinRole role)
{
    switch (role) {
    case PinRole::Preview:
        return L"Preview";
    case PinRole::VideoPort:
        return L"Video Port";
    case PinRole::Capture:
        break;
    }
    return L"Capture";
}
}

VcamPin::VcamPin(VcamFilter& filter, PinRole role) : m_filter(filter), m_role(role), m_name(PinName(role)) {}

VcamPin::~VcamPin() = default;

void VcamPin::Configure(const DeviceSettings& settings)
{
    CritSecLock data(m_filter.DataLock());
    m_formats.Configure(settings.formats, settings.fps, settings.videoInfo2);
    m_faults = settings.faults;
    m_stopAfterFrames = settings.stopAfterFrames;
}

bool VcamPin::IsConnected()
{
    CritSecLock data(m_filter.DataLock());
    return m_peer != nullptr;
}

bool VcamPin::OffersStreamConfig() const
{
    return m_role != PinRole::VideoPort && !(m_faults & VcamFault::NoStreamConfig);
}

STDMETHODIMP VcamPin::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IPin)
        *ppv = static_cast<IPin*>(this);
    else if (riid == IID_IKsPropertySet)
        *ppv = static_cast<IKsPropertySet*>(this);
    else if (riid == IID_IQualityControl)
        *ppv = static_cast<IQualityControl*>(this);
    else if (riid == IID_IAMDroppedFrames && m_role == PinRole::Capture)
        *ppv = static_cast<IAMDroppedFrames*>(this);
    else if (riid == IID_IAMStreamConfig) {
        CritSecLock data(m_filter.DataLock());
        if (OffersStreamConfig())
            *ppv = static_cast<IAMStreamConfig*>(this);
    }
    if (!*ppv)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) VcamPin::AddRef() { return m_filter.AddRef(); }
STDMETHODIMP_(ULONG) VcamPin::Release() { return m_filter.Release(); }

STDMETHODIMP VcamPin::ReceiveConnection(IPin*, const AM_MEDIA_TYPE*)
{
    // Output pins start connections; they never receive them.
    return E_UNEXPECTED;
}

STDMETHODIMP VcamPin::ConnectedTo(IPin** pin)
{
    if (!pin)
        return E_POINTER;
    CritSecLock data(m_filter.DataLock());
    *pin = ComPtr<IPin>(m_peer).Detach();
    return *pin ? S_OK : VFW_E_NOT_CONNECTED;
}

STDMETHODIMP VcamPin::ConnectionMediaType(AM_MEDIA_TYPE* pmt)
{
    if (!pmt)
        return E_POINTER;
    CritSecLock data(m_filter.DataLock());
    if (!m_peer) {
        ZeroMemory(pmt, sizeof(*pmt));
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaTypeContents(pmt, m_mt.Get());
}

STDMETHODIMP VcamPin::QueryPinInfo(PIN_INFO* info)
{
    if (!info)
        return E_POINTER;
    info->pFilter = &m_filter;
    m_filter.AddRef();
    info->dir = PINDIR_OUTPUT;
    const size_t length = std::min<size_t>(m_name.size(), ARRAYSIZE(info->achName) - 1);
    m_name.copy(info->achName, length);
    info->achName[length] = L'\0';
    return S_OK;
}

STDMETHODIMP VcamPin::QueryDirection(PIN_DIRECTION* direction)
{
    if (!direction)
        return E_POINTER;
    *direction = PINDIR_OUTPUT;
    return S_OK;
}

STDMETHODIMP VcamPin::QueryId(LPWSTR* id)
{
    if (!id)
        return E_POINTER;
    const size_t bytes = (m_name.size() + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*id)
        return E_OUTOFMEMORY;
    CopyMemory(*id, m_name.c_str(), bytes);
    return S_OK;
}

STDMETHODIMP VcamPin::QueryAccept(const AM_MEDIA_TYPE* pmt)
{
    if (!pmt)
        return E_POINTER;
    CritSecLock data(m_filter.DataLock());
    VideoMode mode;
    return m_formats.Accept(*pmt, &mode) ? S_OK : S_FALSE;
}

STDMETHODIMP VcamPin::EnumMediaTypes(IEnumMediaTypes** enumerator)
{
    if (!enumerator)
        return E_POINTER;
    *enumerator = nullptr;
    try {
        std::vector<MediaType> types;
        {
            CritSecLock data(m_filter.DataLock());
            const HRESULT hr = m_formats.OfferedTypes(&types);
            if (FAILED(hr))
                return hr;
        }
        return CreateMediaTypeEnumerator(static_cast<IPin*>(this), std::move(types), 0, enumerator);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP VcamPin::QueryInternalConnections(IPin**, ULONG*)
{
    return E_NOTIMPL;
}

// An output pin passes no stream control messages upstream.
STDMETHODIMP VcamPin::EndOfStream() { return E_UNEXPECTED; }
STDMETHODIMP VcamPin::BeginFlush() { return E_UNEXPECTED; }
STDMETHODIMP VcamPin::EndFlush() { return E_UNEXPECTED; }

STDMETHODIMP VcamPin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double)
{
    return S_OK;
}

// A live camera cannot slow its sensor down: quality messages are taken and ignored.
STDMETHODIMP VcamPin::Notify(IBaseFilter*, Quality)
{
    return S_OK;
}

STDMETHODIMP VcamPin::SetSink(IQualityControl*)
{
    return S_OK;
}
