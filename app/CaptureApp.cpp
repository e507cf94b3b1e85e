#include "app/CaptureApp.h"

#include <objbase.h>

#include "ui/CaptureDlg.h"

BEGIN_MESSAGE_MAP(CCaptureApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CCaptureApp::CCaptureApp() = default;

CCaptureApp theApp;

namespace
{
// The user-interface thread's single-threaded apartment, joined before the dialog
// builds its first graph and left only after the dialog has released every reference.
class ComApartment
{
public:
    ComApartment() : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(m_hr))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT m_hr;
};
}  // namespace

// The dialog is the whole program: once it has closed there is nothing left to run,
// so no message loop of the application's own is entered.
BOOL CCaptureApp::InitInstance()
{
    AfxEnableControlContainer();

    const ComApartment apartment;
    CCaptureDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    return FALSE;
}
