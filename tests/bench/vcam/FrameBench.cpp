// Prints what one frame of the virtual camera costs at its usual sizes.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "vcam/frame/FrameGenerator.h"

namespace {

double MillisecondsPerFrame(LONG width, LONG height, int frames)
{
    const FrameLayout layout = Rgb24Layout(width, height);
    std::vector<BYTE> buffer(static_cast<size_t>(layout.stride) * (height < 0 ? -height : height));
    FrameGenerator generator;
    SceneSettings scene;
    scene.starDensity = 100;
    generator.Render(layout, buffer.data(), 0, scene); // the background is made once per size
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 1; i <= frames; ++i)
        generator.Render(layout, buffer.data(), static_cast<uint32_t>(i), scene);
    QueryPerformanceCounter(&end);
    return 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart / frames;
}

TEST(FrameBench, MillisecondsPerFrame)
{
    const struct { LONG width, height; } sizes[] = {{320, 240}, {640, 480}, {1280, 960}, {640, -480}};
    for (const auto& size : sizes) {
        const double ms = MillisecondsPerFrame(size.width, size.height, 300);
        std::printf("vcam frame %ldx%ld: %.3f ms per frame (full star density)\n", size.width, size.height, ms);
        RecordProperty(("ms_" + std::to_string(size.width) + "x" + std::to_string(size.height)).c_str(),
                       std::to_string(ms));
    }
}

} // namespace
