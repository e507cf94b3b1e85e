// Stand-ins for the filter (IVcamScene) and the property frame (IPropertyPageSite).
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <mutex>

#include "vcam/frame/SceneSettings.h"

class FakeScene : public IVcamScene
{
public:
    explicit FakeScene(const SceneSettings& scene) : m_scene(scene) {}
    virtual ~FakeScene() = default;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override { return InterlockedDecrement(&m_refs); }  // lives on the stack
    STDMETHODIMP GetScene(SceneSettings* scene) override;
    STDMETHODIMP SetScene(const SceneSettings* scene) override;

    SceneSettings Scene() const;
    int SetCalls() const;
    LONG Refs() const { return m_refs; }

private:
    mutable std::mutex m_mutex;
    SceneSettings m_scene;
    int m_setCalls = 0;
    LONG m_refs = 1;
};

// Any object without IVcamScene.
class PlainObject : public IUnknown
{
public:
    virtual ~PlainObject() = default;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
};

class FakePageSite : public IPropertyPageSite
{
public:
    virtual ~FakePageSite() = default;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_refs; }
    STDMETHODIMP OnStatusChange(DWORD flags) override;
    STDMETHODIMP GetLocaleID(LCID* locale) override;
    STDMETHODIMP GetPageContainer(IUnknown** container) override;
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }

    DWORD StatusFlags() const { return m_flags; }
    ULONG Refs() const { return m_refs; }

private:
    DWORD m_flags = 0;
    ULONG m_refs = 1;
};

bool SameScene(const SceneSettings& a, const SceneSettings& b);
