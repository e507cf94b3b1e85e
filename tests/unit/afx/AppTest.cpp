// The application object: start-up without a message loop when InitInstance says no,
// commands the dialog leaves going on to the application, and the main window owning
// dialogs opened without a parent.
#include <afxwin.h>
#include <gtest/gtest.h>

#include "TestResources.h"

namespace
{
class TestApp : public CWinApp
{
public:
    BOOL initResult = FALSE;
    int exitCode = 17;
    bool ran = false;
    int helpRequests = 0;

    BOOL InitInstance() override { return initResult; }
    int ExitInstance() override { return exitCode; }
    int Run() override
    {
        ran = true;
        return 99;
    }

protected:
    afx_msg void OnHelpRequest() { ++helpRequests; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestApp, CWinApp)
    ON_COMMAND(ID_HELP, &TestApp::OnHelpRequest)
END_MESSAGE_MAP()

class ClosingDlg : public CDialog
{
public:
    ClosingDlg() : CDialog(IDD_AFX_TEST) {}
    HWND ownerWhileOpen = nullptr;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ownerWhileOpen = ::GetWindow(m_hWnd, GW_OWNER);
        PostMessage(WM_COMMAND, IDCANCEL);
        return TRUE;
    }
};
}  // namespace

TEST(Application, InitInstanceFalseEndsWithExitInstanceAndNoLoop)
{
    TestApp app;
    ASSERT_EQ(AfxGetApp(), &app);
    EXPECT_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOW), 17);
    EXPECT_FALSE(app.ran);
    EXPECT_EQ(AfxGetInstanceHandle(), ::GetModuleHandleA(nullptr));
    ASSERT_NE(app.m_pszAppName, nullptr);
    EXPECT_STRNE(app.m_pszAppName, "");
}

TEST(Application, InitInstanceTrueRunsTheLoop)
{
    TestApp app;
    app.initResult = TRUE;
    EXPECT_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOW), 99);
    EXPECT_TRUE(app.ran);
}

TEST(Application, CommandsTheDialogLeavesReachTheApplication)
{
    TestApp app;
    CDialog dlg(IDD_AFX_TEST);
    ASSERT_TRUE(dlg.Create(IDD_AFX_TEST));
    dlg.SendMessage(WM_COMMAND, ID_HELP);
    EXPECT_EQ(app.helpRequests, 1);
}

TEST(Application, MainWindowOwnsDialogsOpenedWithoutParent)
{
    TestApp app;
    CDialog mainDlg(IDD_AFX_TEST);
    ASSERT_TRUE(mainDlg.Create(IDD_AFX_TEST));
    app.m_pMainWnd = &mainDlg;
    ClosingDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.ownerWhileOpen, mainDlg.m_hWnd);
    EXPECT_TRUE(mainDlg.IsWindowEnabled());
}
