#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "GrabSupport.h"
#include "snapshot/GrabBlock.h"
#include "snapshot/GrabBuffer.h"
#include "snapshot/SnapshotWriter.h"
#include "snapshot/StillFile.h"

namespace
{
BOOL WINAPI DiskFull(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED)
{
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

class SnapshotWriterTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetGrabBuffer();
        GrabBuffer.ownerWindow = sink.Window();
        SetFrameSize(16, 8);
    }
    void TearDown() override { ResetGrabBuffer(); }

    // The size the graph runs at, as a graph (re)build sets it.
    static void SetFrameSize(LONG width, LONG height)
    {
        GrabBuffer.frameWidth = width;
        GrabBuffer.frameHeight = height;
    }

    // One RGB24 frame of `value` at that size, as the streaming thread delivers it.
    static void Deliver(BYTE value)
    {
        std::vector<BYTE> frame = UniformFrame(GrabBuffer.frameWidth * GrabBuffer.frameHeight * 3, value);
        ASSERT_EQ(S_OK, DeliverFrame(frame.data(), static_cast<LONG>(frame.size())));
    }

    // A request served by one frame of `value`.
    static void Grab(const std::string& directory, const std::string& base, BYTE value)
    {
        RequestGrab(directory.c_str(), base.c_str());
        Deliver(value);
    }

    StillOutcome Write(bool increment = true)
    {
        return WritePendingStill(counter, increment, nullptr, displayName, &failure);
    }

    FrameGrabbedSink sink;
    support::TempFolder folder;
    LONG counter = 0;
    char displayName[MAX_PATH] = {};
    HRESULT failure = S_OK;
};

TEST_F(SnapshotWriterTest, NamesFollowTheCounterAndOneRequestGivesOneStill)
{
    Grab(folder.Path(), "Tarnview_Capture", 1);
    ASSERT_EQ(StillOutcome::Written, Write());
    EXPECT_STREQ("Tarnview_Capture_0000.bmp", displayName);
    EXPECT_EQ(folder.Path() + "Tarnview_Capture_0000.bmp", GrabBuffer.lastStillPath);
    EXPECT_EQ(1, counter);
    EXPECT_EQ(1, GrabBuffer.haveStill);
    EXPECT_EQ(16, GrabBuffer.lastStillHeader.biWidth);
    EXPECT_EQ(0, GrabBuffer.grabPending.load());
    // The frames' other messages find the request served.
    EXPECT_EQ(StillOutcome::NothingPending, Write());
    EXPECT_EQ(1, counter);

    counter = 9999;
    Grab(folder.Path(), "Tarnview_Capture", 2);
    ASSERT_EQ(StillOutcome::Written, Write());
    EXPECT_STREQ("Tarnview_Capture_9999.bmp", displayName);
    Grab(folder.Path(), "Tarnview_Capture", 3);
    ASSERT_EQ(StillOutcome::Written, Write());
    EXPECT_STREQ("Tarnview_Capture_10000.bmp", displayName);
    EXPECT_EQ(10001, counter);
}

TEST_F(SnapshotWriterTest, IncrementingStillsGoOnAboveTheExistingOnesAndReplaceNothing)
{
    const std::vector<BYTE> old = {'o', 'l', 'd'};
    for (const char* taken : {"night_0000.bmp", "night_0002.bmp"})
    {
        HANDLE file =
            CreateFileA((folder.Path() + taken).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, old.data(), 3, &written, nullptr);
        CloseHandle(file);
    }
    ASSERT_TRUE(CreateDirectoryA((folder.Path() + "night_0003.bmp").c_str(), nullptr));
    for (const char* expected : {"night_0004.bmp", "night_0005.bmp"})
    {
        Grab(folder.Path(), "night", 1);
        ASSERT_EQ(StillOutcome::Written, Write());
        EXPECT_STREQ(expected, displayName);
    }
    EXPECT_EQ(6, counter);
    EXPECT_EQ(old, support::ReadFileBytes(folder.Path() + "night_0000.bmp"));
    EXPECT_EQ(old, support::ReadFileBytes(folder.Path() + "night_0002.bmp"));
    RemoveDirectoryA((folder.Path() + "night_0003.bmp").c_str());
}

TEST_F(SnapshotWriterTest, NameThatOnlyGrowsTooLongPastTheExistingOnesIsToldSo)
{
    // "_9999.bmp" fits exactly; the number above it has one digit more.
    const std::string base(259 - folder.Path().size() - std::string("_9999.bmp").size(), 'n');
    counter = 9999;
    Grab(folder.Path(), base, 1);
    ASSERT_EQ(StillOutcome::Written, Write());
    counter = 0;
    Grab(folder.Path(), base, 2);
    EXPECT_EQ(StillOutcome::NameTooLong, Write());
    EXPECT_EQ(0, counter);
}

TEST_F(SnapshotWriterTest, CounterAtTheTopStaysAndTheNextStillIsRefused)
{
    counter = INT_MAX;
    Grab(folder.Path(), "top", 1);
    ASSERT_EQ(StillOutcome::Written, Write());
    EXPECT_EQ(INT_MAX, counter);
    Grab(folder.Path(), "top", 2);
    EXPECT_EQ(StillOutcome::NoFreeNumber, Write());
    EXPECT_EQ(INT_MAX, counter);
}

