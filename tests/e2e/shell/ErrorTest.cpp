// Failures reach the user as a task-modal "Error!" box, after which the action button
// stays disabled for the rest of the run; the rest of the dialog stays usable.
#include <windows.h>
#include <gtest/gtest.h>

#include "driver/TarnviewTest.h"

namespace e2e
{
namespace
{

constexpr char kNoCamera[] = "Cannot find Nightframe or any other camera\r\n\r\n";

class ErrorTest : public TarnviewTest
{};

TEST_F(ErrorTest, WithoutACameraTheStartReportsItAndDisablesTheAction)
{
    ASSERT_TRUE(app.Start());
    HWND box = app.WaitForDialog(kErrorCaption);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kNoCamera);
    EXPECT_EQ(AppWindow(box).Text(IDOK), "OK");
    Screenshot("no-camera-error");
    EXPECT_TRUE(PressOk(box));

    window = app.WaitForMainWindow();
    ASSERT_TRUE(window);
    EXPECT_FALSE(window.IsEnabled(IDC_ACTION));
    EXPECT_EQ(window.Text(IDC_STATUS), "<Offline>");
    EXPECT_EQ(window.Text(IDC_CAMERA_NAME), "<None>");

    // Every further build fails the same way; the dialog itself keeps working.
    window.Click(IDC_MODE_AVI);
    EXPECT_EQ(DismissError(), kNoCamera);
    EXPECT_TRUE(WaitForText(IDC_ACTION, "&Start Capture"));
    EXPECT_FALSE(window.IsEnabled(IDC_ACTION));
}

TEST_F(ErrorTest, AnUnbindableCameraIsNamedAndReported)
{
    AddCamera(L"QM-415", {}, /*unbindable=*/true);
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(DismissError(), kNoCamera);
    window = app.WaitForMainWindow();
    ASSERT_TRUE(window);
    // The second pass tried it under its own name.
    EXPECT_EQ(window.Text(IDC_CAMERA_NAME), "QM-415");
    EXPECT_FALSE(window.IsEnabled(IDC_ACTION));
}

TEST_F(ErrorTest, TheActionStaysDisabledAfterALaterBuildSucceeds)
{
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(DismissError(), kNoCamera);
    window = app.WaitForMainWindow();
    ASSERT_TRUE(window);
    AddDefaultCamera();
    window.ClickAndSettle(IDC_FORMAT);
    EXPECT_TRUE(WaitForTextPrefix(IDC_STATUS, "Preview: "));
    EXPECT_EQ(window.Text(IDC_CAMERA_NAME), "Tarnview Virtual Camera");
    EXPECT_FALSE(window.IsEnabled(IDC_ACTION));
}

}  // namespace
}  // namespace e2e
