// The colour-bars picture (vcamctl --pattern=bars): eight vertical bars of equal width
// (bar i spans x = i * width / 8 up to (i + 1) * width / 8), 75% amplitude, left to right:
//
//   bar      R   G   B      Y   Cb  Cr  (BT.601 limited range, as the YUV formats carry them)
//   white   191 191 191    180 128 128
//   yellow  191 191   0    161  44 141
//   cyan      0 191 191    131 156  44
//   green     0 191   0    112  73  58
//   magenta 191   0 191     84 183 198
//   red     191   0   0     65 100 212
//   blue      0   0 191     35 212 115
//   black     0   0   0     16 128 128
//
// The frame-number stamp still covers the top-left 320x8 pixels, and the digits, when
// shown, a box below it.
#pragma once

#include <windows.h>

#include "vcam/frame/FrameLayout.h"

constexpr int ColourBarCount = 8;
constexpr BYTE ColourBarLevel = 191;

struct BarColour
{
    BYTE r, g, b;
};

BarColour ColourBar(int index);

void DrawColourBars(const FrameLayout& layout, BYTE* dib);
