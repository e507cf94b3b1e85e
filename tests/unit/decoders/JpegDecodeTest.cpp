// WIC's JPEG decoder as the MJPEG decompressor drives it: camera-like frames come out
// upright in both row orders with their colours and stamp; wrong sizes and damaged
// frames are refused without writing.
#include <gtest/gtest.h>

#include <vector>

#include "JpegFrames.h"
#include "YuvBars.h"
#include "comkit/ComApartment.h"
#include "decoders/WicJpegDecoder.h"
#include "vcam/frame/FrameStamp.h"

namespace
{

constexpr LONG kWidth = 640, kHeight = 96;
constexpr int kJpegTolerance = 10;  // lossy at quality 0.9, away from the bar edges

class JpegDecode : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(m_decoder.Start()));
        m_jpeg = testframes::EncodeJpeg(testframes::MakeBarsBgr(kWidth, kHeight, 4242), kWidth, kHeight);
        ASSERT_FALSE(m_jpeg.empty());
    }

    HRESULT Decode(std::vector<BYTE>* bits, LONG height, WORD bitCount, LONG width = kWidth)
    {
        bits->assign(decoders::RgbFrameBytes(width, height, bitCount), 0x5A);
        return m_decoder.Decode(m_jpeg.data(), m_jpeg.size(),
                                {bits->data(), bits->size(), width, height, bitCount});
    }

    comkit::ComApartment m_com;
    decoders::WicJpegDecoder m_decoder;
    std::vector<BYTE> m_jpeg;
};

TEST_F(JpegDecode, UprightBarsAndStampInBothRowOrders)
{
    for (const auto& [height, bitCount] : {std::pair<LONG, WORD>{kHeight, 24}, {-kHeight, 32}})
    {
        std::vector<BYTE> bits;
        ASSERT_EQ(S_OK, Decode(&bits, height, bitCount));
        const size_t stride = decoders::RgbFrameBytes(kWidth, 1, bitCount);
        const LONG row = height > 0 ? kHeight - 1 - testframes::kBelowStamp : testframes::kBelowStamp;
        for (int bar = 0; bar < testframes::kBarCount; ++bar)
        {
            const BYTE* px = &bits[stride * row + testframes::BarMiddle(bar, kWidth) * (bitCount / 8)];
            EXPECT_NEAR(testframes::kBarsRgb[bar].b, px[0], kJpegTolerance) << bar;
            EXPECT_NEAR(testframes::kBarsRgb[bar].g, px[1], kJpegTolerance) << bar;
            EXPECT_NEAR(testframes::kBarsRgb[bar].r, px[2], kJpegTolerance) << bar;
        }
        if (bitCount == 24)
        {
            uint32_t number = 0;
            ASSERT_TRUE(ReadFrameNumberFromDib(bits.data(), kWidth, height, &number));
            EXPECT_EQ(4242u, number);
        }
    }
}

TEST_F(JpegDecode, WrongSizeOrDamagedFrameWritesNothing)
{
    std::vector<BYTE> bits;
    EXPECT_TRUE(FAILED(Decode(&bits, kHeight, 24, kWidth - 2)));
    EXPECT_EQ(std::vector<BYTE>(bits.size(), 0x5A), bits);

    m_jpeg[1] = 0;  // no start-of-image marker
    EXPECT_TRUE(FAILED(Decode(&bits, kHeight, 24)));
    EXPECT_EQ(std::vector<BYTE>(bits.size(), 0x5A), bits);
}

}  // namespace
