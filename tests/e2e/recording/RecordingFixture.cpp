#include "RecordingFixture.h"

#include <windows.h>
#include <gtest/gtest.h>

namespace e2e
{

void RecordingTest::StartInAviMode(DeviceSettings settings)
{
    AddCamera(L"Tarnview Virtual Camera", settings);
    Start();
    ASSERT_TRUE(window);
    window.ClickAndSettle(IDC_MODE_AVI);
    ASSERT_EQ(window.Text(IDC_ACTION), "&Start Capture");
    UseUniqueBaseName();
}

std::string RecordingTest::ClipPath(int counter) const
{
    char digits[16];
    snprintf(digits, sizeof digits, "_%04d.avi", counter);
    return OutputPath(baseName + digits);
}

void RecordingTest::StartOpenEndedRecording()
{
    window.SetText(IDC_DURATION, "0");
    window.ClickAndSettle(IDC_ACTION);
    EXPECT_EQ(window.Text(IDC_ACTION), "&Stop Capture");
}

VideoFacts RecordingTest::StopAndProbeFirstClip()
{
    window.ClickAndSettle(IDC_ACTION);
    EXPECT_EQ(window.Text(IDC_ACTION), "&Start Capture");
    EXPECT_EQ(window.Text(IDC_LAST_FILE), baseName + "_0000.avi");
    return Probe(ClipPath(0));
}

std::string RecordingTest::RecordFor(const std::string& durationText, const std::string& rateText)
{
    window.SetText(IDC_DURATION, durationText);
    window.SetText(IDC_FRAME_RATE, rateText);
    const std::string shortName = window.Text(IDC_LAST_FILE);
    window.ClickAndSettle(IDC_ACTION);
    EXPECT_EQ(window.Text(IDC_ACTION), "&Stop Capture");
    const DWORD deadline = static_cast<DWORD>(atoi(durationText.c_str())) * 1000 + 60000;
    EXPECT_TRUE(WaitForText(IDC_ACTION, "&Start Capture", deadline))
        << "the recording did not stop by itself";
    EXPECT_TRUE(WaitForTextPrefix(IDC_STATUS, "Preview: "));
    // The name shown after the stop is the clip just written.
    std::string path = OutputPath(window.Text(IDC_LAST_FILE));
    EXPECT_NE(window.Text(IDC_LAST_FILE), shortName);
    return path;
}

void RecordingTest::ExpectWholeClip(const std::string& path, int width, int height, long frames,
                                    long tolerance)
{
    SCOPED_TRACE(path);
    VideoFacts facts = Probe(path);
    ASSERT_TRUE(facts.readable) << facts.raw;
    EXPECT_EQ(facts.width, width);
    EXPECT_EQ(facts.height, height);
    ExpectFramesCover(facts, frames, tolerance);
    int unreadable = 0;
    std::vector<uint32_t> numbers = StampedFrameNumbers(path, width, &unreadable);
    EXPECT_EQ(unreadable, 0) << "frames without a readable frame number";
    ASSERT_EQ(static_cast<long>(numbers.size()), facts.frames);
    int gaps = 0, repeats = 0;
    for (size_t i = 1; i < numbers.size(); ++i)
    {
        if (numbers[i] == numbers[i - 1])
            ++repeats;
        else if (numbers[i] != numbers[i - 1] + 1)
            ++gaps;
    }
    EXPECT_EQ(gaps, 0) << "dropped frames";
    EXPECT_EQ(repeats, 0) << "duplicated frames";
    printf("[ clip ] %s: %ld frames of %dx%d at %.3f fps, %d gaps, %d repeats\n", path.c_str(), facts.frames,
           facts.width, facts.height, facts.frameRate, gaps, repeats);
}

}  // namespace e2e

namespace e2e
{

long RecordingTest::ExpectUnbrokenClip(const std::string& path, int width)
{
    SCOPED_TRACE(path);
    const VideoFacts facts = Probe(path);
    EXPECT_TRUE(facts.readable) << facts.raw;
    if (!facts.readable)
        return 0;
    int unreadable = 0;
    const std::vector<uint32_t> numbers = StampedFrameNumbers(path, width, &unreadable);
    EXPECT_EQ(unreadable, 0) << "frames without a readable frame number";
    EXPECT_EQ(static_cast<long>(numbers.size()), facts.frames);
    for (size_t i = 1; i < numbers.size(); ++i)
        EXPECT_EQ(numbers[i - 1] + 1, numbers[i]) << "frame " << i;
    return facts.frames;
}

}  // namespace e2e
