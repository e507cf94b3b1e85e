// The still part of the virtual camera's picture: a night-sky gradient with a faint
// moon over a dark hill line. Computed once per size and brightness.
#pragma once

#include <windows.h>
#include <vector>

struct SkyBackground
{
    LONG width = 0;
    LONG height = 0;
    int brightness = -1;
    std::vector<BYTE> pixels;  // top-down packed BGR, 3 * width bytes per row
    std::vector<LONG> horizon; // per column: first visual row of the hill
};

SkyBackground PaintSky(LONG width, LONG height, int brightness);
