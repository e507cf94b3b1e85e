// An output pin of the virtual camera: capture, preview or video port category.
// Its reference count is the filter's (comkit::Part), as pins live exactly as long as
// their filter.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "comkit/OutputPinBase.h"
#include "comkit/Unknown.h"
#include "vcam/filter/FormatCatalog.h"
#include "vcam/filter/StreamEvents.h"
#include "vcam/filter/StreamWorker.h"
#include "vcam/registry/DeviceSettings.h"

class VcamFilter;

enum class PinRole
{
    Capture,
    Preview,
    VideoPort
};

class VcamPin : public comkit::OutputPinBase,
                public IAMStreamConfig,
                public IKsPropertySet,
                public IQualityControl,
                public IAMDroppedFrames
{
public:
    VcamPin(VcamFilter& filter, PinRole role);
    ~VcamPin();

    static const comkit::InterfaceEntry* Interfaces();

    // Called by the filter, holding its state lock.
    void Configure(const DeviceSettings& settings);
    HRESULT Activate();  // stopped -> paused: commits the allocator, starts the streaming thread
    HRESULT Run(REFERENCE_TIME streamStart, Microsoft::WRL::ComPtr<IReferenceClock> clock);
    void Pause();
    void Deactivate();  // -> stopped: ends the streaming thread, decommits

    // IPin (the rest is comkit::OutputPinBase's)
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* pmt) override;

    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** pmt) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** pmt, BYTE* caps) override;

    // IKsPropertySet
    STDMETHODIMP Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                     DWORD dataSize) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data, DWORD dataSize,
                     DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // IQualityControl
    STDMETHODIMP Notify(IBaseFilter* sender, Quality q) override;
    STDMETHODIMP SetSink(IQualityControl* sink) override;

    // IAMDroppedFrames (capture pin only; VcamPinDroppedFrames.cpp)
    STDMETHODIMP GetNumDropped(long* dropped) override;
    STDMETHODIMP GetNumNotDropped(long* notDropped) override;
    STDMETHODIMP GetDroppedInfo(long size, long* frames, long* copied) override;
    STDMETHODIMP GetAverageFrameSize(long* averageSize) override;

private:
    // comkit::OutputPinBase (VcamPinConnection.cpp)
    HRESULT OfferedTypes(std::vector<comkit::MediaType>* types) override;
    HRESULT ConnectionTypes(std::vector<comkit::MediaType>* types) override;
    HRESULT AgreeType(const AM_MEDIA_TYPE& candidate, comkit::MediaType* agreed) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& request) override;
    void OnConnected(const AM_MEDIA_TYPE& agreed) override;

    bool OffersStreamConfig();
    bool OffersDroppedFrames() { return m_role == PinRole::Capture; }
    const GUID& Category() const;
    HRESULT ChangeConnectedFormat(const VideoMode& mode);
    HRESULT Reconnect(const AM_MEDIA_TYPE& mt);
    HRESULT StartWorker();
    StreamSetup MakeStreamSetup();

    VcamFilter& m_filter;
    const PinRole m_role;

    // Guarded by the filter's data lock.
    FormatCatalog m_formats;
    unsigned m_faults = 0;
    unsigned m_stopAfterFrames = 0;
    Irregularity m_irregular;

    // Touched only under the filter's state lock.
    std::unique_ptr<StreamWorker> m_worker;
    std::atomic<uint32_t> m_nextNumber{0};
    FrameCounts m_counts;
};
