// The virtual camera's source filter: one class for every registered device; the
// device's settings arrive through IPersistPropertyBag::Load when its moniker binds.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <vector>

#include "vcam/dll/ModuleLife.h"
#include "vcam/filter/DeviceEvents.h"
#include "vcam/filter/Locks.h"
#include "vcam/filter/SceneStore.h"
#include "vcam/filter/VcamPin.h"
#include "vcam/frame/SceneSettings.h"
#include "vcam/registry/DeviceSettings.h"

// Class factory entry for CLSID_TarnviewVirtualCamera.
HRESULT CreateVcamFilter(REFIID riid, void** ppv);

class VcamFilter final : public IBaseFilter,
                         public IAMFilterMiscFlags,
                         public ISpecifyPropertyPages,
                         public IVcamScene,
                         public IPersistPropertyBag
{
public:
    VcamFilter();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPersist (shared by IBaseFilter and IPersistPropertyBag)
    STDMETHODIMP GetClassID(CLSID* clsid) override;

    // IMediaFilter
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME streamStart) override;
    STDMETHODIMP GetState(DWORD timeoutMs, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;

    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** enumerator) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

    // IAMFilterMiscFlags
    STDMETHODIMP_(ULONG) GetMiscFlags() override;

    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pages) override;

    // IVcamScene
    STDMETHODIMP GetScene(SceneSettings* scene) override;
    STDMETHODIMP SetScene(const SceneSettings* scene) override;

    // IPersistPropertyBag
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

    // For the pins.
    CritSec& StateLock() { return m_stateLock; }  // serialises state and connection changes
    CritSec& DataLock() { return m_dataLock; }    // guards what queries read; never held while calling out
    FILTER_STATE State();
    Microsoft::WRL::ComPtr<IFilterGraph> Graph();
    const SceneStore& Scene() const { return m_scene; }
    DeviceEvents& Events() { return m_events; }

private:
    ~VcamFilter();

    // The pins the device exposes, without allocating (used inside COM methods).
    struct PinList
    {
        VcamPin* pins[3];
        size_t count;
        VcamPin* const* begin() const { return pins; }
        VcamPin* const* end() const { return pins + count; }
    };

    void ApplySettings(const DeviceSettings& settings);
    PinList VisiblePins();
    bool AnyPinConnected();
    void StopStreaming();

    volatile LONG m_refs = 1;
    ModuleObjectCount m_count;
    CritSec m_stateLock;
    CritSec m_dataLock;

    // Guarded by m_dataLock.
    FILTER_STATE m_state = State_Stopped;
    Microsoft::WRL::ComPtr<IReferenceClock> m_clock;
    IFilterGraph* m_graph = nullptr; // not owned: the graph owns its filters
    std::wstring m_name;
    DeviceSettings m_settings;

    SceneStore m_scene;
    DeviceEvents m_events{*this};
    std::unique_ptr<VcamPin> m_capture;
    std::unique_ptr<VcamPin> m_preview;
    std::unique_ptr<VcamPin> m_videoPort;
};
