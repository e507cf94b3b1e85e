#include <gtest/gtest.h>

#include <string>

#include "capture/FrameRate.h"
#include "capture/StatusText.h"

namespace
{
TEST(FrameRate, EntriesClampToOneToThirty)
{
    EXPECT_EQ(30u, ClampFrameRate(45));
    EXPECT_EQ(1u, ClampFrameRate(0));  // also what an empty or non-numeric entry reads as
    EXPECT_EQ(30u, ClampFrameRate(static_cast<UINT>(-5)));
    EXPECT_EQ(7u, ClampFrameRate(7));
    EXPECT_EQ(30u, ClampFrameRate(30));
    EXPECT_EQ(1u, ClampFrameRate(1));
    EXPECT_EQ(30u, ClampFrameRate(31));
}

TEST(FrameRate, DurationIsTruncatedHundredNanoseconds)
{
    EXPECT_EQ(10000000, FrameDuration100ns(1));
    EXPECT_EQ(1428571, FrameDuration100ns(7));
    EXPECT_EQ(666666, FrameDuration100ns(15));
    EXPECT_EQ(400000, FrameDuration100ns(25));
    EXPECT_EQ(333333, FrameDuration100ns(30));
}

TEST(StatusText, LinesAreBuiltWholeEvenForTheLongestPath)
{
    EXPECT_EQ("Preview: 640 x 480", PreviewStatusText(640, 480));
    EXPECT_EQ("Preview: 640 x -480", PreviewStatusText(640, -480));
    EXPECT_EQ("Capturing D:\\Sky\\Tarnview_Capture_0003.avi (640x480)",
              CaptureStatusText("D:\\Sky\\Tarnview_Capture_0003.avi", 640, 480));

    const std::string path = "C:\\" + std::string(256 - 9, 'p') + "_0001.avi";
    ASSERT_EQ(259u, path.size());
    const std::string line = CaptureStatusText(path.c_str(), 1280, -960);
    EXPECT_EQ("Capturing " + path + " (1280x-960)", line);
    EXPECT_GT(line.size(), 280u);
}
}  // namespace
