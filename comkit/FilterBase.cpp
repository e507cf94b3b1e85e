#include "comkit/FilterBase.h"

#include <cwchar>
#include <vector>

#include "comkit/Enumerator.h"
#include "comkit/PinBase.h"

using Microsoft::WRL::ComPtr;

namespace comkit
{

STDMETHODIMP FilterBase::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = m_clsid;
    return S_OK;
}

STDMETHODIMP FilterBase::Stop()
{
    Lock state(m_stateLock);
    OnStop();
    SetState(State_Stopped);
    return S_OK;
}

STDMETHODIMP FilterBase::Pause()
{
    Lock state(m_stateLock);
    const HRESULT hr = OnPause(State());
    if (FAILED(hr))
    {
        FailToStopped();
        return hr;
    }
    SetState(State_Paused);
    return S_OK;
}

STDMETHODIMP FilterBase::Run(REFERENCE_TIME streamStart)
{
    Lock state(m_stateLock);
    if (State() == State_Stopped)
    {
        const HRESULT hr = Pause();
        if (FAILED(hr))
            return hr;
    }
    const HRESULT hr = OnRun(streamStart);
    if (FAILED(hr))
    {
        FailToStopped();
        return hr;
    }
    SetState(State_Running);
    return S_OK;
}

STDMETHODIMP FilterBase::GetState(DWORD, FILTER_STATE* state)
{
    if (!state)
        return E_POINTER;
    *state = State();
    return *state == State_Paused && IsLiveSource() ? VFW_S_CANT_CUE : S_OK;
}

STDMETHODIMP FilterBase::SetSyncSource(IReferenceClock* clock)
{
    ComPtr<IReferenceClock> previous = clock;
    Lock data(m_dataLock);
    m_clock.Swap(previous);
    return S_OK;
}

STDMETHODIMP FilterBase::GetSyncSource(IReferenceClock** clock)
{
    if (!clock)
        return E_POINTER;
    *clock = Clock().Detach();
    return S_OK;
}

STDMETHODIMP FilterBase::EnumPins(IEnumPins** pins)
{
    if (!pins)
        return E_POINTER;
    *pins = nullptr;
    try
    {
        std::vector<ComPtr<IPin>> list;
        for (size_t i = 0; PinBase* pin = PinAt(i); ++i)
            list.emplace_back(pin);
        return CreatePinEnumerator(this, std::move(list), pins);
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP FilterBase::FindPin(LPCWSTR id, IPin** pin)
{
    if (!id || !pin)
        return E_POINTER;
    *pin = nullptr;
    for (size_t i = 0; PinBase* candidate = PinAt(i); ++i)
    {
        if (wcscmp(candidate->Name(), id) == 0)
        {
            *pin = ComPtr<IPin>(candidate).Detach();
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP FilterBase::QueryFilterInfo(FILTER_INFO* info)
{
    if (!info)
        return E_POINTER;
    {
        Lock data(m_dataLock);
        wcsncpy(info->achName, m_name, MAX_FILTER_NAME - 1);
        info->achName[MAX_FILTER_NAME - 1] = L'\0';
    }
    info->pGraph = Graph().Detach();
    return S_OK;
}

// The graph's event sink is found here, on the thread that adds the filter, and kept
// uncounted like the graph: the graph outlives its filters, and a streaming thread that
// sends an event then touches no reference count of the graph's.
STDMETHODIMP FilterBase::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    IMediaEventSink* events = nullptr;
    ComPtr<IMediaEventSink> counted;
    if (graph && SUCCEEDED(graph->QueryInterface(IID_PPV_ARGS(&counted))))
        events = counted.Get();
    Lock data(m_dataLock);
    m_graph = graph;
    m_events = events;
    wcsncpy(m_name, name ? name : L"", MAX_FILTER_NAME - 1);
    m_name[MAX_FILTER_NAME - 1] = L'\0';
    return S_OK;
}

STDMETHODIMP FilterBase::QueryVendorInfo(LPWSTR* info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

FILTER_STATE FilterBase::State()
{
    Lock data(m_dataLock);
    return m_state;
}

ComPtr<IFilterGraph> FilterBase::Graph()
{
    IFilterGraph* graph;
    {
        Lock data(m_dataLock);
        graph = m_graph;
    }
    return ComPtr<IFilterGraph>(graph);
}

ComPtr<IReferenceClock> FilterBase::Clock()
{
    Lock data(m_dataLock);
    return m_clock;
}

HRESULT FilterBase::NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2)
{
    IMediaEventSink* events;
    {
        Lock data(m_dataLock);
        events = m_events;
    }
    return events ? events->Notify(code, param1, param2) : S_FALSE;
}

HRESULT FilterBase::OnPause(FILTER_STATE)
{
    return S_OK;
}
HRESULT FilterBase::OnRun(REFERENCE_TIME)
{
    return S_OK;
}
void FilterBase::OnStop()
{
}

void FilterBase::SetState(FILTER_STATE state)
{
    Lock data(m_dataLock);
    m_state = state;
}

void FilterBase::FailToStopped()
{
    OnStop();
    SetState(State_Stopped);
}

}  // namespace comkit
