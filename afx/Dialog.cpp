#include "afxwnd.h"

#include "afxapp.h"

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    return ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (pDX->m_bSaveAndValidate || rControl.m_hWnd != nullptr)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl != nullptr)
        rControl.SubclassWindow(hWndCtrl);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate),
      m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)),
      m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog() = default;

// The dialog manager's procedure: it only meets WM_INITDIALOG, where the object takes
// the window over; from then on every message comes through the object's WindowProc,
// and anything left unhandled comes back here and falls to the dialog manager.
INT_PTR CALLBACK CDialog::AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    try
    {
        auto* pDlg = reinterpret_cast<CDialog*>(lParam);
        if (pDlg == nullptr || !pDlg->SubclassWindow(hWnd))
            return FALSE;
        return AfxCallWndProc(pDlg, hWnd, message, wParam, lParam);
    }
    catch (...)
    {
        return FALSE;
    }
}

HWND CDialog::CreateFromTemplate(HWND hWndParent)
{
    HINSTANCE hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    return ::CreateDialogParamA(hInst, m_lpszTemplateName, hWndParent, &CDialog::AfxDlgProc,
                                reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_lpszTemplateName = MAKEINTRESOURCEA(nIDTemplate);
    m_nIDHelp = nIDTemplate;
    m_pParentWnd = pParentWnd;
    return CreateFromTemplate(pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr) != nullptr;
}

// A dialog without a parent is owned by the program's main window, if that is another.
HWND CDialog::ModalOwner() const
{
    HWND owner = nullptr;
    if (m_pParentWnd != nullptr)
    {
        owner = m_pParentWnd->m_hWnd;
    }
    else
    {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain != nullptr && pMain != this)
            owner = pMain->m_hWnd;
    }
    if (owner == nullptr || !::IsWindow(owner))
        return nullptr;
    return ::GetAncestor(owner, GA_ROOT);
}

INT_PTR CDialog::DoModal()
{
    HWND owner = ModalOwner();
    const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disableOwner)
        ::EnableWindow(owner, FALSE);

    m_bContinueModal = true;
    m_nModalResult = -1;
    const bool created = CreateFromTemplate(owner) != nullptr && m_hWnd != nullptr;
    if (created && m_bContinueModal)
    {
        if (!IsWindowVisible())
            ShowWindow(SW_SHOWNORMAL);
        RunModalLoop();
    }
    m_bContinueModal = false;

    if (m_hWnd != nullptr)
    {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (disableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner != nullptr && m_hWnd != nullptr && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(owner);
    if (m_hWnd != nullptr)
        DestroyWindow();
    return created ? m_nModalResult : -1;
}

void CDialog::RunModalLoop()
{
    MSG msg;
    while (m_bContinueModal && m_hWnd != nullptr)
    {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1)
            break;
        if (got == 0)
        {
            // Leave the quit request for the loop that owns the thread.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!::IsDialogMessageA(m_hWnd, &msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

void CDialog::EndDialog(int nResult)
{
    if (m_bContinueModal)
    {
        m_nModalResult = nResult;
        m_bContinueModal = false;
        // Wakes the modal loop when the end comes from a nested loop's message.
        PostMessage(WM_NULL);
    }
    if (m_hWnd != nullptr)
        ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_INITDIALOG)
    {
        *pResult = HandleInitDialog();
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CDialog::HandleInitDialog()
{
    RECT rectBefore = {};
    ::GetWindowRect(m_hWnd, &rectBefore);
    const DWORD styleBefore = GetStyle();
    const BOOL result = OnInitDialog();
    AutoCenter(rectBefore, styleBefore);
    return result;
}

// As MFC does: a dialog that is still hidden and unmoved after its initialisation, and
// that has no owner or a disabled one (a modal dialog's), is centred.
void CDialog::AutoCenter(const RECT& rectBefore, DWORD styleBefore)
{
    if (m_hWnd == nullptr || (styleBefore & WS_VISIBLE) != 0 || (GetStyle() & (WS_VISIBLE | WS_CHILD)) != 0)
        return;
    RECT rect = {};
    ::GetWindowRect(m_hWnd, &rect);
    if (rect.left != rectBefore.left || rect.top != rectBefore.top)
        return;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner != nullptr && ::IsWindowEnabled(owner))
        return;
    CenterWindow();
}

// Commands the dialog does not take go on to the application, as menus' do.
BOOL CDialog::OnCmdMsg(UINT nID, int nCode)
{
    if (CWnd::OnCmdMsg(nID, nCode))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode);
}
