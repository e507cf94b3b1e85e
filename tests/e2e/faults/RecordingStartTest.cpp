// "&Start Capture": two windows starting into one folder at the same moment get a clip each.
#include <windows.h>
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
        EXPECT_GE(facts.frames, 60) << clip << ": " << facts.raw;
    }
}

}  // namespace
}  // namespace e2e
