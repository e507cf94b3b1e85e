#include "FrameTestImages.h"

const BYTE* TestFrame::Pixel(LONG x, LONG y) const
{
    const LONG rows = layout.height < 0 ? -layout.height : layout.height;
    const LONG stored = layout.height > 0 ? rows - 1 - y : y;
    return bytes.data() + static_cast<size_t>(stored) * layout.stride + 3 * x;
}

TestFrame RenderTestFrame(LONG width, LONG height, uint32_t number, const SceneSettings& scene)
{
    TestFrame frame{Rgb24Layout(width, height), {}};
    frame.bytes.resize(static_cast<size_t>(frame.layout.stride) * (height < 0 ? -height : height));
    FrameGenerator generator;
    generator.Render(frame.layout, frame.bytes.data(), number, scene);
    return frame;
}

std::vector<BYTE> ToPackedTopDown(const TestFrame& frame)
{
    const LONG rows = frame.layout.height < 0 ? -frame.layout.height : frame.layout.height;
    std::vector<BYTE> packed;
    for (LONG y = 0; y < rows; ++y)
        packed.insert(packed.end(), frame.Pixel(0, y), frame.Pixel(0, y) + 3 * frame.layout.width);
    return packed;
}

std::vector<POINT> StarPixels(const TestFrame& frame)
{
    const LONG width = frame.layout.width;
    const LONG rows = frame.layout.height < 0 ? -frame.layout.height : frame.layout.height;
    std::vector<POINT> stars;
    for (LONG y = rows / 5; y < rows * 6 / 10; ++y)
        for (LONG x = 0; x < width * 6 / 10; ++x)
        {
            const BYTE* px = frame.Pixel(x, y);
            if (px[1] > 110)
                stars.push_back(POINT{x, y});
        }
    return stars;
}

double MeanLuminance(const TestFrame& frame)
{
    const LONG rows = frame.layout.height < 0 ? -frame.layout.height : frame.layout.height;
    double sum = 0;
    for (LONG y = 0; y < rows; ++y)
        for (LONG x = 0; x < frame.layout.width; ++x)
        {
            const BYTE* px = frame.Pixel(x, y);
            sum += 0.114 * px[0] + 0.587 * px[1] + 0.299 * px[2];
        }
    return sum / (static_cast<double>(rows) * frame.layout.width);
}
