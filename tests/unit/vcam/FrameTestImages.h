// Frames rendered for tests, and simple measurements on them.
#pragma once

#include <windows.h>
#include <cstdint>
#include <vector>

#include "vcam/frame/FrameGenerator.h"

struct TestFrame
{
    FrameLayout layout;
    std::vector<BYTE> bytes;

    const BYTE* Pixel(LONG x, LONG y) const;  // visual coordinates, 0,0 = top-left
};

TestFrame RenderTestFrame(LONG width, LONG height, uint32_t number,
                          const SceneSettings& scene = SceneSettings());

// The frame as top-down packed BGR rows (3 * width bytes each), as ffmpeg writes raw video.
std::vector<BYTE> ToPackedTopDown(const TestFrame& frame);

// Pixels clearly brighter than the sky in the area below the stamp and digits and above
// the hills, away from the moon: where only stars can be.
std::vector<POINT> StarPixels(const TestFrame& frame);

double MeanLuminance(const TestFrame& frame);
