#include "StreamWriter.h"

#include <strmif.h>
#include <control.h>
#include <evcode.h>
#include <vfwmsgs.h>

#include "../WinecompatGuids.h"
#include "FileTarget.h"
#include "WriterPin.h"
#include "comkit/FilterBase.h"
#include "comkit/Unknown.h"

namespace
{

class StreamWriter : public comkit::FilterBase,
                     public IFileSinkFilter,
                     public IAMFilterMiscFlags,
                     private WriterPinHost
{
public:
    StreamWriter()
        : FilterBase(CLSID_TarnviewStreamFileWriter),
          m_pin(*this, static_cast<WriterPinHost&>(*this))
    {
    }

    static const comkit::InterfaceEntry* Interfaces()
    {
        using namespace comkit;
        return InterfaceTable<StreamWriter, Is<IBaseFilter>, As<IBaseFilter, IMediaFilter>,
                              As<IBaseFilter, IPersist>, Is<IFileSinkFilter>, Is<IAMFilterMiscFlags>>();
    }

    // IFileSinkFilter
    STDMETHODIMP SetFileName(LPCOLESTR file, const AM_MEDIA_TYPE*) override
    {
        if (!file)
            return E_POINTER;
        comkit::Lock state(StateLock());
        if (State() != State_Stopped)
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

protected:
    ~StreamWriter() = default;

private:
    // comkit::FilterBase
    comkit::PinBase* PinAt(size_t index) override { return index == 0 ? &m_pin : nullptr; }
    HRESULT OnPause(FILTER_STATE from) override { return from == State_Stopped ? m_file.Open() : S_OK; }
    HRESULT OnRun(REFERENCE_TIME) override
    {
        if (m_eosPending)
            NotifyComplete();
        m_eosPending = false;
        return S_OK;
    }
    // The file stays open: the mux writes its headers while it stops.
    void OnStop() override { m_eosPending = false; }

    // WriterPinHost
    FileTarget& File() override { return m_file; }
    // The event goes out after the state lock: the graph may be waiting for that lock
    // (a Stop) while it holds its own.
    void OnEndOfStream() override
    {
        bool running;
        {
            comkit::Lock state(StateLock());
            const FILTER_STATE current = State();
            running = current == State_Running;
            m_eosPending = current == State_Paused;
        }
        if (running)
            NotifyComplete();
    }

    void NotifyComplete()
    {
        NotifyEvent(EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this)));
    }

    bool m_eosPending = false;  // guarded by the state lock
    FileTarget m_file;
    comkit::Part<WriterPin> m_pin;
};

}  // namespace

HRESULT CreateStreamWriter(REFIID riid, void** ppv)
{
    return comkit::CreateObject<StreamWriter>(riid, ppv);
}
