// The application object and the framework's start-up.
#pragma once

#include <windows.h>

#include "afxwnd.h"

#define ID_HELP        0xE146
// Asks a window for help on its current context; answered non-zero when handled.
#define WM_COMMANDHELP 0x0365

class COccManager;

class CWinApp : public CCmdTarget
{
public:
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitApplication() { return TRUE; }
    // FALSE: the framework ends at once with ExitInstance's code, with no message loop.
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance();
    virtual int Run();

    afx_msg void OnHelp();

    LPCSTR m_pszAppName;
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;

protected:
    int m_nExitCode = 0;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The module that holds the resource: the resource module, else the program's own.
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
// No ActiveX controls are hosted; kept for the start-up sequence's sake.
void AfxEnableControlContainer(COccManager* pManager = nullptr);

// The framework's start-up: the body of WinMain.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
