// What happens around a running recording: stopping by hand, the duration read only
// at the start, mode and format changes, and failures to start.
#include <windows.h>
#include <gtest/gtest.h>

#include "RecordingFixture.h"

namespace e2e
{
namespace
{

constexpr char kNoCamera[] = "Cannot find Nightframe or any other camera\r\n\r\n";

TEST_F(RecordingTest, DurationZeroRunsUntilStoppedAndTheBoxIsReadOnlyAtTheStart)
{
    StartInAviMode();
    StartOpenEndedRecording();
    ASSERT_TRUE(WaitForCapturedSeconds(1));
    window.SetText(IDC_DURATION, "1");  // too late for this recording
    ASSERT_TRUE(WaitForCapturedSeconds(3));
    EXPECT_EQ(window.Text(IDC_ACTION), "&Stop Capture");
    VideoFacts facts = StopAndProbeFirstClip();
    ASSERT_TRUE(facts.readable) << facts.raw;
    EXPECT_GE(facts.slots, 85);
}

TEST_F(RecordingTest, FormatDuringARecordingEndsTheClipButKeepsTheRecordingState)
{
    StartInAviMode();
    StartOpenEndedRecording();
    ASSERT_TRUE(WaitForCapturedSeconds(1));
    window.ClickAndSettle(IDC_FORMAT);
    EXPECT_TRUE(WaitForText(IDC_STATUS, "Preview: 320 x 240"));
    EXPECT_EQ(window.Text(IDC_ACTION), "&Stop Capture");
    EXPECT_TRUE(WaitForCapturedSeconds(3)) << "the timer stopped counting";
    // The clip holds what was recorded before the format changed.
    VideoFacts facts = StopAndProbeFirstClip();
    ASSERT_TRUE(facts.readable) << facts.raw;
    EXPECT_EQ(facts.width, 640);
}

TEST_F(RecordingTest, SnapshotModeDuringARecordingLeavesAPlayableClip)
{
    StartInAviMode();
    StartOpenEndedRecording();
    ASSERT_TRUE(WaitForCapturedSeconds(2));
    window.ClickAndSettle(IDC_MODE_SNAPSHOT);
    EXPECT_EQ(window.Text(IDC_ACTION), "&Take Snapshot");
    ExpectWholeClip(ClipPath(0), 640, 480, 60, 35);
}

TEST_F(RecordingTest, WithoutACameraTheRecordingReportsAndStaysInTheRecordingState)
{
    StartInAviMode();
    // The camera goes away between the preview and the recording.
    ASSERT_HRESULT_SUCCEEDED(RemoveAllDevices());
    window.Click(IDC_ACTION);
    EXPECT_EQ(DismissError(), kNoCamera);
    EXPECT_TRUE(WaitForText(IDC_ACTION, "&Stop Capture"));
    EXPECT_FALSE(window.IsEnabled(IDC_ACTION));
    EXPECT_FALSE(WaitUntil([&] { return window.Text(IDC_CAPTURE_STATUS).rfind("Captured:", 0) == 0; }, 2500))
        << "a timer runs after a failed start";
    // Snapshot mode brings the dialog back to a consistent state.
    window.Click(IDC_MODE_SNAPSHOT);
    EXPECT_EQ(DismissError(), kNoCamera);
    EXPECT_TRUE(WaitForText(IDC_ACTION, "&Take Snapshot"));
}

TEST_F(RecordingTest, AnUnbindableCameraIsReportedAtTheStart)
{
    StartInAviMode();
    ASSERT_HRESULT_SUCCEEDED(RemoveAllDevices());
    AddCamera(L"Generic USB Camera", {}, /*unbindable=*/true);
    window.Click(IDC_ACTION);
    EXPECT_EQ(DismissError(), kNoCamera);
    EXPECT_EQ(window.Text(IDC_CAMERA_NAME), "Generic USB Camera");
}

TEST_F(RecordingTest, AClipThatCannotBeCreatedIsToldAndTheDialogStaysIdle)
{
    StartInAviMode();
    // A base name that leads into a folder that does not exist.
    window.SetText(IDC_FILENAME, "no such folder\\clip");
    window.ClickAndSettle(IDC_ACTION);
    EXPECT_EQ(window.Text(IDC_CAPTURE_STATUS),
              "Recording not started: path not found (no such folder\\clip_0000.avi)");
    EXPECT_FALSE(app.HasDialog(kErrorCaption));
    EXPECT_TRUE(window.IsEnabled(IDC_ACTION));
    EXPECT_EQ(window.Text(IDC_ACTION), "&Start Capture");
    EXPECT_TRUE(WaitForTextPrefix(IDC_STATUS, "Preview: ")) << window.Text(IDC_STATUS);
}

}  // namespace
}  // namespace e2e
