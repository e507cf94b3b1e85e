// Slow cameras are not lost: a long exposure or a late first frame records on to the
// set duration, and the capture line says while frames are later than usual.
#include <windows.h>
#include <gtest/gtest.h>

#include "RecordingFixture.h"

namespace e2e
{
namespace
{

constexpr LONGLONG kSecond = 10000000;

class SlowCameraTest : public RecordingTest
{
protected:
    void TearDown() override
    {
        RecordingTest::TearDown();
        DeleteFilesStartingWith(DocumentsFolder(), baseName);
    }

    void StartRecording(const std::string& seconds)
    {
        window.SetText(IDC_DURATION, seconds);
        window.ClickAndSettle(IDC_ACTION);
        EXPECT_EQ(window.Text(IDC_ACTION), "&Stop Capture");
    }

    // The recording ended by its duration, not by the watch; the clip it left.
    std::string EndedByItsDuration(int seconds)
    {
        EXPECT_TRUE(WaitForText(IDC_ACTION, "&Start Capture", (seconds + 60) * 1000))
            << window.Text(IDC_CAPTURE_STATUS);
        EXPECT_GE(CapturedSeconds(), seconds) << window.Text(IDC_CAPTURE_STATUS);
        EXPECT_EQ(window.Text(IDC_LAST_FILE), baseName + "_0000.avi");
        return ClipPath(0);
    }
};

// A night-sky camera exposing 4 s per frame reports AvgTimePerFrame 40,000,000.
TEST_F(SlowCameraTest, AFourSecondExposureRecordsThirtySecondsWithItsFrames)
{
    DeviceSettings settings;
    settings.scene.exposure = 4 * kSecond;
    StartInAviMode(settings);
    StartRecording("30");  // frames 4 s apart are on time: nothing is shown as awaited
    const std::string path = EndedByItsDuration(30);
    const VideoFacts facts = Probe(path);
    EXPECT_NEAR(facts.frameRate, 0.25, 0.001) << facts.raw;
    EXPECT_GE(ExpectUnbrokenClip(path, 640), 7) << "a frame every 4 s";
}

// The camera's first frame comes 6 s after it is run, in the preview and the recording.
TEST_F(SlowCameraTest, AFirstFrameSixSecondsLateDoesNotEndTheRecording)
{
    DeviceSettings settings;
    settings.firstFrameDelay = 6 * kSecond;
    StartInAviMode(settings);
    StartRecording("10");
    EXPECT_TRUE(WaitUntil([&] { return window.Text(IDC_CAPTURE_STATUS).find(", awaiting frames") != std::string::npos; }))
        << window.Text(IDC_CAPTURE_STATUS);
    const std::string path = EndedByItsDuration(10);
    EXPECT_GE(ExpectUnbrokenClip(path, 640), 30) << "frames from the late first one on";
    // The preview that follows waits as long for its first frame, without a word.
    EXPECT_FALSE(WaitUntil([&] { return window.Text(IDC_STATUS).rfind("Camera lost", 0) == 0; }, 9000))
        << window.Text(IDC_STATUS);
}

}  // namespace
}  // namespace e2e
