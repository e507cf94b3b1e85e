// Prints what one frame of the virtual camera costs at its usual sizes.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "comkit/ComApartment.h"
#include "support/ProcessFacts.h"
#include "vcam/filter/FramePainter.h"
#include "vcam/filter/JpegEncoder.h"
#include "vcam/filter/StripJpegEncoder.h"
#include "vcam/filter/VideoMode.h"
#include "vcam/frame/FrameGenerator.h"

namespace
{

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

struct FrameCosts
{
    double first;     // paints the sky for the size
    double steady;    // per frame, averaged
    double restyled;  // the frame after a brightness change
};

FrameCosts MeasureFrames(LONG width, LONG height, int frames)
{
    const FrameLayout layout = Rgb24Layout(width, height);
    std::vector<BYTE> buffer(static_cast<size_t>(layout.stride) * (height < 0 ? -height : height));
    FrameGenerator generator;
    SceneSettings scene;
    scene.starDensity = 100;
    FrameCosts costs{};
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    generator.Render(layout, buffer.data(), 0, scene);
    QueryPerformanceCounter(&end);
    costs.first = Milliseconds(start, end);
    QueryPerformanceCounter(&start);
    for (int i = 1; i <= frames; ++i)
        generator.Render(layout, buffer.data(), static_cast<uint32_t>(i), scene);
    QueryPerformanceCounter(&end);
    costs.steady = Milliseconds(start, end) / frames;
    scene.brightness = 90;
    QueryPerformanceCounter(&start);
    generator.Render(layout, buffer.data(), static_cast<uint32_t>(frames + 1), scene);
    QueryPerformanceCounter(&end);
    costs.restyled = Milliseconds(start, end);
    return costs;
}

TEST(FrameBench, MillisecondsPerFrame)
{
    const struct
    {
        LONG width, height;
    } sizes[] = {{320, 240}, {640, 480}, {1280, 960}, {640, -480}};
    for (const auto& size : sizes)
    {
        const FrameCosts costs = MeasureFrames(size.width, size.height, 300);
        std::printf("BENCH | vcam frame %ldx%ld, full star density | %.3f ms per frame "
                    "| first frame %.1f ms, after a brightness change %.1f ms\n",
                    size.width, size.height, costs.steady, costs.first, costs.restyled);
        RecordProperty(("ms_" + std::to_string(size.width) + "x" + std::to_string(size.height)).c_str(),
                       std::to_string(costs.steady));
    }
}

// One frame in each subtype, beside the RGB24 frame it is made from, in the same run.
double PaintMilliseconds(const VideoFormat& format, int frames, LONG* bytes)
{
    FramePainter painter(format);
    std::vector<BYTE> buffer(static_cast<size_t>(ImageSize(format)));
    SceneSettings scene;
    painter.Paint(0, scene, buffer.data(), ImageSize(format), bytes);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 1; i <= frames; ++i)
        painter.Paint(static_cast<uint32_t>(i), scene, buffer.data(), ImageSize(format), bytes);
    QueryPerformanceCounter(&end);
    return Milliseconds(start, end) / frames;
}

TEST(FrameBench, EachSubtypeAgainstItsRgbPicture)
{
    comkit::ComApartment com(COINIT_MULTITHREADED);
    for (LONG width : {640L, 1280L})
    {
        const LONG height = width * 3 / 4;
        LONG bytes = 0;
        const double rgb = PaintMilliseconds({width, height, VideoSubtype::Rgb24}, 60, &bytes);
        for (VideoSubtype subtype : {VideoSubtype::Yuy2, VideoSubtype::I420, VideoSubtype::Mjpg})
        {
            const double ms = PaintMilliseconds({width, height, subtype}, 60, &bytes);
            std::printf("BENCH | vcam %s frame %ldx%ld | %.2f ms per frame, %.2f x the RGB24 frame (%.2f ms) "
                        "| %ld bytes\n",
                        subtype == VideoSubtype::Yuy2 ? "YUY2" : subtype == VideoSubtype::I420 ? "I420" : "MJPG",
                        width, height, ms, ms / rgb, rgb, bytes);
        }
    }
}

// CPU per MJPG frame as the camera encodes it (only changed strips encoded again)
// beside the whole picture encoded for every frame, in the same run.
double MjpgCpuMs(const SceneSettings& scene, bool strips)
{
    constexpr int kFrames = 90;
    const VideoFormat format{1280, 960, VideoSubtype::Mjpg};
    const FrameLayout layout = Rgb24Layout(format.width, -format.height);
    std::vector<BYTE> rgb(static_cast<size_t>(layout.stride) * format.height), jpeg(ImageSize(format));
    FrameGenerator generator;
    StripJpegEncoder stripEncoder;
    JpegEncoder wholeEncoder;
    double start = 0;
    for (int i = 0; i <= kFrames; ++i)
    {
        start = i == 1 ? support::ThreadCpuMs() : start;  // frame 0 encodes every strip
        generator.Render(layout, rgb.data(), static_cast<uint32_t>(i), scene);
        LONG bytes = 0;
        if (strips)
            stripEncoder.Encode(rgb.data(), format.width, format.height, layout.stride, jpeg.data(),
                                ImageSize(format), &bytes);
        else
            wholeEncoder.Encode(rgb.data(), format.width, format.height, layout.stride, jpeg.data(),
                                ImageSize(format), &bytes);
    }
    return (support::ThreadCpuMs() - start) / kFrames;
}

TEST(FrameBench, MjpgStripsAgainstWholePictures)
{
    comkit::ComApartment com(COINIT_MULTITHREADED);
    for (ScenePattern pattern : {ScenePattern::NightSky, ScenePattern::ColourBars})
    {
        SceneSettings scene;
        scene.pattern = pattern;
        const double strips = MjpgCpuMs(scene, true);
        const double pictures = MjpgCpuMs(scene, false);
        std::printf("BENCH | vcam MJPG frame 1280x960, %s, CPU | %.2f ms per frame, changed strips encoded "
                    "| whole picture every frame %.2f ms: %.1fx cheaper\n",
                    pattern == ScenePattern::NightSky ? "night sky" : "colour bars", strips, pictures,
                    strips > 0 ? pictures / strips : 0.0);
    }
}

}  // namespace
