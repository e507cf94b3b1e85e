// Long recordings: every camera frame reaches the clip, once, in order.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "RecordingFixture.h"

namespace e2e
{
namespace
{

TEST_F(RecordingTest, TenSecondsAt640x480And30Fps)
{
    StartInAviMode();
    ExpectWholeClip(RecordFor("10", "30"), 640, 480, 300, 3);
}

// About 2.5 GB: the clip runs on past 2 GiB in further RIFF segments.
TEST_F(RecordingTest, FortyFiveSecondsAt1280x960And15Fps)
{
    StartInAviMode();
    window.ClickAndSettle(IDC_FORMAT);
    window.ClickAndSettle(IDC_FORMAT);
    ASSERT_TRUE(WaitForText(IDC_STATUS, "Preview: 1280 x 960"));
    const std::string path = RecordFor("45", "15");
    ExpectWholeClip(path, 1280, 960, 675, 3);
    DeleteFileA(path.c_str());
}

// A program killed in the middle of a recording leaves a clip that plays up to about
// a second before the kill.
TEST_F(RecordingTest, KilledFiveSecondsInKeepsTheFramesWritten)
{
    StartInAviMode();
    window.SetText(IDC_FRAME_RATE, "30");
    StartOpenEndedRecording();
    const std::string path = ClipPath(0);
    ASSERT_TRUE(WaitForCapturedSeconds(5, 60000));
    app.Kill();

    const long frames = ExpectUnbrokenClip(path, 640);
    EXPECT_GE(frames, 100);
    printf("[ kill ] %ld frames readable after a kill at 5 s\n", frames);
    DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace e2e
