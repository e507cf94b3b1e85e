// YUV frames to RGB DIBs: BT.601 limited range (Y 16..235, Cb/Cr 16..240), chroma
// placed as Windows' YUV formats place it (MPEG-2): beside the even pixel of each pair,
// and for 4:2:0 halfway between its two rows, interpolated in between.
#pragma once

#include <windows.h>

#include <cstddef>

#include "decoders/YuvLayout.h"

namespace decoders
{

struct YuvFrame
{
    YuvLayout layout;
    const BYTE* data;
    size_t bytes;  // what data holds
    LONG width;
    LONG height;  // rows, top down
};

struct RgbTarget
{
    BYTE* data;
    size_t bytes;  // what data holds
    LONG width;
    LONG height;    // as in a BITMAPINFOHEADER: > 0 bottom-up, < 0 top-down
    WORD bitCount;  // 24 (BGR, rows padded to 4 bytes) or 32 (BGRX)
};

struct Rgb
{
    BYTE r, g, b;
};

// One pixel, rounded to nearest and clamped.
Rgb Bt601ToRgb(int y, int cb, int cr);

// Bytes of a DIB of that size and depth; 0 for a depth we do not write.
size_t RgbFrameBytes(LONG width, LONG height, WORD bitCount);

// Converts a whole frame. False, writing nothing, when the sizes differ, a buffer is
// too small for its frame or the depth is not 24 or 32.
bool ConvertToRgb(const YuvFrame& in, const RgbTarget& out);

}  // namespace decoders
