// The main dialog in process: its start values, the controller's commands and states,
// the recording timer, the error reporter and the system menu. Graph builds run for
// real; whether a camera is registered or not, the expectations here hold (a failed
// build's "Error!" box is closed by the watcher).
#include <gtest/gtest.h>

#include "ui/CaptureDlg.h"

#include <mmsystem.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "ModalBoxWatcher.h"
#include "snapshot/GrabBuffer.h"
#include "support/TempFolder.h"

class CaptureDlgTestAccess
{
public:
    static bool SnapshotMode(const CCaptureDlg& d) { return d.m_bSnapshotMode; }
    static BOOL Recording(const CCaptureDlg& d) { return d.m_bRecording; }
    static int& Counter(CCaptureDlg& d) { return d.m_nFileCounter; }
    static char* Directory(CCaptureDlg& d) { return d.m_szDirectory; }
    static HICON Icon(const CCaptureDlg& d) { return d.m_hIcon; }
    static bool& CameraLost(CCaptureDlg& d) { return d.m_bCameraLost; }

    // A recording that runs as far as the controller can tell, started some
    // milliseconds ago, without building a recording graph.
    static void PretendRecording(CCaptureDlg& d, DWORD startedMsAgo, int durationSec)
    {
        d.m_bSnapshotMode = false;
        d.m_bRecording = TRUE;
        d.m_dwRecordStart = timeGetTime() - startedMsAgo;
        d.m_nDurationSec = durationSec;
        std::strcpy(d.m_szRecordingName, "pretend_0000.avi");
        d.SetDlgItemText(IDC_ACTION, "&Stop Capture");
    }
    static void ReportError(CCaptureDlg& d, const char* text) { d.ReportError(text); }
};

namespace
{
using Access = CaptureDlgTestAccess;

// COM for the test thread, as the application object joins it for the dialog.
class ComApartment : public testing::Environment
{
public:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }
};
const testing::Environment* const comApartment = testing::AddGlobalTestEnvironment(new ComApartment);

std::string Text(const CCaptureDlg& dlg, int id)
{
    char text[512] = {};
    ::GetDlgItemTextA(dlg.m_hWnd, id, text, sizeof text);
    return text;
}

class CaptureDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create(IDD_MAIN));
        std::strcpy(Access::Directory(dlg), folder.Path().c_str());
        GrabBuffer.grabPending = 0;
    }
    void TearDown() override
    {
        GrabBuffer.grabPending = 0;
        dlg.DestroyWindow();
    }

    void Click(int id)
    {
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(::GetDlgItem(dlg.m_hWnd, id)));
    }
    void Tick() { dlg.SendMessage(WM_TIMER, 1); }
    bool Checked(int id) { return ::IsDlgButtonChecked(dlg.m_hWnd, id) == BST_CHECKED; }
    bool ActionEnabled() { return ::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_ACTION)) != FALSE; }

    ModalBoxWatcher boxes;
    CCaptureDlg dlg;
    // Recordings reserve their clips here, whether their graphs run or not.
    support::TempFolder folder{"dialog"};
};
}  // namespace

