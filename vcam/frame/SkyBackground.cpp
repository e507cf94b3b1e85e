#include "vcam/frame/SkyBackground.h"

#include <cmath>
#include <cstdint>

namespace
{

constexpr double Pi = 3.14159265358979323846;

struct Color
{
    double b, g, r;
};

BYTE ToByte(double value)
{
    return value <= 0 ? 0 : (value >= 255 ? 255 : static_cast<BYTE>(value + 0.5));
}

// Small fixed grain, so the flat sky looks like a sensor's picture rather than a gradient.
double Grain(LONG x, LONG y)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<double>((h >> 16) & 7) - 3.5;
}

LONG HillTop(LONG x, LONG width, LONG height)
{
    const double u = static_cast<double>(x) / width * 2 * Pi;
    const double level =
        0.82 + 0.04 * std::sin(1.3 * u + 0.5) + 0.02 * std::sin(4.1 * u + 1.2) + 0.008 * std::sin(13.0 * u);
    return static_cast<LONG>(level * height);
}

Color SkyAt(double t)
{
    const double k = std::pow(t < 0 ? 0 : t, 1.5);
    return {38 + (95 - 38) * k, 14 + (50 - 14) * k, 6 + (30 - 6) * k};
}

// Disc with a darker limb and a soft halo, added to the sky.
Color AddMoon(Color sky, LONG x, LONG y, LONG width, LONG height)
{
    const double radius = 0.055 * (width < height ? width : height);
    const double dx = x - 0.78 * width;
    const double dy = y - 0.2 * height;
    const double squared = dx * dx + dy * dy;
    if (squared > 49 * radius * radius)  // the halo has faded below one level there
        return sky;
    const double d = std::sqrt(squared);
    if (d <= radius)
    {
        const double limb = 0.8 + 0.2 * std::sqrt(1 - (d / radius) * (d / radius));
        return {205 * limb, 220 * limb, 225 * limb};
    }
    const double glow = 45 * std::exp(-(d - radius) / (0.9 * radius));
    return {sky.b + glow, sky.g + glow * 0.95, sky.r + glow * 0.9};
}

}  // namespace

SkyBackground PaintSky(LONG width, LONG height)
{
    SkyBackground sky;
    sky.width = width;
    sky.height = height;
    sky.pixels.resize(static_cast<size_t>(width) * height * 3);
    sky.horizon.resize(width);
    for (LONG x = 0; x < width; ++x)
        sky.horizon[x] = HillTop(x, width, height);

    BYTE* out = sky.pixels.data();
    for (LONG y = 0; y < height; ++y)
    {
        const Color row = SkyAt(static_cast<double>(y) / (0.82 * height));
        for (LONG x = 0; x < width; ++x, out += 3)
        {
            Color c = y >= sky.horizon[x] ? Color{9, 7, 6} : AddMoon(row, x, y, width, height);
            const double grain = Grain(x, y);
            out[0] = ToByte(c.b + grain);
            out[1] = ToByte(c.g + grain);
            out[2] = ToByte(c.r + grain);
        }
    }
    return sky;
}

void ScaleSky(const SkyBackground& sky, int brightness, std::vector<BYTE>* scaled)
{
    BYTE table[256];
    for (int level = 0; level < 256; ++level)
        table[level] = ToByte(level * brightness / 70.0);
    scaled->resize(sky.pixels.size());
    BYTE* out = scaled->data();
    for (BYTE level : sky.pixels)
        *out++ = table[level];
}
