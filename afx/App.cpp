#include "afxapp.h"

#include <cstring>

namespace
{
CWinApp* g_pApp = nullptr;
char g_defaultAppName[MAX_PATH];

// The program file's name without folder and extension, as MFC names an application
// that gives no name of its own.
LPCSTR ModuleBaseName(HINSTANCE hInstance)
{
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(hInstance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return "";
    const char* name = std::strrchr(path, '\\');
    name = name != nullptr ? name + 1 : path;
    const size_t nameLength = std::strlen(name);
    if (nameLength >= sizeof g_defaultAppName)
        return "";
    std::memcpy(g_defaultAppName, name, nameLength + 1);
    if (char* dot = std::strrchr(g_defaultAppName, '.'))
        *dot = '\0';
    return g_defaultAppName;
}
}  // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName) : m_pszAppName(lpszAppName)
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

int CWinApp::ExitInstance()
{
    return m_nExitCode;
}

int CWinApp::Run()
{
    MSG msg;
    BOOL got;
    while ((got = ::GetMessageA(&msg, nullptr, 0, 0)) != 0 && got != -1)
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (got == 0)
        m_nExitCode = static_cast<int>(msg.wParam);
    return ExitInstance();
}

// The program ships no help file: the main window may answer the request itself.
void CWinApp::OnHelp()
{
    CWnd* pMain = AfxGetMainWnd();
    if (pMain != nullptr && pMain->m_hWnd != nullptr)
        pMain->SendMessage(WM_COMMANDHELP);
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    if (g_pApp != nullptr && g_pApp->m_hInstance != nullptr)
        return g_pApp->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}

HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType)
{
    HINSTANCE hResource = AfxGetResourceHandle();
    if (::FindResourceA(hResource, lpszName, lpszType) != nullptr)
        return hResource;
    return AfxGetInstanceHandle();
}

void AfxEnableControlContainer(COccManager*)
{
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    if (pApp->m_pszAppName == nullptr)
        pApp->m_pszAppName = ModuleBaseName(hInstance);
    if (!pApp->InitApplication() || !pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}
