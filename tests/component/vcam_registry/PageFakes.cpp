#include "PageFakes.h"

STDMETHODIMP FakeScene::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == __uuidof(IVcamScene))
    {
        *ppv = static_cast<IVcamScene*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP FakeScene::GetScene(SceneSettings* scene)
{
    if (!scene)
        return E_POINTER;
    std::lock_guard<std::mutex> lock(m_mutex);
    *scene = m_scene;
    return S_OK;
}

STDMETHODIMP FakeScene::SetScene(const SceneSettings* scene)
{
    if (!scene)
        return E_POINTER;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_scene = *scene;
    ++m_setCalls;
    return S_OK;
}

SceneSettings FakeScene::Scene() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_scene;
}

int FakeScene::SetCalls() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_setCalls;
}

STDMETHODIMP PlainObject::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = riid == IID_IUnknown ? static_cast<IUnknown*>(this) : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
}

STDMETHODIMP FakePageSite::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IPropertyPageSite)
    {
        *ppv = static_cast<IPropertyPageSite*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP FakePageSite::OnStatusChange(DWORD flags)
{
    m_flags |= flags;
    return S_OK;
}

STDMETHODIMP FakePageSite::GetLocaleID(LCID* locale)
{
    if (!locale)
        return E_POINTER;
    *locale = GetUserDefaultLCID();
    return S_OK;
}

STDMETHODIMP FakePageSite::GetPageContainer(IUnknown** container)
{
    if (container)
        *container = nullptr;
    return E_NOTIMPL;
}

bool SameScene(const SceneSettings& a, const SceneSettings& b)
{
    return a.starDensity == b.starDensity && a.brightness == b.brightness &&
           a.showFrameNumber == b.showFrameNumber && a.exposure == b.exposure;
}
