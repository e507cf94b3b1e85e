// Handlers are found in map order, the derived class's map before its base's, and only
// for the notification code and id they were entered with.
#include <afxwin.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestResources.h"

namespace
{
class BaseDlg : public CDialog
{
public:
    BaseDlg() : CDialog(IDD_AFX_TEST) {}
    std::vector<std::string> calls;

protected:
    afx_msg void OnFirstInBase() { calls.push_back("base:first"); }
    afx_msg void OnSecondInBase() { calls.push_back("base:second"); }
    void OnCancel() override { calls.push_back("base:cancel"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseDlg, CDialog)
    ON_BN_CLICKED(IDC_TEST_FIRST, &BaseDlg::OnFirstInBase)
    ON_BN_CLICKED(IDC_TEST_SECOND, &BaseDlg::OnSecondInBase)
END_MESSAGE_MAP()

class DerivedDlg : public BaseDlg
{
protected:
    afx_msg void OnFirstInDerived() { calls.push_back("derived:first"); }
    afx_msg void OnFirstAgain() { calls.push_back("derived:first-again"); }
    void OnOK() override { calls.push_back("derived:ok"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedDlg, BaseDlg)
    ON_BN_CLICKED(IDC_TEST_FIRST, &DerivedDlg::OnFirstInDerived)
    ON_BN_CLICKED(IDC_TEST_FIRST, &DerivedDlg::OnFirstAgain)
END_MESSAGE_MAP()

void Click(CDialog& dlg, int id)
{
    HWND button = ::GetDlgItem(dlg.m_hWnd, id);
    ASSERT_NE(button, nullptr);
    ::SendMessageA(button, BM_CLICK, 0, 0);
}

void Notify(CDialog& dlg, int id, WORD code)
{
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(::GetDlgItem(dlg.m_hWnd, id)));
}
}  // namespace

TEST(MessageMap, DerivedEntryWinsAndOnlyTheFirstMatchRuns)
{
    DerivedDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_AFX_TEST));
    Click(dlg, IDC_TEST_FIRST);
    EXPECT_EQ(dlg.calls, (std::vector<std::string>{"derived:first"}));
}

TEST(MessageMap, UnmatchedInDerivedFallsToBaseMapThenToFrameworkCommands)
{
    DerivedDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_AFX_TEST));
    Click(dlg, IDC_TEST_SECOND);
    Click(dlg, IDOK);
    Click(dlg, IDCANCEL);
    // IDOK and IDCANCEL come from the framework's own map and reach the overrides.
    EXPECT_EQ(dlg.calls, (std::vector<std::string>{"base:second", "derived:ok", "base:cancel"}));
}

TEST(MessageMap, BaseClassObjectUsesOnlyItsOwnMap)
{
    BaseDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_AFX_TEST));
    Click(dlg, IDC_TEST_FIRST);
    EXPECT_EQ(dlg.calls, (std::vector<std::string>{"base:first"}));
}

TEST(MessageMap, OtherNotificationCodesAndIdsAreNotTaken)
{
    DerivedDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_AFX_TEST));
    Notify(dlg, IDC_TEST_FIRST, BN_DOUBLECLICKED);
    Notify(dlg, IDC_TEST_FIRST, BN_SETFOCUS);
    Notify(dlg, IDC_TEST_LABEL, BN_CLICKED);
    EXPECT_TRUE(dlg.calls.empty());
    Notify(dlg, IDC_TEST_FIRST, BN_CLICKED);
    EXPECT_EQ(dlg.calls, (std::vector<std::string>{"derived:first"}));
}