TEST(CaptureDlgStart, ComesUpWithTheDefaults)
{
    ModalBoxWatcher boxes;
    CCaptureDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    EXPECT_TRUE(::IsDlgButtonChecked(dlg.m_hWnd, IDC_MODE_SNAPSHOT));
    EXPECT_FALSE(::IsDlgButtonChecked(dlg.m_hWnd, IDC_MODE_AVI));
    EXPECT_TRUE(::IsDlgButtonChecked(dlg.m_hWnd, IDC_INCREMENT));
    EXPECT_TRUE(Access::SnapshotMode(dlg));
    EXPECT_FALSE(Access::Recording(dlg));
    EXPECT_EQ(Access::Counter(dlg), 0);
    EXPECT_EQ(Text(dlg, IDC_ACTION), "&Take Snapshot");
    EXPECT_EQ(Text(dlg, IDC_FRAME_RATE), "30");
    EXPECT_EQ(Text(dlg, IDC_DURATION), "0");
    EXPECT_EQ(Text(dlg, IDC_FILENAME), "Tarnview_Capture");
    EXPECT_EQ(Text(dlg, IDC_CAPTURE_STATUS), "Not capturing");
    EXPECT_EQ(Text(dlg, IDC_LAST_FILE), "");
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_VIEW_STILL)));
    EXPECT_EQ(GrabBuffer.ownerWindow, dlg.m_hWnd);

    char documents[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, TRUE));
    EXPECT_EQ(std::string(Access::Directory(dlg)), std::string(documents) + "\\");

    for (int frame : {IDC_PREVIEW, IDC_LAST_SNAPSHOT})
        EXPECT_NE(::GetWindowLongPtrA(::GetDlgItem(dlg.m_hWnd, frame), GWL_STYLE) & WS_CLIPCHILDREN, 0);

    ASSERT_NE(Access::Icon(dlg), nullptr);
    EXPECT_EQ(dlg.SendMessage(WM_GETICON, ICON_BIG), reinterpret_cast<LRESULT>(Access::Icon(dlg)));
    EXPECT_EQ(dlg.SendMessage(WM_GETICON, ICON_SMALL), reinterpret_cast<LRESULT>(Access::Icon(dlg)));
    EXPECT_EQ(dlg.SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(Access::Icon(dlg)));
}

TEST(CaptureDlgStart, SystemMenuEndsWithTheAboutItem)
{
    ModalBoxWatcher boxes;
    CCaptureDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    HMENU menu = ::GetSystemMenu(dlg.m_hWnd, FALSE);
    const int count = ::GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_NE(::GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_EQ(::GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    char text[64] = {};
    ::GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&About Tarnview...");
}

TEST_F(CaptureDlgTest, AboutItemOpensTheAboutBoxEvenWithLowBitsSet)
{
    boxes.Take();
    dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX);
    dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX | 0x0003);
    const auto seen = boxes.Take();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "About Tarnview");
    EXPECT_EQ(seen[0].text, "Tarnview v 1.0");
}

TEST_F(CaptureDlgTest, ModeButtonsSwitchCaptionAndModeOnlyWhenTheModeChanges)
{
    Click(IDC_MODE_AVI);
    EXPECT_FALSE(Access::SnapshotMode(dlg));
    EXPECT_EQ(Text(dlg, IDC_ACTION), "&Start Capture");

    // The current mode's button does nothing, not even the caption.
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_ACTION, "untouched");
    Click(IDC_MODE_AVI);
    EXPECT_EQ(Text(dlg, IDC_ACTION), "untouched");

    Click(IDC_MODE_SNAPSHOT);
    EXPECT_TRUE(Access::SnapshotMode(dlg));
    EXPECT_EQ(Text(dlg, IDC_ACTION), "&Take Snapshot");
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_ACTION, "untouched");
    Click(IDC_MODE_SNAPSHOT);
    EXPECT_EQ(Text(dlg, IDC_ACTION), "untouched");
}

TEST_F(CaptureDlgTest, SnapshotActionHandsTheNamesToTheGrabBuffer)
{
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_FILENAME, "moon");
    Access::Counter(dlg) = 3;
    Click(IDC_ACTION);
    EXPECT_EQ(GrabBuffer.grabPending.load(), 1);
    EXPECT_EQ(GrabBuffer.snapDirectory, folder.Path());
    EXPECT_STREQ(GrabBuffer.snapBaseName, "moon");
    // The writer advances the counter, not the request.
    EXPECT_EQ(Access::Counter(dlg), 3);
}

TEST_F(CaptureDlgTest, NamesThatDoNotFitStartNothingAndSaySo)
{
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_FILENAME, std::string(255, 'n').c_str());
    Click(IDC_ACTION);
    EXPECT_EQ(GrabBuffer.grabPending.load(), 0);
    EXPECT_EQ(Text(dlg, IDC_CAPTURE_STATUS), "File name too long: nothing captured");

    Click(IDC_MODE_AVI);
    const bool enabledBefore = ActionEnabled();
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_CAPTURE_STATUS, "");
    Click(IDC_ACTION);
    EXPECT_FALSE(Access::Recording(dlg));
    EXPECT_EQ(Access::Counter(dlg), 0);
    EXPECT_EQ(Text(dlg, IDC_ACTION), "&Start Capture");
    EXPECT_EQ(Text(dlg, IDC_CAPTURE_STATUS), "File name too long: nothing captured");
    EXPECT_EQ(ActionEnabled(), enabledBefore);
}

