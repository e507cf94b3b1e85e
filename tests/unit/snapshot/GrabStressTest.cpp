#include "capture/DialogMessages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "GrabSupport.h"
#include "snapshot/FrameGrabCallback.h"
#include "snapshot/GrabBlock.h"
#include "snapshot/GrabBuffer.h"
#include "snapshot/SnapshotWriter.h"
#include "snapshot/StillPainter.h"

namespace
{
// Every byte of a frame carries one value, so a still that mixes two frames shows.
bool IsUniform(const std::vector<BYTE>& file, size_t from)
{
    for (size_t i = from + 1; i < file.size(); ++i)
        if (file[i] != file[from])
            return false;
    return true;
}

// The streaming thread at full speed, two frame sizes in turn (the block grows and is
// reused), against requests, writes, repaints and closes on this thread.
TEST(GrabStress, NoTornStillAndNoDeadlockUnderFullSpeedFrames)
{
    ResetGrabBuffer();
    FrameGrabbedSink sink;
    GrabBuffer.ownerWindow = sink.Window();
    GrabBuffer.frameWidth = 64;
    GrabBuffer.frameHeight = 48;
    HWND frame = CreateWindowExA(0, "STATIC", "", WS_POPUP | SS_BLACKRECT, 0, 0, 64, 48, nullptr, nullptr,
                                 nullptr, nullptr);
    support::TempFolder folder;

    std::atomic<bool> stop{false};
    std::atomic<long> delivered{0};
    std::thread streaming([&] {
        std::vector<BYTE> large(64 * 48 * 3);
        std::vector<BYTE> small(32 * 24 * 3);
        for (unsigned n = 0; !stop.load(); ++n)
        {
            std::vector<BYTE>& buffer = (n % 3 == 0) ? large : small;
            std::fill(buffer.begin(), buffer.end(), static_cast<BYTE>(n));
            FrameGrabCallback.BufferCB(0.0, buffer.data(), static_cast<LONG>(buffer.size()));
            delivered.fetch_add(1);
        }
    });

    LONG counter = 0;
    int stills = 0;
    int torn = 0;
    for (int round = 0; round < 100; ++round)
    {
        RequestGrab(folder.Path().c_str(), "stress");
        char name[MAX_PATH];
        StillOutcome outcome = StillOutcome::NothingPending;
        while (outcome != StillOutcome::Written)
        {
            if (!sink.WaitForOne(30000))
                break;
            if (round % 7 == 3)
                ReleaseGrabBlock();  // the dialog closing while a copy may be under way
            outcome = WritePendingStill(counter, false, frame, name);
        }
        ASSERT_EQ(StillOutcome::Written, outcome) << "round " << round;
        ++stills;
        const std::vector<BYTE> file = support::ReadFileBytes(folder.Path() + "stress_0000.bmp");
        ASSERT_GT(file.size(), 54u);
        torn += !IsUniform(file, 54);
        if (round % 5 == 0)
        {
            GrabBlockLock lock;
            PaintStillLocked(frame);
        }
    }
    stop.store(true);
    streaming.join();
    DestroyWindow(frame);
    sink.Drain();
    ResetGrabBuffer();

    EXPECT_EQ(100, stills);
    EXPECT_EQ(0, torn);
    EXPECT_GT(delivered.load(), 100);
}
}  // namespace
