// The settings page object behind CreateScenePage. Private to the page's sources.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include "comkit/NonCopyable.h"
#include "comkit/Unknown.h"
#include "vcam/frame/SceneSettings.h"

// Made with comkit::CreateObject, which gives it its IUnknown.
class ScenePage : public IPropertyPage, comkit::NonCopyable
{
public:
    ScenePage() = default;

    static const comkit::InterfaceEntry* Interfaces()
    {
        return comkit::InterfaceTable<ScenePage, comkit::Is<IPropertyPage>>();
    }

    // IPropertyPage
    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    STDMETHODIMP Deactivate() override;
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
    STDMETHODIMP Show(UINT command) override;
    STDMETHODIMP Move(LPCRECT rect) override;
    STDMETHODIMP IsPageDirty() override;
    STDMETHODIMP Apply() override;
    STDMETHODIMP Help(LPCOLESTR helpDir) override;
    STDMETHODIMP TranslateAccelerator(MSG* msg) override;

protected:
    ~ScenePage();

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void OnControlChanged(int id, int code);
    void ShowValues();
    void MarkDirty();

    Microsoft::WRL::ComPtr<IPropertyPageSite> m_site;
    Microsoft::WRL::ComPtr<IVcamScene> m_scene;
    HWND m_dialog = nullptr;
    SceneSettings m_values; // as edited; clamped when applied
    bool m_dirty = false;
    bool m_showingValues = false; // our own SetDlgItemInt calls are not edits
};

// The module that holds the page's dialog resource: the DLL, or a test program that
// links the page's sources and resource directly.
HMODULE ScenePageModule();

// The page dialog's size in pixels, measured on a hidden instance.
SIZE ScenePageDialogSize();
