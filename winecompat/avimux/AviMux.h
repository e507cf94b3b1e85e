// The mux's class, shared by its source files (AviMux*.cpp).
#pragma once

#include <strmif.h>
#include <wrl/client.h>

#include <memory>

#include "comkit/Module.h"
#include "comkit/CriticalSection.h"
#include "MuxPins.h"
#include "OpenDmlWriter.h"
#include "StreamSink.h"

class AviMux final : public IBaseFilter, public IMediaSeeking, public IConfigInterleaving, public IConfigAviMux,
                     private MuxPinHost {
public:
    AviMux() : m_input(*this), m_output(*this) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override;

    // IPersist, IMediaFilter, IBaseFilter
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeout, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

    // IMediaSeeking: the position is the length written so far; nothing seeks.
    STDMETHODIMP GetCapabilities(DWORD* capabilities) override;
    STDMETHODIMP CheckCapabilities(DWORD* capabilities) override;
    STDMETHODIMP IsFormatSupported(const GUID* format) override;
    STDMETHODIMP QueryPreferredFormat(GUID* format) override;
    STDMETHODIMP GetTimeFormat(GUID* format) override;
    STDMETHODIMP IsUsingTimeFormat(const GUID* format) override;
    STDMETHODIMP SetTimeFormat(const GUID* format) override;
    STDMETHODIMP GetDuration(LONGLONG* duration) override;
    STDMETHODIMP GetStopPosition(LONGLONG* stop) override;
    STDMETHODIMP GetCurrentPosition(LONGLONG* current) override;
    STDMETHODIMP ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                   const GUID* sourceFormat) override;
    STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) override;
    STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override;
    STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
    STDMETHODIMP SetRate(double rate) override;
    STDMETHODIMP GetRate(double* rate) override;
    STDMETHODIMP GetPreroll(LONGLONG* preroll) override;

    // IConfigInterleaving: one stream interleaves with itself; the settings are kept.
    STDMETHODIMP put_Mode(InterleavingMode mode) override;
    STDMETHODIMP get_Mode(InterleavingMode* mode) override;
    STDMETHODIMP put_Interleaving(const REFERENCE_TIME* interleave, const REFERENCE_TIME* preroll) override;
    STDMETHODIMP get_Interleaving(REFERENCE_TIME* interleave, REFERENCE_TIME* preroll) override;

    // IConfigAviMux: the file always has its idx1 for the first segment.
    STDMETHODIMP SetMasterStream(LONG stream) override;
    STDMETHODIMP GetMasterStream(LONG* stream) override;
    STDMETHODIMP SetOutputCompatibilityIndex(BOOL compatible) override;
    STDMETHODIMP GetOutputCompatibilityIndex(BOOL* compatible) override;

private:
    // MuxPinHost
    IBaseFilter* HostFilter() override { return this; }
    bool IsStopped() override;
    HRESULT OnFrame(IMediaSample* sample) override;
    void OnEndOfStream() override;
    void OnFlush(bool flushing) override;

    void BeginFile();
    HRESULT BeginFileLocked();
    void FinishFile();
    void ReportFault(HRESULT hr);
    LONGLONG WrittenDuration() const;

    comkit::ModuleObjectCount m_count;
    volatile LONG m_refs = 1;

    comkit::CriticalSection m_stateLock;  // state, graph, clock, name, settings
    FILTER_STATE m_state = State_Stopped;
    IFilterGraph* m_graph = nullptr;  // not counted: the graph owns us
    wchar_t m_name[MAX_FILTER_NAME] = {};
    Microsoft::WRL::ComPtr<IReferenceClock> m_clock;
    InterleavingMode m_mode = INTERLEAVE_CAPTURE;
    REFERENCE_TIME m_interleave = 10000000;
    REFERENCE_TIME m_preroll = 0;
    LONG m_masterStream = -1;
    BOOL m_compatibilityIndex = TRUE;

    MuxInputPin m_input;
    MuxOutputPin m_output;

    comkit::CriticalSection m_writeLock;  // the file; taken after m_stateLock, never before it
    Microsoft::WRL::ComPtr<IStream> m_stream;
    std::unique_ptr<StreamSink> m_sink;
    std::unique_ptr<OpenDmlWriter> m_writer;
    bool m_accepting = false;
    bool m_flushing = false;
    bool m_faultReported = false;

    volatile LONGLONG m_writtenFrames = 0;
    volatile LONGLONG m_frameDuration = 0;
};
