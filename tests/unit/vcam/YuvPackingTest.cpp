#include <gtest/gtest.h>

#include <vector>

#include "vcam/frame/ColourBars.h"
#include "vcam/frame/FrameGenerator.h"
#include "vcam/frame/FrameStamp.h"
#include "vcam/frame/YuvPacking.h"

namespace
{

constexpr LONG Width = 640, Height = 480;

// What vcam/frame/ColourBars.h promises the decoders, bar by bar.
constexpr YuvColour BarsYuv[ColourBarCount] = {{180, 128, 128}, {161, 44, 141}, {131, 156, 44}, {112, 73, 58},
                                               {84, 183, 198},  {65, 100, 212}, {35, 212, 115}, {16, 128, 128}};

struct Packed
{
    std::vector<BYTE> bytes;
    // The Y, U and V of pixel (x, y).
    YuvColour At(YuvPacking packing, LONG x, LONG y) const
    {
        const BYTE* p = bytes.data();
        const size_t lumaPlane = static_cast<size_t>(Width) * Height;
        const size_t chroma = static_cast<size_t>(y / 2) * (Width / 2) + x / 2;
        switch (packing)
        {
        case YuvPacking::Yuy2:
        case YuvPacking::Uyvy:
        {
            const BYTE* pair = p + static_cast<size_t>(y) * Width * 2 + (x / 2) * 4;
            return packing == YuvPacking::Yuy2 ? YuvColour{pair[(x % 2) * 2], pair[1], pair[3]}
                                               : YuvColour{pair[1 + (x % 2) * 2], pair[0], pair[2]};
        }
        case YuvPacking::I420:
            return YuvColour{p[y * Width + x], p[lumaPlane + chroma], p[lumaPlane + lumaPlane / 4 + chroma]};
        default:
            return YuvColour{p[y * Width + x], p[lumaPlane + 2 * chroma], p[lumaPlane + 2 * chroma + 1]};
        }
    }
};

Packed BarsFrame(YuvPacking packing, uint32_t number, bool bottomUp)
{
    SceneSettings scene;
    scene.pattern = ScenePattern::ColourBars;
    scene.showFrameNumber = false;
    const FrameLayout layout = Rgb24Layout(Width, bottomUp ? Height : -Height);
    std::vector<BYTE> rgb(static_cast<size_t>(layout.stride) * Height);
    FrameGenerator().Render(layout, rgb.data(), number, scene);
    Packed packed{std::vector<BYTE>(static_cast<size_t>(YuvImageSize(packing, Width, Height)))};
    PackYuv(packing, layout, rgb.data(), packed.bytes.data());
    return packed;
}

class YuvPackingTest : public ::testing::TestWithParam<YuvPacking>
{};

TEST(ColourBarsTest, TheDocumentedColoursAreTheBt601LimitedRangeOfTheBars)
{
    for (int bar = 0; bar < ColourBarCount; ++bar)
    {
        const BarColour rgb = ColourBar(bar);
        const YuvColour yuv = Bt601(rgb.r, rgb.g, rgb.b);
        EXPECT_EQ(BarsYuv[bar].y, yuv.y) << "bar " << bar;
        EXPECT_EQ(BarsYuv[bar].u, yuv.u) << "bar " << bar;
        EXPECT_EQ(BarsYuv[bar].v, yuv.v) << "bar " << bar;
    }
}

// Every bar's middle, below the stamp, in either source row order; the stamp reads
// back from the luma.
TEST_P(YuvPackingTest, BarsKeepTheirColoursAndTheStampItsNumber)
{
    const YuvPacking packing = GetParam();
    for (bool bottomUp : {true, false})
    {
        const Packed frame = BarsFrame(packing, 0x1234567, bottomUp);
        for (int bar = 0; bar < ColourBarCount; ++bar)
        {
            const YuvColour got = frame.At(packing, bar * Width / ColourBarCount + Width / 16, Height / 2);
            EXPECT_EQ(BarsYuv[bar].y, got.y) << "bar " << bar;
            EXPECT_EQ(BarsYuv[bar].u, got.u) << "bar " << bar;
            EXPECT_EQ(BarsYuv[bar].v, got.v) << "bar " << bar;
        }
        const bool packed = packing == YuvPacking::Yuy2 || packing == YuvPacking::Uyvy;
        const BYTE* luma = frame.bytes.data() + (packing == YuvPacking::Uyvy ? 1 : 0);
        uint32_t number = 0;
        ASSERT_TRUE(ReadFrameNumberFromLuma(luma, Width, Height, packed ? Width * 2 : Width, packed ? 2 : 1, &number));
        EXPECT_EQ(0x1234567u, number);
    }
}

INSTANTIATE_TEST_SUITE_P(Packings, YuvPackingTest,
                         ::testing::Values(YuvPacking::Yuy2, YuvPacking::Uyvy, YuvPacking::I420, YuvPacking::Nv12));

}  // namespace