TEST_F(CaptureDlgTest, NamesThatWouldOpenADeviceOrAStreamStartNothingAndSaySo)
{
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_FILENAME, "nul.x");
    Click(IDC_ACTION);
    EXPECT_EQ(GrabBuffer.grabPending.load(), 0);
    EXPECT_EQ(Text(dlg, IDC_CAPTURE_STATUS), "Invalid file name: nothing captured");

    Click(IDC_MODE_AVI);
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_FILENAME, "clip:evil");
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_CAPTURE_STATUS, "");
    Click(IDC_ACTION);
    EXPECT_FALSE(Access::Recording(dlg));
    EXPECT_EQ(Access::Counter(dlg), 0);
    EXPECT_EQ(Text(dlg, IDC_CAPTURE_STATUS), "Invalid file name: nothing captured");
    EXPECT_FALSE(support::FileExists(folder.Path() + "clip"));
}

TEST_F(CaptureDlgTest, ClipThatCannotBeCreatedStartsNothingAndSaysWhy)
{
    Click(IDC_MODE_AVI);
    const bool enabledBefore = ActionEnabled();
    std::strcat(Access::Directory(dlg), "gone\\");
    Click(IDC_ACTION);
    EXPECT_FALSE(Access::Recording(dlg));
    EXPECT_EQ(Access::Counter(dlg), 0);
    EXPECT_EQ(Text(dlg, IDC_ACTION), "&Start Capture");
    EXPECT_EQ(Text(dlg, IDC_CAPTURE_STATUS).rfind("Recording not started: ", 0), 0u);
    EXPECT_EQ(ActionEnabled(), enabledBefore);
}

TEST_F(CaptureDlgTest, StartWithTheCameraLostStaysIdle)
{
    Click(IDC_MODE_AVI);
    Access::CameraLost(dlg) = true;
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_STATUS, "Camera lost: cam");
    Click(IDC_ACTION);
    EXPECT_FALSE(Access::Recording(dlg));
    EXPECT_EQ(Access::Counter(dlg), 0);
    EXPECT_EQ(Text(dlg, IDC_ACTION), "&Start Capture");
    EXPECT_EQ(Text(dlg, IDC_STATUS), "Camera lost: cam");
    EXPECT_FALSE(support::FileExists(folder.Path() + "Tarnview_Capture_0000.avi"));
}

TEST_F(CaptureDlgTest, RecordingShowsTheNameItStartedWithWhenItStops)
{
    Click(IDC_MODE_AVI);
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_CAPTURE_STATUS, "before");
    Click(IDC_ACTION);
    EXPECT_TRUE(Access::Recording(dlg));
    EXPECT_EQ(Text(dlg, IDC_ACTION), "&Stop Capture");
    EXPECT_EQ(Text(dlg, IDC_CAPTURE_STATUS), "");
    EXPECT_EQ(Access::Counter(dlg), 1);

    // Neither a reset nor a new base name renames the running recording.
    Click(IDC_RESET_COUNTER);
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_FILENAME, "renamed");
    Click(IDC_ACTION);
    EXPECT_FALSE(Access::Recording(dlg));
    EXPECT_FALSE(Access::SnapshotMode(dlg));
    EXPECT_EQ(Text(dlg, IDC_ACTION), "&Start Capture");
    EXPECT_EQ(Text(dlg, IDC_LAST_FILE), "Tarnview_Capture_0000.avi");
    EXPECT_EQ(Access::Counter(dlg), 0);
}

