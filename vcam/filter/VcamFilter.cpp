#include "vcam/filter/VcamFilter.h"

#include <algorithm>
#include <new>

#include "vcam/VcamGuids.h"
#include "vcam/filter/PinEnumerator.h"

using Microsoft::WRL::ComPtr;

HRESULT CreateVcamFilter(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    try {
        auto* filter = new VcamFilter();
        const HRESULT hr = filter->QueryInterface(riid, ppv);
        filter->Release();
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

VcamFilter::VcamFilter()
    : m_capture(new VcamPin(*this, PinRole::Capture)),
      m_preview(new VcamPin(*this, PinRole::Preview)),
      m_videoPort(new VcamPin(*this, PinRole::VideoPort))
{
    ApplySettings(DeviceSettings());
}

VcamFilter::~VcamFilter()
{
    // Released while running (its graph gone without stopping it): end the threads first.
    StopStreaming();
}

STDMETHODIMP VcamFilter::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IPersist || riid == IID_IMediaFilter || riid == IID_IBaseFilter)
        *ppv = static_cast<IBaseFilter*>(this);
    else if (riid == IID_IAMFilterMiscFlags)
        *ppv = static_cast<IAMFilterMiscFlags*>(this);
    else if (riid == IID_IVcamScene)
        *ppv = static_cast<IVcamScene*>(this);
    else if (riid == IID_IPersistPropertyBag)
        *ppv = static_cast<IPersistPropertyBag*>(this);
    else if (riid == IID_ISpecifyPropertyPages) {
        CritSecLock lock(m_dataLock);
        if (!(m_settings.faults & VcamFault::NoPropertyPages))
            *ppv = static_cast<ISpecifyPropertyPages*>(this);
    }
    if (!*ppv)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) VcamFilter::AddRef() { return InterlockedIncrement(&m_refs); }

STDMETHODIMP_(ULONG) VcamFilter::Release()
{
    const ULONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP VcamFilter::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = CLSID_TarnviewVirtualCamera;
    return S_OK;
}

STDMETHODIMP VcamFilter::Stop()
{
    CritSecLock state(m_stateLock);
    StopStreaming();
    CritSecLock data(m_dataLock);
    m_state = State_Stopped;
    return S_OK;
}

STDMETHODIMP VcamFilter::Pause()
{
    CritSecLock state(m_stateLock);
    const FILTER_STATE current = State();
    if (current == State_Stopped)
        m_events.Rearm();
    for (VcamPin* pin : VisiblePins()) {
        if (!pin->IsConnected())
            continue;
        if (current == State_Running) {
            pin->Pause();
            continue;
        }
        if (current == State_Stopped) {
            const HRESULT hr = pin->Activate();
            if (FAILED(hr)) {
                StopStreaming();
                return hr;
            }
        }
    }
    CritSecLock data(m_dataLock);
    m_state = State_Paused;
    return S_OK;
}

STDMETHODIMP VcamFilter::Run(REFERENCE_TIME streamStart)
{
    CritSecLock state(m_stateLock);
    if (State() == State_Stopped) {
        const HRESULT hr = Pause();
        if (FAILED(hr))
            return hr;
    }
    ComPtr<IReferenceClock> clock;
    {
        CritSecLock data(m_dataLock);
        clock = m_clock;
    }
    for (VcamPin* pin : VisiblePins()) {
        if (!pin->IsConnected())
            continue;
        const HRESULT hr = pin->Run(streamStart, clock);
        if (FAILED(hr)) {
            StopStreaming();
            CritSecLock data(m_dataLock);
            m_state = State_Stopped;
            return hr;
        }
    }
    CritSecLock data(m_dataLock);
    m_state = State_Running;
    return S_OK;
}

STDMETHODIMP VcamFilter::GetState(DWORD, FILTER_STATE* state)
{
    if (!state)
        return E_POINTER;
    *state = State();
    // A live source has nothing to cue while paused.
    return *state == State_Paused ? VFW_S_CANT_CUE : S_OK;
}

STDMETHODIMP VcamFilter::SetSyncSource(IReferenceClock* clock)
{
    CritSecLock data(m_dataLock);
    m_clock = clock;
    return S_OK;
}

STDMETHODIMP VcamFilter::GetSyncSource(IReferenceClock** clock)
{
    if (!clock)
        return E_POINTER;
    CritSecLock data(m_dataLock);
    *clock = ComPtr<IReferenceClock>(m_clock).Detach();
    return S_OK;
}

STDMETHODIMP VcamFilter::EnumPins(IEnumPins** enumerator)
{
    if (!enumerator)
        return E_POINTER;
    *enumerator = nullptr;
    try {
        std::vector<ComPtr<IPin>> pins;
        for (VcamPin* pin : VisiblePins())
            pins.emplace_back(pin);
        return CreatePinEnumerator(this, std::move(pins), 0, enumerator);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP VcamFilter::FindPin(LPCWSTR id, IPin** pin)
{
    if (!id || !pin)
        return E_POINTER;
    *pin = nullptr;
    for (VcamPin* candidate : VisiblePins()) {
        if (candidate->Name() == id) {
            *pin = candidate;
            candidate->AddRef();
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP VcamFilter::QueryFilterInfo(FILTER_INFO* info)
{
    if (!info)
        return E_POINTER;
    CritSecLock data(m_dataLock);
    const size_t length = std::min<size_t>(m_name.size(), ARRAYSIZE(info->achName) - 1);
    m_name.copy(info->achName, length);
    info->achName[length] = L'\0';
    info->pGraph = m_graph;
    if (info->pGraph)
        info->pGraph->AddRef();
    return S_OK;
}

STDMETHODIMP VcamFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    try {
        CritSecLock data(m_dataLock);
        m_name = name ? name : L"";
        m_graph = graph;
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP VcamFilter::QueryVendorInfo(LPWSTR* info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

FILTER_STATE VcamFilter::State()
{
    CritSecLock data(m_dataLock);
    return m_state;
}

ComPtr<IFilterGraph> VcamFilter::Graph()
{
    CritSecLock data(m_dataLock);
    return ComPtr<IFilterGraph>(m_graph);
}

VcamFilter::PinList VcamFilter::VisiblePins()
{
    CritSecLock data(m_dataLock);
    PinList list = {{m_capture.get(), nullptr, nullptr}, 1};
    if (m_settings.previewPin)
        list.pins[list.count++] = m_preview.get();
    if (m_settings.videoPortPin)
        list.pins[list.count++] = m_videoPort.get();
    return list;
}

bool VcamFilter::AnyPinConnected()
{
    return m_capture->IsConnected() || m_preview->IsConnected() || m_videoPort->IsConnected();
}

void VcamFilter::StopStreaming()
{
    m_capture->Deactivate();
    m_preview->Deactivate();
    m_videoPort->Deactivate();
}
