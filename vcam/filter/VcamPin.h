// An output pin of the virtual camera: capture, preview or video port category.
// Its reference count is the filter's, as pins live exactly as long as their filter.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "vcam/filter/FormatCatalog.h"
#include "vcam/filter/StreamEvents.h"
#include "vcam/filter/StreamWorker.h"
#include "vcam/registry/DeviceSettings.h"

class VcamFilter;

enum class PinRole { Capture, Preview, VideoPort };

class VcamPin final : public IPin,
                      public IAMStreamConfig,
                      public IKsPropertySet,
                      public IQualityControl,
                      public IAMDroppedFrames
{
public:
    VcamPin(VcamFilter& filter, PinRole role);
    ~VcamPin();
    VcamPin(const VcamPin&) = delete;
    VcamPin& operator=(const VcamPin&) = delete;

    // Called by the filter, holding its state lock.
    void Configure(const DeviceSettings& settings);
    bool IsConnected();
    HRESULT Activate();   // stopped -> paused: commits the allocator, starts the streaming thread
    HRESULT Run(REFERENCE_TIME streamStart, Microsoft::WRL::ComPtr<IReferenceClock> clock);
    void Pause();
    void Deactivate();    // -> stopped: ends the streaming thread, decommits
    const std::wstring& Name() const { return m_name; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPin
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** enumerator) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** pmt) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** pmt, BYTE* caps) override;

    // IKsPropertySet
    STDMETHODIMP Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                     DWORD dataSize) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data,
                     DWORD dataSize, DWORD* returned) override;
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
    bool OffersStreamConfig() const;
    const GUID& Category() const;
    HRESULT ConnectWithTypes(IPin* receivePin, const AM_MEDIA_TYPE* partial);
    HRESULT ConnectWithPeerTypes(IPin* receivePin, const AM_MEDIA_TYPE* partial);
    HRESULT TryConnection(IPin* receivePin, const AM_MEDIA_TYPE& proposed);
    HRESULT DecideAllocator(IMemInputPin* input, LONG imageSize);
    HRESULT ConfigureAllocator(IMemAllocator* allocator, ALLOCATOR_PROPERTIES request, LONG imageSize);
    void DropConnection();
    HRESULT ChangeConnectedFormat(const VideoMode& mode);
    HRESULT Reconnect(const AM_MEDIA_TYPE& mt);
    HRESULT StartWorker();
    StreamSetup MakeStreamSetup();

    VcamFilter& m_filter;
    const PinRole m_role;
    const std::wstring m_name;

    // Guarded by the filter's data lock.
    FormatCatalog m_formats;
    unsigned m_faults = 0;
    unsigned m_stopAfterFrames = 0;
    Microsoft::WRL::ComPtr<IPin> m_peer;
    Microsoft::WRL::ComPtr<IMemInputPin> m_input;
    Microsoft::WRL::ComPtr<IMemAllocator> m_allocator;
    MediaType m_mt;

    // Touched only under the filter's state lock.
    std::unique_ptr<StreamWorker> m_worker;
    std::atomic<uint32_t> m_nextNumber{0};
    FrameCounts m_counts;
};