TEST_F(SnapshotWriterTest, WithoutIncrementEachStillReplacesTheLast)
{
    Grab(folder.Path(), "same", 1);
    ASSERT_EQ(StillOutcome::Written, Write(false));
    Grab(folder.Path(), "same", 2);
    ASSERT_EQ(StillOutcome::Written, Write(false));
    EXPECT_EQ(0, counter);
    const std::vector<BYTE> file = support::ReadFileBytes(folder.Path() + "same_0000.bmp");
    ASSERT_EQ(54u + 16 * 8 * 3, file.size());
    EXPECT_EQ(2, file[54]);
}

TEST_F(SnapshotWriterTest, ThreeFramesBeforeTheWriterGiveOneStillOfTheNewest)
{
    RequestGrab(folder.Path().c_str(), "three");
    for (BYTE value : {11, 22, 33})
        Deliver(value);
    EXPECT_EQ(3, sink.Drain());
    int written = 0;
    for (int message = 0; message < 3; ++message)
        written += Write() == StillOutcome::Written;
    EXPECT_EQ(1, written);
    const std::vector<BYTE> file = support::ReadFileBytes(folder.Path() + "three_0000.bmp");
    ASSERT_EQ(54u + 16 * 8 * 3, file.size());
    EXPECT_EQ(33, file[54]);
    EXPECT_EQ(33, file.back());
}

TEST_F(SnapshotWriterTest, StillAfterFormatShrinksHoldsOnlyTheNewFrame)
{
    SetFrameSize(64, 48);
    Grab(folder.Path(), "big", 1);
    ASSERT_EQ(StillOutcome::Written, Write());
    SetFrameSize(16, 8);
    Grab(folder.Path(), "small", 2);
    ASSERT_EQ(StillOutcome::Written, Write());
    EXPECT_EQ(54u + 16 * 8 * 3, support::ReadFileBytes(folder.Path() + "small_0001.bmp").size());
    EXPECT_EQ(64 * 48 * 3, GrabBuffer.frameCapacity);
}

TEST_F(SnapshotWriterTest, FrameFromBeforeAFormatChangeWaitsForTheNewGraphsFrame)
{
    SetFrameSize(64, 48);
    Grab(folder.Path(), "switch", 1);
    // "Mode" pressed before the message is handled: the rebuild sets the new size.
    SetFrameSize(16, 8);
    DiscardGrabbedFrame();
    EXPECT_EQ(StillOutcome::NothingPending, Write());
    EXPECT_EQ(1, GrabBuffer.grabPending.load());
    EXPECT_EQ(0, counter);

    Deliver(2);
    ASSERT_EQ(StillOutcome::Written, Write());
    const std::vector<BYTE> file = support::ReadFileBytes(folder.Path() + "switch_0000.bmp");
    ASSERT_EQ(54u + 16 * 8 * 3, file.size());
    EXPECT_EQ(2, file[54]);
}

TEST_F(SnapshotWriterTest, UnwritableStillDoesNotCountButSpendsTheNumber)
{
    Grab(folder.Path(), "good", 1);
    ASSERT_EQ(StillOutcome::Written, Write());
    const std::string goodPath = GrabBuffer.lastStillPath;

    Grab(folder.Path() + "no-such-folder\\", "lost", 2);
    EXPECT_EQ(StillOutcome::NotWritten, Write());
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), failure);
    EXPECT_STREQ("lost_0001.bmp", displayName);
    EXPECT_EQ(2, counter);
    EXPECT_EQ(0, GrabBuffer.grabPending.load());
    EXPECT_EQ(goodPath, GrabBuffer.lastStillPath);

    Grab(folder.Path(), "full", 3);
    const StillWriteFn previous = SetStillWriteFunction(&DiskFull);
    EXPECT_EQ(StillOutcome::NotWritten, Write());
    SetStillWriteFunction(previous);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DISK_FULL), failure);
    EXPECT_EQ(3, counter);
    EXPECT_FALSE(support::FileExists(folder.Path() + "full_0002.bmp"));
    EXPECT_EQ(goodPath, GrabBuffer.lastStillPath);
    EXPECT_EQ(1, GrabBuffer.lastStillHeader.biPlanes);
    EXPECT_EQ(StillOutcome::NothingPending, Write());  // not retried
}

TEST_F(SnapshotWriterTest, NameThatDoesNotFitIsRefusedWithoutSpendingTheNumber)
{
    // Fits exactly: 259 characters of path.
    const std::string base(259 - folder.Path().size() - std::string("_0000.bmp").size(), 'n');
    Grab(folder.Path(), base, 1);
    ASSERT_EQ(StillOutcome::Written, Write());
    EXPECT_EQ(259u, std::string(GrabBuffer.lastStillPath).size());

    // One more character does not.
    Grab(folder.Path(), base + "nn", 2);
    EXPECT_EQ(StillOutcome::NameTooLong, Write());
    EXPECT_EQ(1, counter);
    EXPECT_EQ(0, GrabBuffer.grabPending.load());
    EXPECT_STREQ("", displayName);

    // A base name cut at the request never reaches the disk under the cut name.
    Grab("C:\\", std::string(600, 'x'), 3);
    EXPECT_EQ(StillOutcome::NameTooLong, Write());
    EXPECT_EQ(1, counter);
}
}  // namespace
