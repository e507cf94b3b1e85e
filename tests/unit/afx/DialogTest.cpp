// Control binding, the window procedure every message passes, and default processing
// of what the map leaves alone.
#include <afxwin.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "TestResources.h"

namespace
{
constexpr UINT WM_TEST_MAPPED = WM_APP + 3;
constexpr UINT WM_TEST_UNMAPPED = WM_APP + 9;

class BindingDlg : public CDialog
{
public:
    BindingDlg() : CDialog(IDD_AFX_TEST) {}
    CStatic label;
    CStatic other;
    bool bindOther = false;
    int exchanges = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        ++exchanges;
        DDX_Control(pDX, IDC_TEST_LABEL, label);
        if (bindOther)
            DDX_Control(pDX, IDC_TEST_OTHER, other);
    }
};

class SpyDlg : public CDialog
{
public:
    SpyDlg() : CDialog(IDD_AFX_TEST) {}
    std::vector<UINT> seen;
    HCURSOR dragCursor = reinterpret_cast<HCURSOR>(static_cast<INT_PTR>(0x5150));

    bool Saw(UINT message) const { return std::find(seen.begin(), seen.end(), message) != seen.end(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(message);
        return CDialog::WindowProc(message, wParam, lParam);
    }
    afx_msg HCURSOR OnQueryDragIcon() { return dragCursor; }
    afx_msg LRESULT OnMapped(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SpyDlg, CDialog)
    ON_WM_QUERYDRAGICON()
    ON_MESSAGE(WM_TEST_MAPPED, &SpyDlg::OnMapped)
END_MESSAGE_MAP()
}  // namespace

TEST(DataExchange, BindsTheControlWhenTheDialogInitialises)
{
    BindingDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_AFX_TEST));
    EXPECT_EQ(dlg.exchanges, 1);
    EXPECT_EQ(dlg.label.m_hWnd, ::GetDlgItem(dlg.m_hWnd, IDC_TEST_LABEL));
    EXPECT_EQ(CWnd::FromHandlePermanent(dlg.label.m_hWnd), &dlg.label);
    EXPECT_EQ(dlg.GetDlgItem(IDC_TEST_LABEL), &dlg.label);
}

TEST(DataExchange, BindsOnceAndOnlyWhenLoading)
{
    BindingDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_AFX_TEST));
    dlg.bindOther = true;
    // Saving must not bind a control that is not bound yet.
    dlg.UpdateData(TRUE);
    EXPECT_EQ(dlg.other.m_hWnd, nullptr);
    // Loading again leaves the bound control as it is; a second subclassing would
    // chain the window procedure to itself and never return from the next message.
    HWND bound = dlg.label.m_hWnd;
    dlg.UpdateData(FALSE);
    EXPECT_EQ(dlg.label.m_hWnd, bound);
    EXPECT_EQ(dlg.other.m_hWnd, ::GetDlgItem(dlg.m_hWnd, IDC_TEST_OTHER));
    dlg.label.SetWindowText("still answers");
    char text[32] = {};
    dlg.label.GetWindowText(text, sizeof text);
    EXPECT_STREQ(text, "still answers");
}

TEST(DataExchange, BoundControlsLetGoWhenTheDialogIsDestroyed)
{
    BindingDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_AFX_TEST));
    HWND labelWindow = dlg.label.m_hWnd;
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.label.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(labelWindow), nullptr);
}

TEST(WindowProcedure, SeesEveryMessageFromInitialisationOn)
{
    SpyDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_AFX_TEST));
    EXPECT_TRUE(dlg.Saw(WM_INITDIALOG));
    dlg.SendMessage(WM_TEST_UNMAPPED);
    dlg.PostMessage(WM_TEST_MAPPED);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
    EXPECT_TRUE(dlg.Saw(WM_TEST_UNMAPPED));
    EXPECT_TRUE(dlg.Saw(WM_TEST_MAPPED));
    dlg.DestroyWindow();
    EXPECT_TRUE(dlg.Saw(WM_DESTROY));
    EXPECT_TRUE(dlg.Saw(WM_NCDESTROY));
}

