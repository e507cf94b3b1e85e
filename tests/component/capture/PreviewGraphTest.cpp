#include "CaptureHarness.h"

#include <wrl/client.h>

#include "snapshot/GrabBuffer.h"
#include "vcam/frame/FrameStamp.h"

using Microsoft::WRL::ComPtr;

namespace
{
bool HasFilterNamed(IGraphBuilder* graph, const wchar_t* name)
{
    ComPtr<IBaseFilter> filter;
    return graph && graph->FindFilterByName(name, filter.GetAddressOf()) == S_OK;
}

class PreviewGraphTest : public CaptureComponentTest
{
protected:
    // Presses the action button in snapshot mode and waits for the still's name.
    std::vector<BYTE> TakeSnapshot(const std::string& expectedName)
    {
        CaptureDlgTestAccess::Action(*dialog);
        EXPECT_TRUE(PumpUntil([&] { return ControlText(IDC_LAST_FILE) == expectedName; }, 30000))
            << expectedName;
        return support::ReadFileBytes(folder.Path() + expectedName);
    }

    static bool StampOf(const std::vector<BYTE>& file, uint32_t* number)
    {
        if (file.size() < 54)
            return false;
        const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(file.data() + 14);
        return ReadFrameNumberFromDib(file.data() + 54, info->biWidth, info->biHeight, number);
    }

    support::TempFolder folder;
};

TEST_F(PreviewGraphTest, PreviewRunsAndModeStepsThroughEveryFormatAndWraps)
{
    AddDevices({Device(L"01", L"Halcyon Nightframe Vesper")});
    CCaptureDlg& dlg = OpenDialog();
    ASSERT_TRUE(GraphRuns(CaptureDlgTestAccess::Graph(dlg)));
    EXPECT_NE(nullptr, CaptureDlgTestAccess::Grabber(dlg));
    EXPECT_EQ("Preview: 640 x 480", ControlText(IDC_STATUS));
    EXPECT_EQ(&dlg, GrabBuffer.ownerDialog);
    EXPECT_FALSE(HasFilterNamed(CaptureDlgTestAccess::Graph(dlg), L"NULL renderer"));

    const char* const expected[] = {"Preview: 320 x 240", "Preview: 1280 x 960", "Preview: 642 x 480",
                                    "Preview: 640 x -480", "Preview: 640 x 480"};
    for (const char* status : expected)
    {
        CaptureDlgTestAccess::Format(dlg);
        EXPECT_EQ(status, ControlText(IDC_STATUS));
        EXPECT_TRUE(GraphRuns(CaptureDlgTestAccess::Graph(dlg))) << status;
    }
    EXPECT_EQ(0, CaptureDlgTestAccess::FormatIndex(dlg));
    EXPECT_EQ(640, GrabBuffer.frameWidth);
    EXPECT_EQ(480, GrabBuffer.frameHeight);
    EXPECT_TRUE(errors.Texts().empty());
}

TEST_F(PreviewGraphTest, SnapshotsCarryLiveFramesFromTheRunningPreview)
{
    AddDevices({Device(L"01", L"Generic USB Camera")});
    CCaptureDlg& dlg = OpenDialog();
    CaptureDlgTestAccess::SetDirectory(dlg, folder.Path());
    Pump(300);

    const std::vector<BYTE> first = TakeSnapshot("Tarnview_Capture_0000.bmp");
    ASSERT_EQ(921654u, first.size());
    uint32_t firstNumber = 0;
    ASSERT_TRUE(StampOf(first, &firstNumber));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg.GetSafeHwnd(), IDC_VIEW_STILL)));

    Pump(500);
    const std::vector<BYTE> second = TakeSnapshot("Tarnview_Capture_0001.bmp");
    uint32_t secondNumber = 0;
    ASSERT_TRUE(StampOf(second, &secondNumber));
    // A later frame, not a copy of the first.
    EXPECT_GT(secondNumber, firstNumber);
    EXPECT_EQ(2, CaptureDlgTestAccess::FileCounter(dlg));
    EXPECT_EQ(folder.Path() + "Tarnview_Capture_0001.bmp", GrabBuffer.lastStillPath);

    // A top-down format gives a top-down still.
    CaptureDlgTestAccess::FormatIndex(dlg) = 3;
    CaptureDlgTestAccess::Format(dlg);
    EXPECT_EQ("Preview: 640 x -480", ControlText(IDC_STATUS));
    const std::vector<BYTE> topDown = TakeSnapshot("Tarnview_Capture_0002.bmp");
    ASSERT_EQ(921654u, topDown.size());
    EXPECT_EQ(-480, reinterpret_cast<const BITMAPINFOHEADER*>(topDown.data() + 14)->biHeight);
    uint32_t topDownNumber = 0;
    EXPECT_TRUE(StampOf(topDown, &topDownNumber));
    EXPECT_TRUE(errors.Texts().empty());
}

