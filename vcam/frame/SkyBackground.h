// The still part of the virtual camera's picture: a night-sky gradient with a faint
// moon over a dark hill line. Painted once per size at the default brightness; other
// brightness values only scale it (ScaleSky), which is much cheaper than painting.
#pragma once

#include <windows.h>
#include <vector>

struct SkyBackground
{
    LONG width = 0;
    LONG height = 0;
    std::vector<BYTE> pixels;   // top-down packed BGR, 3 * width bytes per row
    std::vector<LONG> horizon;  // per column: first visual row of the hill
};

SkyBackground PaintSky(LONG width, LONG height);

// The sky's pixels at a brightness of 0..100 (70 = as painted), into *scaled.
void ScaleSky(const SkyBackground& sky, int brightness, std::vector<BYTE>* scaled);