TEST_F(CaptureDlgTest, RecordingWithoutIncrementKeepsTheCounter)
{
    ::CheckDlgButton(dlg.m_hWnd, IDC_INCREMENT, BST_UNCHECKED);
    Click(IDC_MODE_AVI);
    Click(IDC_ACTION);
    Click(IDC_ACTION);
    EXPECT_EQ(Access::Counter(dlg), 0);
    EXPECT_EQ(Text(dlg, IDC_LAST_FILE), "Tarnview_Capture_0000.avi");
}

TEST_F(CaptureDlgTest, TimerShowsWholeSecondsAndStopsAtTheDuration)
{
    // Started a whole number of seconds ago: the line reads the same until a second
    // more has passed, however slow the machine is between here and the tick.
    Access::PretendRecording(dlg, 4000, 5);
    Tick();
    EXPECT_EQ(Text(dlg, IDC_CAPTURE_STATUS), "Captured: 4 s");
    EXPECT_TRUE(Access::Recording(dlg));

    Access::PretendRecording(dlg, 5000, 5);
    Tick();
    EXPECT_FALSE(Access::Recording(dlg));
    EXPECT_EQ(Text(dlg, IDC_CAPTURE_STATUS), "Captured: 5 s");
    EXPECT_EQ(Text(dlg, IDC_ACTION), "&Start Capture");
    EXPECT_EQ(Text(dlg, IDC_LAST_FILE), "pretend_0000.avi");
}

TEST_F(CaptureDlgTest, NoDurationOrANegativeOneNeverStops)
{
    Access::PretendRecording(dlg, 90000, 0);
    Tick();
    EXPECT_TRUE(Access::Recording(dlg));
    EXPECT_EQ(Text(dlg, IDC_CAPTURE_STATUS), "Captured: 90 s");
    Access::PretendRecording(dlg, 90000, -1);
    Tick();
    EXPECT_TRUE(Access::Recording(dlg));
}

TEST_F(CaptureDlgTest, StrayTickWhileIdleStartsNothing)
{
    Click(IDC_MODE_AVI);
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_CAPTURE_STATUS, "idle");
    Tick();
    EXPECT_FALSE(Access::Recording(dlg));
    EXPECT_EQ(Text(dlg, IDC_CAPTURE_STATUS), "idle");
}

TEST_F(CaptureDlgTest, SnapshotModeDuringRecordingEndsIt)
{
    Access::PretendRecording(dlg, 1000, 0);
    Click(IDC_MODE_SNAPSHOT);
    EXPECT_FALSE(Access::Recording(dlg));
    EXPECT_TRUE(Access::SnapshotMode(dlg));
    EXPECT_EQ(Text(dlg, IDC_ACTION), "&Take Snapshot");
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_CAPTURE_STATUS, "after");
    Tick();
    EXPECT_EQ(Text(dlg, IDC_CAPTURE_STATUS), "after");
}

TEST_F(CaptureDlgTest, FormatStepDuringRecordingKeepsTheRecordingState)
{
    Access::PretendRecording(dlg, 1000, 0);
    Click(IDC_FORMAT);
    EXPECT_TRUE(Access::Recording(dlg));
    EXPECT_EQ(Text(dlg, IDC_ACTION), "&Stop Capture");
}

TEST_F(CaptureDlgTest, ReportedErrorDisablesTheActionForGood)
{
    boxes.Take();
    Access::ReportError(dlg, "Could not run graph");
    EXPECT_FALSE(ActionEnabled());
    const auto seen = boxes.Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, "Error!");
    EXPECT_EQ(seen[0].text, "Could not run graph");
    EXPECT_EQ(seen[0].owner, nullptr);
    Click(IDC_MODE_AVI);
    Click(IDC_MODE_SNAPSHOT);
    EXPECT_FALSE(ActionEnabled());
}

TEST(CaptureDlgClose, CloseCommandEndsTheModalDialog)
{
    ModalBoxWatcher boxes;
    CCaptureDlg dlg;
    // Once the dialog runs, a thread timer sends it the close command.
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
        if (HWND main = ::FindWindowA(nullptr, "Tarnview Video Capture"))
        {
            ::KillTimer(nullptr, id);
            ::PostMessageA(main, WM_CLOSE, 0, 0);
        }
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(GrabBuffer.frameBytes, nullptr);
}
