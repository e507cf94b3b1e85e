#include "capture/DialogMessages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "GrabSupport.h"
#include "snapshot/FrameGrabCallback.h"
#include "snapshot/GrabBlock.h"
#include "snapshot/GrabBuffer.h"

namespace
{
class GrabCallbackTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetGrabBuffer();
        GrabBuffer.ownerWindow = sink.Window();
    }
    void TearDown() override { ResetGrabBuffer(); }

    // The grab block's size and how much of it the last frame filled.
    static void ExpectBlock(LONG capacity, LONG length)
    {
        EXPECT_EQ(capacity, GrabBuffer.frameCapacity);
        EXPECT_EQ(length, GrabBuffer.frameLength);
    }

    FrameGrabbedSink sink;
};

BYTE* FailingAllocator(LONG)
{
    return nullptr;
}

TEST(FrameGrabCallbackIdentity, AnswersItsTwoInterfacesWithoutCounting)
{
    void* asCallback = nullptr;
    void* asUnknown = nullptr;
    EXPECT_EQ(S_OK, FrameGrabCallback.QueryInterface(IID_ISampleGrabberCB, &asCallback));
    EXPECT_EQ(S_OK, FrameGrabCallback.QueryInterface(IID_IUnknown, &asUnknown));
    EXPECT_EQ(asCallback, asUnknown);
    EXPECT_EQ(static_cast<ISampleGrabberCB*>(&FrameGrabCallback), asCallback);

    void* other = &asCallback;
    EXPECT_EQ(E_NOINTERFACE, FrameGrabCallback.QueryInterface(IID_IBaseFilter, &other));
    EXPECT_EQ(nullptr, other);

    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(2u, FrameGrabCallback.AddRef());
        EXPECT_EQ(1u, FrameGrabCallback.Release());
    }
    EXPECT_EQ(S_OK, FrameGrabCallback.SampleCB(0.0, nullptr));
}

TEST_F(GrabCallbackTest, WithoutRequestFramesCostNothing)
{
    std::vector<BYTE> frame = UniformFrame(1000, 7);
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(S_OK, DeliverFrame(frame.data(), 1000));
    EXPECT_EQ(nullptr, GrabBuffer.frameBytes);
    ExpectBlock(0, 0);
    EXPECT_EQ(0, sink.Drain());
}

TEST_F(GrabCallbackTest, BlockIsExactOnFirstGrabReusedWhenShorterReplacedWhenLonger)
{
    RequestGrab("C:\\", "a");
    std::vector<BYTE> first = UniformFrame(3000, 1);
    ASSERT_EQ(S_OK, DeliverFrame(first.data(), 3000));
    ExpectBlock(3000, 3000);
    EXPECT_EQ(1, sink.Drain());
    BYTE* firstBlock = GrabBuffer.frameBytes;

    std::vector<BYTE> shorter = UniformFrame(1200, 2);
    ASSERT_EQ(S_OK, DeliverFrame(shorter.data(), 1200));
    EXPECT_EQ(firstBlock, GrabBuffer.frameBytes);
    ExpectBlock(3000, 1200);
    EXPECT_EQ(2, GrabBuffer.frameBytes[1199]);
    EXPECT_EQ(1, GrabBuffer.frameBytes[1200]);  // the rest of the block is left alone

    std::vector<BYTE> longer = UniformFrame(5000, 3);
    ASSERT_EQ(S_OK, DeliverFrame(longer.data(), 5000));
    ExpectBlock(5000, 5000);
    EXPECT_EQ(0, std::memcmp(longer.data(), GrabBuffer.frameBytes, 5000));
    EXPECT_EQ(2, sink.Drain());
    EXPECT_EQ(1, GrabBuffer.grabPending.load());  // only the writer clears it
}

TEST_F(GrabCallbackTest, BadBufferOrLengthLeavesRequestAndBlockAlone)
{
    RequestGrab("C:\\", "a");
    std::vector<BYTE> frame = UniformFrame(64, 9);
    ASSERT_EQ(S_OK, DeliverFrame(frame.data(), 64));
    sink.Drain();

    EXPECT_EQ(E_POINTER, DeliverFrame(nullptr, 64));
    EXPECT_EQ(E_INVALIDARG, DeliverFrame(frame.data(), 0));
    EXPECT_EQ(E_INVALIDARG, DeliverFrame(frame.data(), -5));
    EXPECT_EQ(1, GrabBuffer.grabPending.load());
    ExpectBlock(64, 64);
    EXPECT_EQ(9, GrabBuffer.frameBytes[0]);
    EXPECT_EQ(0, sink.Drain());
}

