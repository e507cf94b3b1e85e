// The filter's device settings, picture settings and settings page.
#include "vcam/filter/VcamFilter.h"

#include "vcam/VcamGuids.h"
#include "vcam/registry/DeviceEnumeration.h"

STDMETHODIMP_(ULONG) VcamFilter::GetMiscFlags()
{
    return AM_FILTER_MISC_FLAGS_IS_SOURCE;
}

STDMETHODIMP VcamFilter::GetPages(CAUUID* pages)
{
    if (!pages)
        return E_POINTER;
    pages->cElems = 0;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    if (!pages->pElems)
        return E_OUTOFMEMORY;
    pages->pElems[0] = CLSID_TarnviewVcamScenePage;
    pages->cElems = 1;
    return S_OK;
}

STDMETHODIMP VcamFilter::GetScene(SceneSettings* scene)
{
    if (!scene)
        return E_POINTER;
    *scene = m_scene.Get();
    return S_OK;
}

STDMETHODIMP VcamFilter::SetScene(const SceneSettings* scene)
{
    if (!scene)
        return E_POINTER;
    m_scene.Set(*scene);
    return S_OK;
}

STDMETHODIMP VcamFilter::InitNew()
{
    return S_OK;
}

STDMETHODIMP VcamFilter::Load(IPropertyBag* bag, IErrorLog*)
{
    if (!bag)
        return E_POINTER;
    try
    {
        comkit::Lock state(StateLock());
        if (State() != State_Stopped || AnyPinConnected())
            return VFW_E_WRONG_STATE;
        DeviceSettings settings;
        const HRESULT hr = LoadDeviceSettings(bag, &settings);
        if (FAILED(hr))
            return hr;
        ApplySettings(settings);
        std::wstring device;
        if (SUCCEEDED(ReadBagText(bag, L"FriendlyName", &device)))
            m_scene.ShareWithDevice(device);
        return S_OK;
    }
    catch (...)
    {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP VcamFilter::Save(IPropertyBag*, BOOL, BOOL)
{
    // Devices are described by vcamctl, never by the filter.
    return E_NOTIMPL;
}

void VcamFilter::ApplySettings(const DeviceSettings& settings)
{
    {
        comkit::Lock data(DataLock());
        m_settings = settings;
    }
    m_scene.Set(settings.scene);
    m_capture->Configure(settings);
    m_preview->Configure(settings);
    m_videoPort->Configure(settings);
}