TEST_F(PreviewGraphTest, VideoPortCameraIsRenderedIntoTheNullRenderer)
{
    DeviceSpec entry = Device(L"01", L"Generic USB Camera");
    entry.settings.videoPortPin = true;
    AddDevices({entry});
    CCaptureDlg& dlg = OpenDialog();
    EXPECT_TRUE(HasFilterNamed(CaptureDlgTestAccess::Graph(dlg), L"NULL renderer"));
    EXPECT_TRUE(GraphRuns(CaptureDlgTestAccess::Graph(dlg)));
    EXPECT_EQ("Preview: 640 x 480", ControlText(IDC_STATUS));
    EXPECT_TRUE(errors.Texts().empty());
}

TEST_F(PreviewGraphTest, CamerasWithoutUsableStreamConfigStillPreview)
{
    struct Case
    {
        unsigned fault;
        int indexAfterStep;  // no capabilities to count: the index stays 0
    };
    for (const Case& c : {Case{VcamFault::NoStreamConfig, 0}, Case{VcamFault::NoCapabilities, 0},
                          Case{VcamFault::GetStreamCapsFails, 1}})
    {
        SCOPED_TRACE(testing::Message() << "fault " << c.fault);
        DeviceSpec entry = Device(L"01", L"Generic USB Camera");
        entry.settings.faults = c.fault;
        AddDevices({entry});
        CCaptureDlg& dlg = OpenDialog();
        EXPECT_TRUE(GraphRuns(CaptureDlgTestAccess::Graph(dlg)));
        EXPECT_EQ("Preview: 640 x 480", ControlText(IDC_STATUS));
        CaptureDlgTestAccess::Format(dlg);
        EXPECT_EQ(c.indexAfterStep, CaptureDlgTestAccess::FormatIndex(dlg));
        EXPECT_TRUE(GraphRuns(CaptureDlgTestAccess::Graph(dlg)));
        EXPECT_TRUE(errors.Texts().empty());
        CloseDialog();
        RemoveAllDevices();
    }
}

TEST_F(PreviewGraphTest, VideoInfo2CameraPreviewsWithItsSizeRead)
{
    DeviceSpec entry = Device(L"01", L"Generic USB Camera", {{320, 240}});
    entry.settings.videoInfo2 = true;
    AddDevices({entry});
    CCaptureDlg& dlg = OpenDialog();
    CaptureDlgTestAccess::SetDirectory(dlg, folder.Path());
    EXPECT_EQ("Preview: 320 x 240", ControlText(IDC_STATUS)) << testing::PrintToString(errors.Texts());
    EXPECT_TRUE(GraphRuns(CaptureDlgTestAccess::Graph(dlg)));
    EXPECT_EQ(54u + 320 * 240 * 3, TakeSnapshot("Tarnview_Capture_0000.bmp").size());
}

