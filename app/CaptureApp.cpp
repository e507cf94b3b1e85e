#include "app/CaptureApp.h"

#include "comkit/ComApartment.h"
#include "ui/CaptureDlg.h"

BEGIN_MESSAGE_MAP(CCaptureApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CCaptureApp::CCaptureApp() = default;

CCaptureApp theApp;

// The dialog is the whole program: once it has closed there is nothing left to run,
// so no message loop of the application's own is entered.
BOOL CCaptureApp::InitInstance()
{
    AfxEnableControlContainer();

    // The user-interface thread's single-threaded apartment, joined before the dialog
    // builds its first graph and left only after the dialog has released every reference.
    const comkit::ComApartment apartment;
    CCaptureDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    return FALSE;
}
