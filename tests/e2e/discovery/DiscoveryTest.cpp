// Which camera the program picks among the registered video input devices, the name
// it shows for it, and the camera's own settings pages.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "driver/TarnviewTest.h"

namespace e2e
{
namespace
{

constexpr char kPreferredName[] = "Halcyon Nightframe Vesper";

class DiscoveryTest : public TarnviewTest
{
protected:
    bool PreviewMoves() const
    {
        const unsigned long long before = window.PictureChecksum(IDC_PREVIEW);
        return WaitUntil([&] { return window.PictureChecksum(IDC_PREVIEW) != before; });
    }

    // Starts the program with the default camera and presses "Setup Camera"; returns the
    // property frame, or null (with the failure recorded). Wine's property frame ignores
    // the owner and position it is given (it opens unowned at the default place), so it is
    // found as the program's other dialog rather than as one owned by the main window.
    HWND OpenCameraSettings()
    {
        AddDefaultCamera();
        Start();
        if (!window)
        {
            ADD_FAILURE() << "the program did not start";
            return nullptr;
        }
        window.Click(IDC_SETUP_CAMERA);
        HWND frame = nullptr;
        if (!WaitUntil([&] { return (frame = FindOtherDialog(app.Id(), window.Handle())) != nullptr; }))
            ADD_FAILURE() << "no property frame; the program's windows: "
                          << DescribeTopLevelWindows(app.Id());
        return frame;
    }
};

TEST_F(DiscoveryTest, AnotherNameOfTheCameraIsPreferredAndShownAsItsOwn)
{
    AddCamera(L"Generic USB Camera");
    AddCamera(L"vcx 4100");
    Start();
    ASSERT_TRUE(window);
    EXPECT_EQ(window.Text(IDC_CAMERA_NAME), kPreferredName);
}

TEST_F(DiscoveryTest, AnyCameraIsTakenUnderItsOwnNameWhenNoneIsPreferred)
{
    AddCamera(L"Generic USB Camera");
    Start();
    ASSERT_TRUE(window);
    EXPECT_EQ(window.Text(IDC_CAMERA_NAME), "Generic USB Camera");
}

TEST_F(DiscoveryTest, TheNameWithASuffixIsNotPreferred)
{
    AddCamera(L"Halcyon Nightframe Vesper #2");
    AddCamera(L"QM-415");
    Start();
    ASSERT_TRUE(window);
    EXPECT_EQ(window.Text(IDC_CAMERA_NAME), kPreferredName)
        << "the QM-415 device should have been bound first";
}

TEST_F(DiscoveryTest, APreferredCameraThatFailsToBindIsPassedOver)
{
    AddCamera(L"QM-415", {}, /*unbindable=*/true);
    AddCamera(L"Generic USB Camera");
    Start();
    ASSERT_TRUE(window);
    EXPECT_EQ(window.Text(IDC_CAMERA_NAME), "Generic USB Camera");
    EXPECT_TRUE(window.IsEnabled(IDC_ACTION));
}

TEST_F(DiscoveryTest, SetupCameraOpensTheDriversPagesWhileThePreviewRuns)
{
    HWND frame = OpenCameraSettings();
    ASSERT_TRUE(frame);
    EXPECT_NE(GetDlgItem(frame, IDOK), nullptr);
    EXPECT_TRUE(PreviewMoves()) << "the preview stopped while the pages are open";
    Screenshot("camera-settings");
    EXPECT_TRUE(PressOk(frame));
    EXPECT_TRUE(PreviewMoves()) << "the preview stopped after the pages closed";
    EXPECT_EQ(window.Text(IDC_STATUS), "Preview: 640 x 480");
}

TEST_F(DiscoveryTest, BrightnessTypedInTheCamerasPageChangesThePreview)
{
    constexpr int kBrightnessBox = 3102;  // the virtual camera's page
    HWND frame = OpenCameraSettings();
    ASSERT_TRUE(frame);
    // Out of the preview's way, at the screen's bottom right.
    RECT frameRect;
    GetWindowRect(frame, &frameRect);
    SetWindowPos(frame, nullptr, GetSystemMetrics(SM_CXSCREEN) - (frameRect.right - frameRect.left),
                 GetSystemMetrics(SM_CYSCREEN) - (frameRect.bottom - frameRect.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindControl(frame, kBrightnessBox)) != nullptr; }));
    ASSERT_TRUE(WaitUntil([&] { return window.PictureBrightness(IDC_PREVIEW) > 0; }));
    const double before = window.PictureBrightness(IDC_PREVIEW);

    // Typed as a user would: everything selected, then the new digits.
    SendMessageA(box, EM_SETSEL, 0, -1);
    for (char digit : std::string("5"))
        PostMessageA(box, WM_CHAR, digit, 0);
    EXPECT_TRUE(WaitUntil([&] { return window.PictureBrightness(IDC_PREVIEW) < before * 0.6; }))
        << "preview brightness " << before << " before, " << window.PictureBrightness(IDC_PREVIEW)
        << " after";
    Screenshot("camera-brightness");
    ASSERT_TRUE(PressOk(frame));
    EXPECT_TRUE(WaitUntil([&] { return window.PictureBrightness(IDC_PREVIEW) < before * 0.6; }))
        << "OK keeps the darker picture";
}

TEST_F(DiscoveryTest, SetupCameraWithoutACameraDoesNothing)
{
    ASSERT_TRUE(app.Start());
    EXPECT_FALSE(DismissError().empty());
    window = app.WaitForMainWindow();
    ASSERT_TRUE(window);
    window.ClickAndSettle(IDC_SETUP_CAMERA);
    EXPECT_EQ(FindOtherDialog(app.Id(), window.Handle()), nullptr) << DescribeTopLevelWindows(app.Id());
    EXPECT_FALSE(app.HasDialog(kErrorCaption));
    EXPECT_TRUE(IsWindowEnabled(window.Handle()));
}

}  // namespace
}  // namespace e2e
