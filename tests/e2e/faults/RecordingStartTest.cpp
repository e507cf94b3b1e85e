// "&Start Capture" starts a recording only when it can: not with the camera lost, and
// two windows starting into one folder at the same moment get a clip each.
#include <windows.h>
#include <dbt.h>
#include <gtest/gtest.h>

#include "RecordingFixture.h"

namespace e2e
{
namespace
{

class RecordingStartTest : public RecordingTest
{
protected:
    void TearDown() override
    {
        if (second.Running() && !second.CloseAndWait(30000))
            ADD_FAILURE() << "the second window's program did not end";
        second.Kill();
        RecordingTest::TearDown();
        DeleteFilesStartingWith(DocumentsFolder(), baseName);
    }

    // The same device registered again without its faults, and the system's word that
    // the devices changed, as Windows sends it when a camera is plugged in.
    void Replug()
    {
        DeviceSpec healthy;
        healthy.instance = L"00";
        healthy.friendlyName = L"Tarnview Virtual Camera";
        ASSERT_HRESULT_SUCCEEDED(AddDevice(healthy));
        PostMessageA(window.Handle(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    }

    AppWindow StartSecondInAviMode()
    {
        EXPECT_TRUE(second.Start());
        AppWindow other = second.WaitForMainWindow();
        EXPECT_TRUE(WaitUntil([&] { return other.Text(IDC_STATUS).rfind("Preview: ", 0) == 0; }, 60000));
        other.ClickAndSettle(IDC_MODE_AVI);
        other.SetText(IDC_FILENAME, baseName);
        return other;
    }

    TarnviewProcess second;
};

TEST_F(RecordingStartTest, StartWithTheCameraLostStaysIdleAndRecordsAfterTheReplug)
{
    DeviceSettings unplugging;
    unplugging.stopAfterFrames = 60;
    unplugging.faults = VcamFault::Unplug;
    StartInAviMode(unplugging);
    const std::string lost = "Camera lost: Tarnview Virtual Camera";
    ASSERT_TRUE(WaitForText(IDC_STATUS, lost)) << window.Text(IDC_STATUS);
    const std::string captureLine = window.Text(IDC_CAPTURE_STATUS);

    window.ClickAndSettle(IDC_ACTION);
    EXPECT_EQ(window.Text(IDC_ACTION), "&Start Capture");
    EXPECT_EQ(window.Text(IDC_STATUS), lost);
    EXPECT_EQ(window.Text(IDC_CAPTURE_STATUS), captureLine);
    EXPECT_EQ(window.Text(IDC_LAST_FILE), "");
    EXPECT_TRUE(window.IsEnabled(IDC_ACTION));
    EXPECT_FALSE(app.HasDialog(kErrorCaption));
    EXPECT_EQ(GetFileAttributesA(ClipPath(0).c_str()), INVALID_FILE_ATTRIBUTES);

    Replug();
    ASSERT_TRUE(WaitForTextPrefix(IDC_STATUS, "Preview: ")) << window.Text(IDC_STATUS);
    // The counter did not move: the first clip is _0000.
    EXPECT_EQ(RecordFor("2", "30"), ClipPath(0));
    ExpectWholeClip(ClipPath(0), 640, 480, 60, 6);
}

TEST_F(RecordingStartTest, TwoWindowsStartingAtOnceRecordTwoClipsWithDifferentNumbers)
{
    StartInAviMode();
    AppWindow other = StartSecondInAviMode();
    ASSERT_TRUE(other);
    for (const AppWindow* each : {&window, &other})
        each->SetText(IDC_DURATION, "3");
    // Posted clicks: both windows handle them at the same moment.
    window.Click(IDC_ACTION);
    other.Click(IDC_ACTION);
    for (const AppWindow* each : {&window, &other})
    {
        EXPECT_TRUE(WaitUntil([&] { return each->Text(IDC_LAST_FILE) != ""; }, 90000))
            << each->Text(IDC_CAPTURE_STATUS);
        EXPECT_TRUE(WaitUntil([&] { return each->Text(IDC_ACTION) == "&Start Capture"; }, 30000));
    }
    EXPECT_FALSE(app.HasDialog(kErrorCaption));
    EXPECT_FALSE(second.HasDialog(kErrorCaption));
    const std::string firstClip = window.Text(IDC_LAST_FILE);
    const std::string secondClip = other.Text(IDC_LAST_FILE);
    EXPECT_NE(firstClip, secondClip);
    for (const std::string& clip : {firstClip, secondClip})
    {
        EXPECT_TRUE(clip == baseName + "_0000.avi" || clip == baseName + "_0001.avi") << clip;
        const VideoFacts facts = Probe(OutputPath(clip));
        ASSERT_TRUE(facts.readable) << clip << ": " << facts.raw;
        EXPECT_EQ(facts.width, 640) << clip;
        EXPECT_GE(facts.slots, 60) << clip << ": " << facts.raw;
    }
}

}  // namespace
}  // namespace e2e
