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
    static LRESULT CALLBACK SheetPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR page);
    void OnControlChanged(int id, int code);
    void OnSheetNotify(UINT code);
    void WatchSheetPage(HWND parent);
    void StopWatchingSheetPage();
    void ShowValues();
    void MarkDirty();
    void ShowOnCamera();
    void RestoreOpened();

    Microsoft::WRL::ComPtr<IPropertyPageSite> m_site;
    Microsoft::WRL::ComPtr<IVcamScene> m_scene;
    HWND m_dialog = nullptr;
    SceneSettings m_values;        // as edited; clamped when applied
    SceneSettings m_opened;        // the object's values when the page got it, or when last applied
    bool m_dirty = false;          // edits shown on the camera but neither applied nor cancelled
    HWND m_sheetPage = nullptr;    // the window hosting the page, watched for OK and Cancel
    bool m_showingValues = false;  // our own SetDlgItemInt calls are not edits
};

// The module that holds the page's dialog resource: the DLL, or a test program that
// links the page's sources and resource directly.
HMODULE ScenePageModule();

// The page dialog's size in pixels, measured on a hidden instance.
SIZE ScenePageDialogSize();
