// The settings page's window side: its dialog, the controls and the page's size.
#include "vcam/pages/ScenePageObject.h"

#include <commctrl.h>
#include <prsht.h>

#include <iterator>

#include "vcam/pages/ScenePageResource.h"
#include "vcam/registry/DeviceSettings.h"

namespace
{

constexpr int MaxDigits = 3;
constexpr int MaxExposureChars = 9;  // "60" or "0.000125"

// Reads a number box; an empty box keeps the value it had, more than 100 counts as 100.
void ReadNumber(HWND dialog, int id, int* value)
{
    BOOL translated = FALSE;
    const UINT number = GetDlgItemInt(dialog, id, &translated, FALSE);
    if (translated)
        *value = number > 100 ? 100 : static_cast<int>(number);
}

// Reads the exposure box in seconds; text that is not a time keeps the value it had.
void ReadExposure(HWND dialog, LONGLONG* exposure)
{
    wchar_t text[16] = {};
    GetDlgItemTextW(dialog, IDC_VCAM_EXPOSURE, text, static_cast<int>(std::size(text)));
    ParseSeconds(text, MaxExposure, exposure);
}

INT_PTR CALLBACK MeasureProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

}  // namespace

HMODULE ScenePageModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ScenePageModule), &module);
    return module;
}

SIZE ScenePageDialogSize()
{
    SIZE size = {0, 0};
    const HWND dialog = CreateDialogParamW(ScenePageModule(), MAKEINTRESOURCEW(IDD_VCAM_SCENE_PAGE),
                                           GetDesktopWindow(), &MeasureProc, 0);
    if (!dialog)
        return size;
    RECT rect;
    if (GetWindowRect(dialog, &rect))
    {
        size.cx = rect.right - rect.left;
        size.cy = rect.bottom - rect.top;
    }
    DestroyWindow(dialog);
    return size;
}

INT_PTR CALLBACK ScenePage::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
    {
        // The page owns its dialog from here on, so that edits arriving before
        // CreateDialogParam returns already count.
        ScenePage* page = reinterpret_cast<ScenePage*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        SendDlgItemMessageW(dialog, IDC_VCAM_STAR_DENSITY, EM_LIMITTEXT, MaxDigits, 0);
        SendDlgItemMessageW(dialog, IDC_VCAM_BRIGHTNESS, EM_LIMITTEXT, MaxDigits, 0);
        SendDlgItemMessageW(dialog, IDC_VCAM_EXPOSURE, EM_LIMITTEXT, MaxExposureChars, 0);
        page->m_dialog = dialog;
        page->ShowValues();
        return TRUE;
    }
    ScenePage* page = reinterpret_cast<ScenePage*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!page)
        return FALSE;
    if (message == WM_COMMAND)
    {
        page->OnControlChanged(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    if (message == WM_DESTROY)
    {
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        if (page->m_dialog == dialog)
            page->m_dialog = nullptr;
    }
    return FALSE;
}

void ScenePage::OnControlChanged(int id, int code)
{
    if (m_showingValues || !m_dialog)
        return;
    const bool numberEdited = code == EN_CHANGE && (id == IDC_VCAM_STAR_DENSITY || id == IDC_VCAM_BRIGHTNESS ||
                                                    id == IDC_VCAM_EXPOSURE);
    const bool checkClicked = code == BN_CLICKED && id == IDC_VCAM_SHOW_FRAME_NUMBER;
    if (!numberEdited && !checkClicked)
        return;
    ReadNumber(m_dialog, IDC_VCAM_STAR_DENSITY, &m_values.starDensity);
    ReadNumber(m_dialog, IDC_VCAM_BRIGHTNESS, &m_values.brightness);
    ReadExposure(m_dialog, &m_values.exposure);
    m_values.showFrameNumber = IsDlgButtonChecked(m_dialog, IDC_VCAM_SHOW_FRAME_NUMBER) == BST_CHECKED;
    MarkDirty();
    ShowOnCamera();
}

void ScenePage::ShowOnCamera()
{
    if (!m_scene)
        return;
    const SceneSettings values = ClampScene(m_values);
    m_scene->SetScene(&values);  // a refusal is reported by Apply, which sets the values again
}

void ScenePage::RestoreOpened()
{
    if (!m_scene || !m_dirty)
        return;
    m_scene->SetScene(&m_opened);
    m_values = m_opened;
    m_dirty = false;
    ShowValues();
}

// A property sheet tells the window hosting each page about OK, Apply and Cancel
// (PSN_APPLY, PSN_RESET). Frames that forward PSN_APPLY to IPropertyPage::Apply make the
// second Apply a no-op; Wine's forwards neither, so the page hears them here.
void ScenePage::WatchSheetPage(HWND parent)
{
    if (parent && SetWindowSubclass(parent, &ScenePage::SheetPageProc, reinterpret_cast<UINT_PTR>(this),
                                    reinterpret_cast<DWORD_PTR>(this)))
        m_sheetPage = parent;
}

void ScenePage::StopWatchingSheetPage()
{
    if (m_sheetPage)
        RemoveWindowSubclass(m_sheetPage, &ScenePage::SheetPageProc, reinterpret_cast<UINT_PTR>(this));
    m_sheetPage = nullptr;
}

LRESULT CALLBACK ScenePage::SheetPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR page)
{
    const NMHDR* notice = message == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(lParam) : nullptr;
    if (notice && notice->hwndFrom == GetParent(window))  // from the sheet, not a control
        reinterpret_cast<ScenePage*>(page)->OnSheetNotify(notice->code);
    if (message == WM_NCDESTROY)
        reinterpret_cast<ScenePage*>(page)->StopWatchingSheetPage();
    return DefSubclassProc(window, message, wParam, lParam);
}

void ScenePage::OnSheetNotify(UINT code)
{
    if (code == static_cast<UINT>(PSN_APPLY))
        Apply();
    else if (code == static_cast<UINT>(PSN_RESET))
        RestoreOpened();
}

void ScenePage::ShowValues()
{
    if (!m_dialog)
        return;
    m_showingValues = true;
    SetDlgItemInt(m_dialog, IDC_VCAM_STAR_DENSITY, static_cast<UINT>(m_values.starDensity), FALSE);
    SetDlgItemInt(m_dialog, IDC_VCAM_BRIGHTNESS, static_cast<UINT>(m_values.brightness), FALSE);
    SetDlgItemTextW(m_dialog, IDC_VCAM_EXPOSURE, SecondsToText(m_values.exposure).c_str());
    CheckDlgButton(m_dialog, IDC_VCAM_SHOW_FRAME_NUMBER,
                   m_values.showFrameNumber ? BST_CHECKED : BST_UNCHECKED);
    m_showingValues = false;
}

void ScenePage::MarkDirty()
{
    m_dirty = true;
    if (m_site)
        m_site->OnStatusChange(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE);
}