TEST_F(PreviewGraphTest, TeardownEmptiesBothMembersAndIsHarmlessTwice)
{
    AddDevices({Device(L"01", L"Generic USB Camera")});
    CCaptureDlg& dlg = OpenDialog();
    ASSERT_NE(nullptr, CaptureDlgTestAccess::Graph(dlg));
    dlg.TearDownGraph();
    EXPECT_EQ(nullptr, CaptureDlgTestAccess::Graph(dlg));
    EXPECT_EQ(nullptr, CaptureDlgTestAccess::Grabber(dlg));
    dlg.TearDownGraph();
    EXPECT_EQ(nullptr, CaptureDlgTestAccess::Graph(dlg));
    EXPECT_EQ(0, VcamLiveObjects());
}

// Closes any other dialog window of this process that shows up (the property frame).
class OwnedWindowCloser
{
public:
    explicit OwnedWindowCloser(HWND mainDialog) : m_owner(mainDialog), m_thread([this] { Watch(); }) {}
    ~OwnedWindowCloser()
    {
        m_stop.store(true);
        m_thread.join();
    }
    bool Seen() const { return m_seen.load(); }
    RECT Rect() const { return m_rect; }

private:
    static BOOL CALLBACK Check(HWND window, LPARAM self)
    {
        auto* closer = reinterpret_cast<OwnedWindowCloser*>(self);
        // Wine's property frame has no owner: look for any other dialog of this process.
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char className[32] = {};
        wchar_t title[64] = {};
        GetClassNameA(window, className, sizeof className);
        // Never GetWindowText here: it would send to the test thread, which may be
        // waiting for this one.
        InternalGetWindowText(window, title, 64);
        if (process != GetCurrentProcessId() || window == closer->m_owner || !IsWindowVisible(window) ||
            std::string(className) != "#32770" || std::wstring(title) == L"Error!")
            return TRUE;
        GetWindowRect(window, &closer->m_rect);
        closer->m_frame = window;
        closer->m_seen.store(true);
        return FALSE;
    }
    void Watch()
    {
        while (!m_stop.load())
        {
            if (!m_seen.load())
                EnumWindows(&Check, reinterpret_cast<LPARAM>(this));
            // Asked until it is gone: a frame still being set up may miss the first
            // Cancel, and Wine's modal frame notices its end only at a further message.
            if (m_seen.load() && IsWindow(m_frame))
            {
                PostMessageA(m_frame, WM_COMMAND, IDCANCEL, 0);
                PostThreadMessageA(GetWindowThreadProcessId(m_owner, nullptr), WM_NULL, 0, 0);
            }
            Sleep(100);
        }
    }

    HWND m_owner;
    HWND m_frame = nullptr;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_seen{false};
    RECT m_rect{};
    std::thread m_thread;
};

TEST_F(PreviewGraphTest, SetupCameraShowsPagesWithoutDisturbingThePreview)
{
    AddDevices({Device(L"01", L"Generic USB Camera")});
    CCaptureDlg& dlg = OpenDialog();
    IGraphBuilder* graph = CaptureDlgTestAccess::Graph(dlg);
    {
        OwnedWindowCloser closer(dlg.GetSafeHwnd());
        CaptureDlgTestAccess::SetupCamera(dlg);
        EXPECT_TRUE(closer.Seen());
    }
    EXPECT_EQ(graph, CaptureDlgTestAccess::Graph(dlg));
    EXPECT_TRUE(GraphRuns(graph));
    CloseDialog();
    RemoveAllDevices();

    DeviceSpec noPages = Device(L"01", L"Generic USB Camera");
    noPages.settings.faults = VcamFault::NoPropertyPages;
    AddDevices({noPages});
    CCaptureDlg& second = OpenDialog();
    OwnedWindowCloser closer(second.GetSafeHwnd());
    CaptureDlgTestAccess::SetupCamera(second);  // returns at once: nothing to show
    Pump(300);
    EXPECT_FALSE(closer.Seen());
    EXPECT_TRUE(errors.Texts().empty());
}
}  // namespace
