#include <gtest/gtest.h>

#include "FrameTestImages.h"
#include "vcam/frame/FrameStamp.h"

namespace
{

const uint32_t Numbers[] = {0u, 1u, 7u, 123456789u, 0x80000000u, 0xFFFFFFFFu};

TEST(FrameStamp, ReadsBackFromBothDibOrientationsAtEveryWidth)
{
    for (LONG width : {320, 321, 322, 323, 640, 642, 1280})
    {
        for (LONG height : {240L, -240L})
        {
            for (uint32_t number : Numbers)
            {
                const TestFrame frame = RenderTestFrame(width, height, number);
                uint32_t read = 0xDEADBEEF;
                EXPECT_TRUE(ReadFrameNumberFromDib(frame.bytes.data(), width, height, &read))
                    << width << "x" << height << " #" << number;
                EXPECT_EQ(number, read) << width << "x" << height;
            }
        }
    }
}

TEST(FrameStamp, ReadsBackFromPackedTopDownRows)
{
    for (LONG height : {480L, -480L})
    {
        const TestFrame frame = RenderTestFrame(642, height, 4000000001u);
        const std::vector<BYTE> packed = ToPackedTopDown(frame);
        uint32_t read = 0;
        ASSERT_TRUE(ReadFrameNumberTopDown(packed.data(), 642, 480, 642 * 3, &read));
        EXPECT_EQ(4000000001u, read);
    }
}

TEST(FrameStamp, OrientationMatters)
{
    // A bottom-up buffer taken for a top-down one shows the hills, not the stamp.
    const TestFrame frame = RenderTestFrame(640, 480, 99);
    uint32_t read = 0;
    EXPECT_FALSE(ReadFrameNumberFromDib(frame.bytes.data(), 640, -480, &read));
    EXPECT_FALSE(ReadFrameNumberTopDown(frame.bytes.data(), 640, 480, frame.layout.stride, &read));
}

void PaintCell(TestFrame* frame, int cell, BYTE level)
{
    for (LONG y = 0; y < FrameStampCellSize; ++y)
    {
        BYTE* px = const_cast<BYTE*>(frame->Pixel(cell * FrameStampCellSize, y));
        for (int i = 0; i < FrameStampCellSize * 3; ++i)
            px[i] = level;
    }
}

bool Readable(const TestFrame& frame, uint32_t* read)
{
    return ReadFrameNumberFromDib(frame.bytes.data(), frame.layout.width, frame.layout.height, read);
}

TEST(FrameStamp, DamagedStampIsRejected)
{
    const uint32_t number = 0x12345678;
    uint32_t read = 0;
    const TestFrame good = RenderTestFrame(640, 480, number);
    ASSERT_TRUE(Readable(good, &read));

    for (int cell : {4, 20, 35, 36, 39})
    {  // data bits and check bits
        TestFrame flipped = good;
        const bool white = flipped.Pixel(cell * FrameStampCellSize + 3, 3)[0] > 128;
        PaintCell(&flipped, cell, white ? 0 : 255);
        EXPECT_FALSE(Readable(flipped, &read)) << "cell " << cell;
    }
    TestFrame noMarker = good;
    PaintCell(&noMarker, 0, 0);
    EXPECT_FALSE(Readable(noMarker, &read));
    TestFrame grey = good;
    PaintCell(&grey, 12, 128);
    EXPECT_FALSE(Readable(grey, &read));
}

TEST(FrameStamp, NeedsItsMinimumSize)
{
    uint32_t read = 0;
    const TestFrame narrow = RenderTestFrame(FrameStampMinWidth - 1, 240, 5);
    EXPECT_FALSE(Readable(narrow, &read));
    const TestFrame wide = RenderTestFrame(640, 480, 5);
    EXPECT_FALSE(ReadFrameNumberTopDown(wide.bytes.data(), 640, 480, 640 * 3 - 1, &read));
    EXPECT_FALSE(ReadFrameNumberFromDib(nullptr, 640, 480, &read));
    EXPECT_FALSE(ReadFrameNumberFromDib(wide.bytes.data(), 640, 480, nullptr));
}

}  // namespace
