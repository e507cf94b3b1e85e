#include "StreamWriter.h"

#include <strmif.h>
#include <control.h>
#include <evcode.h>
#include <vfwmsgs.h>
#include <wrl/client.h>

#include <cwchar>
#include <new>

#include "../ModuleLife.h"
#include "../WinecompatGuids.h"
#include "CriticalSection.h"
#include "Enumerators.h"
#include "FileTarget.h"
#include "WriterPin.h"

using Microsoft::WRL::ComPtr;

namespace {

class StreamWriter final : public IBaseFilter, public IFileSinkFilter, public IAMFilterMiscFlags,
                           private WriterPinHost {
public:
    StreamWriter() : m_pin(*this) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IBaseFilter || riid == IID_IMediaFilter || riid == IID_IPersist)
            *ppv = static_cast<IBaseFilter*>(this);
        else if (riid == IID_IFileSinkFilter)
            *ppv = static_cast<IFileSinkFilter*>(this);
        else if (riid == IID_IAMFilterMiscFlags)
            *ppv = static_cast<IAMFilterMiscFlags*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return refs;
    }

    // IPersist, IMediaFilter
    STDMETHODIMP GetClassID(CLSID* clsid) override
    {
        if (!clsid)
            return E_POINTER;
        *clsid = CLSID_TarnviewStreamFileWriter;
        return S_OK;
    }
    STDMETHODIMP Stop() override
    {
        // The file stays open: the mux writes its headers while it stops.
        ScopedLock lock(m_lock);
        m_state = State_Stopped;
        m_eosPending = false;
        return S_OK;
    }
    STDMETHODIMP Pause() override
    {
        ScopedLock lock(m_lock);
        if (m_state == State_Stopped) {
            HRESULT hr = m_file.Open();
            if (FAILED(hr))
                return hr;
        }
        m_state = State_Paused;
        return S_OK;
    }
    STDMETHODIMP Run(REFERENCE_TIME) override
    {
        ScopedLock lock(m_lock);
        if (m_state == State_Stopped) {
            HRESULT hr = m_file.Open();
            if (FAILED(hr))
                return hr;
        }
        m_state = State_Running;
        if (m_eosPending)
            NotifyComplete();
        m_eosPending = false;
        return S_OK;
    }
    STDMETHODIMP GetState(DWORD, FILTER_STATE* state) override
    {
        if (!state)
            return E_POINTER;
        ScopedLock lock(m_lock);
        *state = m_state;
        return S_OK;
    }
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override
    {
        ScopedLock lock(m_lock);
        m_clock = clock;
        return S_OK;
    }
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override
    {
        if (!clock)
            return E_POINTER;
        ScopedLock lock(m_lock);
        *clock = m_clock.Get();
        if (*clock)
            (*clock)->AddRef();
        return S_OK;
    }

    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** pins) override { return CreateSinglePinEnum(&m_pin, 0, pins); }
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override
    {
        if (!id || !pin)
            return E_POINTER;
        *pin = nullptr;
        if (wcscmp(id, L"in") != 0)
            return VFW_E_NOT_FOUND;
        *pin = &m_pin;
        (*pin)->AddRef();
        return S_OK;
    }
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override
    {
        if (!info)
            return E_POINTER;
        ScopedLock lock(m_lock);
        wcsncpy(info->achName, m_name, MAX_FILTER_NAME);
        info->pGraph = m_graph;
        if (info->pGraph)
            info->pGraph->AddRef();
        return S_OK;
    }
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override
    {
        ScopedLock lock(m_lock);
        m_graph = graph;  // not counted: the graph owns us
        wcsncpy(m_name, name ? name : L"", MAX_FILTER_NAME - 1);
        m_name[MAX_FILTER_NAME - 1] = L'\0';
        return S_OK;
    }
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override
    {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }

    // IFileSinkFilter
    STDMETHODIMP SetFileName(LPCOLESTR file, const AM_MEDIA_TYPE*) override
    {
        if (!file)
            return E_POINTER;
        ScopedLock lock(m_lock);
        if (m_state != State_Stopped)
            return VFW_E_NOT_STOPPED;
        return m_file.SetName(file);
    }
    STDMETHODIMP GetCurFile(LPOLESTR* file, AM_MEDIA_TYPE* type) override
    {
        if (!file)
            return E_POINTER;
        *file = nullptr;
        if (type)
            ZeroMemory(type, sizeof(*type));
        return m_file.CopyName(file);
    }

    // IAMFilterMiscFlags: the graph waits for our EC_COMPLETE.
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

private:
    // WriterPinHost
    IBaseFilter* HostFilter() override { return this; }
    FileTarget& File() override { return m_file; }
    bool IsStopped() override
    {
        ScopedLock lock(m_lock);
        return m_state == State_Stopped;
    }
    void OnEndOfStream() override
    {
        ScopedLock lock(m_lock);
        if (m_state == State_Running)
            NotifyComplete();
        else if (m_state == State_Paused)
            m_eosPending = true;
    }

    void NotifyComplete()
    {
        ComPtr<IMediaEventSink> events;
        if (m_graph && SUCCEEDED(m_graph->QueryInterface(IID_PPV_ARGS(&events))))
            events->Notify(EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this)));
    }

    ModuleObjectCount m_count;
    volatile LONG m_refs = 1;
    CriticalSection m_lock;
    FILTER_STATE m_state = State_Stopped;
    bool m_eosPending = false;
    IFilterGraph* m_graph = nullptr;
    wchar_t m_name[MAX_FILTER_NAME] = {};
    ComPtr<IReferenceClock> m_clock;
    FileTarget m_file;
    WriterPin m_pin;
};

}  // namespace

HRESULT CreateStreamWriter(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    auto* writer = new (std::nothrow) StreamWriter;
    if (!writer)
        return E_OUTOFMEMORY;
    HRESULT hr = writer->QueryInterface(riid, ppv);
    writer->Release();
    return hr;
}
