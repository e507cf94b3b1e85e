// The mux's COM identity and filter states. Pause starts a new file (the header region
// goes out at once), Stop finishes it; samples are taken only in between.
#include "AviMuxFilter.h"

#include <cwchar>
#include <new>

#include "../WinecompatGuids.h"
#include "comkit/Enumerator.h"
#include "AviMux.h"

STDMETHODIMP AviMux::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IBaseFilter || riid == IID_IMediaFilter || riid == IID_IPersist)
        *ppv = static_cast<IBaseFilter*>(this);
    else if (riid == IID_IMediaSeeking)
        *ppv = static_cast<IMediaSeeking*>(this);
    else if (riid == IID_IConfigInterleaving)
        *ppv = static_cast<IConfigInterleaving*>(this);
    else if (riid == IID_IConfigAviMux)
        *ppv = static_cast<IConfigAviMux*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) AviMux::Release()
{
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP AviMux::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = CLSID_TarnviewAviMux;
    return S_OK;
}

// A failed Pause leaves Wine's graph half paused and unable to let go of its filters,
// so a file that cannot start is reported as an event instead (BeginFile).
STDMETHODIMP AviMux::Pause()
{
    comkit::Lock lock(m_stateLock);
    if (m_state == State_Stopped)
        BeginFile();
    m_state = State_Paused;
    return S_OK;
}

STDMETHODIMP AviMux::Run(REFERENCE_TIME)
{
    comkit::Lock lock(m_stateLock);
    if (m_state == State_Stopped)
        BeginFile();
    m_state = State_Running;
    return S_OK;
}

STDMETHODIMP AviMux::Stop()
{
    comkit::Lock lock(m_stateLock);
    if (m_state != State_Stopped)
        FinishFile();
    m_state = State_Stopped;
    return S_OK;
}

STDMETHODIMP AviMux::GetState(DWORD, FILTER_STATE* state)
{
    if (!state)
        return E_POINTER;
    comkit::Lock lock(m_stateLock);
    *state = m_state;
    return S_OK;
}

STDMETHODIMP AviMux::SetSyncSource(IReferenceClock* clock)
{
    comkit::Lock lock(m_stateLock);
    m_clock = clock;
    return S_OK;
}

STDMETHODIMP AviMux::GetSyncSource(IReferenceClock** clock)
{
    if (!clock)
        return E_POINTER;
    comkit::Lock lock(m_stateLock);
    *clock = m_clock.Get();
    if (*clock)
        (*clock)->AddRef();
    return S_OK;
}

STDMETHODIMP AviMux::EnumPins(IEnumPins** pins)
{
    try {
        return comkit::CreatePinEnumerator(static_cast<IBaseFilter*>(this), {&m_input, &m_output}, pins);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP AviMux::FindPin(LPCWSTR id, IPin** pin)
{
    if (!id || !pin)
        return E_POINTER;
    *pin = nullptr;
    if (wcscmp(id, L"Input 01") == 0)
        *pin = &m_input;
    else if (wcscmp(id, L"AVI Out") == 0)
        *pin = &m_output;
    else
        return VFW_E_NOT_FOUND;
    (*pin)->AddRef();
    return S_OK;
}

STDMETHODIMP AviMux::QueryFilterInfo(FILTER_INFO* info)
{
    if (!info)
        return E_POINTER;
    comkit::Lock lock(m_stateLock);
    wcsncpy(info->achName, m_name, MAX_FILTER_NAME);
    info->pGraph = m_graph;
    if (info->pGraph)
        info->pGraph->AddRef();
    return S_OK;
}

STDMETHODIMP AviMux::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    comkit::Lock lock(m_stateLock);
    m_graph = graph;
    wcsncpy(m_name, name ? name : L"", MAX_FILTER_NAME - 1);
    m_name[MAX_FILTER_NAME - 1] = L'\0';
    return S_OK;
}

STDMETHODIMP AviMux::QueryVendorInfo(LPWSTR* info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

bool AviMux::IsStopped()
{
    comkit::Lock lock(m_stateLock);
    return m_state == State_Stopped;
}

HRESULT CreateAviMux(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    auto* mux = new (std::nothrow) AviMux;
    if (!mux)
        return E_OUTOFMEMORY;
    HRESULT hr = mux->QueryInterface(riid, ppv);
    mux->Release();
    return hr;
}
