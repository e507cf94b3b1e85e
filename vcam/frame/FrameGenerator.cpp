#include "vcam/frame/FrameGenerator.h"

#include <cmath>
#include <cstring>
#include <new>

#include "vcam/frame/ColourBars.h"
#include "vcam/frame/DibRows.h"
#include "vcam/frame/FrameDigits.h"
#include "vcam/frame/FrameStamp.h"

namespace
{

constexpr size_t StarPool = 4096;
// Stars on a 640x480 sky at density 100; other sizes scale with the area.
constexpr double StarsPerVgaFrame = 700;

// Deterministic so every run and every device shows the same sky.
class Lcg
{
public:
    double Next()
    {
        m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(m_state >> 11) / 9007199254740992.0;
    }

private:
    unsigned long long m_state = 0x7A2Bu;
};

BYTE Scale(int level, int factor256)
{
    const int v = level * factor256 / 256;
    return static_cast<BYTE>(v > 255 ? 255 : v);
}

void Lighten(BYTE* px, BYTE b, BYTE g, BYTE r)
{
    if (px[0] < b)
        px[0] = b;
    if (px[1] < g)
        px[1] = g;
    if (px[2] < r)
        px[2] = r;
}

bool LayoutUsable(const FrameLayout& layout)
{
    const LONG rows = LayoutRows(layout.height);
    return layout.width > 0 && rows > 0 && layout.width <= 16384 && rows <= 16384 &&
           layout.stride >= 3LL * layout.width;
}

}  // namespace

void FrameGenerator::Render(const FrameLayout& layout, BYTE* dib, uint32_t frameNumber,
                            const SceneSettings& scene)
{
    if (!dib || !LayoutUsable(layout))
        return;
    try
    {
        if (scene.pattern == ScenePattern::ColourBars)
            RenderBars(layout, dib, frameNumber, scene);
        else
            RenderSky(layout, dib, frameNumber, scene);
    }
    catch (const std::bad_alloc&)
    {
        // Runs on a streaming thread: without memory for the sky, send a black frame
        // that still carries its number.
        for (LONG y = 0; y < LayoutRows(layout.height); ++y)
            std::memset(dib + static_cast<ptrdiff_t>(y) * layout.stride, 0, layout.stride);
        m_sky = SkyBackground();
        m_scaledBrightness = -1;
    }
    DrawFrameStamp(layout, dib, frameNumber);
}

void FrameGenerator::RenderBars(const FrameLayout& layout, BYTE* dib, uint32_t frameNumber,
                                const SceneSettings& scene)
{
    DrawColourBars(layout, dib);
    if (scene.showFrameNumber)
        DrawFrameDigits(layout, dib, frameNumber);
}

void FrameGenerator::RenderSky(const FrameLayout& layout, BYTE* dib, uint32_t frameNumber,
                               const SceneSettings& scene)
{
    const SceneSettings clamped = ClampScene(scene);
    const LONG rows = LayoutRows(layout.height);
    if (m_sky.width != layout.width || m_sky.height != rows)
    {
        m_sky = PaintSky(layout.width, rows);
        m_scaledBrightness = -1;
    }
    if (m_scaledBrightness != clamped.brightness)
    {
        ScaleSky(m_sky, clamped.brightness, &m_scaledSky);
        m_scaledBrightness = clamped.brightness;
    }
    if (m_stars.empty())
        PrepareStars();

    CopyBackground(layout, dib);
    DrawStars(layout, dib, frameNumber, clamped);
    if (clamped.showFrameNumber)
        DrawFrameDigits(layout, dib, frameNumber);
}

void FrameGenerator::PrepareStars()
{
    Lcg random;
    m_stars.resize(StarPool);
    for (Star& star : m_stars)
    {
        star.x = random.Next();
        star.y = random.Next() * 0.85;
        star.speed = 0.0006 + 0.001 * random.Next();
        const double magnitude = random.Next();
        star.level = static_cast<BYTE>(90 + 165 * magnitude * magnitude * magnitude);
        star.tint = static_cast<BYTE>(255 * random.Next());
        star.phase = static_cast<BYTE>(255 * random.Next());
        star.large = magnitude > 0.85;
    }
}

void FrameGenerator::CopyBackground(const FrameLayout& layout, BYTE* dib) const
{
    const LONG rows = LayoutRows(layout.height);
    const size_t rowBytes = static_cast<size_t>(layout.width) * 3;
    const BYTE* source = m_scaledSky.data();
    for (LONG y = 0; y < rows; ++y, source += rowBytes)
    {
        BYTE* row = dib + VisualRowOffset(y, rows, layout.stride, layout.height > 0);
        std::memcpy(row, source, rowBytes);
        std::memset(row + rowBytes, 0, layout.stride - rowBytes);
    }
}

void FrameGenerator::DrawStars(const FrameLayout& layout, BYTE* dib, uint32_t frameNumber,
                               const SceneSettings& scene) const
{
    const LONG width = layout.width;
    const LONG rows = LayoutRows(layout.height);
    const double area = static_cast<double>(width) * rows / (640.0 * 480.0);
    size_t count = static_cast<size_t>(StarsPerVgaFrame * area * scene.starDensity / 100.0);
    if (count > m_stars.size())
        count = m_stars.size();
    const int gain = 64 + scene.brightness * 192 / 100;  // /256
    const bool bottomUp = layout.height > 0;

    for (size_t i = 0; i < count; ++i)
    {
        const Star& star = m_stars[i];
        const double position = star.x + star.speed * static_cast<double>(frameNumber);
        const LONG x = static_cast<LONG>((position - std::floor(position)) * width);
        const LONG y = static_cast<LONG>(star.y * rows);
        if (x < 1 || x >= width - 1 || y < 1 || y + 1 >= m_sky.horizon[x])
            continue;
        const int twinkle = 200 + ((frameNumber * 7 + star.phase) & 63);  // /256
        const int level = star.level * twinkle / 256;
        const BYTE b = Scale(level + (255 - star.tint) / 8, gain);
        const BYTE g = Scale(level, gain);
        const BYTE r = Scale(level + star.tint / 8, gain);
        BYTE* center = dib + VisualRowOffset(y, rows, layout.stride, bottomUp) + 3 * x;
        Lighten(center, b, g, r);
        if (!star.large)
            continue;
        Lighten(center - 3, b / 2, g / 2, r / 2);
        Lighten(center + 3, b / 2, g / 2, r / 2);
        Lighten(dib + VisualRowOffset(y - 1, rows, layout.stride, bottomUp) + 3 * x, b / 2, g / 2, r / 2);
        Lighten(dib + VisualRowOffset(y + 1, rows, layout.stride, bottomUp) + 3 * x, b / 2, g / 2, r / 2);
    }
}
