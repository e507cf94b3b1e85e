// The YUV codec's arithmetic and formats, in process: BT.601 bars, every layout in both
// depths and row orders, where chroma sits, and buffers that are too small.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "YuvBars.h"
#include "decoders/YuvCodecFormats.h"
#include "decoders/YuvToRgb.h"
#include "vcam/frame/FrameStamp.h"

namespace
{

using decoders::Rgb;
using decoders::YuvLayout;
using testframes::YCbCr;

constexpr int kTolerance = 2;  // the bars' YCbCr values are themselves rounded

void ExpectNear(const Rgb& expected, const Rgb& actual, const char* what)
{
    EXPECT_NEAR(expected.r, actual.r, kTolerance) << what;
    EXPECT_NEAR(expected.g, actual.g, kTolerance) << what;
    EXPECT_NEAR(expected.b, actual.b, kTolerance) << what;
}

struct Converted
{
    std::vector<BYTE> bits;
    LONG width, height;
    WORD bitCount;

    // Pixel (x, y) counted from the top, whichever way the rows are stored.
    Rgb At(LONG x, LONG y) const
    {
        const size_t stride = decoders::RgbFrameBytes(width, 1, bitCount);
        const LONG rows = height < 0 ? -height : height;
        const LONG stored = height > 0 ? rows - 1 - y : y;
        const BYTE* px = &bits[stride * stored + static_cast<size_t>(x) * (bitCount / 8)];
        return {px[2], px[1], px[0]};
    }
};

Converted Convert(YuvLayout layout, const std::vector<BYTE>& frame, LONG width, LONG height, WORD bitCount)
{
    Converted out{std::vector<BYTE>(decoders::RgbFrameBytes(width, height, bitCount)), width, height,
                  bitCount};
    const LONG rows = height < 0 ? -height : height;
    const bool done = decoders::ConvertToRgb({layout, frame.data(), frame.size(), width, rows},
                                             {out.bits.data(), out.bits.size(), width, height, bitCount});
    EXPECT_TRUE(done);
    return out;
}

TEST(Bt601, ColourBarsToFullRangeRgb)
{
    for (int bar = 0; bar < testframes::kBarCount; ++bar)
    {
        const YCbCr& in = testframes::kBars[bar];
        ExpectNear(testframes::kBarsRgb[bar], decoders::Bt601ToRgb(in.y, in.cb, in.cr), "bar");
    }
    // Values beyond the limited range clamp rather than wrap.
    ExpectNear({0, 0, 0}, decoders::Bt601ToRgb(0, 128, 128), "below black");
    ExpectNear({255, 255, 255}, decoders::Bt601ToRgb(255, 128, 128), "above white");
}

struct LayoutCase
{
    YuvLayout layout;
    WORD bitCount;
    LONG height;  // sign: row order of the output
};

class EveryLayout : public ::testing::TestWithParam<LayoutCase>
{};

TEST_P(EveryLayout, BarsUprightWithTheirStamp)
{
    const LayoutCase c = GetParam();
    const LONG width = 640, rows = 48;
    const auto frame = testframes::MakeBarsFrame(c.layout, width, rows, 0x2A5);
    const Converted out = Convert(c.layout, frame, width, c.height, c.bitCount);
    for (int bar = 0; bar < testframes::kBarCount; ++bar)
        ExpectNear(testframes::kBarsRgb[bar],
                   out.At(testframes::BarMiddle(bar, width), testframes::kBelowStamp), "bar");
    if (c.bitCount == 24)
    {
        uint32_t number = 0;
        ASSERT_TRUE(ReadFrameNumberFromDib(out.bits.data(), width, c.height, &number));
        EXPECT_EQ(0x2A5u, number);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Decoders, EveryLayout,
    ::testing::Values(LayoutCase{YuvLayout::Yuy2, 24, 48}, LayoutCase{YuvLayout::Uyvy, 24, -48},
                      LayoutCase{YuvLayout::Yvyu, 32, 48}, LayoutCase{YuvLayout::I420, 24, 48},
                      LayoutCase{YuvLayout::I420, 32, -48}, LayoutCase{YuvLayout::Nv12, 24, -48},
                      LayoutCase{YuvLayout::Nv12, 32, 48}));

// Blue follows Cb closely (B = Y + 2.018 Cb'), so a grey frame whose Cb steps shows
// which chroma samples each pixel was given.
int BlueAt(const Converted& out, LONG x, LONG y)
{
    return out.At(x, y).b;
}

TEST(ChromaSiting, EvenPixelsOwnTheirChromaOddPixelsTakeTheMean)
{
    const auto frame = testframes::MakeFrame(YuvLayout::Yuy2, 4, 2, [](LONG x, LONG) {
        return YCbCr{126, static_cast<BYTE>(x < 2 ? 128 : 160), 128};
    });
    const Converted out = Convert(YuvLayout::Yuy2, frame, 4, 2, 24);
    const int own = BlueAt(out, 0, 0), next = BlueAt(out, 2, 0);
    EXPECT_NEAR((own + next) / 2, BlueAt(out, 1, 0), 1);
    EXPECT_EQ(next, BlueAt(out, 3, 0)) << "the last pixel repeats its own chroma";
}

TEST(ChromaSiting, PlanarChromaSitsBetweenItsTwoRows)
{
    for (YuvLayout layout : {YuvLayout::I420, YuvLayout::Nv12})
    {
        const auto frame = testframes::MakeFrame(layout, 2, 4, [](LONG, LONG y) {
            return YCbCr{126, static_cast<BYTE>(y < 2 ? 128 : 192), 128};
        });
        const Converted out = Convert(layout, frame, 2, 4, 24);
        const int top = BlueAt(out, 0, 0), bottom = BlueAt(out, 0, 3);
        EXPECT_NEAR(top + (bottom - top) / 4, BlueAt(out, 0, 1), 1) << "row 1: 3/4 of its own chroma row";
        EXPECT_NEAR(bottom - (bottom - top) / 4, BlueAt(out, 0, 2), 1) << "row 2: 3/4 of its own chroma row";
    }
}

TEST(Bounds, TooSmallBuffersOrOddSizesWriteNothing)
{
    const auto frame = testframes::MakeFrame(YuvLayout::I420, 8, 4, [](LONG, LONG) {
        return YCbCr{235, 128, 128};
    });
    std::vector<BYTE> out(decoders::RgbFrameBytes(8, 4, 24) + 1, 0x5A);
    const decoders::RgbTarget target{out.data(), out.size() - 2, 8, 4, 24};
    EXPECT_FALSE(decoders::ConvertToRgb({YuvLayout::I420, frame.data(), frame.size(), 8, 4}, target));
    EXPECT_FALSE(decoders::ConvertToRgb({YuvLayout::I420, frame.data(), frame.size() - 1, 8, 4},
                                        {out.data(), out.size() - 1, 8, 4, 24}));
    EXPECT_FALSE(decoders::ConvertToRgb({YuvLayout::I420, frame.data(), frame.size(), 8, 3},
                                        {out.data(), out.size() - 1, 8, 3, 24}));
    EXPECT_EQ(std::vector<BYTE>(out.size(), 0x5A), out);
}

TEST(CodecFormats, RgbOfTheSameSizeOnly)
{
    const BITMAPINFOHEADER yuy2 = testframes::BitmapHeader(MAKEFOURCC('Y', 'U', 'Y', '2'), 640, 480, 16);
    BITMAPINFOHEADER out{};
    decoders::DefaultOutput(yuy2, &out);
    EXPECT_TRUE(decoders::AcceptConversion(&yuy2, &out));
    EXPECT_EQ(24, out.biBitCount);
    EXPECT_EQ(480, out.biHeight) << "upright DIB";
    EXPECT_EQ(640u * 480 * 3, out.biSizeImage);

    EXPECT_TRUE(decoders::AcceptConversion(&yuy2, nullptr));
    const BITMAPINFOHEADER topDown32 = testframes::BitmapHeader(BI_RGB, 640, -480, 32);
    EXPECT_TRUE(decoders::AcceptConversion(&yuy2, &topDown32));
    const BITMAPINFOHEADER refused[] = {
        testframes::BitmapHeader(BI_RGB, 320, 480, 24), testframes::BitmapHeader(BI_RGB, 640, 480, 16),
        testframes::BitmapHeader(MAKEFOURCC('Y', 'U', 'Y', '2'), 640, 480, 16)};
    for (const BITMAPINFOHEADER& o : refused)
        EXPECT_FALSE(decoders::AcceptConversion(&yuy2, &o));
    const BITMAPINFOHEADER oddNv12 = testframes::BitmapHeader(MAKEFOURCC('N', 'V', '1', '2'), 640, 479, 12);
    const BITMAPINFOHEADER mjpg = testframes::BitmapHeader(MAKEFOURCC('M', 'J', 'P', 'G'), 640, 480, 24);
    EXPECT_FALSE(decoders::AcceptConversion(&oddNv12, nullptr));
    EXPECT_FALSE(decoders::AcceptConversion(&mjpg, nullptr));
}

}  // namespace
