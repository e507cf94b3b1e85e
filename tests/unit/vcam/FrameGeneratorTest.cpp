#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "FrameTestImages.h"
#include "vcam/frame/FrameStamp.h"

namespace
{

SceneSettings Scene(int density, int brightness, bool digits = true)
{
    SceneSettings scene;
    scene.starDensity = density;
    scene.brightness = brightness;
    scene.showFrameNumber = digits;
    return scene;
}

std::set<std::pair<LONG, LONG>> AsSet(const std::vector<POINT>& points)
{
    std::set<std::pair<LONG, LONG>> set;
    for (const POINT& p : points)
        set.insert({p.x, p.y});
    return set;
}

TEST(FrameGenerator, SameFrameNumberGivesSamePicture)
{
    EXPECT_EQ(RenderTestFrame(640, 480, 17).bytes, RenderTestFrame(640, 480, 17).bytes);
}

TEST(FrameGenerator, StarsDriftFromFrameToFrame)
{
    const SceneSettings scene = Scene(100, 70);
    const auto first = AsSet(StarPixels(RenderTestFrame(640, 480, 1000, scene)));
    const auto later = AsSet(StarPixels(RenderTestFrame(640, 480, 1030, scene)));
    ASSERT_GT(first.size(), 20u);
    // Roughly as many stars, but mostly in other places.
    EXPECT_NEAR(static_cast<double>(later.size()), static_cast<double>(first.size()), first.size() * 0.4);
    size_t kept = 0;
    for (const auto& p : later)
        kept += first.count(p);
    EXPECT_LT(kept, first.size() / 4);

    // Even the next frame differs in the sky, not only in the numbers.
    const auto next = AsSet(StarPixels(RenderTestFrame(640, 480, 1001, scene)));
    EXPECT_NE(first, next);
}

TEST(FrameGenerator, StarDensitySetsHowManyStarsShow)
{
    const size_t none = StarPixels(RenderTestFrame(640, 480, 3, Scene(0, 70))).size();
    const size_t half = StarPixels(RenderTestFrame(640, 480, 3, Scene(50, 70))).size();
    const size_t full = StarPixels(RenderTestFrame(640, 480, 3, Scene(100, 70))).size();
    EXPECT_EQ(0u, none);
    EXPECT_GT(half, 0u);
    EXPECT_GT(full, half + half / 2);
}

TEST(FrameGenerator, BrightnessRaisesMeanLuminance)
{
    const double dim = MeanLuminance(RenderTestFrame(320, 240, 9, Scene(50, 10)));
    const double normal = MeanLuminance(RenderTestFrame(320, 240, 9, Scene(50, 70)));
    const double bright = MeanLuminance(RenderTestFrame(320, 240, 9, Scene(50, 100)));
    EXPECT_LT(dim * 2, normal);
    EXPECT_LT(normal * 1.2, bright);
    // Out-of-range values are clamped rather than overflowing.
    EXPECT_EQ(RenderTestFrame(320, 240, 9, Scene(500, 100)).bytes,
              RenderTestFrame(320, 240, 9, Scene(100, 900)).bytes);
}

TEST(FrameGenerator, DigitsFollowTheSwitchButTheStampStays)
{
    const TestFrame shown = RenderTestFrame(640, 480, 1234, Scene(50, 70, true));
    const TestFrame hidden = RenderTestFrame(640, 480, 1234, Scene(50, 70, false));
    EXPECT_NE(shown.bytes, hidden.bytes);
    // The digits are bright pixels just below the stamp.
    int brightBelowStamp = 0;
    for (LONG y = FrameStampCellSize + 2; y < 48; ++y)
        for (LONG x = 0; x < 120; ++x)
            brightBelowStamp += shown.Pixel(x, y)[1] > 200 && hidden.Pixel(x, y)[1] < 120;
    EXPECT_GT(brightBelowStamp, 50);
    uint32_t read = 0;
    ASSERT_TRUE(ReadFrameNumberFromDib(hidden.bytes.data(), 640, 480, &read));
    EXPECT_EQ(1234u, read);
}

TEST(FrameGenerator, WritesOnlyInsideTheFrame)
{
    const BYTE guard = 0xA5;
    for (LONG height : {480L, -480L})
    {
        for (LONG width : {642L, 100L, 8L, 1L})
        {
            const FrameLayout layout = Rgb24Layout(width, height);
            const size_t size = static_cast<size_t>(layout.stride) * 480;
            std::vector<BYTE> buffer(size + 64, guard);
            FrameGenerator generator;
            generator.Render(layout, buffer.data(), 0xFFFFFFFFu, SceneSettings());
            EXPECT_TRUE(std::all_of(buffer.begin() + size, buffer.end(), [=](BYTE b) { return b == guard; }))
                << width << "x" << height;
        }
    }
    // A stride too small for the width is refused, not overrun.
    std::vector<BYTE> small(640 * 3 * 10, guard);
    FrameGenerator generator;
    generator.Render(FrameLayout{640, 10, 640}, small.data(), 1, SceneSettings());
    EXPECT_TRUE(std::all_of(small.begin(), small.end(), [=](BYTE b) { return b == guard; }));
}

TEST(FrameGenerator, OneGeneratorFollowsSizeChanges)
{
    FrameGenerator generator;
    for (LONG width : {640L, 320L, 1280L, 320L})
    {
        const LONG height = width * 3 / 4;
        const FrameLayout layout = Rgb24Layout(width, height);
        std::vector<BYTE> buffer(static_cast<size_t>(layout.stride) * height);
        generator.Render(layout, buffer.data(), 77, SceneSettings());
        EXPECT_EQ(RenderTestFrame(width, height, 77).bytes, buffer) << width;
    }
}

}  // namespace
