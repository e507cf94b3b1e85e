// The settings page's COM side: site, objects, activation and applying the values.
// Each edit shows on the camera at once (Wine's property frame never calls Apply); OK or
// Apply keeps it, Cancel or a frame that lets go without either puts back the values the
// page found.
#include "vcam/pages/ScenePage.h"

#include "vcam/pages/ScenePageObject.h"
#include "vcam/pages/ScenePageResource.h"

namespace
{

const wchar_t PageTitle[] = L"Picture";

}  // namespace

HRESULT CreateScenePage(REFIID riid, void** ppv)
{
    return comkit::CreateObject<ScenePage>(riid, ppv);
}

ScenePage::~ScenePage()
{
    StopWatchingSheetPage();
    RestoreOpened();  // neither OK nor Apply was seen
    if (m_dialog)
        DestroyWindow(m_dialog);
}

STDMETHODIMP ScenePage::SetPageSite(IPropertyPageSite* site)
{
    if (site && m_site)
        return E_UNEXPECTED;
    m_site = site;
    return S_OK;
}

STDMETHODIMP ScenePage::Activate(HWND parent, LPCRECT rect, BOOL)
{
    if (!rect)
        return E_POINTER;
    if (m_dialog)
        return E_UNEXPECTED;
    SetLastError(ERROR_SUCCESS);
    const HWND dialog = CreateDialogParamW(ScenePageModule(), MAKEINTRESOURCEW(IDD_VCAM_SCENE_PAGE), parent,
                                           &ScenePage::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!dialog)
    {
        m_dialog = nullptr;
        const DWORD error = GetLastError();
        return HRESULT_FROM_WIN32(error != ERROR_SUCCESS ? error : ERROR_RESOURCE_NOT_FOUND);
    }
    MoveWindow(m_dialog, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    WatchSheetPage(parent);
    return S_OK;
}

STDMETHODIMP ScenePage::Deactivate()
{
    if (!m_dialog)
        return E_UNEXPECTED;
    StopWatchingSheetPage();
    DestroyWindow(m_dialog);
    m_dialog = nullptr;
    return S_OK;
}

STDMETHODIMP ScenePage::GetPageInfo(PROPPAGEINFO* info)
{
    if (!info)
        return E_POINTER;
    const size_t bytes = sizeof PageTitle;
    LPOLESTR title = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!title)
        return E_OUTOFMEMORY;
    memcpy(title, PageTitle, bytes);
    info->cb = sizeof(PROPPAGEINFO);
    info->pszTitle = title;
    info->size = ScenePageDialogSize();
    info->pszDocString = nullptr;
    info->pszHelpFile = nullptr;
    info->dwHelpContext = 0;
    return S_OK;
}

STDMETHODIMP ScenePage::SetObjects(ULONG count, IUnknown** objects)
{
    RestoreOpened();  // the frame let go of the object without OK or Apply
    if (count == 0)
    {
        m_scene.Reset();
        return S_OK;
    }
    if (!objects || !objects[0])
        return E_POINTER;
    Microsoft::WRL::ComPtr<IVcamScene> scene;
    HRESULT hr = objects[0]->QueryInterface(IID_PPV_ARGS(&scene));
    SceneSettings values;
    if (SUCCEEDED(hr))
        hr = scene->GetScene(&values);
    if (FAILED(hr))
        return hr;
    m_scene = scene;
    m_values = values;
    m_opened = values;
    m_dirty = false;
    ShowValues();
    return S_OK;
}

STDMETHODIMP ScenePage::Show(UINT command)
{
    if (!m_dialog)
        return E_UNEXPECTED;
    ShowWindow(m_dialog, static_cast<int>(command));
    return S_OK;
}

STDMETHODIMP ScenePage::Move(LPCRECT rect)
{
    if (!rect)
        return E_POINTER;
    if (!m_dialog)
        return E_UNEXPECTED;
    MoveWindow(m_dialog, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    return S_OK;
}

STDMETHODIMP ScenePage::IsPageDirty()
{
    return m_dirty ? S_OK : S_FALSE;
}

STDMETHODIMP ScenePage::Apply()
{
    if (!m_scene)
        return E_UNEXPECTED;
    if (!m_dirty)
        return S_OK;
    const SceneSettings values = ClampScene(m_values);
    const HRESULT hr = m_scene->SetScene(&values);
    if (FAILED(hr))
        return hr;
    m_values = values;
    m_opened = values;  // what Cancel keeps from now on
    m_dirty = false;
    ShowValues();  // a typed 250 now reads 100
    return S_OK;
}

STDMETHODIMP ScenePage::Help(LPCOLESTR)
{
    return E_NOTIMPL;
}

STDMETHODIMP ScenePage::TranslateAccelerator(MSG*)
{
    return S_FALSE;  // the frame's own dialog navigation serves the page
}
