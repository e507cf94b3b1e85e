// The mux's class, shared by its source files (AviMux*.cpp).
#pragma once

#include <strmif.h>
#include <wrl/client.h>

#include <atomic>
#include <memory>

#include "MuxPins.h"
#include "OpenDmlWriter.h"
#include "StreamSink.h"
#include "comkit/CriticalSection.h"
#include "comkit/FilterBase.h"
#include "comkit/Unknown.h"

class AviMux : public comkit::FilterBase,
               public IMediaSeeking,
               public IConfigInterleaving,
               public IConfigAviMux,
               private MuxStreamHost
{
public:
    AviMux();

    static const comkit::InterfaceEntry* Interfaces();

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
    STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                              DWORD stopFlags) override;
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

protected:
    ~AviMux() = default;

private:
    // comkit::FilterBase: Pause starts a new file, Stop finishes it.
    comkit::PinBase* PinAt(size_t index) override;
    HRESULT OnPause(FILTER_STATE from) override;
    void OnStop() override;

    // MuxStreamHost
    HRESULT OnFrame(IMediaSample* sample) override;
    HRESULT OnEndOfStream() override;

    void BeginFile();
    HRESULT BeginFileLocked();
    void FinishFile();
    HRESULT WriteSample(IMediaSample* sample, const BYTE* data, DWORD length);  // holding m_writeLock
    void ReportFault(HRESULT hr);
    LONGLONG WrittenDuration() const;

    // Guarded by the data lock.
    InterleavingMode m_mode = INTERLEAVE_CAPTURE;
    REFERENCE_TIME m_interleave = 10000000;
    REFERENCE_TIME m_preroll = 0;
    LONG m_masterStream = -1;
    BOOL m_compatibilityIndex = TRUE;

    comkit::Part<MuxInputPin> m_input;
    comkit::Part<MuxOutputPin> m_output;

    comkit::CriticalSection m_writeLock;  // the file; taken after the state lock, never before it
    Microsoft::WRL::ComPtr<IStream> m_stream;
    std::unique_ptr<StreamSink> m_sink;
    std::unique_ptr<OpenDmlWriter> m_writer;
    bool m_accepting = false;
    bool m_faultReported = false;

    // Read by IMediaSeeking on any thread while the streaming thread writes.
    std::atomic<LONGLONG> m_writtenFrames{0};
    std::atomic<LONGLONG> m_frameDuration{0};
};
