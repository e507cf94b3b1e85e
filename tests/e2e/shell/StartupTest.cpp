// First start: what a user sees before touching anything, the About box from the
// window menu, and minimising.
#include <windows.h>
#include <gtest/gtest.h>

#include "driver/TarnviewTest.h"

namespace e2e
{
namespace
{

class StartupTest : public TarnviewTest
{};

TEST_F(StartupTest, FirstStartShowsTheDefaults)
{
    AddDefaultCamera();
    Start();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window.IsChecked(IDC_MODE_SNAPSHOT));
    EXPECT_FALSE(window.IsChecked(IDC_MODE_AVI));
    EXPECT_EQ(window.Text(IDC_ACTION), "&Take Snapshot");
    EXPECT_TRUE(window.IsEnabled(IDC_ACTION));
    EXPECT_EQ(window.Text(IDC_FRAME_RATE), "30");
    EXPECT_EQ(window.Text(IDC_DURATION), "0");
    EXPECT_EQ(window.Text(IDC_FILENAME), "Tarnview_Capture");
    EXPECT_TRUE(window.IsChecked(IDC_INCREMENT));
    EXPECT_FALSE(window.IsEnabled(IDC_VIEW_STILL));
    EXPECT_EQ(window.Text(IDC_CAMERA_NAME), "Tarnview Virtual Camera");
    EXPECT_EQ(window.Text(IDC_STATUS), "Preview: 640 x 480");
    EXPECT_EQ(window.Text(IDC_CAPTURE_STATUS), "Not capturing");
    EXPECT_EQ(window.Text(IDC_LAST_FILE), "");
    // The two picture frames clip the video and still windows drawn into them.
    EXPECT_TRUE(GetWindowLongA(window.Control(IDC_PREVIEW), GWL_STYLE) & WS_CLIPCHILDREN);
    EXPECT_TRUE(GetWindowLongA(window.Control(IDC_LAST_SNAPSHOT), GWL_STYLE) & WS_CLIPCHILDREN);
    // Focus starts on the first tab stop.
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(window.Handle(), nullptr), &gui));
    EXPECT_EQ(gui.hwndFocus, window.Control(IDC_MODE_SNAPSHOT));
    Screenshot("first-start");
}

TEST_F(StartupTest, TheLivePreviewFillsThePreviewFrame)
{
    AddDefaultCamera();
    Start();
    ASSERT_TRUE(window);
    HWND video = GetWindow(window.Control(IDC_PREVIEW), GW_CHILD);
    ASSERT_NE(video, nullptr) << "no video window inside the preview frame";
    EXPECT_TRUE(IsWindowVisible(video));
    RECT frame = {}, picture = {};
    GetWindowRect(window.Control(IDC_PREVIEW), &frame);
    GetWindowRect(video, &picture);
    auto show = [](const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
    };
    SCOPED_TRACE("video window " + show(picture) + ", preview frame " + show(frame));
    EXPECT_EQ(picture.left, frame.left);
    EXPECT_EQ(picture.top, frame.top);
    EXPECT_EQ(picture.right - picture.left, frame.right - frame.left);
    EXPECT_EQ(picture.bottom - picture.top, frame.bottom - frame.top);
}

TEST_F(StartupTest, AboutBoxOpensFromTheWindowMenuAndCloses)
{
    AddDefaultCamera();
    Start();
    ASSERT_TRUE(window);
    window.SystemCommand(IDM_ABOUTBOX);
    HWND about = app.WaitForDialog(kAboutCaption);
    ASSERT_NE(about, nullptr) << "no About box";
    std::vector<std::string> texts;
    AppWindow aboutWindow(about);
    for (const ControlInfo& control : aboutWindow.Controls())
        texts.push_back(control.text);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Tarnview v 1.0"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Video capture for Halcyon Nightframe Vesper cameras"),
              texts.end());
    EXPECT_EQ(aboutWindow.Text(IDOK), "OK");
    // Modal: the main window is disabled while the box is open.
    EXPECT_FALSE(IsWindowEnabled(window.Handle()));
    Screenshot("about-box");
    EXPECT_TRUE(PressOk(about));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(window.Handle()) != FALSE; }));
    EXPECT_FALSE(app.HasDialog(kAboutCaption));
}

TEST_F(StartupTest, OtherWindowMenuCommandsBehaveAsUsual)
{
    AddDefaultCamera();
    Start();
    ASSERT_TRUE(window);
    // (Wine answers icon queries from other processes with 0, so the icons themselves
    // are checked by the in-process dialog tests.)
    window.SystemCommand(SC_MINIMIZE);
    EXPECT_TRUE(WaitUntil([&] { return window.IsMinimized(); }));
    Screenshot("minimised");
    window.SystemCommand(SC_RESTORE);
    EXPECT_TRUE(WaitUntil([&] { return !window.IsMinimized(); }));
    EXPECT_TRUE(window.Settle());
    EXPECT_EQ(window.Text(IDC_STATUS), "Preview: 640 x 480");
    // The close box ends the program.
    EXPECT_TRUE(app.CloseAndWait());
}

TEST_F(StartupTest, EscapeEndsTheProgramLikeTheCloseBox)
{
    AddDefaultCamera();
    Start();
    ASSERT_TRUE(window);
    PostMessageA(window.Handle(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(app.WaitForExit(60000));
}

}  // namespace
}  // namespace e2e
