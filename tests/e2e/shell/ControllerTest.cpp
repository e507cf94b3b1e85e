// The capture controller seen from the window: modes and captions, AVI names from
// directory, base name and counter, the counter's reset, and the recording timer.
#include <windows.h>
#include <gtest/gtest.h>

#include "driver/TarnviewTest.h"

namespace e2e
{
namespace
{

constexpr char kCameraName[] = "Tarnview Virtual Camera";
constexpr char kMarker[] = "(not rebuilt)";

class ControllerTest : public RunningTarnviewTest
{
protected:
    // Every graph build names the camera again, so a marker in the camera-name line
    // tells whether a command rebuilt the graph.
    void MarkCameraName() { window.SetText(IDC_CAMERA_NAME, kMarker); }
    bool GraphWasRebuilt() const { return window.Text(IDC_CAMERA_NAME) == kCameraName; }

    // One recording of about a second, stopped by hand; returns the name shown after it.
    std::string RecordBriefly()
    {
        window.ClickAndSettle(IDC_ACTION);
        EXPECT_EQ(window.Text(IDC_ACTION), "&Stop Capture");
        EXPECT_TRUE(WaitForCapturedSeconds(1));
        window.ClickAndSettle(IDC_ACTION);
        EXPECT_EQ(window.Text(IDC_ACTION), "&Start Capture");
        return window.Text(IDC_LAST_FILE);
    }

    void SwitchToAvi()
    {
        window.ClickAndSettle(IDC_MODE_AVI);
        ASSERT_EQ(window.Text(IDC_ACTION), "&Start Capture");
        window.SetText(IDC_DURATION, "0");
    }
};

TEST_F(ControllerTest, ModeRadiosSwitchCaptionsAndRebuildThePreview)
{
    MarkCameraName();
    window.ClickAndSettle(IDC_MODE_AVI);
    EXPECT_EQ(window.Text(IDC_ACTION), "&Start Capture");
    EXPECT_TRUE(window.IsChecked(IDC_MODE_AVI));
    EXPECT_FALSE(window.IsChecked(IDC_MODE_SNAPSHOT));
    EXPECT_TRUE(GraphWasRebuilt());
    EXPECT_EQ(window.Text(IDC_STATUS), "Preview: 640 x 480");

    MarkCameraName();
    window.ClickAndSettle(IDC_MODE_SNAPSHOT);
    EXPECT_EQ(window.Text(IDC_ACTION), "&Take Snapshot");
    EXPECT_TRUE(window.IsChecked(IDC_MODE_SNAPSHOT));
    EXPECT_TRUE(GraphWasRebuilt());
}

TEST_F(ControllerTest, TheRadioOfTheCurrentModeDoesNothing)
{
    MarkCameraName();
    window.ClickAndSettle(IDC_MODE_SNAPSHOT);
    EXPECT_EQ(window.Text(IDC_CAMERA_NAME), kMarker);
    EXPECT_EQ(window.Text(IDC_ACTION), "&Take Snapshot");

    SwitchToAvi();
    MarkCameraName();
    window.ClickAndSettle(IDC_MODE_AVI);
    EXPECT_EQ(window.Text(IDC_CAMERA_NAME), kMarker);
    EXPECT_EQ(window.Text(IDC_ACTION), "&Start Capture");
}

TEST_F(ControllerTest, AviNamesFollowTheCounterItsIncrementAndItsReset)
{
    SwitchToAvi();
    const std::string base = UseUniqueBaseName();
    EXPECT_EQ(RecordBriefly(), base + "_0000.avi");
    EXPECT_TRUE(WaitForFile(OutputPath(base + "_0000.avi")));
    EXPECT_EQ(RecordBriefly(), base + "_0001.avi");

    // After a reset the counter goes on from the first number whose file does not exist.
    window.ClickAndSettle(IDC_RESET_COUNTER);
    EXPECT_EQ(window.Text(IDC_LAST_FILE), base + "_0001.avi") << "a reset shows nothing";
    EXPECT_EQ(RecordBriefly(), base + "_0002.avi");

    // Without the increment every recording gets the same name.
    window.ClickAndSettle(IDC_INCREMENT);
    ASSERT_FALSE(window.IsChecked(IDC_INCREMENT));
    EXPECT_EQ(RecordBriefly(), base + "_0003.avi");
    EXPECT_EQ(RecordBriefly(), base + "_0003.avi");
}

TEST_F(ControllerTest, AnEmptyBaseNameGivesAnUnderscoreAndTheCounter)
{
    SwitchToAvi();
    const std::string path = OutputPath("_0000.avi");
    DeleteFileA(path.c_str());
    window.SetText(IDC_FILENAME, "");
    EXPECT_EQ(RecordBriefly(), "_0000.avi");
    EXPECT_TRUE(WaitForFile(path));
    DeleteFileA(path.c_str());
}

TEST_F(ControllerTest, TheTimerCountsSecondsAndStopsAtTheDuration)
{
    SwitchToAvi();
    UseUniqueBaseName();
    window.SetText(IDC_DURATION, "2");
    window.ClickAndSettle(IDC_ACTION);
    EXPECT_EQ(window.Text(IDC_ACTION), "&Stop Capture");
    EXPECT_TRUE(WaitForCapturedSeconds(1));
    EXPECT_TRUE(WaitForText(IDC_ACTION, "&Start Capture")) << "the recording did not stop by itself";
    // The first tick at or past the duration stops it; a late tick counts one more.
    EXPECT_GE(CapturedSeconds(), 2) << window.Text(IDC_CAPTURE_STATUS);
    EXPECT_EQ(window.Text(IDC_LAST_FILE), baseName + "_0000.avi");
    EXPECT_TRUE(WaitForTextPrefix(IDC_STATUS, "Preview: "));
    // No tick after the stop changes the line again.
    const std::string shown = window.Text(IDC_CAPTURE_STATUS);
    EXPECT_FALSE(WaitUntil([&] { return window.Text(IDC_CAPTURE_STATUS) != shown; }, 2500));
}

TEST_F(ControllerTest, SnapshotModeDuringARecordingEndsItAndStopsTheTimer)
{
    SwitchToAvi();
    UseUniqueBaseName();
    window.ClickAndSettle(IDC_ACTION);
    ASSERT_TRUE(WaitForCapturedSeconds(1));
    window.ClickAndSettle(IDC_MODE_SNAPSHOT);
    EXPECT_EQ(window.Text(IDC_ACTION), "&Take Snapshot");
    EXPECT_TRUE(WaitForTextPrefix(IDC_STATUS, "Preview: "));
    const std::string shown = window.Text(IDC_CAPTURE_STATUS);
    EXPECT_FALSE(WaitUntil([&] { return window.Text(IDC_CAPTURE_STATUS) != shown; }, 2500))
        << "the timer kept ticking";
}

}  // namespace
}  // namespace e2e
