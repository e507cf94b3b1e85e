// The plumbing every DirectShow filter of ours shares, in the manner of Wine's strmbase:
// one base holding state, clock, graph, name and pins; each filter plugs its own work in
// through a few callbacks. The filter class lists FilterBase's interfaces in its table
// (IBaseFilter, IMediaFilter, IPersist) and is made with comkit::CreateObject.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "comkit/CriticalSection.h"

namespace comkit
{

class PinBase;

class FilterBase : public IBaseFilter
{
public:
    FilterBase(const FilterBase&) = delete;
    FilterBase& operator=(const FilterBase&) = delete;

    // IPersist
    STDMETHODIMP GetClassID(CLSID* clsid) override;

    // IMediaFilter
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME streamStart) override;
    STDMETHODIMP GetState(DWORD timeoutMs, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;

    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

    // For the filter's pins and its own code.
    CriticalSection& StateLock() { return m_stateLock; }  // serialises state and connection changes
    CriticalSection& DataLock()
    {
        return m_dataLock;
    }  // guards what queries read; never held while calling out
    FILTER_STATE State();
    Microsoft::WRL::ComPtr<IFilterGraph> Graph();
    Microsoft::WRL::ComPtr<IReferenceClock> Clock();
    // Sends an event to the graph's IMediaEventSink; S_FALSE outside a graph. Safe on a
    // streaming thread: no reference is taken.
    HRESULT NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2);

protected:
    explicit FilterBase(const CLSID& clsid) : m_clsid(clsid) {}
    ~FilterBase() = default;

    // The filter's pins in order; null past the last one.
    virtual PinBase* PinAt(size_t index) = 0;
    // State changes, called holding the state lock before the new state is set. A
    // failure leaves the filter stopped (OnStop is called).
    virtual HRESULT OnPause(FILTER_STATE from);
    virtual HRESULT OnRun(REFERENCE_TIME streamStart);
    virtual void OnStop();
    // A live source has nothing to cue while paused: GetState says VFW_S_CANT_CUE.
    virtual bool IsLiveSource() { return false; }

private:
    void SetState(FILTER_STATE state);
    void FailToStopped();

    const CLSID m_clsid;
    CriticalSection m_stateLock;
    CriticalSection m_dataLock;

    // Guarded by m_dataLock.
    FILTER_STATE m_state = State_Stopped;
    Microsoft::WRL::ComPtr<IReferenceClock> m_clock;
    IFilterGraph* m_graph = nullptr;      // not counted: the graph owns its filters
    IMediaEventSink* m_events = nullptr;  // the graph's, not counted either
    wchar_t m_name[MAX_FILTER_NAME] = {};
};

}  // namespace comkit