TEST(WindowProcedure, HandlerResultsReachTheSender)
{
    SpyDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_AFX_TEST));
    EXPECT_EQ(dlg.SendMessage(WM_TEST_MAPPED, 40, 2), 42);
    EXPECT_EQ(dlg.SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(dlg.dragCursor));
}

TEST(WindowProcedure, UnmappedMessagesGetTheDialogManagersDefault)
{
    SpyDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_AFX_TEST));
    EXPECT_EQ(dlg.SendMessage(WM_TEST_UNMAPPED, 1, 2), 0);
    dlg.SetWindowText("renamed");
    char caption[32] = {};
    dlg.GetWindowText(caption, sizeof caption);
    EXPECT_STREQ(caption, "renamed");
    // The dialog manager answers DM_GETDEFID with the default push button.
    EXPECT_EQ(LOWORD(dlg.SendMessage(DM_GETDEFID)), IDOK);
}

TEST(Windows, ModifyStyleAndTemporaryWrappers)
{
    BindingDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_AFX_TEST));
    CWnd* button = dlg.GetDlgItem(IDC_TEST_FIRST);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button, dlg.GetDlgItem(IDC_TEST_FIRST));
    EXPECT_EQ(button->GetDlgCtrlID(), IDC_TEST_FIRST);
    EXPECT_TRUE(button->ModifyStyle(0, WS_CLIPCHILDREN));
    EXPECT_NE(button->GetStyle() & WS_CLIPCHILDREN, 0u);
    EXPECT_FALSE(button->ModifyStyle(0, WS_CLIPCHILDREN));
    EXPECT_EQ(dlg.GetDlgItem(4242), nullptr);
}

TEST(Windows, SystemMenuTakesAppendedItems)
{
    BindingDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_AFX_TEST));
    CMenu* menu = dlg.GetSystemMenu(FALSE);
    ASSERT_NE(menu, nullptr);
    const int before = menu->GetMenuItemCount();
    EXPECT_TRUE(menu->AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(menu->AppendMenu(MF_STRING, 0x0010, "&About..."));
    ASSERT_EQ(menu->GetMenuItemCount(), before + 2);
    EXPECT_EQ(menu->GetMenuItemID(before + 1), 0x0010u);
    char text[32] = {};
    menu->GetMenuString(before + 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&About...");
}

namespace
{
class MovingDlg : public CDialog
{
public:
    MovingDlg() : CDialog(IDD_AFX_TEST) {}

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ::SetWindowPos(m_hWnd, nullptr, 3, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }
};

POINT Centre(HWND hWnd)
{
    RECT rect = {};
    ::GetWindowRect(hWnd, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT WorkAreaCentre()
{
    RECT area = {};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}
}  // namespace

TEST(Centring, UnownedHiddenDialogIsCentredAfterInitialisation)
{
    CDialog dlg(IDD_AFX_TEST);
    ASSERT_TRUE(dlg.Create(IDD_AFX_TEST));
    const POINT centre = Centre(dlg.m_hWnd);
    const POINT expected = WorkAreaCentre();
    EXPECT_NEAR(centre.x, expected.x, 1);
    EXPECT_NEAR(centre.y, expected.y, 1);
}

TEST(Centring, DialogThatPlacedItselfOrHasAnEnabledOwnerStaysPut)
{
    MovingDlg moved;
    ASSERT_TRUE(moved.Create(IDD_AFX_TEST));
    RECT rect = {};
    ::GetWindowRect(moved.m_hWnd, &rect);
    EXPECT_EQ(rect.left, 3);
    EXPECT_EQ(rect.top, 4);

    CDialog owned(IDD_AFX_TEST);
    ASSERT_TRUE(owned.Create(IDD_AFX_TEST, &moved));
    const POINT centre = Centre(owned.m_hWnd);
    const POINT workCentre = WorkAreaCentre();
    EXPECT_FALSE(std::abs(centre.x - workCentre.x) <= 1 && std::abs(centre.y - workCentre.y) <= 1);
}
