// Recording AVI clips: duration, frame rate, and the file that comes out.
#include <windows.h>
#include <gtest/gtest.h>

#include "RecordingFixture.h"

namespace e2e
{
namespace
{

TEST_F(RecordingTest, ThreeSecondsAtThirtyStopsByItselfWithEveryFrame)
{
    StartInAviMode();
    const std::string path = RecordFor("3", "30");
    EXPECT_GE(CapturedSeconds(), 3) << window.Text(IDC_CAPTURE_STATUS);
    EXPECT_EQ(path, ClipPath(0));
    ExpectWholeClip(path, 640, 480, 90, 3);
}

TEST_F(RecordingTest, TheFrameRateBoxIsClampedToOneToThirty)
{
    StartInAviMode();
    struct Case
    {
        const char* text;
        int rate;
    } cases[] = {
        {"1", 1}, {"7", 7}, {"15", 15}, {"25", 25}, {"30", 30}, {"45", 30}, {"0", 1}, {"-5", 30}, {"fast", 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string("frame rate box \"") + c.text + "\"");
        const std::string path = RecordFor("2", c.text);
        VideoFacts facts = Probe(path);
        ASSERT_TRUE(facts.readable) << facts.raw;
        EXPECT_NEAR(facts.frameRate, c.rate, 0.01 * c.rate);
        ExpectFramesCover(facts, 2 * c.rate, 1 + c.rate / 10);
    }
}

TEST_F(RecordingTest, AVideoInfo2CameraRecordsAtItsOwnRateWithoutAMessage)
{
    DeviceSettings settings;
    settings.videoInfo2 = true;
    settings.fps = 20;
    StartInAviMode(settings);
    const std::string path = RecordFor("2", "5");
    EXPECT_FALSE(app.HasDialog(kErrorCaption));
    EXPECT_TRUE(window.IsEnabled(IDC_ACTION));
    VideoFacts facts = Probe(path);
    ASSERT_TRUE(facts.readable) << facts.raw;
    EXPECT_NEAR(facts.frameRate, 20, 0.2) << "not recorded at the camera's 20 fps";
    ExpectFramesCover(facts, 40, 3);
}

TEST_F(RecordingTest, ThePreviewKeepsRunningDuringARecording)
{
    StartInAviMode();
    window.SetText(IDC_DURATION, "0");
    window.ClickAndSettle(IDC_ACTION);
    ASSERT_TRUE(WaitForCapturedSeconds(1));
    HWND video = GetWindow(window.Control(IDC_PREVIEW), GW_CHILD);
    ASSERT_NE(video, nullptr) << "no video window in the preview frame while recording";
    EXPECT_TRUE(IsWindowVisible(video));
    const unsigned long long before = window.PictureChecksum(IDC_PREVIEW);
    Screenshot("recording-1");
    EXPECT_TRUE(WaitUntil([&] { return window.PictureChecksum(IDC_PREVIEW) != before; }))
        << "the preview picture stands still";
    Screenshot("recording-2");
    window.ClickAndSettle(IDC_ACTION);
    EXPECT_TRUE(Probe(ClipPath(0)).readable);
}

TEST_F(RecordingTest, ClosingDuringARecordingLeavesAPlayableClip)
{
    AddCamera(L"Tarnview Virtual Camera");
    for (int attempt = 0; attempt < 20; ++attempt)
    {
        SCOPED_TRACE("attempt " + std::to_string(attempt));
        TarnviewProcess run;
        ASSERT_TRUE(run.Start());
        window = run.WaitForMainWindow();
        ASSERT_TRUE(window);
        ASSERT_TRUE(WaitForTextPrefix(IDC_STATUS, "Preview: "));
        window.ClickAndSettle(IDC_MODE_AVI);
        if (attempt == 0)
            UseUniqueBaseName();
        window.SetText(IDC_FILENAME, baseName);
        window.ClickAndSettle(IDC_RESET_COUNTER);
        window.ClickAndSettle(IDC_ACTION);
        ASSERT_TRUE(WaitForCapturedSeconds(1));
        ASSERT_TRUE(run.CloseAndWait()) << "the program did not end";
        VideoFacts facts = Probe(ClipPath(0));
        ASSERT_TRUE(facts.readable) << facts.raw;
        EXPECT_GE(facts.slots, 25);
    }
}

}  // namespace
}  // namespace e2e
