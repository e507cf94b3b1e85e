// "Mode" steps through the camera's formats; stills follow the format, and snapshots
// interleaved with format changes are neither lost nor torn.
#include <windows.h>
#include <gtest/gtest.h>

#include "StillFile.h"
#include "driver/MediaChecks.h"
#include "driver/TarnviewTest.h"

namespace e2e
{
namespace
{

struct FormatStep
{
    const char* status;
    long width;
    long height;
};

const FormatStep kDefaultFormats[] = {
    {"Preview: 640 x 480", 640, 480}, {"Preview: 320 x 240", 320, 240},   {"Preview: 1280 x 960", 1280, 960},
    {"Preview: 642 x 480", 642, 480}, {"Preview: 640 x -480", 640, -480},
};

class FormatCycleTest : public RunningTarnviewTest
{
protected:
    std::string Name(int counter) const
    {
        char digits[16];
        snprintf(digits, sizeof digits, "_%04d.bmp", counter);
        return baseName + digits;
    }
};

TEST_F(FormatCycleTest, TenSnapshotsThenOneInEveryFormat)
{
    UseUniqueBaseName();
    int counter = 0;
    for (; counter < 10; ++counter)
    {
        window.ClickAndSettle(IDC_ACTION);
        ASSERT_TRUE(WaitForText(IDC_LAST_FILE, Name(counter)));
    }
    for (size_t step = 0; step < std::size(kDefaultFormats); ++step, ++counter)
    {
        const FormatStep& format = kDefaultFormats[(step + 1) % std::size(kDefaultFormats)];
        window.ClickAndSettle(IDC_FORMAT);
        ASSERT_TRUE(WaitForText(IDC_STATUS, format.status)) << "status: " << window.Text(IDC_STATUS);
        window.ClickAndSettle(IDC_ACTION);
        ASSERT_TRUE(WaitForText(IDC_LAST_FILE, Name(counter)));
    }
    // The last step wrapped past the last format back to the first.
    ASSERT_EQ(counter, 15);
    ASSERT_TRUE(app.CloseAndWait());

    for (int i = 0; i < counter; ++i)
    {
        SCOPED_TRACE(Name(i));
        const std::string path = OutputPath(Name(i));
        StillFile still = ReadStill(path);
        ASSERT_TRUE(still.valid) << still.problem;
        const FormatStep& format = i < 10 ? kDefaultFormats[0] : kDefaultFormats[(i - 10 + 1) % 5];
        EXPECT_EQ(still.width, format.width);
        EXPECT_EQ(still.height, format.height);
        EXPECT_TRUE(still.stamped);
        ImageFacts facts = Identify(path);
        EXPECT_TRUE(facts.readable) << facts.raw;
        EXPECT_EQ(facts.width, format.width);
        EXPECT_EQ(facts.height, format.height < 0 ? -format.height : format.height);
    }
}

TEST_F(FormatCycleTest, SnapshotsInterleavedWithFormatChangesAreAllWritten)
{
    UseUniqueBaseName();
    constexpr int kRounds = 100;  // 200 alternations
    for (int i = 0; i < kRounds; ++i)
    {
        window.ClickAndSettle(IDC_ACTION);
        window.ClickAndSettle(IDC_FORMAT);
        ASSERT_TRUE(WaitForText(IDC_LAST_FILE, Name(i), 60000))
            << "round " << i << ": " << window.Text(IDC_LAST_FILE);
    }
    for (int i = 0; i < kRounds; ++i)
    {
        StillFile still = ReadStill(OutputPath(Name(i)));
        EXPECT_TRUE(still.valid) << Name(i) << ": " << still.problem;
        EXPECT_TRUE(still.stamped) << Name(i) << " is torn or empty";
    }
}

}  // namespace
}  // namespace e2e
