// The virtual camera's source filter: one class for every registered device; the
// device's settings arrive through IPersistPropertyBag::Load when its moniker binds.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <memory>

#include "comkit/FilterBase.h"
#include "comkit/Unknown.h"
#include "vcam/filter/DeviceEvents.h"
#include "vcam/filter/SceneStore.h"
#include "vcam/filter/VcamPin.h"
#include "vcam/frame/SceneSettings.h"
#include "vcam/registry/DeviceSettings.h"

// Class factory entry for CLSID_TarnviewVirtualCamera.
HRESULT CreateVcamFilter(REFIID riid, void** ppv);

class VcamFilter : public comkit::FilterBase,
                   public IAMFilterMiscFlags,
                   public IAMCameraControl,
                   public ISpecifyPropertyPages,
                   public IVcamScene,
                   public IPersistPropertyBag
{
public:
    VcamFilter();

    static const comkit::InterfaceEntry* Interfaces();

    // IPersist (IBaseFilter's and IPersistPropertyBag's)
    STDMETHODIMP GetClassID(CLSID* clsid) override { return FilterBase::GetClassID(clsid); }

    // IAMFilterMiscFlags
    STDMETHODIMP_(ULONG) GetMiscFlags() override;

    // IAMCameraControl: the exposure only (VcamFilterCameraControl.cpp)
    STDMETHODIMP GetRange(long property, long* min, long* max, long* step, long* defaultValue,
                          long* flags) override;
    STDMETHODIMP Set(long property, long value, long flags) override;
    STDMETHODIMP Get(long property, long* value, long* flags) override;

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
    const SceneStore& Scene() const { return m_scene; }
    DeviceEvents& Events() { return m_events; }

protected:
    ~VcamFilter();

private:
    // The pins the device exposes, without allocating (used inside COM methods).
    struct PinList
    {
        VcamPin* pins[3];
        size_t count;
        VcamPin* const* begin() const { return pins; }
        VcamPin* const* end() const { return pins + count; }
    };

    // comkit::FilterBase
    comkit::PinBase* PinAt(size_t index) override;
    HRESULT OnPause(FILTER_STATE from) override;
    HRESULT OnRun(REFERENCE_TIME streamStart) override;
    void OnStop() override;
    bool IsLiveSource() override { return true; }

    bool OffersPropertyPages();
    void ApplySettings(const DeviceSettings& settings);
    PinList VisiblePins();
    bool AnyPinConnected();
    void StopStreaming();

    DeviceSettings m_settings;  // guarded by the data lock
    SceneStore m_scene;
    DeviceEvents m_events{*this};
    std::unique_ptr<VcamPin> m_capture;
    std::unique_ptr<VcamPin> m_preview;
    std::unique_ptr<VcamPin> m_videoPort;
};
