#include "CaptureHarness.h"

#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace
{
const char kRowOne[] = "Halcyon Nightframe Vesper";

// Logs every text that the camera-name control is given, in order.
std::vector<std::string>* nameLog = nullptr;
WNDPROC nameControlProc = nullptr;

LRESULT CALLBACK LoggingNameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT && nameLog && lParam)
        nameLog->push_back(reinterpret_cast<const char*>(lParam));
    return CallWindowProcA(nameControlProc, window, message, wParam, lParam);
}

class FindCameraTest : public CaptureComponentTest
{
protected:
    ComPtr<IBaseFilter> Find(std::vector<std::string>* shown = nullptr)
    {
        HWND nameControl = GetDlgItem(dialog->GetSafeHwnd(), IDC_CAMERA_NAME);
        nameLog = shown;
        nameControlProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(nameControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LoggingNameProc)));
        ComPtr<IBaseFilter> camera;
        dialog->FindCamera(camera.GetAddressOf());
        SetWindowLongPtrA(nameControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(nameControlProc));
        nameLog = nullptr;
        return camera;
    }
};

TEST_F(FindCameraTest, PreferredNameWinsOverEarlierDeviceAndShowsAsTheCamerasOwn)
{
    AddDevices(
        {Device(L"01", L"Generic USB Camera", {{320, 240}}), Device(L"02", L"vcx 4100", {{640, 480}})});
    OpenDialog();
    ComPtr<IBaseFilter> camera = Find();
    ASSERT_TRUE(camera);
    EXPECT_EQ(640, CapturePinWidth(camera.Get()));
    EXPECT_EQ(kRowOne, ControlText(IDC_CAMERA_NAME));
    EXPECT_TRUE(errors.Texts().empty());
}

TEST_F(FindCameraTest, AnyCameraIsTakenUnderItsOwnNameWhenNoPreferredOneBinds)
{
    AddDevices({Device(L"01", L"Generic USB Camera")});
    OpenDialog();
    ComPtr<IBaseFilter> camera = Find();
    ASSERT_TRUE(camera);
    EXPECT_EQ("Generic USB Camera", ControlText(IDC_CAMERA_NAME));
}

// A device entry without a FriendlyName is passed over; reading its name must not free
// what the property bag never wrote.
TEST_F(FindCameraTest, ADeviceWithoutAFriendlyNameIsPassedOver)
{
    AddDevices({Device(L"01", L"Nameless Camera", {{320, 240}}), Device(L"02", L"Generic USB Camera")});
    ASSERT_EQ(
        ERROR_SUCCESS,
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE,
                           L"Software\\Classes\\CLSID\\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\Instance\\01",
                           L"FriendlyName"));
    OpenDialog();
    ComPtr<IBaseFilter> camera = Find();
    ASSERT_TRUE(camera);
    EXPECT_EQ(640, CapturePinWidth(camera.Get()));
    EXPECT_EQ("Generic USB Camera", ControlText(IDC_CAMERA_NAME));
}

TEST_F(FindCameraTest, WholeNameComparedWithoutCase)
{
    AddDevices({Device(L"01", L"Halcyon Nightframe Vesper #2", {{320, 240}}),
                Device(L"02", L"Generic USB Camera", {{642, 480}})});
    OpenDialog();
    ComPtr<IBaseFilter> camera = Find();
    ASSERT_TRUE(camera);
    EXPECT_EQ(320, CapturePinWidth(camera.Get()));  // not preferred: first device of pass 2
    EXPECT_EQ("Halcyon Nightframe Vesper #2", ControlText(IDC_CAMERA_NAME));
    camera.Reset();

    AddDevices({Device(L"03", L"halcyon nightframe vesper", {{1280, 960}})});
    camera = Find();
    ASSERT_TRUE(camera);
    EXPECT_EQ(1280, CapturePinWidth(camera.Get()));
    EXPECT_EQ(kRowOne, ControlText(IDC_CAMERA_NAME));
}

TEST_F(FindCameraTest, UnbindablePreferredDeviceIsTriedAgainUnderItsOwnName)
{
    AddDevices({Device(L"01", L"QM-415", true), Device(L"02", L"Generic USB Camera")});
    OpenDialog();
    std::vector<std::string> shown;
    ComPtr<IBaseFilter> camera = Find(&shown);
    ASSERT_TRUE(camera);
    EXPECT_EQ((std::vector<std::string>{kRowOne, "QM-415", "Generic USB Camera"}), shown);
    EXPECT_EQ("Generic USB Camera", ControlText(IDC_CAMERA_NAME));
}

TEST_F(FindCameraTest, NoDeviceLeavesNameAndReportsOnEveryBuild)
{
    OpenDialog();
    ASSERT_TRUE(PumpUntil([&] { return !errors.Texts().empty(); }, 30000));
    EXPECT_EQ(0u, errors.Texts()[0].find("Cannot find Nightframe or any other camera"));
    EXPECT_EQ("<None>", ControlText(IDC_CAMERA_NAME));
    EXPECT_FALSE(Find());
    EXPECT_EQ("<None>", ControlText(IDC_CAMERA_NAME));
    // The empty graph stays held until the next teardown; the status line is untouched.
    EXPECT_NE(nullptr, CaptureDlgTestAccess::Graph(*dialog));
    EXPECT_EQ(nullptr, CaptureDlgTestAccess::Grabber(*dialog));
    EXPECT_EQ("<Offline>", ControlText(IDC_STATUS));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog->GetSafeHwnd(), IDC_ACTION)));
    dialog->FindCamera(nullptr);  // returns at once

    errors.Clear();
    CaptureDlgTestAccess::Format(*dialog);
    ASSERT_TRUE(PumpUntil([&] { return !errors.Texts().empty(); }, 30000));
    EXPECT_EQ(1u, errors.Texts().size());
}

TEST_F(FindCameraTest, LongAndForeignNamesAreShownWhole)
{
    const std::wstring longName = L"Camera " + std::wstring(300, L'x') + L" \x4E2D";
    AddDevices({Device(L"01", longName.c_str())});
    OpenDialog();
    ASSERT_TRUE(Find());
    const std::string shown = ControlText(IDC_CAMERA_NAME);
    EXPECT_EQ(0u, shown.find("Camera xxx"));
    EXPECT_GE(shown.size(), 309u);
}

TEST_F(FindCameraTest, NoFilterOutlivesItsReferences)
{
    AddDevices({Device(L"01", L"QM-415", true), Device(L"02", L"Generic USB Camera")});
    OpenDialog();
    ASSERT_NE(nullptr, CaptureDlgTestAccess::Graph(*dialog));
    {
        ComPtr<IBaseFilter> camera = Find();
        ASSERT_TRUE(camera);
        EXPECT_GE(VcamLiveObjects(), 2);  // the running graph's camera and this one
    }
    dialog->TearDownGraph();
    EXPECT_EQ(0, VcamLiveObjects());
    dialog->BuildPreviewGraph();
    EXPECT_GT(VcamLiveObjects(), 0);
    CloseDialog();
    EXPECT_EQ(0, VcamLiveObjects());
}
}  // namespace
