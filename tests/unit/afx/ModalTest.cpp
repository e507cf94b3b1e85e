// DoModal: its result, the close command's default road to IDCANCEL, and the window's
// destruction through the virtual DestroyWindow while the controls still exist.
#include <afxwin.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestResources.h"

namespace
{
constexpr UINT_PTR kEndTimer = 7;

// What a modal dialog does once its loop runs, posted from OnInitDialog.
enum class Script
{
    EndFromTimer,
    CloseWithDefault,
    CloseSwallowedThenEnd,
    EndDuringInit,
    PressEscape
};

class ModalDlg : public CDialog
{
public:
    explicit ModalDlg(Script script, UINT templateId = IDD_AFX_TEST, CWnd* parent = nullptr)
        : CDialog(templateId, parent),
          script(script)
    {
    }

    Script script;
    std::vector<std::string> calls;
    bool controlsAliveAtDestroy = false;
    bool ownerEnabledWhileOpen = true;
    HWND ownerWhileOpen = nullptr;
    POINT centreWhileOpen = {};

    BOOL DestroyWindow() override
    {
        calls.push_back("destroy");
        controlsAliveAtDestroy = ::IsWindow(::GetDlgItem(m_hWnd, IDOK)) != FALSE;
        return CDialog::DestroyWindow();
    }

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ownerWhileOpen = ::GetWindow(m_hWnd, GW_OWNER);
        if (ownerWhileOpen != nullptr)
            ownerEnabledWhileOpen = ::IsWindowEnabled(ownerWhileOpen) != FALSE;
        switch (script)
        {
        case Script::EndFromTimer:
            SetTimer(kEndTimer, 10, nullptr);
            break;
        case Script::CloseWithDefault:
        case Script::CloseSwallowedThenEnd:
            PostMessage(WM_CLOSE);
            break;
        case Script::EndDuringInit:
            EndDialog(5);
            break;
        case Script::PressEscape:
            PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
            break;
        }
        return TRUE;
    }
    void OnCancel() override
    {
        calls.push_back("cancel");
        CDialog::OnCancel();
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        KillTimer(nIDEvent);
        RECT rect = {};
        GetWindowRect(&rect);
        centreWhileOpen = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        calls.push_back("timer");
        EndDialog(42);
    }
    afx_msg void OnClose()
    {
        calls.push_back("close");
        if (script == Script::CloseWithDefault)
            CDialog::OnClose();
        else
            SetTimer(kEndTimer, 10, nullptr);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ModalDlg, CDialog)
    ON_WM_TIMER()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

using Calls = std::vector<std::string>;
}  // namespace

TEST(DoModal, ReturnsTheValueGivenToEndDialog)
{
    ModalDlg dlg(Script::EndFromTimer);
    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_EQ(dlg.calls, (Calls{"timer", "destroy"}));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(DoModal, CloseCommandDefaultEndsThroughCancel)
{
    ModalDlg dlg(Script::CloseWithDefault);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.calls, (Calls{"close", "cancel", "destroy"}));
    EXPECT_TRUE(dlg.controlsAliveAtDestroy);
}

TEST(DoModal, CloseHandlerThatSkipsTheDefaultKeepsTheDialogOpen)
{
    ModalDlg dlg(Script::CloseSwallowedThenEnd);
    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_EQ(dlg.calls, (Calls{"close", "timer", "destroy"}));
}

TEST(DoModal, EscapeCancelsWithoutTheCloseHandler)
{
    ModalDlg dlg(Script::PressEscape);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.calls, (Calls{"cancel", "destroy"}));
}

TEST(DoModal, EndDuringInitialisationSkipsTheLoop)
{
    ModalDlg dlg(Script::EndDuringInit);
    EXPECT_EQ(dlg.DoModal(), 5);
    EXPECT_EQ(dlg.calls, (Calls{"destroy"}));
}

TEST(DoModal, MissingTemplateGivesMinusOne)
{
    ModalDlg dlg(Script::EndFromTimer, IDD_AFX_MISSING);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_TRUE(dlg.calls.empty());
}

TEST(DoModal, OwnerIsDisabledWhileTheDialogRunsAndEnabledAfter)
{
    CDialog owner(IDD_AFX_TEST);
    ASSERT_TRUE(owner.Create(IDD_AFX_TEST));
    owner.ShowWindow(SW_SHOW);
    owner.MoveWindow(100, 80, 600, 500);
    RECT ownerRect = {};
    owner.GetWindowRect(&ownerRect);
    ModalDlg dlg(Script::EndFromTimer, IDD_AFX_TEST, &owner);
    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_EQ(dlg.ownerWhileOpen, owner.m_hWnd);
    EXPECT_FALSE(dlg.ownerEnabledWhileOpen);
    EXPECT_TRUE(owner.IsWindowEnabled());
    // Centred over the owner, which had to be disabled for that.
    EXPECT_NEAR(dlg.centreWhileOpen.x, (ownerRect.left + ownerRect.right) / 2, 1);
    EXPECT_NEAR(dlg.centreWhileOpen.y, (ownerRect.top + ownerRect.bottom) / 2, 1);
}
