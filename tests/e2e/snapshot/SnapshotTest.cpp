// Snapshots from the live preview: the numbered BMP files, what they hold, and what
// the dialog shows afterwards.
#include <windows.h>
#include <gtest/gtest.h>

#include "StillFile.h"
#include "driver/MediaChecks.h"
#include "driver/TarnviewTest.h"

namespace e2e
{
namespace
{

class SnapshotTest : public RunningTarnviewTest
{
protected:
    // Takes one snapshot and waits for the dialog to show the given file as written.
    StillFile Snap(const std::string& expectedName)
    {
        window.ClickAndSettle(IDC_ACTION);
        EXPECT_TRUE(WaitForText(IDC_LAST_FILE, expectedName)) << "last file: " << window.Text(IDC_LAST_FILE);
        return ReadStill(OutputPath(expectedName));
    }
};

TEST_F(SnapshotTest, TheDefaultSnapshotGoesToTheDocumentsFolder)
{
    const std::string name = "Tarnview_Capture_0000.bmp";
    DeleteFileA(OutputPath(name).c_str());
    StillFile still = Snap(name);
    ASSERT_TRUE(still.valid) << still.problem;
    EXPECT_EQ(still.width, 640);
    EXPECT_EQ(still.height, 480);
    EXPECT_EQ(still.fileSize, 921654u);
    EXPECT_TRUE(window.IsEnabled(IDC_VIEW_STILL));
    ImageFacts facts = Identify(OutputPath(name));
    EXPECT_TRUE(facts.readable) << facts.raw;
    EXPECT_EQ(facts.width, 640);
    EXPECT_EQ(facts.height, 480);
    EXPECT_EQ(facts.depth, 8) << facts.raw;
    DeleteFileA(OutputPath(name).c_str());
}

TEST_F(SnapshotTest, EachStillHoldsARecentCameraFrame)
{
    const std::string base = UseUniqueBaseName();
    StillFile first = Snap(base + "_0000.bmp");
    ASSERT_TRUE(first.valid) << first.problem;
    ASSERT_TRUE(first.stamped) << "no frame number in the still";
    // The next request is served by one of the next frames, not by an old copy.
    StillFile second = Snap(base + "_0001.bmp");
    ASSERT_TRUE(second.stamped);
    EXPECT_GT(second.frameNumber, first.frameNumber);
}

TEST_F(SnapshotTest, TheCounterAdvancesOnlyWithIncrementAndResets)
{
    const std::string base = UseUniqueBaseName();
    Snap(base + "_0000.bmp");
    Snap(base + "_0001.bmp");
    window.ClickAndSettle(IDC_INCREMENT);
    StillFile a = Snap(base + "_0002.bmp");
    window.ClickAndSettle(IDC_ACTION);  // same name again: the file is replaced
    EXPECT_TRUE(WaitUntil([&] {
        StillFile b = ReadStill(OutputPath(base + "_0002.bmp"));
        return b.stamped && b.frameNumber != a.frameNumber;
    })) << "the second still under the same name did not replace the first";
    EXPECT_EQ(GetFileAttributesA(OutputPath(base + "_0003.bmp").c_str()), INVALID_FILE_ATTRIBUTES);

    // After a reset the counter goes on from the first number whose file does not exist.
    window.ClickAndSettle(IDC_INCREMENT);
    window.ClickAndSettle(IDC_RESET_COUNTER);
    StillFile reset = Snap(base + "_0003.bmp");
    EXPECT_TRUE(reset.valid);
}

TEST_F(SnapshotTest, TheStillIsPaintedIntoTheLastSnapshotFrame)
{
    UseUniqueBaseName();
    Snap(baseName + "_0000.bmp");
    // The frame starts black; after a still it shows the night sky and its stamp.
    HWND frame = window.Control(IDC_LAST_SNAPSHOT);
    RECT rect;
    GetWindowRect(frame, &rect);
    HDC screen = GetDC(nullptr);
    int lit = 0;
    for (int y = rect.top + 2; y < rect.bottom - 2; y += 3)
        for (int x = rect.left + 2; x < rect.right - 2; x += 3)
            if (GetPixel(screen, x, y) != RGB(0, 0, 0))
                ++lit;
    ReleaseDC(nullptr, screen);
    EXPECT_GT(lit, 20) << "the last-snapshot frame is still black";
    Screenshot("after-snapshot");
}

TEST_F(SnapshotTest, AGrabRequestedInAviModeIsServedByTheNextPreview)
{
    const std::string base = UseUniqueBaseName();
    // The request is made, then the mode changes before the writer runs: the preview
    // graph of the new mode delivers the frame.
    window.ClickAndSettle(IDC_ACTION);
    window.ClickAndSettle(IDC_MODE_AVI);
    EXPECT_TRUE(WaitForText(IDC_LAST_FILE, base + "_0000.bmp"));
    EXPECT_TRUE(ReadStill(OutputPath(base + "_0000.bmp")).valid);
}

}  // namespace
}  // namespace e2e