TEST_F(GrabCallbackTest, FailedAllocationKeepsRequestForTheNextFrame)
{
    RequestGrab("C:\\", "a");
    std::vector<BYTE> frame = UniformFrame(800, 4);
    const GrabBlockAllocateFn previous = SetGrabBlockAllocator(&FailingAllocator);
    EXPECT_EQ(E_OUTOFMEMORY, DeliverFrame(frame.data(), 800));
    SetGrabBlockAllocator(previous);
    EXPECT_EQ(nullptr, GrabBuffer.frameBytes);
    EXPECT_EQ(0, GrabBuffer.frameCapacity);
    EXPECT_EQ(1, GrabBuffer.grabPending.load());
    EXPECT_EQ(0, sink.Drain());

    EXPECT_EQ(S_OK, DeliverFrame(frame.data(), 800));
    EXPECT_EQ(800, GrabBuffer.frameCapacity);
    EXPECT_EQ(1, sink.Drain());
}

TEST_F(GrabCallbackTest, FrameSkippedWhileTheBlockIsInUseAndUntouchedOnceServed)
{
    RequestGrab("C:\\", "a");
    std::vector<BYTE> old = UniformFrame(100, 5);
    ASSERT_EQ(S_OK, DeliverFrame(old.data(), 100));
    sink.Drain();
    std::vector<BYTE> newer = UniformFrame(100, 6);
    {
        // The UI thread holds the block: the streaming thread must not wait for it.
        GrabBlockLock lock;
        EXPECT_EQ(S_OK, DeliverFrame(newer.data(), 100));
    }
    EXPECT_EQ(5, GrabBuffer.frameBytes[0]);
    EXPECT_EQ(0, sink.Drain());

    // The writer cleared the flag after the callback's first look at it.
    GrabBuffer.grabPending.store(0);
    EXPECT_EQ(S_FALSE, StoreGrabbedFrame(newer.data(), 100));
    EXPECT_EQ(5, GrabBuffer.frameBytes[0]);
}

TEST_F(GrabCallbackTest, ClosingReleasesTheBlockAndTheNextGrabAllocatesAgain)
{
    RequestGrab("C:\\", "a");
    std::vector<BYTE> frame = UniformFrame(400, 8);
    ASSERT_EQ(S_OK, DeliverFrame(frame.data(), 400));
    ReleaseGrabBlock();
    EXPECT_EQ(nullptr, GrabBuffer.frameBytes);
    EXPECT_EQ(400, GrabBuffer.frameCapacity);  // left as it was
    std::vector<BYTE> small = UniformFrame(100, 9);
    ASSERT_EQ(S_OK, DeliverFrame(small.data(), 100));
    ASSERT_NE(nullptr, GrabBuffer.frameBytes);
    EXPECT_EQ(100, GrabBuffer.frameLength);
}

TEST_F(GrabCallbackTest, RequestKeepsNamesTerminatedWhateverTheirLength)
{
    const std::string longDirectory = "C:\\" + std::string(400, 'd') + "\\";
    const std::string longBase(300, 'b');
    RequestGrab(longDirectory.c_str(), longBase.c_str());
    EXPECT_EQ(MAX_PATH - 1, static_cast<int>(strnlen(GrabBuffer.snapDirectory, MAX_PATH)));
    EXPECT_EQ(MAX_PATH - 1, static_cast<int>(strnlen(GrabBuffer.snapBaseName, MAX_PATH)));
    EXPECT_EQ(1, GrabBuffer.grabPending.load());

    RequestGrab("D:\\Sky\\", "Tarnview_Capture");
    EXPECT_STREQ("D:\\Sky\\", GrabBuffer.snapDirectory);
    EXPECT_STREQ("Tarnview_Capture", GrabBuffer.snapBaseName);
}
}  // namespace
